// The toolbox's program favourites as tiles: each program's icon and name in
// a row of 720 twips, in a scrolled container. The row under the pointer is
// the selected program; a click anywhere on the tiles runs it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "common/status_line.h"
#include "controls/control.h"
#include "favourites/favourites_list.h"
#include "platform/launcher.h"
#include "platform/services.h"

namespace vexlo::favourites {

inline constexpr int kTileRow = 720;
inline constexpr int kViewportHeight = 3255;
// The scroll bar's maximum is a 16-bit number: 720 · 50 − 3255 still fits.
inline constexpr int kMostPrograms = 50;
inline constexpr int kScrollStep = 200;
inline constexpr int kVirtualKeyUp = 0x26;
inline constexpr int kVirtualKeyDown = 0x28;

class IconPanel {
 public:
  struct Links {
    platform::Launcher& launcher;
    platform::Pointer& pointer;
    platform::Screen& screen;
    common::StatusLine& status;
    std::function<void()> collapseWindow;
    std::function<void()> selectToolbox;
  };

  // The focus sink lies on the window, outside its visible width; its owner
  // places it there.
  IconPanel(controls::Frame& toolbox, Links links);
  IconPanel(const IconPanel&) = delete;
  IconPanel& operator=(const IconPanel&) = delete;

  int count() const { return programs.count(); }
  int selectedProgram() const { return selected_; }
  const std::u16string& caption(int tile) const { return tileCaption(tile).caption(); }
  // Tile i: the icon box and the caption.
  controls::PictureBox& iconBox(int tile) const { return *iconBoxes_[static_cast<std::size_t>(tile)]; }
  controls::Label& tileCaption(int tile) const { return *captions_[static_cast<std::size_t>(tile)]; }

  // Restoring: appends without scrolling or selecting. Entries beyond the
  // fiftieth are kept as data and written back as they were.
  void appendProgramTile(std::u16string name, std::u16string path);
  // The user's add: appended, scrolled into view, selected, the toolbox
  // shown. False (and nothing changed) when the toolbox is full.
  bool addProgramFavourite(std::u16string name, std::u16string path);
  void modifyProgram(std::u16string name, std::u16string path);
  void deleteSelectedProgram();
  void sortPrograms(const platform::AnsiCodec& codec);
  void runSelectedProgram();

  // Every program as stored, those without a tile included.
  std::vector<common::SettingsEntry> entries() const;

  // The arrow keys reach the tiles only while the pointer hovers over them.
  bool hovering() const { return hovering_; }
  void leaveHover() { hovering_ = false; }

  controls::PictureBox viewport;  // no border: only a window onto the tiles
  controls::ScrollBar scrollBar;
  controls::PictureBox tileContainer;
  controls::Control selectionFrame;
  controls::DropDownList focusSink;
  controls::ListBox programNames;      // never shown: the tiles show the names
  controls::ListBox programAddresses;  // never shown
  FavouritesList programs;
  ListButtons buttons;

 private:
  void makeTile(int tile);
  void destroyLastTile();
  void drawTileIcon(int tile);
  void redrawTileIcons();
  void setContainerHeight(int height);
  void markRow(int row);
  void pointerMoved(int y);
  void keyDown(int virtualKey);

  Links links_;
  std::vector<std::unique_ptr<controls::PictureBox>> iconBoxes_;
  std::vector<std::unique_ptr<controls::Label>> captions_;
  std::vector<common::SettingsEntry> beyondTiles_;
  int selected_ = 0;
  int lastRow_ = 0;
  bool hovering_ = false;
};

}  // namespace vexlo::favourites
