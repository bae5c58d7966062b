#include "controls/control.h"

#include <algorithm>

namespace vexlo::controls {

Control::Control(Kind kind, std::string name, TwipsRect rect, std::u16string caption)
    : kind_(kind), name_(std::move(name)), rect_(rect), caption_(std::move(caption)) {}

void Control::add(Control& child) {
  child.container_ = this;
  children_.push_back(&child);
  if (view_) view_->childAdded(*this, child);
}

void Control::remove(Control& child) {
  auto it = std::find(children_.begin(), children_.end(), &child);
  if (it == children_.end()) return;
  if (view_) view_->childRemoved(*this, child);
  children_.erase(it);
  child.container_ = nullptr;
  child.view_ = nullptr;
}

void Control::setCaption(std::u16string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  changed(Property::Caption);
}

void Control::setTooltip(std::u16string tooltip) {
  if (tooltip == tooltip_) return;
  tooltip_ = std::move(tooltip);
  changed(Property::Tooltip);
}

void Control::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  changed(Property::Visible);
}

void Control::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  changed(Property::Enabled);
}

void Control::setBackColour(Colour colour) {
  if (backColour_ == colour) return;
  backColour_ = colour;
  changed(Property::BackColour);
}

void Control::setRect(TwipsRect rect) {
  rect_ = rect;
  changed(Property::Geometry);
}

void Control::focus() { changed(Property::Focus); }

bool Control::shown() const {
  for (const Control* c = this; c; c = c->container_)
    if (!c->visible_) return false;
  return true;
}

void Control::userClick() {
  guarded(UserEvent::Click, [this] { click(); });
}

void Control::click() { raise(onClick); }

void Control::userDoubleClick() {
  guarded(UserEvent::DoubleClick, [this] { raise(onDoubleClick); });
}

void Control::userMouseMove(int x, int y, int buttons) {
  if (onMouseMove) guarded(UserEvent::MouseMove, [this, x, y, buttons] { onMouseMove(x, y, buttons); });
}

void Control::userKeyDown(int virtualKey) {
  if (onKeyDown) guarded(UserEvent::KeyDown, [this, virtualKey] { onKeyDown(virtualKey); });
}

void Control::userRightPress() {
  guarded(UserEvent::RightPress, [this] { raise(onRightPress); });
}

platform::HandlerGuard* Control::windowGuard() const {
  const Control* top = this;
  while (top->container_) top = top->container_;
  return top->kind_ == Kind::Window ? static_cast<const Window*>(top)->guard() : nullptr;
}

std::u16string Control::describedOrEmpty(UserEvent event) const noexcept {
  try {
    return describe(event);
  } catch (...) {
    return {};  // no memory even for the name: the report says less
  }
}

std::u16string Control::describe(UserEvent event) const {
  static constexpr std::u16string_view kEvents[] = {u"单击",     u"双击", u"鼠标移动", u"按键",
                                                    u"右键按下", u"选择", u"滚动"};
  std::u16string text = u"控件 ";
  text.append(name_.begin(), name_.end());
  std::u16string_view seen = caption_;
  if (seen.empty()) seen = tooltip_;
  const auto first = seen.find_first_not_of(u' ');
  if (first != std::u16string_view::npos) {
    seen = seen.substr(first, seen.find_last_not_of(u' ') - first + 1);
    text.append(u"「").append(seen).append(u"」");
  } else {
    text.append(u" ");
  }
  text.append(u"的").append(kEvents[static_cast<int>(event)]);
  return text;
}

void Control::setView(ControlView* view) { view_ = view; }

void Control::changed(Property property) {
  if (view_) view_->controlChanged(*this, property);
}

void Control::raise(const std::function<void()>& handler) {
  if (handler) handler();
}

void Window::setTopMost(bool topMost) {
  topMost_ = topMost;
  changed(Property::TopMost);
}

void CheckBox::setValue(bool value) {
  if (value == value_) return;
  value_ = value;
  changed(Property::Value);
  raise(onClick);
}

void CheckBox::click() { setValue(!value_); }

OptionButton::OptionButton(std::string name, TwipsRect rect, OptionGroup& group, std::u16string caption, Kind kind)
    : Control(kind, std::move(name), rect, std::move(caption)), group_(group) {
  group_.join(*this);
}

void OptionButton::setValue(bool value) {
  if (!value) {
    if (value_) {
      value_ = false;
      changed(Property::Value);
    }
    return;
  }
  for (OptionButton* other : group_.members())
    if (other != this) other->setValue(false);
  if (!value_) {
    value_ = true;
    changed(Property::Value);
  }
  raise(onClick);
}

void OptionButton::click() { setValue(true); }

void ListControl::addItem(std::u16string item) {
  items_.push_back(std::move(item));
  if (!looks_.empty()) looks_.emplace_back();
  changed(Property::Items);
}

void ListControl::setItems(std::vector<std::u16string> items, std::vector<ItemLook> looks) {
  items_ = std::move(items);
  looks_ = std::move(looks);
  looks_.resize(looks_.empty() ? 0 : items_.size());
  selected_ = -1;
  changed(Property::Items);
}

void ListControl::insertItem(int index, std::u16string item) {
  if (index < 0 || index > count()) return;
  items_.insert(items_.begin() + index, std::move(item));
  if (!looks_.empty()) looks_.insert(looks_.begin() + index, ItemLook{});
  if (selected_ >= index) ++selected_;
  changed(Property::Items);
}

void ListControl::removeItem(int index) {
  if (index < 0 || index >= count()) return;
  items_.erase(items_.begin() + index);
  if (!looks_.empty()) looks_.erase(looks_.begin() + index);
  if (selected_ == index)
    selected_ = -1;
  else if (selected_ > index)
    --selected_;
  changed(Property::Items);
}

void ListControl::setItem(int index, std::u16string item) {
  if (index < 0 || index >= count() || items_[static_cast<std::size_t>(index)] == item) return;
  items_[static_cast<std::size_t>(index)] = std::move(item);
  changed(Property::Items);
}

void ListControl::setSelectedIndex(int index) {
  if (index < -1 || index >= count() || index == selected_) return;
  selected_ = index;
  changed(Property::Selection);
  raise(onClick);
}

void ListControl::userSelect(int index) {
  guarded(UserEvent::Select, [this, index] {
    if (keysOnlyHighlight_ && index >= 0 && index == selected_) {
      raise(onClick);
      return;
    }
    setSelectedIndex(index);
  });
}

void ListControl::userKeySelect(int index) {
  if (!keysOnlyHighlight_) {
    guarded(UserEvent::Select, [this, index] { setSelectedIndex(index); });
    return;
  }
  // The window already shows the highlight.
  if (index >= -1 && index < count()) selected_ = index;
}

std::u16string ListControl::selectedText() const {
  return selected_ < 0 ? std::u16string{} : items_[static_cast<size_t>(selected_)];
}

void TextBox::setText(std::u16string text) {
  if (text == text_) return;
  text_ = std::move(text);
  changed(Property::Text);
}

void TextBox::userEdited(std::u16string text) {
  text_ = std::move(text);
  if (onChange) guarded(UserEvent::KeyDown, [this] { onChange(); });
}

void TextBox::setLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  changed(Property::Locked);
}

void PictureBox::setDrawing(std::vector<DrawnLine> lines) {
  drawing_ = std::move(lines);
  changed(Property::Drawing);
}

void PictureBox::drawIcon(std::u16string path) {
  icons_.push_back(std::move(path));
  changed(Property::Drawing);
}

void PictureBox::clear() {
  if (drawing_.empty() && icons_.empty()) return;
  drawing_.clear();
  icons_.clear();
  changed(Property::Drawing);
}

void ScrollBar::setMaximum(int maximum) {
  if (maximum == maximum_) return;
  maximum_ = maximum;
  changed(Property::Range);
}

void ScrollBar::setValue(int value) {
  if (value < 0 || (value > maximum_ && value != 0) || value == value_) return;
  value_ = value;
  changed(Property::Value);
  if (onChange) onChange();
}

}  // namespace vexlo::controls
