// A random source that returns a scripted sequence of fractions, so tests can
// pin exactly which draw became which colour, mark, size or font.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "formatter/random_source.h"

namespace vexlo::fakes {

class ScriptedRandom final : public formatter::RandomSource {
 public:
  ScriptedRandom() = default;
  explicit ScriptedRandom(std::vector<double> script) : script_(std::move(script)) {}

  using formatter::RandomSource::next;  // the batch form calls next() below

  void reseed(std::uint32_t seed) override { reseeds_.push_back(seed); }

  // The script in order; once it runs out, `fallback` (and the overrun is
  // counted so a test can tell it drew more than it scripted).
  double next() override {
    ++draws_;
    if (position_ < script_.size()) return script_[position_++];
    ++overruns_;
    return fallback;
  }

  // The copy draws on from the same place; only the original's counts and
  // reseeds are the conversion's.
  std::unique_ptr<formatter::RandomSource> clone() const override {
    auto copy = std::make_unique<ScriptedRandom>(*this);
    copy->draws_ = copy->overruns_ = 0;
    copy->reseeds_.clear();
    return copy;
  }

  std::size_t draws() const { return draws_; }
  std::size_t overruns() const { return overruns_; }
  const std::vector<std::uint32_t>& reseeds() const { return reseeds_; }

  double fallback = 0.0;

 private:
  std::vector<double> script_;
  std::size_t position_ = 0;
  std::size_t draws_ = 0;
  std::size_t overruns_ = 0;
  std::vector<std::uint32_t> reseeds_;
};

}  // namespace vexlo::fakes
