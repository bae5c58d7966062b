#include "controls/win32/binder.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "controls/twips.h"
#include "controls/win32/artwork.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

using platform::win32::wide;
using platform::win32::wideString;

namespace {

constexpr int kFirstId = 100;
constexpr int kDropDownExtraPixels = 200;

bool isOwnerDrawnButton(const Control& c) {
  return c.kind() == Kind::PictureButton || c.kind() == Kind::GraphicalOption ||
         (c.kind() == Kind::Button && c.backColour().has_value());
}

bool showsPicture(const Control& c) {
  return c.kind() == Kind::PictureButton || c.kind() == Kind::GraphicalOption || c.kind() == Kind::PictureBox;
}

std::u16string trimmed(const std::u16string& text) {
  auto first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  auto last = text.find_last_not_of(u' ');
  return text.substr(first, last - first + 1);
}

// Picture controls have no caption of their own; their tooltip names them
// for screen readers and automation.
std::u16string windowText(const Control& c) {
  if (c.kind() == Kind::TextBox) return static_cast<const TextBox&>(c).text();
  if (showsPicture(c)) return trimmed(c.tooltip());
  return c.caption();
}

COLORREF toColorRef(Colour c) { return static_cast<COLORREF>(c & 0xFFFFFF); }

}  // namespace

Binder::Binder(HWND hwnd, Window& window) : hwnd_(hwnd), window_(window) {}

Binder::~Binder() {
  window_.setView(nullptr);
  for (Bound& b : bound_) b.control->setView(nullptr);
  if (font_) DeleteObject(font_);
  if (symbolFont_) DeleteObject(symbolFont_);
  if (stripBrush_) DeleteObject(stripBrush_);
  if (panelBrush_) DeleteObject(panelBrush_);
  for (auto& [colour, brush] : colourBrushes_) DeleteObject(brush);
}

int Binder::toPixels(int twips) const { return twipsToPixels(twips, twipsPerPixel(dpi_)); }

void Binder::mouseMoved(Control& control, WPARAM wParam, LPARAM lParam) {
  const double perPixel = twipsPerPixel(dpi_);
  control.userMouseMove(pixelsToTwips(GET_X_LPARAM(lParam), perPixel), pixelsToTwips(GET_Y_LPARAM(lParam), perPixel),
                        static_cast<int>(wParam));
}

void Binder::recreateFonts() {
  if (font_) DeleteObject(font_);
  if (symbolFont_) DeleteObject(symbolFont_);
  const int height = -MulDiv(9, static_cast<int>(dpi_), 72);
  font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"SimSun");
  symbolFont_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Marlett");
}

void Binder::create() {
  dpi_ = platform::win32::dpiOf(hwnd_);
  recreateFonts();
  stripBrush_ = CreateSolidBrush(kStripColour);
  panelBrush_ = CreateSolidBrush(kPanelColour);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);

  window_.setView(this);
  createChildren(window_, hwnd_);
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
    createChildren(container, handleOf(container));
    return;
  }
  for (Control* c : container.children()) reveal(*c);
}

void Binder::createChildren(Control& container, HWND parent) {
  populated_.insert(&container);
  const std::vector<Control*>& children = container.children();
  const std::size_t first = bound_.size();
  // A new child window goes beneath its siblings: creating the last first
  // leaves later controls above earlier ones, as the model stacks them.
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Control& c = **it;
    const int id = kFirstId + static_cast<int>(bound_.size());
    const Bound b{&c, createChild(c, parent, id), id};
    index_[&c] = bound_.size();
    byHwnd_[b.hwnd] = bound_.size();
    bound_.push_back(b);
    SetWindowSubclass(b.hwnd, childProc, 0, reinterpret_cast<DWORD_PTR>(this));
    c.setView(this);
  }
  // Born from the model as it is now: whatever changed while the window did
  // not exist shows at once.
  for (std::size_t i = first; i < bound_.size(); ++i) applyState(bound_[i]);
  for (Control* c : children) reveal(*c);
}

HWND Binder::createChild(Control& c, HWND parent, int id) {
  const wchar_t* cls = L"BUTTON";
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  switch (c.kind()) {
    case Kind::Label:
      cls = L"STATIC";
      style |= SS_LEFT | SS_NOTIFY | SS_NOPREFIX;
      break;
    case Kind::Button:
      style |= WS_TABSTOP | (c.backColour() ? BS_OWNERDRAW : BS_PUSHBUTTON);
      break;
    case Kind::PictureButton:
    case Kind::GraphicalOption:
      style |= BS_OWNERDRAW;
      break;
    case Kind::OptionButton:
      style |= WS_TABSTOP | BS_RADIOBUTTON;
      break;
    case Kind::CheckBox:
      style |= WS_TABSTOP | BS_CHECKBOX;
      break;
    case Kind::Frame:
      style |= BS_GROUPBOX | WS_CLIPCHILDREN;
      break;
    case Kind::PictureBox:
      cls = L"STATIC";
      style |= SS_OWNERDRAW | SS_NOTIFY;
      break;
    case Kind::TextBox:
      cls = L"EDIT";
      exStyle = WS_EX_CLIENTEDGE;
      style |= WS_TABSTOP | ES_AUTOVSCROLL | ES_NOHIDESEL;
      if (static_cast<TextBox&>(c).multiLine()) style |= ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL;
      break;
    case Kind::ListBox:
      cls = L"LISTBOX";
      exStyle = WS_EX_CLIENTEDGE;
      style |= WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      break;
    case Kind::DropDownList:
      cls = L"COMBOBOX";
      style |= WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
      break;
    case Kind::Window:
      break;
  }
  // Born with its place, visibility and enabled state: one call instead of
  // several for each of the window's many controls keeps start-up quick.
  if (c.visible()) style |= WS_VISIBLE;
  if (!c.enabled()) style |= WS_DISABLED;
  const RECT r = pixelRect(c);
  std::u16string text = windowText(c);
  HWND h = CreateWindowExW(exStyle, cls, wide(text), style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(c.fontFace() == u"Marlett" ? symbolFont_ : font_), FALSE);
  return h;
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

Binder::Bound* Binder::boundById(int id) {
  std::size_t i = static_cast<std::size_t>(id - kFirstId);
  return i < bound_.size() ? &bound_[i] : nullptr;
}

Binder::Bound* Binder::boundByHwnd(HWND hwnd) {
  auto it = byHwnd_.find(hwnd);
  return it == byHwnd_.end() ? nullptr : &bound_[it->second];
}

void Binder::applyState(Bound& b) {
  const bool wasPushing = pushing_;
  pushing_ = true;
  Control& c = *b.control;
  applyTooltip(b, false);
  if (c.kind() == Kind::CheckBox)
    SendMessageW(b.hwnd, BM_SETCHECK, static_cast<CheckBox&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
  if (c.kind() == Kind::OptionButton)
    SendMessageW(b.hwnd, BM_SETCHECK, static_cast<OptionButton&>(c).value() ? BST_CHECKED : BST_UNCHECKED, 0);
  if (c.kind() == Kind::ListBox || c.kind() == Kind::DropDownList) applyItems(b);
  if (c.kind() == Kind::TextBox) SendMessageW(b.hwnd, EM_SETREADONLY, static_cast<TextBox&>(c).locked(), 0);
  pushing_ = wasPushing;
}

RECT Binder::pixelRect(const Control& c) const {
  const TwipsRect& r = c.rect();
  RECT p{toPixels(r.left), toPixels(r.top), toPixels(r.left) + toPixels(r.width),
         toPixels(r.top) + toPixels(r.height)};
  // A drop-down list's window includes the list that drops down.
  if (c.kind() == Kind::DropDownList) p.bottom += kDropDownExtraPixels;
  return p;
}

void Binder::applyGeometry(const Bound& b) {
  const RECT r = pixelRect(*b.control);
  SetWindowPos(b.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Binder::applyWindowGeometry() {
  const TwipsRect& r = window_.rect();
  HWND after = window_.topMost() ? HWND_TOPMOST : nullptr;
  UINT flags = SWP_NOACTIVATE | (window_.visible() ? SWP_SHOWWINDOW : 0) | (window_.topMost() ? 0 : SWP_NOZORDER);
  SetWindowPos(hwnd_, after, toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height), flags);
}

void Binder::applyItems(const Bound& b) {
  auto& list = static_cast<ListControl&>(*b.control);
  const bool combo = list.kind() == Kind::DropDownList;
  SendMessageW(b.hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  SendMessageW(b.hwnd, combo ? CB_INITSTORAGE : LB_INITSTORAGE, list.items().size(), 0);
  for (const std::u16string& item : list.items())
    SendMessageW(b.hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item)));
  SendMessageW(b.hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(list.selectedIndex()), 0);
}

void Binder::applyTooltip(const Bound& b, bool replace) {
  if (!tooltip_) return;
  std::wstring text = wideString(b.control->tooltip());
  if (!replace && text.empty()) return;
  TTTOOLINFOW info = {};
  info.cbSize = sizeof info;
  info.hwnd = GetParent(b.hwnd);
  info.uId = reinterpret_cast<UINT_PTR>(b.hwnd);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.lpszText = text.data();
  if (replace) SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (!text.empty()) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
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
  if (found == index_.end()) return;
  Bound* b = &bound_[found->second];
  pushing_ = true;
  switch (property) {
    case Property::Caption:
    case Property::Tooltip:
      SetWindowTextW(b->hwnd, wide(windowText(c)));
      if (property == Property::Tooltip) applyTooltip(*b, true);
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
      if (c.kind() == Kind::CheckBox || c.kind() == Kind::OptionButton) {
        bool on = c.kind() == Kind::CheckBox ? static_cast<CheckBox&>(c).value() : static_cast<OptionButton&>(c).value();
        SendMessageW(b->hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      InvalidateRect(b->hwnd, nullptr, TRUE);
      break;
    case Property::Items:
      applyItems(*b);
      break;
    case Property::Selection: {
      auto& list = static_cast<ListControl&>(c);
      SendMessageW(b->hwnd, list.kind() == Kind::DropDownList ? CB_SETCURSEL : LB_SETCURSEL,
                   static_cast<WPARAM>(list.selectedIndex()), 0);
      break;
    }
    case Property::Text:
      SetWindowTextW(b->hwnd, wide(static_cast<TextBox&>(c).text()));
      break;
    case Property::Locked:
      SendMessageW(b->hwnd, EM_SETREADONLY, static_cast<TextBox&>(c).locked(), 0);
      break;
    case Property::Geometry:
      applyGeometry(*b);
      break;
    case Property::BackColour:
    case Property::Drawing:
      InvalidateRect(b->hwnd, nullptr, TRUE);
      break;
    case Property::Focus:
      SetFocus(b->hwnd);
      break;
    case Property::TopMost:
      break;
  }
  pushing_ = false;
}

void Binder::onCommand(int id, int code) {
  Bound* b = boundById(id);
  if (!b || pushing_) return;
  Control& c = *b->control;
  switch (c.kind()) {
    case Kind::TextBox:
      if (code == EN_CHANGE) {
        int length = GetWindowTextLengthW(b->hwnd);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(b->hwnd, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        static_cast<TextBox&>(c).userEdited(platform::win32::fromWide(text));
      }
      break;
    case Kind::ListBox:
      if (code == LBN_SELCHANGE)
        static_cast<ListControl&>(c).userSelect(static_cast<int>(SendMessageW(b->hwnd, LB_GETCURSEL, 0, 0)));
      break;
    case Kind::DropDownList:
      if (code == CBN_SELCHANGE)
        static_cast<ListControl&>(c).userSelect(static_cast<int>(SendMessageW(b->hwnd, CB_GETCURSEL, 0, 0)));
      break;
    case Kind::Frame:
      break;
    default:
      if (code == BN_CLICKED) c.userClick();
      break;
  }
}

void Binder::drawItem(const DRAWITEMSTRUCT& item) {
  Bound* b = boundByHwnd(item.hwndItem);
  if (!b) return;
  Control& c = *b->control;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) ||
                       (c.kind() == Kind::GraphicalOption && static_cast<OptionButton&>(c).value());
  if (c.kind() == Kind::PictureBox && !c.backColour() && c.picture().empty() &&
      static_cast<PictureBox&>(c).drawing().empty()) {
    FillRect(dc, &r, panelBrush_);
    return;
  }
  if (!c.picture().empty()) {
    FillRect(dc, &r, backgroundOf(c));
    drawPicture(dc, r, c.picture(), pressed, item.hwndItem == hot_);
    return;
  }
  if (c.kind() == Kind::PictureBox) {
    HBRUSH fill = CreateSolidBrush(c.backColour() ? toColorRef(*c.backColour()) : RGB(255, 255, 255));
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    for (const DrawnLine& line : static_cast<PictureBox&>(c).drawing()) {
      HPEN pen = CreatePen(PS_SOLID, 1, toColorRef(line.colour));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, toPixels(line.x1), toPixels(line.y1), nullptr);
      LineTo(dc, toPixels(line.x2), std::max(toPixels(line.y2), toPixels(line.y1) + 1));
      SelectObject(dc, old);
      DeleteObject(pen);
    }
    return;
  }
  // A push button in its own colour.
  HBRUSH fill = CreateSolidBrush(toColorRef(c.backColour().value_or(0xF0F0F0)));
  FillRect(dc, &r, fill);
  DeleteObject(fill);
  DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, c.enabled() ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
  HGDIOBJ old = SelectObject(dc, c.fontFace() == u"Marlett" ? symbolFont_ : font_);
  if (pressed) OffsetRect(&r, 1, 1);
  DrawTextW(dc, wide(c.caption()), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

bool Binder::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      result = 0;
      return true;
    case WM_DRAWITEM:
      drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      Bound* b = boundByHwnd(reinterpret_cast<HWND>(lParam));
      if (!b) return false;
      HDC dc = reinterpret_cast<HDC>(wParam);
      Control& c = *b->control;
      if (c.kind() == Kind::TextBox || c.kind() == Kind::ListBox || c.kind() == Kind::DropDownList) {
        SetBkColor(dc, RGB(255, 255, 255));
        result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
      }
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, inPanel(c) ? RGB(0x20, 0x20, 0x20) : kTitleColour);
      if (c.backColour()) {
        Colour colour = *c.backColour();
        HBRUSH& brush = colourBrushes_[colour];
        if (!brush) brush = CreateSolidBrush(toColorRef(colour));
        result = reinterpret_cast<LRESULT>(brush);
      } else {
        result = reinterpret_cast<LRESULT>(backgroundOf(c));
      }
      return true;
    }
    case WM_MOUSEMOVE: {
      mouseMoved(window_, wParam, lParam);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void Binder::dpiChanged() {
  dpi_ = platform::win32::dpiOf(hwnd_);
  recreateFonts();
  for (Bound& b : bound_) {
    SendMessageW(b.hwnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(b.control->fontFace() == u"Marlett" ? symbolFont_ : font_), TRUE);
    applyGeometry(b);
  }
  applyWindowGeometry();
}

LRESULT CALLBACK Binder::childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Binder*>(data);
  Bound* b = self->boundByHwnd(hwnd);
  if (!b) return DefSubclassProc(hwnd, message, wParam, lParam);
  Control& c = *b->control;
  switch (message) {
    case WM_MOUSEMOVE: {
      if (isOwnerDrawnButton(c) && self->hot_ != hwnd) {
        if (self->hot_) InvalidateRect(self->hot_, nullptr, FALSE);
        self->hot_ = hwnd;
        InvalidateRect(hwnd, nullptr, FALSE);
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
      }
      self->mouseMoved(c, wParam, lParam);
      break;
    }
    case WM_MOUSELEAVE:
      if (self->hot_ == hwnd) {
        self->hot_ = nullptr;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      break;
    case WM_SETTEXT:
      if (c.kind() == Kind::TextBox && !self->pushing_) {
        LRESULT r = DefSubclassProc(hwnd, message, wParam, lParam);
        static_cast<TextBox&>(c).userEdited(
            std::u16string(reinterpret_cast<const char16_t*>(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"")));
        return r;
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (c.kind() == Kind::TextBox) {
        LRESULT r = DefSubclassProc(hwnd, message, wParam, lParam);
        c.userDoubleClick();
        return r;
      }
      // An owner-drawn button turns a quick second click into a double click; it is a click.
      if (isOwnerDrawnButton(c)) return DefSubclassProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
      break;
    default:
      break;
  }
  if (c.kind() == Kind::Frame) {
    LRESULT result = 0;
    switch (message) {
      case WM_NCHITTEST:
        return HTCLIENT;  // a group box is see-through to the mouse; a panel is not
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, self->panelBrush_);
        return 1;
      }
      case WM_COMMAND:
      case WM_DRAWITEM:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
        if (self->handle(message, wParam, lParam, result)) return result;
        break;
      default:
        break;
    }
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, childProc, 0);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace vexlo::controls::win32
