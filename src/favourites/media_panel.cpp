#include "favourites/media_panel.h"

#include <utility>

#include "text/characters.h"

namespace vexlo::favourites {

namespace {

const ListButtonLayout kMediaButtons{
    {controls::TwipsRect{3360, 390, 255, 240}, controls::TwipsRect{3720, 390, 255, 240},
     controls::TwipsRect{4080, 390, 255, 240}, controls::TwipsRect{4440, 390, 255, 240}},
    {u"+", u"-", u"*", u"7"},
    {},
    "ComP(1)",
    true};

constexpr std::size_t kCaptionCharacters = 30;
constexpr std::size_t kHeadCharacters = 10;
constexpr std::size_t kTailCharacters = 15;

// The offset of the character `index` characters into the text.
std::size_t offsetOfCharacter(std::u16string_view text, std::size_t index) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < index && at < text.size(); ++i) at += text::characterWidthAt(text, at);
  return at;
}

}  // namespace

std::u16string shortenedPath(std::u16string_view path) {
  const std::size_t characters = text::characterCount(path);
  if (characters <= kCaptionCharacters) return std::u16string(path);
  std::u16string caption(path.substr(0, offsetOfCharacter(path, kHeadCharacters)));
  caption += u".....";
  caption += path.substr(offsetOfCharacter(path, characters - kTailCharacters));
  return caption;
}

MediaPanel::MediaPanel(controls::Frame& panel, platform::MediaPlayer& player, common::StatusLine& status,
                       std::function<void()> browseMedia)
    : playerArea(controls::Kind::MediaHost, "WMP", {120, 240, 4695, 3255}),
      autoHideBox("YC", {4110, 2580, 660, 195}, u"隐藏"),
      favouritesToggle("YY", {4380, 3120, 345, 255}, std::u16string(kFavouritesHidden)),
      fullScreenButton("QP", {4005, 3120, 300, 255}, u"2"),
      browseButton("Copp", {3630, 3120, 300, 255}, u"7"),
      favouritesFrame("YYS", {120, 900, 4935, 975}, u"影音·收藏"),
      mediaList("SC(1)", {240, 360, 3015, 300}),
      addressList("Lis(1)", {0, 0, 0, 0}),
      favourites(mediaList, addressList),
      buttons(kMediaList, kMediaButtons),
      panel_(panel),
      player_(player),
      status_(status) {
  panel.add(playerArea);
  autoHideBox.onClick = [this] { status_.reportToggle(autoHideBox.value(), u" 视频窗口 < 自动隐藏 > "); };
  panel.add(autoHideBox);
  favouritesToggle.onClick = [this] { toggleFavourites(); };
  fullScreenButton.setFontFace(u"Marlett");
  fullScreenButton.setTooltip(u"全屏");
  fullScreenButton.setEnabled(false);
  fullScreenButton.onClick = [this] { player_.setFullScreen(true); };
  browseButton.setFontFace(u"Marlett");
  browseButton.onClick = std::move(browseMedia);
  for (controls::Control* c : {&browseButton, &fullScreenButton, &favouritesToggle}) panel.add(*c);

  favouritesFrame.setVisible(false);
  addressList.setVisible(false);
  mediaList.onClick = [this] {
    followChoice(favourites, buttons, [this](int index) {
      status_.report(u"播放:", u" 影音 < " + favourites.name(index) + u" > ");
      playMedia(favourites.address(index));
    });
  };
  favouritesFrame.add(mediaList);
  buttons.addTo(favouritesFrame);

  player_.onStateChange = [this] { stateChanged(); };
}

void MediaPanel::playMedia(const std::u16string& path) {
  if (path == player_.url()) {
    // A playing or paused item is left alone; a stopped one starts anew.
    if (player_.playState() != platform::kPlayStateStopped) return;
  } else {
    panel_.setCaption(shortenedPath(path));
  }
  if (!player_.setUrl(path)) status_.report(u"无法播放:", path);
}

void MediaPanel::stateChanged() {
  // Full screen is offered only while something plays.
  fullScreenButton.setEnabled(player_.playState() == platform::kPlayStatePlaying);
}

void MediaPanel::addFavourite(std::u16string name, std::u16string path) {
  favourites.insert(0, std::move(name), std::move(path));
  mediaList.setSelectedIndex(0);
  buttons.sort.setEnabled(true);
}

void MediaPanel::showFavourites() {
  favouritesFrame.setVisible(true);
  favouritesToggle.setCaption(std::u16string(kFavouritesShown));
}

void MediaPanel::hideFavourites() {
  favouritesFrame.setVisible(false);
  favouritesToggle.setCaption(std::u16string(kFavouritesHidden));
}

void MediaPanel::toggleFavourites() {
  if (favouritesToggle.caption() == kFavouritesHidden)
    showFavourites();
  else
    hideFavourites();
  player_.focus();
}

}  // namespace vexlo::favourites
