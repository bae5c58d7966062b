// The settings file from its bytes to a restored main window and back. Every
// input is a Vexlo.ini: decoded in a code page the program meets, parsed as
// INI, restored into a main window wired to fakes, and saved at exit. The
// saved file, restored again, must give the same settings, and saving those
// must change no byte.
//
// GBK and GB18030 read ASCII alike, so an input without a byte above 0x7F
// is read in GBK alone; any other input in GBK when it holds an even number
// of such bytes and in GB18030 when odd, so that mutations reach both.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/settings_round_trip.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vexlo::fakes::SettingsRoundTrip;
  using vexlo::fuzz::check;
  const std::string file(reinterpret_cast<const char*>(data), size);
  const auto highBytes = std::count_if(data, data + size, [](std::uint8_t byte) { return byte >= 0x80; });
  const char* charset = highBytes % 2 == 0 ? "GBK" : "GB18030";

  const SettingsRoundTrip first(charset, file);
  check(first.started, "the window did not start");
  const SettingsRoundTrip second(charset, first.saved);
  check(second.restored == first.restored, "the saved file restores other settings");
  check(second.saved == first.saved, "saving the restored settings again changed the file");
  return 0;
}
