// Mirrors the control model into standard Win32 controls and routes the
// user's actions back into it. It holds no behaviour of its own: every
// decision is the model's.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/control.h"
#include "controls/win32/outline_list_view.h"
#include "controls/win32/picture_box_view.h"

namespace vexlo::controls::win32 {

class Binder : public ControlView {
 public:
  // `window` is the model of the top-level window `hwnd`; every control it
  // contains gets a child window (a shape is drawn by its container and
  // gets none). A control gets its window the first time it shows, and
  // what a container holds the first time the container shows; both keep
  // them: a hidden panel, frame or button costs nothing at start-up.
  Binder(HWND hwnd, Window& window);
  ~Binder() override;
  Binder(const Binder&) = delete;
  Binder& operator=(const Binder&) = delete;

  // Creates the child windows of what is shown and applies the model's
  // current state.
  void create();

  // Messages of the top-level window (and those its child windows pass up
  // from theirs); true when handled, with the result in `result`.
  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The window moved to a monitor with another DPI: every size follows.
  void dpiChanged();

  void controlChanged(Control& control, Property property) override;
  void childAdded(Control& container, Control& child) override;
  void childRemoved(Control& container, Control& child) override;

  // The control's window if it has one yet; null otherwise.
  HWND handleOf(const Control& control) const;
  // The control's window, made now with the rest of its containers'
  // contents if they have none yet, even while hidden: the media player
  // needs its area before the media panel first shows. Null for a shape
  // and for a control outside the window.
  HWND windowFor(Control& control);
  // The icons a picture box shows, oldest first; files without an icon
  // have no entry.
  std::vector<HICON> iconsOf(const Control& control) const;

  // Runs for every control window the binder makes, when it makes it: a
  // view of its own (a picture drawn from the model's pixels, a player)
  // joins a window that may be made long after start-up.
  std::function<void(Control& control, HWND window)> onWindowMade;

  UINT dpi() const { return dpi_; }
  int toPixels(int twips) const;

 private:
  struct Bound {
    Control* control = nullptr;  // null once removed: the record waits for reuse
    HWND hwnd = nullptr;         // null for a shape
    RECT area = {};              // where a shape is drawn in its container
    KeptIcons icons;             // what a picture box shows
    bool hasTool = false;        // registered with the tooltip window
  };

  // Creates the windows of a container's contents, and those of the shown
  // containers inside it.
  void populate(Control& container);
  // The container and every container up to the window are visible.
  bool contentsDue(const Control& container) const;
  // Creates the windows of a container's contents once it is shown, and of
  // the shown containers inside it.
  void reveal(Control& container);
  Bound& bind(Control& control, HWND parent);
  // Hidden while its container's contents are made: its window comes when
  // it first shows.
  static bool waitsToBeShown(const Control& control);
  // A window made after its siblings', placed among them as the model
  // stacks them.
  void bindAmongSiblings(Control& control, HWND parent);
  HWND windowAbove(const Control& control) const;
  void shownFirstTime(Control& control);
  // Drops the records of a control and of everything inside it.
  void forget(Control& control);
  HWND createChild(Control& control, HWND parent, int id);
  void applyState(Bound& bound);
  void shapeChanged(Bound& bound, Property property);
  RECT pixelRect(const Control& control) const;
  void applyGeometry(const Bound& bound);
  void applyWindowGeometry();
  void applyItems(const Bound& bound);
  // A control's tooltip is registered the first time the pointer reaches
  // it, and the tooltip window made then: most controls are never pointed
  // at, and start-up makes none of it.
  void addTool(Bound& bound);
  void removeTool(Bound& bound);
  // Repaints part of a window and whatever lies in it.
  static void repaint(HWND hwnd, const RECT* area);
  void recreateFonts();
  HFONT fontOf(const Control& c) const;

  void drawItem(Bound& bound, const DRAWITEMSTRUCT& item);
  void applyItemHeight(const Bound& bound);
  void applyDroppedWidth(const Bound& bound);
  void onCommand(Bound& bound, int code);
  void scrolled(Bound& bound, int request);
  bool holdsShape(const Control& container) const;
  void paintShapes(HDC dc, const Control& container);
  // The program's own pointer for the control, made on first use; null
  // for the system's.
  HCURSOR pointerOf(const Control& control);
  Bound* boundByHwnd(HWND hwnd);
  // A mouse move over the control, in twips of its own surface.
  void mouseMoved(Control& control, WPARAM wParam, LPARAM lParam);
  // Inside a panel frame, or on the strip of the window itself.
  bool inPanel(const Control& c) const;
  HBRUSH backgroundOf(const Control& c) const;
  // Every control window runs through this procedure, put in place of its
  // class's own when the window is made and finding the binder in the
  // window's user data. (Not the common controls' subclassing: under Wine
  // that costs a server round trip for every message, and a window's class
  // name must stay the standard one.)
  static LRESULT CALLBACK childProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT controlMessage(HWND, UINT, WPARAM, LPARAM);
  // Mouse messages over a control with a tooltip reach the tooltip.
  void relayToTooltip(Bound& bound, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_;
  Window& window_;
  // A deque: windows made late must not move the records of earlier ones.
  std::deque<Bound> bound_;
  std::vector<std::size_t> freeRecords_;
  std::map<const Control*, std::size_t> index_;
  std::map<HWND, std::size_t> byHwnd_;
  std::set<const Control*> populated_;
  // Hidden when their containers' contents were made: no window yet.
  std::set<Control*> waiting_;
  std::map<std::string, HCURSOR> pointers_;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  HFONT symbolFont_ = nullptr;
  HBRUSH stripBrush_ = nullptr;
  HBRUSH panelBrush_ = nullptr;
  std::map<Colour, HBRUSH> colourBrushes_;
  UINT dpi_ = 96;
  FolderIcons folderIcons_;
  bool pushing_ = false;  // a model change is being pushed: do not echo it back
  // A key is being handled by a list: its change of selection is the
  // keyboard's, not a click.
  bool keySelecting_ = false;
  HWND hot_ = nullptr;
};

}  // namespace vexlo::controls::win32
