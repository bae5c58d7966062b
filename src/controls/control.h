// The control model: plain objects that hold what the user sees (caption,
// tick, selection, visibility, colour) and run their handlers the same way
// whether a user or the program changes them. A view (the Win32 binder, or
// nothing at all in the unit tests) is told about every change at once, so a
// window collapses on screen before a handler goes on to sleep or click.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/handler_guard.h"

namespace vexlo::controls {

// Positions and sizes in twips (1/1440 inch), relative to the container.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class Kind {
  Label,
  Button,           // push button with a caption
  PictureButton,    // push button that shows a picture instead of a caption
  GraphicalOption,  // option button drawn as a picture that stays pressed
  OptionButton,
  CheckBox,
  Frame,       // a container with a caption
  PictureBox,  // a picture or a drawing surface
  TextBox,
  ListBox,
  DropDownList,
  ScrollBar,  // vertical scroll bar
  Shape,      // a rectangle outline drawn by its container; no window, not hit by the mouse
  MediaHost,  // the area where the media player shows its video and its own controls
  Window,     // the top-level window itself
};

enum class Property {
  Caption,
  Tooltip,
  Visible,
  Enabled,
  BackColour,
  Value,
  Items,
  Selection,
  Text,
  Locked,
  Geometry,
  Drawing,
  Focus,
  TopMost,
  Range,  // a scroll bar's maximum
};

class Control;

// What the user did to a control, as a failure report names it.
enum class UserEvent { Click, DoubleClick, MouseMove, KeyDown, RightPress, Select, Scroll };

class ControlView {
 public:
  virtual ~ControlView() = default;
  virtual void controlChanged(Control& control, Property property) = 0;
  // A control joined or left a container after the view was made; a
  // removed control is destroyed right after this returns.
  virtual void childAdded(Control& container, Control& child) {}
  virtual void childRemoved(Control& container, Control& child) {}
};

// 0x00BBGGRR, the layout of the colour buttons and the settings file.
using Colour = std::uint32_t;

class Control {
 public:
  Control(Kind kind, std::string name, TwipsRect rect, std::u16string caption = {});
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }

  // Containment: a frame holds controls; a control without a container lies
  // on the window itself.
  Control* container() const { return container_; }
  const std::vector<Control*>& children() const { return children_; }
  void add(Control& child);
  // Takes a child out (its window goes with it); the caller destroys it.
  void remove(Control& child);

  const std::u16string& caption() const { return caption_; }
  void setCaption(std::u16string caption);
  const std::u16string& tooltip() const { return tooltip_; }
  void setTooltip(std::u16string tooltip);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  std::optional<Colour> backColour() const { return backColour_; }
  void setBackColour(Colour colour);
  const TwipsRect& rect() const { return rect_; }
  void setRect(TwipsRect rect);
  // A picture the view draws for this control; empty for none.
  const std::string& picture() const { return picture_; }
  void setPicture(std::string picture) { picture_ = std::move(picture); }
  // A face name for the caption, for controls that use a symbol font.
  const std::u16string& fontFace() const { return fontFace_; }
  void setFontFace(std::u16string face) { fontFace_ = std::move(face); }

  // The mouse pointer over this control: empty for the system's arrow, or
  // the name of one of the program's own pointer pictures.
  const std::string& pointer() const { return pointer_; }
  void setPointer(std::string pointer) { pointer_ = std::move(pointer); }

  // Asks the view to give this control the keyboard focus.
  void focus();

  // Visible here and in every container up to the window.
  bool shown() const;

  // What the view calls when the user acts on the control. Each runs the
  // handlers inside the guard of the window the control lies on, so a
  // failing handler is reported and the next event is handled as usual.
  void userClick();
  void userDoubleClick();
  void userMouseMove(int x, int y, int buttons = 0);
  void userKeyDown(int virtualKey);
  // The secondary (right) mouse button went down over the control.
  void userRightPress();

  std::function<void()> onClick;
  std::function<void(int virtualKey)> onKeyDown;
  std::function<void()> onRightPress;
  std::function<void()> onDoubleClick;
  std::function<void(int x, int y, int buttons)> onMouseMove;

  void setView(ControlView* view);

 protected:
  // What a click does: runs the click handler; a check box or an option
  // button changes its value first.
  virtual void click();
  void changed(Property property);
  void raise(const std::function<void()>& handler);
  // Runs a user's action inside the window's guard; a control on no window
  // (a model under test on its own) runs it bare.
  template <class Action>
  void guarded(UserEvent event, Action&& action) {
    platform::HandlerGuard* guard = windowGuard();
    if (!guard) {
      action();
      return;
    }
    // Named before the handler runs: a handler may take its own control away.
    guard->run(std::forward<Action>(action), describedOrEmpty(event));
  }

 private:
  Kind kind_;
  std::string name_;
  TwipsRect rect_;
  std::u16string caption_;
  std::u16string tooltip_;
  bool visible_ = true;
  bool enabled_ = true;
  std::optional<Colour> backColour_;
  std::string picture_;
  std::u16string fontFace_;
  std::string pointer_;
  Control* container_ = nullptr;
  std::vector<Control*> children_;
  ControlView* view_ = nullptr;

  platform::HandlerGuard* windowGuard() const;
  // How a failure report names the control and the event: its model name,
  // and what the user sees on it (caption, else tooltip).
  std::u16string describe(UserEvent event) const;
  std::u16string describedOrEmpty(UserEvent event) const noexcept;
};

// The top-level window: its rect is its position on the screen, in twips.
class Window : public Control {
 public:
  Window(std::string name, TwipsRect rect, std::u16string caption = {})
      : Control(Kind::Window, std::move(name), rect, std::move(caption)) {}
  bool topMost() const { return topMost_; }
  void setTopMost(bool topMost);
  // The guard every user action on the window and its controls runs in.
  platform::HandlerGuard* guard() const { return guard_; }
  void setGuard(platform::HandlerGuard* guard) { guard_ = guard; }

 private:
  bool topMost_ = false;
  platform::HandlerGuard* guard_ = nullptr;
};

class Label : public Control {
 public:
  Label(std::string name, TwipsRect rect, std::u16string caption = {})
      : Control(Kind::Label, std::move(name), rect, std::move(caption)) {}
  // One line that shows a path too long for it shortened in the middle,
  // its end (a file's name) kept; the caption itself stays whole.
  bool pathEllipsis() const { return pathEllipsis_; }
  void setPathEllipsis(bool on) { pathEllipsis_ = on; }

 private:
  bool pathEllipsis_ = false;
};

class Button : public Control {
 public:
  Button(std::string name, TwipsRect rect, std::u16string caption = {}, Kind kind = Kind::Button)
      : Control(kind, std::move(name), rect, std::move(caption)) {}
};

class Frame : public Control {
 public:
  Frame(std::string name, TwipsRect rect, std::u16string caption = {})
      : Control(Kind::Frame, std::move(name), rect, std::move(caption)) {}
};

class CheckBox : public Control {
 public:
  CheckBox(std::string name, TwipsRect rect, std::u16string caption = {})
      : Control(Kind::CheckBox, std::move(name), rect, std::move(caption)) {}
  bool value() const { return value_; }
  // A change of value runs the click handler, as a user's click does.
  void setValue(bool value);

 protected:
  void click() override;

 private:
  bool value_ = false;
};

class OptionButton;

// Option buttons of one group: selecting one clears the others.
class OptionGroup {
 public:
  void join(OptionButton& option) { members_.push_back(&option); }
  const std::vector<OptionButton*>& members() const { return members_; }

 private:
  std::vector<OptionButton*> members_;
};

class OptionButton : public Control {
 public:
  OptionButton(std::string name, TwipsRect rect, OptionGroup& group, std::u16string caption = {},
               Kind kind = Kind::OptionButton);
  bool value() const { return value_; }
  // Selecting runs the click handler every time, as a click does; clearing
  // one directly runs nothing.
  void setValue(bool value);

 protected:
  void click() override;

 private:
  friend class OptionGroup;
  OptionGroup& group_;
  bool value_ = false;
};

// What an outline list draws before an item's text.
enum class ItemIcon : std::uint8_t { None, OpenFolder, ClosedFolder };

// An outline list's item: indented by `level` steps, after its icon.
struct ItemLook {
  int level = 0;
  ItemIcon icon = ItemIcon::None;
  friend bool operator==(const ItemLook&, const ItemLook&) = default;
};

// A list box or a drop-down list: items and one selected index (-1: none).
class ListControl : public Control {
 public:
  ListControl(Kind kind, std::string name, TwipsRect rect) : Control(kind, std::move(name), rect) {}
  const std::vector<std::u16string>& items() const { return items_; }
  int count() const { return static_cast<int>(items_.size()); }
  void addItem(std::u16string item);
  // Replaces every item at once: one change for the view however long the
  // list, and no selection left. An outline list takes each item's look.
  void setItems(std::vector<std::u16string> items, std::vector<ItemLook> looks = {});
  // One look per item, or none when the list draws plain items.
  const std::vector<ItemLook>& looks() const { return looks_; }
  // Inserts before `index` (0..count); the selection stays on its item.
  void insertItem(int index, std::u16string item);
  // Removes one item; a removed selected item leaves no selection. Neither
  // runs the click handler.
  void removeItem(int index);
  void setItem(int index, std::u16string item);
  int selectedIndex() const { return selected_; }
  // A change of selection runs the click handler, as a user's choice does.
  // An index outside the list is refused and leaves the selection as it is.
  void setSelectedIndex(int index);
  std::u16string selectedText() const;
  // A click on an item. In a list whose keys only move the highlight, a
  // click on the highlighted item still acts.
  void userSelect(int index);
  // The user moved the selection with the keyboard: a choice like a click,
  // unless the keys only move the highlight (Enter or a click then acts).
  void userKeySelect(int index);
  void setKeysOnlyHighlight(bool only) { keysOnlyHighlight_ = only; }

 private:
  std::vector<std::u16string> items_;
  std::vector<ItemLook> looks_;
  int selected_ = -1;
  bool keysOnlyHighlight_ = false;
};

class ListBox : public ListControl {
 public:
  // An outline list draws each item indented after its icon.
  ListBox(std::string name, TwipsRect rect, bool outline = false)
      : ListControl(Kind::ListBox, std::move(name), rect), outline_(outline) {}
  bool outline() const { return outline_; }

 private:
  bool outline_;
};

class DropDownList : public ListControl {
 public:
  DropDownList(std::string name, TwipsRect rect) : ListControl(Kind::DropDownList, std::move(name), rect) {}
};

class TextBox : public Control {
 public:
  TextBox(std::string name, TwipsRect rect, bool multiLine = false)
      : Control(Kind::TextBox, std::move(name), rect), multiLine_(multiLine) {}
  bool multiLine() const { return multiLine_; }
  const std::u16string& text() const { return text_; }
  void setText(std::u16string text);
  // The user typed: the window already shows the text, so nothing is pushed
  // back; the change handler runs, as it does for nothing the program sets.
  void userEdited(std::u16string text);
  std::function<void()> onChange;
  bool locked() const { return locked_; }
  void setLocked(bool locked);

 private:
  bool multiLine_;
  std::u16string text_;
  bool locked_ = false;
};

// A line drawn on a picture box's persistent surface, in twips.
struct DrawnLine {
  int x1, y1, x2, y2;
  Colour colour;
};

// A picture box keeps what is drawn on it (a persistent surface) until it
// is cleared: lines, and icons drawn at its top left one over another.
class PictureBox : public Control {
 public:
  PictureBox(std::string name, TwipsRect rect) : Control(Kind::PictureBox, std::move(name), rect) {}
  const std::vector<DrawnLine>& drawing() const { return drawing_; }
  void setDrawing(std::vector<DrawnLine> lines);
  // The icon of the file at `path` (its first icon; nothing when it has
  // none), drawn over what is already there.
  void drawIcon(std::u16string path);
  // Paths whose icons were drawn since the last clear, oldest first.
  const std::vector<std::u16string>& icons() const { return icons_; }
  // Clears lines and icons.
  void clear();

 private:
  std::vector<DrawnLine> drawing_;
  std::vector<std::u16string> icons_;
};

// A vertical scroll bar whose value runs from 0 to its maximum. A maximum
// below 0 leaves nothing to scroll. Setting the value from code runs the
// change handler as the user's scrolling does.
class ScrollBar : public Control {
 public:
  ScrollBar(std::string name, TwipsRect rect) : Control(Kind::ScrollBar, std::move(name), rect) {}
  int maximum() const { return maximum_; }
  void setMaximum(int maximum);
  int value() const { return value_; }
  // A value outside 0..maximum is refused and leaves the bar as it is.
  void setValue(int value);
  void userScroll(int value) {
    guarded(UserEvent::Scroll, [this, value] { setValue(value); });
  }
  // What one arrow click and one click beside the thumb move, in twips.
  int smallChange = 200;
  int largeChange = 720;
  std::function<void()> onChange;

 private:
  int maximum_ = 0;
  int value_ = 0;
};

}  // namespace vexlo::controls
