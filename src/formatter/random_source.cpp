#include "formatter/random_source.h"

namespace vexlo::formatter {

namespace {

constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15ULL;

std::uint64_t mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// The top 53 bits give every double k / 2^53, always below 1.
double fraction(std::uint64_t bits) { return static_cast<double>(bits >> 11) * 0x1.0p-53; }

}  // namespace

SplitMixRandom::SplitMixRandom(std::uint64_t seed) : state_(mix(seed)) {}

void SplitMixRandom::reseed(std::uint32_t seed) {
  // The new state is a mixed function of the old state and the seed: it
  // depends on both, and reseeding twice in a row does not undo itself the
  // way an XOR of the seed would.
  state_ = mix(state_ + kGamma * (static_cast<std::uint64_t>(seed) + 1));
}

std::uint64_t SplitMixRandom::nextBits() { return mix(state_ += kGamma); }

double SplitMixRandom::next() { return fraction(nextBits()); }

void SplitMixRandom::next(double* out, std::size_t count) {
  const std::uint64_t base = state_;
  for (std::size_t i = 0; i < count; ++i) out[i] = fraction(mix(base + kGamma * (i + 1)));
  state_ = base + kGamma * count;
}

}  // namespace vexlo::formatter
