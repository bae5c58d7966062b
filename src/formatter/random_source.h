// The pseudo-random generator behind the rainbow and random colour modes.
// The converters take it through the abstract interface so that tests can
// script the draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vexlo::formatter {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Called with 69 before every conversion.
  virtual void reseed(std::uint32_t seed) = 0;
  // A uniform fraction in [0, 1).
  virtual double next() = 0;
  // `count` fractions, the same as `count` calls of next() in a row; the
  // converters fetch the draws of many characters with one call.
  virtual void next(double* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out[i] = next();
  }
  // A generator in the same state that goes on independently: the preview
  // draws what the next conversion will draw without moving this one on.
  virtual std::unique_ptr<RandomSource> clone() const = 0;
};

// SplitMix64: a 64-bit counter run through a strong mixing function. Each
// output depends only on the counter, so a batch of draws has no chain of
// dependent steps and costs about a nanosecond a draw or less.
//
// A generator built from a seed always yields the same sequence. Reseeding
// folds the seed into the current state instead of starting over, so
// successive conversions (all reseeded from the same constant) still get
// fresh rainbow colours.
class SplitMixRandom final : public RandomSource {
 public:
  explicit SplitMixRandom(std::uint64_t seed = 69);

  void reseed(std::uint32_t seed) override;
  double next() override;
  void next(double* out, std::size_t count) override;
  std::unique_ptr<RandomSource> clone() const override { return std::make_unique<SplitMixRandom>(*this); }

  // The next 64 raw bits.
  std::uint64_t nextBits();

 private:
  std::uint64_t state_ = 0;
};

}  // namespace vexlo::formatter
