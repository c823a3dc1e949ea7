// The help window: one text area filling the window with the help text. The user may edit the
// text; nothing reads it back, so an edit lasts as long as the window and a window opened after
// a close shows the text as shipped. It handles no event of its own: it shows itself on
// creation and the user closes it.
#include "windows/helpWnd.h"

#include "framework/Object.h"
#include "resources/HelpText.h"

namespace mobrigan {

namespace {

const gui::PropertyTable kWindowProperties = {
    {"Width", 550},
    {"Height", 500},
    {"MinimumWidth", 64},
    {"MinimumHeight", 64},
    {"MaximumWidth", 32000},
    {"MaximumHeight", 32000},
    {"Type", 0},
    {"Title", "Tolvane Info"},
    {"HasCloseButton", true},
    {"HasMinimizeButton", true},
    {"HasMaximizeButton", false},
    {"HasFullScreenButton", false},
    {"Resizeable", false},
    {"LiveResize", false},
    {"FullScreen", false},
    {"Composite", false},
    {"MacProcID", 0},
    {"DefaultLocation", 3},
    {"Visible", true},
    {"HasBackgroundColor", false},
    {"MenuBarVisible", true},
};

// One pixel beyond the content's left and top edges, flush with its right edge, three pixels
// short of its bottom.
const gui::PropertyTable kEditField1 = {
    {"Left", -1}, {"Top", -1}, {"Width", 551}, {"Height", 498},
    {"LockLeft", false}, {"LockTop", false}, {"LockRight", false}, {"LockBottom", false},
    {"Multiline", true}, {"HasVerticalScrollbar", true}, {"HasHorizontalScrollbar", false},
    {"HasBorder", true},
    {"FontName", "System"}, {"FontSize", 12}, {"FontUnit", 0},
    {"Bold", false}, {"Italic", false}, {"Underline", false},
    {"TextColor", gui::RGB(0, 0, 0)}, {"BackgroundColor", gui::RGB(255, 255, 255)},
    {"Transparent", true},
    {"TextAlignment", 0},
    {"LineHeight", 0.0}, {"LineSpacing", 1.0},
    {"AllowStyledText", true},
    {"ReadOnly", false},
    {"AllowSpellChecking", true},
    {"AllowTabs", false},
    {"MaximumCharactersAllowed", 0},
    {"HideSelection", true},
    {"Format", ""}, {"ValidationMask", ""},
    {"TabIndex", 0}, {"TabStop", true}, {"TabPanelIndex", 0},
    {"Enabled", true}, {"Visible", true},
    {"AllowFocusRing", true}, {"AllowAutoDeactivate", true},
    {"Tooltip", ""}, {"DataSource", ""}, {"DataField", ""}, {"InitialParent", ""},
    {"Value", std::string(mobrigan::HelpText())},
};

}  // namespace

void helpWnd::Layout() { gui::_SetProperties(*this, kWindowProperties); }

void helpWnd::CreateControls() { _CreateControls0(); }

void helpWnd::_CreateControls0() {
  NewControl<gui::TextArea>("EditField1");
  gui::_SetProperties(EditField1(), kEditField1);
}

std::shared_ptr<gui::TextArea> helpWnd::EditField1() const {
  return ControlNamed<gui::TextArea>("EditField1");
}

}  // namespace mobrigan
