// The media player panel: the player's area, the auto-hide option, the
// media favourites frame with its toggle, full screen and browsing for media.
#pragma once

#include <functional>
#include <string>

#include "common/status_line.h"
#include "controls/control.h"
#include "favourites/favourites_list.h"
#include "platform/media_player.h"

namespace vexlo::favourites {

inline constexpr std::u16string_view kFavouritesShown = u"⊙";
inline constexpr std::u16string_view kFavouritesHidden = u"收";

class MediaPanel {
 public:
  // `browseMedia` opens the file manager on media files. The favourites
  // frame lies on the window; its owner places it there.
  MediaPanel(controls::Frame& panel, platform::MediaPlayer& player, common::StatusLine& status,
             std::function<void()> browseMedia);
  MediaPanel(const MediaPanel&) = delete;
  MediaPanel& operator=(const MediaPanel&) = delete;

  // Plays an address, unless it is the one loaded and not stopped.
  void playMedia(const std::u16string& path);
  void showFavourites();
  // A new favourite goes first, chosen.
  void addFavourite(std::u16string name, std::u16string path);
  // Every panel selection folds the favourites away.
  void hideFavourites();
  bool autoHide() const { return autoHideBox.value(); }

  controls::Control playerArea;
  controls::CheckBox autoHideBox;
  controls::Button favouritesToggle;
  controls::Button fullScreenButton;
  controls::Button browseButton;
  controls::Frame favouritesFrame;
  controls::DropDownList mediaList;
  controls::ListBox addressList;  // never shown
  FavouritesList favourites;
  ListButtons buttons;

 private:
  void toggleFavourites();
  void stateChanged();

  controls::Frame& panel_;
  platform::MediaPlayer& player_;
  common::StatusLine& status_;
};

// The panel's caption for a path: whole up to 30 characters, otherwise its
// first 10, "....." and its last 15.
std::u16string shortenedPath(std::u16string_view path);

}  // namespace vexlo::favourites
