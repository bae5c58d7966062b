#include "utilities/tool_tables.h"

namespace vexlo::utilities {

namespace {

using platform::kShowMaximized;
using platform::kShowNormal;
using Action = SystemToolEntry::Action;

// Windows Update: its own program where a system still has it, otherwise
// the settings page.
const Launch kWindowsUpdateProgram = run(u"Wuapp.exe", kShowMaximized);
const Launch kWindowsUpdatePage = shellVerb(u"open", u"ms-settings:windowsupdate");

// Every Control Panel item opens maximized.
constexpr Launch applet(std::u16string_view commandLine) { return run(commandLine, kShowMaximized); }

}  // namespace

const std::vector<SystemToolEntry>& systemTools() {
  static const std::vector<SystemToolEntry> tools = {
      {u"画  图", true, Action::Start, {run(u"Mspaint.exe", kShowMaximized)}},
      {u"计算器", true, Action::Start, {run(u"Calc.exe", kShowMaximized)}},
      {u"记事本", true, Action::Start, {run(u"Notepad.exe", kShowNormal)}},
      {u"服  务", true, Action::Start, {shellVerb(u"Open", u"Services.msc")}},
      {u"注册表", true, Action::Start, {run(u"Regedt32.exe", kShowNormal)}},
      {u"组策略", true, Action::Start, {shellVerb(u"Open", u"Gpedit.msc")}},
      {u"我的电脑", true, Action::Start, {run(u"Explorer.exe  ", kShowMaximized)}},
      {u"我的文档", true, Action::Start, {run(u"Explorer.exe", kShowMaximized)}},
      {u"控制面板", false, Action::ControlPanelMenu, {}},
      {u"搜索文件", true, Action::Start,
       {shellVerb(u"Find", u""), run(u"Explorer.exe search-ms:", kShowNormal)}},
      {u"磁盘清理", true, Action::Start, {run(u"Cleanmgr.exe", kShowNormal)}},
      {u"碎片整理", true, Action::Start, {shellVerb(u"Open", u"Dfrg.msc"), run(u"Dfrgui.exe", kShowNormal)}},
      {u"DOS 窗口", true, Action::Start, {run(u"Cmd.exe", kShowNormal)}},
      {u"系统信息", true, Action::Start,
       {run(u"Winmsd.exe", kShowMaximized), run(u"Msinfo32.exe", kShowMaximized)}},
      {u"系统更新", true, Action::Start,
       {run(u"Wupdmgr.exe", kShowMaximized), kWindowsUpdateProgram, kWindowsUpdatePage}},
      {u"任务计划", true, Action::Start,
       {run(u"Explorer.exe ::{D6277990-4C6A-11CF-8D87-00AA0060F5BF}", kShowMaximized)}},
      {u"任务管理器", true, Action::Start, {run(u"Taskmgr.exe", kShowNormal)}},
      {u"字符映射表", true, Action::Start, {run(u"Charmap.exe", kShowNormal)}},
  };
  return tools;
}

const std::vector<ControlPanelItem>& controlPanelItems() {
  // `W0`: `W17`, the separator `aaa`, then `W1` to `W16`.
  static const std::vector<ControlPanelItem> items = {
      {u"打开控制面板", {applet(u"Control.exe")}},
      {u"-", {}},
      {u"系统", {applet(u"Control.exe Sysdm.cpl")}},
      {u"显示", {applet(u"Control.exe Desk.cpl")}},
      {u"键盘", {applet(u"Control.exe Main.cpl @1")}},
      {u"鼠标", {applet(u"Control.exe Main.cpl")}},
      {u"用户帐户",
       {applet(u"Control.exe Nusrmgr.cpl"), applet(u"Control.exe /name Microsoft.UserAccounts")}},
      {u"添加硬件", {applet(u"Control.exe Hdwwiz.cpl")}},
      {u"电源选项", {applet(u"Control.exe Powercfg.cpl")}},
      {u"音频设备", {applet(u"Control.exe Mmsys.cpl")}},
      {u"网络连接", {applet(u"Control.exe Ncpa.cpl")}},
      {u"自动更新", {applet(u"Control.exe Wuaucpl.cpl"), kWindowsUpdateProgram, kWindowsUpdatePage}},
      {u"安全中心", {applet(u"Control.exe Wscui.cpl")}},
      {u"日期/时间", {applet(u"Control.exe Timedate.cpl")}},
      {u"区域/语言", {applet(u"Control.exe Intl.cpl")}},
      {u"添加/删除程序", {applet(u"Control.exe Appwiz.cpl")}},
      {u"Internet 选项", {applet(u"Control.exe Inetcpl.cpl")}},
      {u"Windows 防火墙", {applet(u"Control.exe Firewall.cpl")}},
  };
  return items;
}

}  // namespace vexlo::utilities
