// Conversion speed of the markup core, as output bytes per second, next to a
// plain copy of the same number of bytes so the ratio can be read off:
// compare Convert/<dialect>/<mode> with PlainCopy/<dialect>/<mode> (memcpy
// into a buffer that is reused, so its pages are already mapped). Each
// conversion returns a new string, whose pages the system must map and zero
// first; FreshCopy/<dialect>/<mode> copies the same bytes into a new string
// every time, which shows how much of a conversion's time that alone takes,
// and ConvertReuse/<dialect>/<mode> converts into the previous result's
// storage, which leaves the converter's own work.
//
// The source is 1 MiB of UTF-16 text: Chinese and ASCII mixed, a CR LF line
// break every 40 characters and now and then an emoji (a surrogate pair).
// Gradient mode refuses texts over 256 characters, so it converts the same
// 1 MiB cut into 256-character pieces, one call per piece; its output bytes
// are the sum over all pieces.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "formatter/markup.h"
#include "formatter/styled_text.h"
#include "text/characters.h"

namespace {

using namespace vexlo::formatter;

constexpr std::size_t kSourceBytes = 1 << 20;

std::u16string makeSource() {
  const std::u16string chinese = u"今天天气很好我们一起去公园散步吧欢迎大家回帖讨论";
  const std::u16string ascii = u"Hello, forum! 123 abc xyz";
  const std::u16string emoji = u"\U0001F600";
  std::u16string s;
  const std::size_t units = kSourceBytes / sizeof(char16_t);
  s.reserve(units + 8);
  std::size_t k = 0;
  std::size_t onLine = 0;
  while (s.size() < units) {
    if (onLine == 40) {
      s += u"\r\n";
      onLine = 0;
      continue;
    }
    ++k;
    if (k % 97 == 0) {
      s += emoji;
    } else if (k % 3 == 0) {
      s += ascii[k % ascii.size()];
    } else {
      s += chinese[k % chinese.size()];
    }
    ++onLine;
  }
  // Never end on half a pair.
  while (s.size() > units && s.size() >= 2 && vexlo::text::characterWidthAt(s, s.size() - 2) != 2) s.pop_back();
  return s;
}

const std::u16string& source() {
  static const std::u16string s = makeSource();
  return s;
}

// The source cut into pieces of 256 characters, never inside a pair.
const std::vector<std::u16string_view>& gradientPieces() {
  static const std::vector<std::u16string_view> pieces = [] {
    std::vector<std::u16string_view> out;
    const std::u16string_view s = source();
    std::size_t start = 0;
    while (start < s.size()) {
      std::size_t end = start;
      for (std::size_t c = 0; c < 256 && end < s.size(); ++c) end += vexlo::text::characterWidthAt(s, end);
      out.push_back(s.substr(start, end - start));
      start = end;
    }
    return out;
  }();
  return pieces;
}

MarkupOptions optionsFor(Dialect dialect, ColourMode mode) {
  MarkupOptions o;
  o.dialect = dialect;
  o.mode = mode;
  o.font = u"楷体";
  o.sizeIndex = 3;
  o.bold = true;
  o.alignment = Alignment::Centre;
  o.fontNames = {u"宋体",     u"仿宋",     u"幼圆",     u"楷体",     u"隶书",     u"黑体",     u"新宋体",  u"华文彩云",
                 u"华文仿宋", u"华文细黑", u"华文新魏", u"华文行楷", u"华文中宋", u"方正舒体", u"方正姚体"};
  return o;
}

const GradientTable& table() {
  static const GradientTable t(0x0000FF, 0xFF8000);
  return t;
}

// Output bytes of one round: one call, or one call per piece in gradient mode.
std::size_t convertRoundInto(ConversionResult& r, const MarkupOptions& o, RandomSource& random) {
  std::size_t bytes = 0;
  if (o.mode == ColourMode::Gradient) {
    for (std::u16string_view piece : gradientPieces()) {
      convertMarkupInto(r, o, piece, table(), u"[img]http://e/1.gif[/img]", random);
      benchmark::DoNotOptimize(r.markup.data());
      bytes += r.markup.size() * sizeof(char16_t);
    }
  } else {
    convertMarkupInto(r, o, source(), table(), u"[img]http://e/1.gif[/img]", random);
    benchmark::DoNotOptimize(r.markup.data());
    bytes += r.markup.size() * sizeof(char16_t);
  }
  return bytes;
}

std::size_t convertRound(const MarkupOptions& o, RandomSource& random) {
  std::size_t bytes = 0;
  if (o.mode == ColourMode::Gradient) {
    for (std::u16string_view piece : gradientPieces()) {
      ConversionResult r = convertMarkup(o, piece, table(), u"[img]http://e/1.gif[/img]", random);
      benchmark::DoNotOptimize(r.markup.data());
      bytes += r.markup.size() * sizeof(char16_t);
    }
  } else {
    ConversionResult r = convertMarkup(o, source(), table(), u"[img]http://e/1.gif[/img]", random);
    benchmark::DoNotOptimize(r.markup.data());
    bytes += r.markup.size() * sizeof(char16_t);
  }
  return bytes;
}

void convertBenchmark(benchmark::State& state, Dialect dialect, ColourMode mode) {
  const MarkupOptions o = optionsFor(dialect, mode);
  SplitMixRandom random(69);
  std::size_t bytes = 0;
  for (auto _ : state) {
    random.reseed(69);
    bytes += convertRound(o, random);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["out_MiB"] = static_cast<double>(bytes) / state.iterations() / (1 << 20);
}

void convertReuseBenchmark(benchmark::State& state, Dialect dialect, ColourMode mode) {
  const MarkupOptions o = optionsFor(dialect, mode);
  SplitMixRandom random(69);
  ConversionResult result;
  std::size_t bytes = 0;
  for (auto _ : state) {
    random.reseed(69);
    bytes += convertRoundInto(result, o, random);
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

// Reading back the markup of the whole source into runs, a reply that keeps
// its storage between readings; compare with Convert/<dialect>/Rainbow,
// which wrote that markup.
void readBackBenchmark(benchmark::State& state, Dialect dialect) {
  SplitMixRandom random(69);
  const std::u16string markup =
      convertMarkup(optionsFor(dialect, ColourMode::Rainbow), source(), table(), u"[img]http://e/1.gif[/img]", random)
          .markup;
  StyledReply reply;
  for (auto _ : state) {
    if (!readMarkup(markup, dialect, reply)) state.SkipWithError("the reader refused the conversion's markup");
    benchmark::DoNotOptimize(reply.runs.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(markup.size() * sizeof(char16_t)) * state.iterations());
}

void plainCopyBenchmark(benchmark::State& state, std::size_t bytes) {
  std::vector<char> from(bytes, 'x'), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

void freshCopyBenchmark(benchmark::State& state, std::size_t bytes) {
  const std::u16string from(bytes / sizeof(char16_t), u'x');
  for (auto _ : state) {
    std::u16string to(from);
    benchmark::DoNotOptimize(to.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(from.size() * sizeof(char16_t)) * state.iterations());
}

const char* name(Dialect d) { return d == Dialect::Forum ? "Forum" : "Qzone"; }
const char* name(ColourMode m) {
  switch (m) {
    case ColourMode::Single: return "Single";
    case ColourMode::Gradient: return "Gradient";
    case ColourMode::Rainbow: return "Rainbow";
    case ColourMode::Random: return "Random";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  for (ColourMode mode : {ColourMode::Single, ColourMode::Gradient, ColourMode::Rainbow, ColourMode::Random}) {
    for (Dialect dialect : {Dialect::Forum, Dialect::Qzone}) {
      const std::string suffix = std::string(name(dialect)) + "/" + name(mode);
      SplitMixRandom probe(69);
      const std::size_t outputBytes = convertRound(optionsFor(dialect, mode), probe);
      benchmark::RegisterBenchmark(("Convert/" + suffix).c_str(),
                                   [dialect, mode](benchmark::State& s) { convertBenchmark(s, dialect, mode); })
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("ConvertReuse/" + suffix).c_str(),
                                   [dialect, mode](benchmark::State& s) { convertReuseBenchmark(s, dialect, mode); })
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("PlainCopy/" + suffix).c_str(),
                                   [outputBytes](benchmark::State& s) { plainCopyBenchmark(s, outputBytes); })
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("FreshCopy/" + suffix).c_str(),
                                   [outputBytes](benchmark::State& s) { freshCopyBenchmark(s, outputBytes); })
          ->Unit(benchmark::kMillisecond);
    }
  }
  for (Dialect dialect : {Dialect::Forum, Dialect::Qzone}) {
    benchmark::RegisterBenchmark((std::string("ReadBack/") + name(dialect) + "/Rainbow").c_str(),
                                 [dialect](benchmark::State& s) { readBackBenchmark(s, dialect); })
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
