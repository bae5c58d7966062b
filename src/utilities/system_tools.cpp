#include "utilities/system_tools.h"

#include "platform/twips.h"
#include "utilities/autostart.h"
#include "utilities/tool_tables.h"
#include "utilities/web_search.h"

namespace vexlo::utilities {

namespace {

constexpr Launch kDateAndTime = run(u"Control.exe Timedate.cpl", platform::kShowMinimized);
constexpr Launch kRecycleBinFolder =
    run(u"Explorer.exe ::{645FF040-5081-101B-9F08-00AA002F954E}", platform::kShowMaximized);

constexpr std::u16string_view kAutostartText = u" 开机 < 自启动 > ";
constexpr std::u16string_view kCannotStart = u"无法启动:";

}  // namespace

SystemTools::SystemTools(SystemStrip& strip, controls::Frame& toolbox, Links links)
    : toolsLabel("Label16", {3240, 1500, 1575, 240}, u"系统工具:"),
      toolsList("Combo3", {3240, 1740, 1575, 300}),
      keywordLabel("Label15", {3240, 2160, 1575, 240}, u"关键字:"),
      keywordBox("Text7", {3240, 2400, 1575, 300}),
      baiduOption("Option20", {3240, 2790, 735, 255}, engineGroup, u"百 度"),
      googleOption("Option21", {4080, 2790, 735, 255}, engineGroup, u"Google"),
      searchButton("SOO", {3240, 3120, 1575, 375}, u"搜 索"),
      strip_(strip),
      links_(std::move(links)),
      starter_(links_.launcher) {
  build(toolbox);
}

void SystemTools::build(controls::Frame& toolbox) {
  for (const SystemToolEntry& tool : systemTools()) toolsList.addItem(std::u16string(tool.caption));
  toolsList.onClick = [this] { toolChosen(); };
  baiduOption.setValue(true);  // the engine at start
  searchButton.onClick = [this] { search(); };
  for (controls::Control* c : std::initializer_list<controls::Control*>{
           &toolsLabel, &toolsList, &keywordLabel, &keywordBox, &baiduOption, &googleOption, &searchButton})
    toolbox.add(*c);

  strip_.cdOpenButton.onClick = [this] { toggleCdTray(0, true); };
  strip_.cdCloseButton.onClick = [this] { toggleCdTray(1, true); };
  strip_.recycleBinButton.onClick = [this] { emptyRecycleBin(); };
  strip_.recycleBinButton.onRightPress = [this] { recycleBinRightPressed(); };
  strip_.shutDownButton.onClick = [this] { showShutDownDialog(); };
  strip_.clockLabel.onClick = [this] { openDateAndTime(); };
  strip_.startWithWindowsBox.onClick = [this] { startWithWindowsChanged(); };
}

void SystemTools::toolChosen() {
  const int index = toolsList.selectedIndex();
  if (index < 0) return;
  // The list acts like a menu: it lets go of the choice, so the same tool
  // can be chosen again at once.
  toolsList.setSelectedIndex(-1);
  const SystemToolEntry& tool = systemTools()[static_cast<std::size_t>(index)];
  if (tool.collapseFirst) links_.collapseWindow();
  if (tool.action == SystemToolEntry::Action::ControlPanelMenu)
    chooseFromControlPanelMenu();
  else
    start(tool.launches);
}

void SystemTools::chooseFromControlPanelMenu() {
  std::vector<std::u16string> captions;
  for (const ControlPanelItem& item : controlPanelItems()) captions.emplace_back(item.caption);
  const int chosen = links_.menu.choose(captions, kControlPanelMenuX, kControlPanelMenuY);
  if (chosen < 0 || chosen >= static_cast<int>(captions.size())) return;
  const ControlPanelItem& item = controlPanelItems()[static_cast<std::size_t>(chosen)];
  if (item.launches.empty()) return;  // the separator
  links_.collapseWindow();
  start(item.launches);
}

void SystemTools::start(std::span<const Launch> launches) {
  if (!starter_.start(launches)) links_.status.report(kCannotStart, launchName(launches.front()));
}

void SystemTools::openDateAndTime() {
  links_.collapseWindow();
  start({&kDateAndTime, 1});
}

void SystemTools::emptyRecycleBin() {
  links_.collapseWindow();
  links_.status.report(u"操作:", u"  清空 < 回收站 > ");
  if (!links_.launcher.emptyRecycleBin()) links_.status.report(u"错误:", u" 无法清空 < 回收站 > ");
}

void SystemTools::recycleBinRightPressed() {
  const platform::ScreenMetrics screen = links_.screen.metrics();
  links_.pointer.moveTo(platform::twipsToPixels(screen.widthTwips() / 2.0, screen.twipsPerPixelX),
                        platform::twipsToPixels(kRecycleBinPointerY, screen.twipsPerPixelY));
  links_.collapseWindow();
  links_.status.report(u"操作:", u" 打开 < 回收站 > ");
  start({&kRecycleBinFolder, 1});
}

void SystemTools::showShutDownDialog() {
  links_.collapseWindow();
  if (!links_.launcher.showShutDownDialog()) links_.status.report(kCannotStart, strip_.shutDownButton.tooltip());
}

void SystemTools::f6Pressed() { toggleCdTray(strip_.cdOpenButton.visible() ? 0 : 1, false); }

void SystemTools::toggleCdTray(int button, bool focusInputBox) {
  const bool close = button == 1;
  links_.status.report(u"操作:", close ? u" 关闭 < 光驱 > " : u" 打开 < 光驱 > ");
  const bool answered = links_.launcher.sendMci(close ? u"Set CDAudio Door Closed" : u"Set CDAudio Door Open");
  // Both buttons lie on one spot: the open button hides to show the close
  // button beneath it.
  strip_.cdOpenButton.setVisible(close);
  if (focusInputBox) links_.focusInputBox();
  if (!answered) links_.status.report(u"提示:", u" 没有光驱响应 ");
}

void SystemTools::search() {
  const std::u16string& keyword = keywordBox.text();
  if (keyword.empty()) return;
  links_.collapseWindow();
  const std::u16string address =
      searchAddress(googleOption.value() ? SearchEngine::Google : SearchEngine::Baidu, keyword);
  if (!links_.launcher.shellExecute(u"Open", address, platform::kShowNormal))
    links_.status.report(kCannotStart, address);
}

void SystemTools::startWithWindowsChanged() {
  if (puttingSwitchBack_) return;
  const bool on = strip_.startWithWindowsBox.value();
  links_.status.reportToggle(on, kAutostartText);
  const bool done =
      on ? links_.registry.registerProgram(
               kAutostartValueName, autostartCommand(links_.environment.executableDirectory(), links_.executableName))
         : links_.registry.unregisterProgram(kAutostartValueName);
  if (done) return;
  links_.status.report(on ? u"无法设置:" : u"无法取消:", kAutostartText);
  // The switch shows what the system will do at the next log-on.
  puttingSwitchBack_ = true;
  strip_.startWithWindowsBox.setValue(!on);
  puttingSwitchBack_ = false;
}

}  // namespace vexlo::utilities
