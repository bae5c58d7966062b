// The favourites editor: one frame shared by the three lists. Its caption
// is its whole state: the mode word, "·", and the list's kind word.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "common/status_line.h"
#include "controls/control.h"
#include "favourites/favourites_list.h"
#include "favourites/icon_panel.h"
#include "platform/services.h"

namespace vexlo::favourites {

enum class EditMode { Add, Delete, Modify };

class FavouritesEditor {
 public:
  struct Links {
    // The lists with a name list (emoticons, media) and their buttons.
    std::array<FavouritesList*, 2> namedLists;
    std::array<ListButtons*, 3> buttons;
    IconPanel& programs;
    common::StatusLine& status;
    const platform::AnsiCodec& codec;
    // Selects a panel, as the panel selector does.
    std::function<void(int panel)> selectPanel;
    // Chooses the file manager's type filter.
    std::function<void(int filter)> chooseFileFilter;
  };

  // The frame lies on the window above the panels; its owner places it there.
  explicit FavouritesEditor(Links links);
  FavouritesEditor(const FavouritesEditor&) = delete;
  FavouritesEditor& operator=(const FavouritesEditor&) = delete;

  void open(EditMode mode, int list);
  void hide() { frame.setVisible(false); }
  void sort(int list);

  controls::Frame frame;
  controls::Label nameLabel;
  controls::TextBox nameBox;
  controls::Label addressLabel;
  controls::TextBox addressBox;
  controls::Button browseButton;
  controls::Label confirmLabel;
  controls::Button okButton;
  controls::Button cancelButton;

 private:
  void confirm();
  void browse();
  EditMode mode() const;
  int list() const;

  Links links_;
};

}  // namespace vexlo::favourites
