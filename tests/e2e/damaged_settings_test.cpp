// Vexlo.exe started on a settings file whose list counts are absurd, as a
// new user might find one: the window shows as on any start, the lists hold
// the entries the file has, and leaving writes them back with nothing lost.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e_support.h"
#include "formatter_support.h"

namespace vexlo::e2e::formatter {
namespace {

bool holds(const std::optional<std::vector<std::string>>& section, const std::string& line) {
  return section && std::find(section->begin(), section->end(), line) != section->end();
}

TEST(DamagedSettings, HugeAndNegativeListCountsStartAsUsualAndKeepEveryEntry) {
  VexloInstance vexlo;
  const std::wstring settings = vexlo.folder().file(L"Vexlo.ini");
  const std::wstring text =
      L"[Quenby_Sarn]\r\nBQs=2147483647\r\nYYs=2147483647\r\nCXs=-2147483648\r\n"
      L"[BQm]\r\n0=笑\r\n1=哭\r\n[BQz]\r\n0=http://a/smile.gif\r\n1=http://a/cry.gif\r\n"
      L"[CXm]\r\n0=记事本\r\n[CXz]\r\n0=C:\\windows\\system32\\notepad.exe\r\n";
  ASSERT_TRUE(writeFileBytes(settings, toCodePage(text, 936)));

  // Within the harness's usual wait for the window.
  ASSERT_TRUE(vexlo.start());
  saveScreenshot(L"vexlo-damaged-settings.bmp");
  const FormatterControls ui = FormatterControls::find(vexlo.window());
  ASSERT_TRUE(ui.complete());
  EXPECT_EQ(comboItems(ui.emoticons), (std::vector<std::wstring>{L"笑", L"哭"}));

  ASSERT_TRUE(clickOn(ui.exit));
  ASSERT_TRUE(vexlo.process().waitForExit(10s)) << "Vexlo did not end after a click on 退出";
  const std::optional<std::string> bytes = readFileBytes(settings);
  ASSERT_TRUE(bytes) << "no Vexlo.ini after 退出";
  const auto main = iniSection(*bytes, "Quenby_Sarn");
  for (const char* line : {"BQs=1", "YYs=-1", "CXs=-1"}) EXPECT_TRUE(holds(main, line)) << line << " in\n" << *bytes;
  const auto names = iniSection(*bytes, "BQm");
  EXPECT_TRUE(holds(names, "0=" + toCodePage(L"笑", 936)) && holds(names, "1=" + toCodePage(L"哭", 936))) << *bytes;
  // The program entry that the negative count left unread is still there.
  EXPECT_TRUE(holds(iniSection(*bytes, "CXm"), "0=" + toCodePage(L"记事本", 936))) << *bytes;
}

}  // namespace
}  // namespace vexlo::e2e::formatter
