// Mirrors the control model into standard Win32 controls and routes the
// user's actions back into it. It holds no behaviour of its own: every
// decision is the model's.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <set>
#include <vector>

#include "controls/control.h"

namespace vexlo::controls::win32 {

class Binder : public ControlView {
 public:
  // `window` is the model of the top-level window `hwnd`; every control it
  // contains gets a child window. What a frame contains gets its windows the
  // first time the frame is shown, and keeps them: a hidden panel costs
  // nothing at start-up.
  Binder(HWND hwnd, Window& window);
  ~Binder() override;
  Binder(const Binder&) = delete;
  Binder& operator=(const Binder&) = delete;

  // Creates the child windows of what is shown and applies the model's
  // current state.
  void create();

  // Messages of the top-level window (and those forwarded by frames);
  // true when handled, with the result in `result`.
  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The window moved to a monitor with another DPI: every size follows.
  void dpiChanged();

  void controlChanged(Control& control, Property property) override;

  HWND handleOf(const Control& control) const;
  UINT dpi() const { return dpi_; }
  int toPixels(int twips) const;

 private:
  struct Bound {
    Control* control = nullptr;
    HWND hwnd = nullptr;
    int id = 0;
  };

  void createChildren(Control& container, HWND parent);
  // The container and every container up to the window are visible.
  bool contentsDue(const Control& container) const;
  // Creates the windows of a container's contents once it is shown, and of
  // the shown containers inside it.
  void reveal(Control& container);
  HWND createChild(Control& control, HWND parent, int id);
  void applyState(Bound& bound);
  RECT pixelRect(const Control& control) const;
  void applyGeometry(const Bound& bound);
  void applyWindowGeometry();
  void applyItems(const Bound& bound);
  // `replace`: the control may already have a tool to take away first.
  void applyTooltip(const Bound& bound, bool replace);
  void drawItem(const DRAWITEMSTRUCT& item);
  void onCommand(int id, int code);
  Bound* boundById(int id);
  Bound* boundByHwnd(HWND hwnd);
  void recreateFonts();
  // A mouse move over the control, in twips of its own surface.
  void mouseMoved(Control& control, WPARAM wParam, LPARAM lParam);
  // Inside a panel frame, or on the strip of the window itself.
  bool inPanel(const Control& c) const;
  HBRUSH backgroundOf(const Control& c) const;
  static LRESULT CALLBACK childProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  HWND hwnd_;
  Window& window_;
  // A deque: windows made late must not move the records of earlier ones.
  std::deque<Bound> bound_;
  std::map<const Control*, std::size_t> index_;
  std::map<HWND, std::size_t> byHwnd_;
  std::set<const Control*> populated_;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  HFONT symbolFont_ = nullptr;
  HBRUSH stripBrush_ = nullptr;
  HBRUSH panelBrush_ = nullptr;
  std::map<Colour, HBRUSH> colourBrushes_;
  UINT dpi_ = 96;
  bool pushing_ = false;  // a model change is being pushed: do not echo it back
  HWND hot_ = nullptr;
};

}  // namespace vexlo::controls::win32
