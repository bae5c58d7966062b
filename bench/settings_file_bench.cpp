// Reading and saving the settings file against its size: Restore/<bytes>
// reads a file of lists under counts of 9999 (the most the 4-byte count key
// holds), Save/<bytes> writes the same settings back over it. The time per byte should stay flat from
// 64 KiB to 16 MiB. HugeCountSmallFile reads counts of 2147483647 over two
// entries each: it costs what its few bytes cost.
//
// The code page is a one-byte stand-in: what grows with the file is the
// reading and matching of lines and keys, not the decoding.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "shell/settings_file.h"

namespace {

using namespace vexlo;

class OneByteCodec final : public platform::AnsiCodec {
 public:
  std::string encode(std::u16string_view text) const override { return std::string(text.begin(), text.end()); }
  std::u16string decode(std::string_view bytes) const override {
    std::u16string text;
    text.reserve(bytes.size());
    for (char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
  }
};

// Six sections of entries of about 100 bytes each, up to 10,000 entries a
// section; beyond that the values grow.
std::string fileOfSize(std::size_t bytes) {
  const std::size_t entries = std::clamp<std::size_t>(bytes / 600, 1, 10000);
  const std::string padding(std::max<std::size_t>(bytes / (6 * entries), 13) - 12, 'x');
  std::string file = "[Quenby_Sarn]\r\nBQs=9999\r\nYYs=9999\r\nCXs=9999\r\nZt=3\r\nDx=2\r\n";
  for (const char* section : {"BQm", "BQz", "YYm", "YYz", "CXm", "CXz"}) {
    file += std::string("[") + section + "]\r\n";
    for (std::size_t i = 0; i < entries; ++i) file += std::to_string(i) + "=" + padding + "\r\n";
  }
  return file;
}

void Restore(benchmark::State& state) {
  const std::string file = fileOfSize(static_cast<std::size_t>(state.range(0)));
  const OneByteCodec codec;
  for (auto _ : state) benchmark::DoNotOptimize(shell::readSettings(file, codec));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void Save(benchmark::State& state) {
  const std::string file = fileOfSize(static_cast<std::size_t>(state.range(0)));
  const OneByteCodec codec;
  const shell::StoredSettings read = shell::readSettings(file, codec);
  shell::SettingsToSave save;
  save.emoticons = read.emoticons;
  save.media = read.media;
  save.programs = read.programs;
  for (auto _ : state) benchmark::DoNotOptimize(shell::writeSettings(file, save, codec));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void HugeCountSmallFile(benchmark::State& state) {
  const std::string file =
      "[Quenby_Sarn]\r\nBQs=2147483647\r\nYYs=2147483647\r\nCXs=2147483647\r\n"
      "[BQm]\r\n0=a\r\n1=b\r\n[BQz]\r\n0=x\r\n1=y\r\n[YYm]\r\n0=a\r\n1=b\r\n[CXm]\r\n0=p\r\n1=q\r\n";
  const OneByteCodec codec;
  for (auto _ : state) benchmark::DoNotOptimize(shell::readSettings(file, codec));
}

BENCHMARK(Restore)->RangeMultiplier(4)->Range(64 << 10, 16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(Save)->RangeMultiplier(4)->Range(64 << 10, 16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(HugeCountSmallFile)->Unit(benchmark::kMicrosecond);

}  // namespace
