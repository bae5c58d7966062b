#include "utilities/system_strip.h"

namespace vexlo::utilities {

namespace {

void setLook(controls::Button& button, std::u16string_view tooltip, const char* picture) {
  button.setTooltip(std::u16string(tooltip));
  button.setPicture(picture);
}

}  // namespace

SystemStrip::SystemStrip()
    : cdOpenButton("CD(0)", {1920, 450, 330, 315}, u"", controls::Kind::PictureButton),
      cdCloseButton("CD(1)", {1920, 450, 330, 315}, u"", controls::Kind::PictureButton),
      recycleBinButton("Command1", {2280, 450, 330, 315}, {}, controls::Kind::PictureButton),
      shutDownButton("Command2", {2640, 450, 330, 315}, {}, controls::Kind::PictureButton),
      startWithWindowsBox("ZQD", {3480, 510, 660, 195}, u"自启"),
      clockLabel("Tim", {4185, 480, 870, 240}, u"00:00:00") {
  setLook(cdOpenButton, u" 打开·光驱 ", "cd-open");
  setLook(cdCloseButton, u" 关闭·光驱 ", "cd-close");
  setLook(recycleBinButton, u" 清空·回收站 ", "recycle");
  setLook(shutDownButton, u" 重启·关闭计算机 ", "power");
  startWithWindowsBox.setTooltip(u" 开机自启动 ");
}

void SystemStrip::addTo(controls::Control& window) {
  window.add(cdCloseButton);
  window.add(cdOpenButton);
  window.add(recycleBinButton);
  window.add(shutDownButton);
  window.add(startWithWindowsBox);
  window.add(clockLabel);
}

}  // namespace vexlo::utilities
