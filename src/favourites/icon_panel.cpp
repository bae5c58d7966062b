#include "favourites/icon_panel.h"

#include <algorithm>

#include "platform/twips.h"

namespace vexlo::favourites {

namespace {

constexpr controls::Colour kContainerColour = 0xFDF9F2;  // #F2F9FD
constexpr controls::Colour kWhite = 0xFFFFFF;
constexpr int kStartHeight = 15;
constexpr int kPointerAfterAddY = 4050;
constexpr char kTilePointer[] = "tile";

const ListButtonLayout kProgramButtons{
    {controls::TwipsRect{3240, 240, 735, 495}, controls::TwipsRect{4080, 240, 735, 495},
     controls::TwipsRect{3240, 840, 735, 495}, controls::TwipsRect{4080, 840, 735, 495}},
    {u"添 加", u"删 除", u"修 改", u"排 序"},
    {},
    "C4",
    false};

std::string indexed(const char* name, int i) { return std::string(name) + "(" + std::to_string(i) + ")"; }

}  // namespace

IconPanel::IconPanel(controls::Frame& toolbox, Links links)
    : viewport("Frame5", {120, 240, 2775, kViewportHeight}),
      scrollBar("VS", {2910, 240, 210, kViewportHeight}),
      tileContainer("Pp", {0, 0, 2775, kStartHeight}),
      selectionFrame(controls::Kind::Shape, "Shape1", {15, 0, 2760, 735}),
      focusSink("Combo4", {5280, 0, 975, 300}),
      programNames("CXm", {0, 0, 0, 0}),
      programAddresses("Lis(2)", {0, 0, 0, 0}),
      programs(programNames, programAddresses),
      buttons(kProgramList, kProgramButtons),
      links_(std::move(links)) {
  programNames.setVisible(false);
  programAddresses.setVisible(false);
  tileContainer.setBackColour(kContainerColour);
  tileContainer.setPointer(kTilePointer);
  tileContainer.onMouseMove = [this](int, int y, int) { pointerMoved(y); };
  tileContainer.onClick = [this] { runSelectedProgram(); };
  tileContainer.add(selectionFrame);
  makeTile(0);
  viewport.add(tileContainer);
  toolbox.add(viewport);

  scrollBar.setMaximum(kStartHeight - kViewportHeight);
  scrollBar.setEnabled(false);
  scrollBar.smallChange = kScrollStep;
  scrollBar.largeChange = kTileRow;
  scrollBar.onChange = [this] {
    controls::TwipsRect r = tileContainer.rect();
    r.top = -scrollBar.value();
    tileContainer.setRect(r);
  };
  toolbox.add(scrollBar);
  buttons.addTo(toolbox);

  // Beyond the panel's right edge, out of sight; in the panel rather than
  // the window, its window is made only when the toolbox first shows.
  focusSink.onKeyDown = [this](int key) { keyDown(key); };
  toolbox.add(focusSink);
}

void IconPanel::makeTile(int tile) {
  auto box = std::make_unique<controls::PictureBox>(indexed("Pic", tile),
                                                    controls::TwipsRect{120, kTileRow * tile + 90, 540, 540});
  box->setBackColour(kWhite);
  auto label =
      std::make_unique<controls::Label>(indexed("La", tile), controls::TwipsRect{720, kTileRow * tile + 210, 960, 240});
  for (controls::Control* c :
       {static_cast<controls::Control*>(box.get()), static_cast<controls::Control*>(label.get())}) {
    c->setPointer(kTilePointer);
    c->onClick = [this] { runSelectedProgram(); };
    tileContainer.add(*c);
  }
  iconBoxes_.push_back(std::move(box));
  captions_.push_back(std::move(label));
}

void IconPanel::destroyLastTile() {
  tileContainer.remove(*captions_.back());
  tileContainer.remove(*iconBoxes_.back());
  captions_.pop_back();
  iconBoxes_.pop_back();
}

void IconPanel::drawTileIcon(int tile) { iconBox(tile).drawIcon(programs.address(tile)); }

void IconPanel::redrawTileIcons() {
  for (int i = 0; i < count(); ++i) {
    programAddresses.setSelectedIndex(i);
    iconBox(i).clear();
    drawTileIcon(i);
  }
}

void IconPanel::setContainerHeight(int height) {
  controls::TwipsRect r = tileContainer.rect();
  r.height = height;
  tileContainer.setRect(r);
  scrollBar.setMaximum(height - kViewportHeight);
}

void IconPanel::markRow(int row) {
  // The highlight and the row it marks move together, so the next hover
  // over any other row moves the highlight there.
  lastRow_ = row;
  controls::TwipsRect r = selectionFrame.rect();
  r.top = kTileRow * row;
  selectionFrame.setRect(r);
}

void IconPanel::appendProgramTile(std::u16string name, std::u16string path) {
  const int n = count();
  if (n >= kMostPrograms) {
    beyondTiles_.push_back({std::move(name), std::move(path)});
    return;
  }
  if (n > 0) makeTile(n);
  tileCaption(n).setCaption(name);
  programs.append(std::move(name), std::move(path));
  drawTileIcon(n);
  setContainerHeight(kTileRow * (n + 1));
  scrollBar.setEnabled(scrollBar.maximum() >= 0);
}

bool IconPanel::addProgramFavourite(std::u16string name, std::u16string path) {
  const int n = count();
  if (n >= kMostPrograms) {
    links_.status.report(u"提示:", u" 工具箱最多只能放 50 个程序 ");
    return false;
  }
  if (n > 0) makeTile(n);
  tileCaption(n).setCaption(name);
  programs.append(std::move(name), std::move(path));
  iconBox(n).clear();
  drawTileIcon(n);
  setContainerHeight(kTileRow * (n + 1));
  if (scrollBar.maximum() < 0) {
    scrollBar.setValue(0);
    scrollBar.setEnabled(false);
  } else {
    scrollBar.setValue(scrollBar.maximum());
    scrollBar.setEnabled(true);
  }
  buttons.sort.setEnabled(true);
  selected_ = n;
  markRow(n);
  links_.selectToolbox();
  buttons.remove.setEnabled(true);
  buttons.modify.setEnabled(true);
  const platform::ScreenMetrics screen = links_.screen.metrics();
  links_.pointer.moveTo(platform::twipsToPixels(screen.widthTwips() / 2.0, screen.twipsPerPixelX),
                        platform::twipsToPixels(kPointerAfterAddY, screen.twipsPerPixelY));
  return true;
}

void IconPanel::modifyProgram(std::u16string name, std::u16string path) {
  const int s = selected_;
  if (s >= count()) return;
  tileCaption(s).setCaption(name);
  programs.set(s, std::move(name), std::move(path));
  iconBox(s).clear();
  drawTileIcon(s);
}

void IconPanel::deleteSelectedProgram() {
  const int s = selected_;
  const int c = count();
  if (s >= c) return;
  for (int i = s; i < c - 1; ++i) {
    tileCaption(i).setCaption(tileCaption(i + 1).caption());
    programs.set(i, programs.name(i + 1), programs.address(i + 1));
  }
  const int m = c - 1;
  if (m < 1) {
    // Tile 0 is never destroyed; the container's height hides it.
    buttons.remove.setEnabled(false);
    buttons.modify.setEnabled(false);
  } else {
    destroyLastTile();
    selected_ = 0;
  }
  programs.remove(m);
  setContainerHeight(kTileRow * m);
  scrollBar.setValue(0);
  markRow(0);
  scrollBar.setEnabled(scrollBar.maximum() >= 0);
  redrawTileIcons();
}

void IconPanel::sortPrograms(const platform::AnsiCodec& codec) {
  programs.sortByNameBytes(codec);
  for (int i = 0; i < count(); ++i) tileCaption(i).setCaption(programs.name(i));
  redrawTileIcons();
  markRow(0);
  selected_ = 0;
  scrollBar.setValue(0);
}

void IconPanel::runSelectedProgram() {
  // An empty toolbox has no program to run.
  if (count() == 0) return;
  links_.collapseWindow();
  const int s = std::min(selected_, count() - 1);
  programAddresses.setSelectedIndex(s);
  links_.status.report(u"执行:", u" 程序 < " + tileCaption(s).caption() + u" > ");
  const std::u16string& path = programs.address(s);
  if (!links_.launcher.open(path, platform::kShowNormal))
    links_.status.report(u"错误:", u" 无法打开 < " + path + u" > ");
}

std::vector<common::SettingsEntry> IconPanel::entries() const {
  std::vector<common::SettingsEntry> all = programs.entries();
  all.insert(all.end(), beyondTiles_.begin(), beyondTiles_.end());
  return all;
}

void IconPanel::pointerMoved(int y) {
  if (!hovering_) {
    focusSink.focus();
    hovering_ = true;
  }
  const int row = y / kTileRow;
  selected_ = row;
  if (row != lastRow_) markRow(row);
}

void IconPanel::keyDown(int virtualKey) {
  if (!hovering_) return;
  const int value = scrollBar.value();
  if (virtualKey == kVirtualKeyUp) scrollBar.setValue(std::max(0, value - kScrollStep));
  if (virtualKey == kVirtualKeyDown)
    scrollBar.setValue(value + kScrollStep > scrollBar.maximum() ? scrollBar.maximum() : value + kScrollStep);
}

}  // namespace vexlo::favourites
