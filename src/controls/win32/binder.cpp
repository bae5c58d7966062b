// The binder's records: which window shows which control, made when due and
// taken away with the control, and the model's state pushed into them. What
// each kind of control does of its own is in binder_<kind>.cpp.
#include "controls/win32/binder.h"

#include <algorithm>

#include "controls/win32/artwork.h"
#include "platform/twips.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

using platform::win32::wide;

namespace {

constexpr int kFirstId = 100;

}  // namespace

Binder::Binder(HWND hwnd, Window& window) : hwnd_(hwnd), window_(window) {}

Binder::~Binder() {
  window_.setView(nullptr);
  // The windows outlive the binder for a moment: they must not call it.
  for (Bound& b : bound_) {
    if (!b.control) continue;
    b.control->setView(nullptr);
    if (b.hwnd) SetWindowLongPtrW(b.hwnd, GWLP_USERDATA, 0);
  }
  for (Control* c : waiting_) c->setView(nullptr);
  if (font_) DeleteObject(font_);
  if (symbolFont_) DeleteObject(symbolFont_);
  if (stripBrush_) DeleteObject(stripBrush_);
  if (panelBrush_) DeleteObject(panelBrush_);
  for (auto& [colour, brush] : colourBrushes_) DeleteObject(brush);
  for (auto& [name, pointer] : pointers_)
    if (pointer) DestroyCursor(pointer);
}

int Binder::toPixels(int twips) const { return platform::twipsToPixels(twips, platform::twipsPerPixel(dpi_)); }

void Binder::recreateFonts() {
  if (font_) DeleteObject(font_);
  if (symbolFont_) DeleteObject(symbolFont_);
  const int height = -MulDiv(9, static_cast<int>(dpi_), 72);
  font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"SimSun");
  symbolFont_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Marlett");
}

HFONT Binder::fontOf(const Control& c) const { return c.fontFace() == u"Marlett" ? symbolFont_ : font_; }

void Binder::create() {
  dpi_ = platform::win32::dpiOf(hwnd_);
  recreateFonts();
  stripBrush_ = CreateSolidBrush(kStripColour);
  panelBrush_ = CreateSolidBrush(kPanelColour);

  window_.setView(this);
  populate(window_);
  applyWindowGeometry();
}

bool Binder::contentsDue(const Control& container) const {
  if (!handleOf(container)) return false;
  for (const Control* c = &container; c && c != &window_; c = c->container())
    if (!c->visible()) return false;
  return true;
}

void Binder::reveal(Control& container) {
  if (container.children().empty() || !contentsDue(container)) return;
  if (!populated_.count(&container)) {
    populate(container);
    return;
  }
  for (Control* c : container.children()) reveal(*c);
}

void Binder::populate(Control& container) {
  populated_.insert(&container);
  HWND parent = handleOf(container);
  const std::vector<Control*>& children = container.children();
  std::vector<Bound*> made;
  // A new child window goes beneath its siblings: creating the last first
  // leaves later controls above earlier ones, as the model stacks them.
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (!waitsToBeShown(**it)) {
      made.push_back(&bind(**it, parent));
    } else {
      // Told of its changes all the same, so that it is made when it shows.
      waiting_.insert(*it);
      (*it)->setView(this);
    }
  }
  // Born from the model as it is now: whatever changed while the window did
  // not exist shows at once.
  for (Bound* b : made) applyState(*b);
  for (Control* c : children) reveal(*c);
}

Binder::Bound& Binder::bind(Control& c, HWND parent) {
  std::size_t record = bound_.size();
  if (freeRecords_.empty()) {
    bound_.emplace_back();
  } else {
    record = freeRecords_.back();
    freeRecords_.pop_back();
  }
  Bound& b = bound_[record];
  b.control = &c;
  index_[&c] = record;
  waiting_.erase(&c);
  if (c.kind() == Kind::Shape) {
    b.area = pixelRect(c);
  } else {
    b.hwnd = createChild(c, parent, kFirstId + static_cast<int>(record));
    if (b.hwnd) {
      byHwnd_[b.hwnd] = record;
      SetWindowLongPtrW(b.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      SetWindowLongPtrW(b.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(childProc));
    }
  }
  c.setView(this);
  if (b.hwnd && onWindowMade) onWindowMade(c, b.hwnd);
  return b;
}

bool Binder::waitsToBeShown(const Control& c) { return !c.visible() && c.kind() != Kind::Shape; }

void Binder::bindAmongSiblings(Control& c, HWND parent) {
  Bound& b = bind(c, parent);
  if (b.hwnd) SetWindowPos(b.hwnd, windowAbove(c), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  applyState(b);
  reveal(c);
}

HWND Binder::windowAbove(const Control& c) const {
  // Later siblings lie above earlier ones.
  const std::vector<Control*>& siblings = c.container()->children();
  for (auto it = std::find(siblings.begin(), siblings.end(), &c); it != siblings.end(); ++it)
    if (*it != &c)
      if (HWND above = handleOf(**it)) return above;
  return HWND_TOP;
}

void Binder::shownFirstTime(Control& c) {
  // Hidden when its container's contents were made, or inside a container
  // whose contents are not made yet (they will be, with this control's
  // window, when that container shows).
  Control* container = c.container();
  if (!container || !populated_.count(container)) return;
  if (HWND parent = handleOf(*container)) bindAmongSiblings(c, parent);
}

void Binder::childAdded(Control& container, Control& child) {
  // An unpopulated container makes the child's window with the rest of its
  // contents when it first shows; a hidden child gets its own when it does.
  if (!populated_.count(&container) || waitsToBeShown(child)) return;
  if (HWND parent = handleOf(container)) bindAmongSiblings(child, parent);
}

void Binder::childRemoved(Control& container, Control& child) {
  auto found = index_.find(&child);
  if (found == index_.end()) {
    forget(child);
    return;
  }
  const Bound& b = bound_[found->second];
  HWND window = b.hwnd;
  if (!window && child.visible()) repaint(handleOf(container), &b.area);
  forget(child);
  // Takes the windows of everything inside with it.
  if (window) DestroyWindow(window);
}

void Binder::forget(Control& c) {
  for (Control* inner : c.children()) forget(*inner);
  populated_.erase(&c);
  if (waiting_.erase(&c)) c.setView(nullptr);
  auto found = index_.find(&c);
  if (found == index_.end()) return;
  Bound& b = bound_[found->second];
  if (b.hwnd) {
    removeTool(b);
    byHwnd_.erase(b.hwnd);
    if (hot_ == b.hwnd) hot_ = nullptr;
  }
  b.icons.release();
  b.control = nullptr;
  b.hwnd = nullptr;
  c.setView(nullptr);
  freeRecords_.push_back(found->second);
  index_.erase(found);
}

HWND Binder::windowFor(Control& control) {
  if (HWND hwnd = handleOf(control)) return hwnd;
  Control* container = control.container();
  if (!container || control.kind() == Kind::Shape) return nullptr;
  HWND parent = windowFor(*container);
  if (!parent) return nullptr;
  if (!populated_.count(container)) populate(*container);
  if (!handleOf(control)) bindAmongSiblings(control, parent);
  return handleOf(control);
}

HWND Binder::createChild(Control& c, HWND parent, int id) {
  const Family& family = familyOf(c);
  if (!family.windowClass) return nullptr;
  const WindowClass cls = family.windowClass(c);
  // Born with its place, visibility and enabled state: one call instead of
  // several for each of the window's many controls keeps start-up quick.
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | cls.style;
  if (c.visible()) style |= WS_VISIBLE;
  if (!c.enabled()) style |= WS_DISABLED;
  const RECT r = pixelRect(c);
  std::u16string text = windowText(c);
  HWND h =
      CreateWindowExW(cls.exStyle, cls.name, wide(text), style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(c)), FALSE);
  return h;
}

std::u16string Binder::windowText(const Control& c) {
  const Family& family = familyOf(c);
  return family.windowText ? family.windowText(c) : c.caption();
}

std::u16string Binder::nameFromTooltip(const Control& c) {
  const std::u16string& text = c.tooltip();
  auto first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  auto last = text.find_last_not_of(u' ');
  return text.substr(first, last - first + 1);
}

const Binder::Family& Binder::familyOf(const Control& c) {
  // The window itself: the binder drives it directly.
  static const Family kWindow;
  switch (c.kind()) {
    case Kind::Label:
    case Kind::Button:
    case Kind::PictureButton:
    case Kind::GraphicalOption:
    case Kind::OptionButton:
    case Kind::CheckBox:
      return kButtons;
    case Kind::TextBox:
      return kTextBoxes;
    case Kind::ListBox:
    case Kind::DropDownList:
      return kLists;
    case Kind::Frame:
      return kFrames;
    case Kind::ScrollBar:
      return kScrollBars;
    case Kind::PictureBox:
      return kPictureBoxes;
    case Kind::Shape:
      return kShapes;
    case Kind::MediaHost:
      return kMediaHosts;
    case Kind::Window:
      break;
  }
  return kWindow;
}

bool Binder::inPanel(const Control& c) const { return c.container() && c.container() != &window_; }

HBRUSH Binder::backgroundOf(const Control& c) const {
  return inPanel(c) || c.kind() == Kind::Frame ? panelBrush_ : stripBrush_;
}

HWND Binder::handleOf(const Control& control) const {
  if (&control == &window_) return hwnd_;
  auto it = index_.find(&control);
  return it == index_.end() ? nullptr : bound_[it->second].hwnd;
}

std::vector<HICON> Binder::iconsOf(const Control& control) const {
  auto it = index_.find(&control);
  return it == index_.end() ? std::vector<HICON>{} : bound_[it->second].icons.handles();
}

Binder::Bound* Binder::boundByHwnd(HWND hwnd) {
  auto it = byHwnd_.find(hwnd);
  return it == byHwnd_.end() ? nullptr : &bound_[it->second];
}

void Binder::applyState(Bound& b) {
  const auto apply = familyOf(*b.control).applyState;
  if (!apply) return;
  const bool wasPushing = pushing_;
  pushing_ = true;
  apply(*this, b);
  pushing_ = wasPushing;
}

RECT Binder::pixelRect(const Control& c) const {
  const TwipsRect& r = c.rect();
  RECT p{toPixels(r.left), toPixels(r.top), toPixels(r.left) + toPixels(r.width), toPixels(r.top) + toPixels(r.height)};
  if (const auto place = familyOf(c).place) place(c, p);
  return p;
}

void Binder::applyGeometry(const Bound& b) {
  const RECT r = pixelRect(*b.control);
  SetWindowPos(b.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Binder::applyWindowGeometry() {
  // A hidden window takes its place, size and stacking when it shows: one
  // move instead of one per change (start-up sets all three before the
  // window first shows, and under Wine each move of a top-level window is a
  // round trip to the X server).
  if (!window_.visible()) return;
  const TwipsRect& r = window_.rect();
  HWND after = window_.topMost() ? HWND_TOPMOST : nullptr;
  UINT flags = SWP_NOACTIVATE | (window_.visible() ? SWP_SHOWWINDOW : 0) | (window_.topMost() ? 0 : SWP_NOZORDER);
  SetWindowPos(hwnd_, after, toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height), flags);
}

void Binder::repaint(HWND hwnd, const RECT* area) {
  if (hwnd) RedrawWindow(hwnd, area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Binder::controlChanged(Control& c, Property property) {
  if (&c == &window_) {
    if (property == Property::Visible && !window_.visible())
      ShowWindow(hwnd_, SW_HIDE);
    else
      applyWindowGeometry();
    return;
  }
  auto found = index_.find(&c);
  if (found == index_.end()) {
    if (property == Property::Visible && c.visible()) shownFirstTime(c);
    return;
  }
  Bound* b = &bound_[found->second];
  const auto showOwn = familyOf(c).show;
  if (!b->hwnd) {
    // A shape: its container draws it.
    if (showOwn) showOwn(*this, *b, property);
    return;
  }
  pushing_ = true;
  switch (property) {
    case Property::Caption:
    case Property::Tooltip:
      SetWindowTextW(b->hwnd, wide(windowText(c)));
      // The pointer's next visit registers the new text.
      if (property == Property::Tooltip) removeTool(*b);
      InvalidateRect(b->hwnd, nullptr, TRUE);
      break;
    case Property::Visible:
      // The contents first, so the frame appears whole.
      if (c.visible()) reveal(c);
      ShowWindow(b->hwnd, c.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Property::Enabled:
      EnableWindow(b->hwnd, c.enabled());
      break;
    case Property::Value:
      if (showOwn) showOwn(*this, *b, property);
      InvalidateRect(b->hwnd, nullptr, TRUE);
      break;
    case Property::Range:
    case Property::Items:
    case Property::Selection:
    case Property::Text:
    case Property::Locked:
      if (showOwn) showOwn(*this, *b, property);
      break;
    case Property::Geometry:
      applyGeometry(*b);
      break;
    case Property::Drawing:
      if (showOwn) showOwn(*this, *b, property);
      repaint(b->hwnd, nullptr);
      break;
    case Property::BackColour:
      repaint(b->hwnd, nullptr);
      break;
    case Property::Focus:
      SetFocus(b->hwnd);
      break;
    case Property::TopMost:
      break;
  }
  pushing_ = false;
}

void Binder::dpiChanged() {
  dpi_ = platform::win32::dpiOf(hwnd_);
  recreateFonts();
  for (Bound& b : bound_) {
    if (!b.control) continue;
    if (!b.hwnd) {
      b.area = pixelRect(*b.control);
      continue;
    }
    SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(*b.control)), TRUE);
    if (const auto fontChanged = familyOf(*b.control).fontChanged) fontChanged(*this, b);
    applyGeometry(b);
  }
  applyWindowGeometry();
  repaint(hwnd_, nullptr);
}

}  // namespace vexlo::controls::win32
