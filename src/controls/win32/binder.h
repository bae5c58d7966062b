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

  // What a control's window is made as, beyond what every one has (a child
  // in its place, visible and enabled as the model says).
  struct WindowClass {
    const wchar_t* name = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
  };
  // The Win32 side of one kind of control, or of a few alike: how its
  // window is made, how the model's state reaches it, and how what the
  // window reports reaches the model. Null where the kind has nothing of its
  // own; the core does what every kind shares, and never lets a window's
  // report of what the binder itself pushed reach the model.
  struct Family {
    WindowClass (*windowClass)(const Control&) = nullptr;
    // What the window carries as its text, for screen readers and
    // automation; null for the caption.
    std::u16string (*windowText)(const Control&) = nullptr;
    // A field to type in or choose from: white, whatever lies around it.
    bool onWhite = false;
    // The window's rectangle, from the model's in pixels.
    void (*place)(const Control&, RECT&) = nullptr;
    // The kind's own state, pushed into a new window.
    void (*applyState)(Binder&, Bound&) = nullptr;
    // One of the kind's own properties changed (every one, for a shape).
    void (*show)(Binder&, Bound&, Property) = nullptr;
    void (*fontChanged)(Binder&, Bound&) = nullptr;
    // WM_COMMAND's notification code, and a scroll bar's request.
    void (*command)(Binder&, Bound&, int code) = nullptr;
    void (*scrolled)(Binder&, Bound&, int request) = nullptr;
    void (*draw)(Binder&, Bound&, const DRAWITEMSTRUCT&) = nullptr;
    // The kind's own handling of its window's messages, after the user's
    // input has reached the model; true when handled, with the result.
    bool (*message)(Binder&, Bound&, UINT, WPARAM, LPARAM, LRESULT&) = nullptr;
  };
  static const Family& familyOf(const Control& control);
  // One file for each: binder_buttons.cpp (buttons, check boxes, option
  // buttons and labels), binder_text_boxes.cpp, binder_lists.cpp (list
  // boxes and drop-down lists), binder_containers.cpp (frames and scroll
  // bars), binder_pictures.cpp (picture boxes, shapes and media hosts).
  struct Buttons;
  struct TextBoxes;
  struct Lists;
  struct Containers;
  struct Pictures;
  static const Family kButtons, kTextBoxes, kLists, kFrames, kScrollBars, kPictureBoxes, kShapes, kMediaHosts;

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
  static std::u16string windowText(const Control& control);
  // Picture controls have no caption of their own; their tooltip names them.
  static std::u16string nameFromTooltip(const Control& control);
  void applyState(Bound& bound);
  RECT pixelRect(const Control& control) const;
  void applyGeometry(const Bound& bound);
  void applyWindowGeometry();
  // A control's tooltip is registered the first time the pointer reaches
  // it, and the tooltip window made then: most controls are never pointed
  // at, and start-up makes none of it.
  void addTool(Bound& bound);
  void removeTool(Bound& bound);
  // Repaints part of a window and whatever lies in it.
  static void repaint(HWND hwnd, const RECT* area);
  void recreateFonts();
  HFONT fontOf(const Control& c) const;

  // A named picture over the control's background (binder_pictures.cpp).
  void drawPictureOf(const Control& control, const DRAWITEMSTRUCT& item, bool pressed);
  // A container's shapes, drawn over it (binder_pictures.cpp).
  bool holdsShape(const Control& container) const;
  void paintShapes(HDC dc, const Control& container);
  LRESULT paintWithShapes(HWND hwnd, const Control& container, WPARAM wParam, LPARAM lParam);
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
  // What the window's own class does with a message: the procedure the
  // window had before the binder's took its place.
  static LRESULT classProcedure(HWND, UINT, WPARAM, LPARAM);
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
