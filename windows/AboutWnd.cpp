// The splash window: the logo, the program's name over two lines and a notice along the bottom.
// It shows itself when the start-up asks for it. Its one-shot timer (4 s), a key press or a
// mouse press hands over: the splash hides (it is never closed) and the main window is shown,
// made on the first hand-over. Nothing stops the timer, so after an early hand-over it fires
// later and hands over once more: the splash stays hidden, and Show on the main window, already
// shown with whatever the user typed, brings it to the front and makes it active again.
#include "windows/AboutWnd.h"

#include "app/SharedInstances.h"
#include "framework/Object.h"
#include "resources/Pictures.h"
#include "windows/ControlWnd.h"

namespace mobrigan {

namespace {

constexpr gui::Color kWhite = gui::RGB(255, 255, 255);
constexpr gui::Color kNavy = gui::RGB(0, 0, 128);

const gui::PropertyTable kWindowProperties = {
    {"Width", 447},
    {"Height", 218},
    {"MinimumWidth", 64},
    {"MinimumHeight", 64},
    {"MaximumWidth", 32000},
    {"MaximumHeight", 32000},
    {"Type", 2},
    {"Title", ""},
    {"HasCloseButton", true},
    {"HasMinimizeButton", true},
    {"HasMaximizeButton", true},
    {"HasFullScreenButton", false},
    {"Resizeable", true},
    {"Composite", false},
    {"MacProcID", 0},
    {"FullScreen", false},
    {"DefaultLocation", 0},
    {"Visible", true},
    {"HasBackgroundColor", true},
    {"BackgroundColor", kWhite},
    {"MenuBarVisible", true},
    {"LiveResize", false},
};

// The product name, broken at its last syllable so that the upper line reads as the name's
// start and the hyphen keeps the two lines one word.
const gui::PropertyTable kStaticText1 = {
    {"Left", 165}, {"Top", 48}, {"Width", 262}, {"Height", 43},
    {"Value", "Mobri-"},
    {"FontName", "System"}, {"FontSize", 28}, {"FontUnit", 0},
    {"Bold", true}, {"Italic", false}, {"Underline", false},
    {"TextColor", kNavy}, {"TextAlignment", 2},
    {"Multiline", true}, {"Transparent", true}, {"Selectable", false},
    {"Visible", true}, {"Enabled", true},
    {"TabIndex", 2}, {"TabStop", true}, {"TabPanelIndex", 0}, {"AllowAutoDeactivate", true},
    {"LockLeft", false}, {"LockTop", false}, {"LockRight", false}, {"LockBottom", false},
    {"Tooltip", ""}, {"DataField", ""}, {"DataSource", ""}, {"InitialParent", ""},
};

const gui::PropertyTable kStaticText2 = {
    {"Left", 0}, {"Top", 189}, {"Width", 447}, {"Height", 29},
    {"Value", "\u00a9 2026 the Mobrigan developers \u00b7 Version 4.0"},
    {"FontName", "System"}, {"FontSize", 9}, {"FontUnit", 0},
    {"Bold", false}, {"Italic", false}, {"Underline", false},
    {"TextColor", kNavy}, {"TextAlignment", 2},
    {"Multiline", false}, {"Transparent", true}, {"Selectable", false},
    {"Visible", true}, {"Enabled", true},
    {"TabIndex", 3}, {"TabStop", true}, {"TabPanelIndex", 0}, {"AllowAutoDeactivate", true},
    {"LockLeft", false}, {"LockTop", false}, {"LockRight", false}, {"LockBottom", false},
    {"Tooltip", ""}, {"DataField", ""}, {"DataSource", ""}, {"InitialParent", ""},
};

const gui::PropertyTable kCanvas1 = {
    {"Left", 20}, {"Top", 37}, {"Width", 133}, {"Height", 129},
    {"Transparent", true}, {"DoubleBuffer", false},
    {"Visible", true}, {"Enabled", true},
    {"TabIndex", 4}, {"TabStop", true}, {"TabPanelIndex", 0}, {"AllowAutoDeactivate", true},
    {"AllowFocusRing", true}, {"AllowFocus", false}, {"AllowTabs", false},
    {"LockLeft", false}, {"LockTop", false}, {"LockRight", false}, {"LockBottom", false},
    {"Tooltip", ""}, {"DataField", ""}, {"DataSource", ""}, {"InitialParent", ""},
};

// Fires once, four seconds after the splash is made.
const gui::PropertyTable kTimer1 = {
    {"Period", 4000},
    {"RunMode", 1},
};

const gui::PropertyTable kLabel1 = {
    {"Left", 165}, {"Top", 100}, {"Width", 262}, {"Height", 43},
    {"Value", "gan"},
    {"FontName", "System"}, {"FontSize", 28}, {"FontUnit", 0},
    {"Bold", true}, {"Italic", false}, {"Underline", false},
    {"TextColor", kNavy}, {"TextAlignment", 2},
    {"Multiline", true}, {"Transparent", true}, {"Selectable", false},
    {"Visible", true}, {"Enabled", true},
    {"TabIndex", 5}, {"TabStop", true}, {"TabPanelIndex", 0}, {"AllowAutoDeactivate", true},
    {"LockLeft", false}, {"LockTop", false}, {"LockRight", false}, {"LockBottom", false},
    {"Tooltip", ""}, {"DataField", ""}, {"DataSource", ""}, {"InitialParent", ""},
};

}  // namespace

void AboutWnd::Layout() { gui::_SetProperties(*this, kWindowProperties); }

void AboutWnd::CreateControls() { _CreateControls0(); }

void AboutWnd::_CreateControls0() {
  NewControl<gui::Label>("StaticText1");
  gui::_SetProperties(StaticText1(), kStaticText1);

  NewControl<gui::Label>("StaticText2");
  gui::_SetProperties(StaticText2(), kStaticText2);

  NewControl<gui::Canvas>("Canvas1");
  Canvas1()->Backdrop(mobrigan::ImageSmall());
  gui::_SetProperties(Canvas1(), kCanvas1);

  NewControl<gui::Timer>("Timer1");
  gui::_SetProperties(Timer1(), kTimer1);
  gui::RuntimeAddEventHandler(Timer1(), gui::Timer::kAction,
                              gui::RuntimeCreateDelegate(this, &AboutWnd::Timer1_Action, "( Timer )", 1));

  NewControl<gui::Label>("Label1");
  gui::_SetProperties(Label1(), kLabel1);
}

std::shared_ptr<gui::Label> AboutWnd::StaticText1() const {
  return ControlNamed<gui::Label>("StaticText1");
}
std::shared_ptr<gui::Label> AboutWnd::StaticText2() const {
  return ControlNamed<gui::Label>("StaticText2");
}
std::shared_ptr<gui::Canvas> AboutWnd::Canvas1() const {
  return ControlNamed<gui::Canvas>("Canvas1");
}
std::shared_ptr<gui::Timer> AboutWnd::Timer1() const {
  return ControlNamed<gui::Timer>("Timer1");
}
std::shared_ptr<gui::Label> AboutWnd::Label1() const {
  return ControlNamed<gui::Label>("Label1");
}

void AboutWnd::HandOver() {
  implicit::AboutWnd()->Hide();
  implicit::ControlWnd()->Show();
}

void AboutWnd::Timer1_Action(std::shared_ptr<gui::Timer>) { HandOver(); }

bool AboutWnd::Event_KeyDown(const std::string&) {
  HandOver();
  return false;
}

bool AboutWnd::Event_MouseDown(std::int64_t, std::int64_t) {
  HandOver();
  return false;
}

// A user's close would stop the timer and leave the program running with no window at all.
bool AboutWnd::CancelClose(bool appQuitting) { return !appQuitting; }

}  // namespace mobrigan
