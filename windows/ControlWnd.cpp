// The main window, where the user works: three input fields (Rxx, Ryy, Rxy), three picture
// buttons (Compute, Help, Clear) and a result field with its caption that stay hidden until the
// first result.
//
// How its events flow: each key typed into an input field first passes that field's key filter,
// which refuses anything that cannot belong to a number with a beep. A press on Compute checks
// the three inputs, then either names the first fault in a message box and puts the focus back
// into its field, or shows Rd. A press on Clear empties the form and hides the result; a press on
// Help opens the one help window. Closing this window ends the program.
#include "windows/ControlWnd.h"

#include <initializer_list>

#include "app/SharedInstances.h"
#include "framework/Delegate.h"
#include "framework/Runtime.h"
#include "framework/Text.h"
#include "resources/Pictures.h"
#include "windows/MenuBar1.h"
#include "windows/helpWnd.h"

namespace mobrigan {

namespace {

constexpr gui::Color kWhite = gui::RGB(255, 255, 255);
constexpr gui::Color kNavy = gui::RGB(0, 0, 128);
constexpr gui::Color kBlack = gui::RGB(0, 0, 0);
constexpr int kCentred = 2;

gui::PropertyTable Join(std::initializer_list<gui::PropertyTable> parts) {
  gui::PropertyTable table;
  for (const auto& part : parts) table.insert(table.end(), part.begin(), part.end());
  return table;
}

gui::PropertyTable Frame(int left, int top, int width, int height) {
  return {{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
}

// The system font in points; size 0 is the system font's own size.
gui::PropertyTable Font(int size, bool bold) {
  return {{"FontName", "System"}, {"FontSize", size}, {"FontUnit", 0},
          {"Bold", bold},         {"Italic", false},  {"Underline", false}};
}

gui::PropertyTable Locks(bool left, bool top, bool right, bool bottom) {
  return {{"LockLeft", left}, {"LockTop", top}, {"LockRight", right}, {"LockBottom", bottom}};
}

// ---- the window ------------------------------------------------------------------------------

// A fixed form: the controls never move, so the window cannot be resized or zoomed.
const gui::PropertyTable kWindow = {
    {"Width", 550},          {"Height", 500},
    {"MinimumWidth", 64},    {"MinimumHeight", 64},
    {"MaximumWidth", 32000}, {"MaximumHeight", 32000},
    {"Type", 0},             {"Title", "Mobrigan"},
    {"HasCloseButton", true}, {"HasMinimizeButton", true},
    {"HasMaximizeButton", false}, {"HasFullScreenButton", false},
    {"Resizeable", false},   {"Composite", true},
    {"MacProcID", 0},        {"FullScreen", false},
    {"DefaultLocation", 0},  {"Visible", true},
    {"HasBackgroundColor", true}, {"BackgroundColor", kWhite},
    {"MenuBarVisible", true}, {"LiveResize", false},
};

// ---- what controls of one kind share -----------------------------------------------------------

// No tooltip, no data binding, placed on the window itself.
const gui::PropertyTable kEveryControl = {
    {"AllowAutoDeactivate", true}, {"TabPanelIndex", 0}, {"Tooltip", ""},
    {"DataSource", ""},            {"DataField", ""},    {"InitialParent", ""},
};

// The input fields and the result field: seven characters at most, centred, in the tab chain.
// Tab is not typed into the text, so it moves the focus on.
const gui::PropertyTable kNumberField = Join({
    Font(0, false),
    {
        {"TextColor", kBlack},     {"BackgroundColor", kWhite},
        {"TextAlignment", kCentred}, {"Enabled", true},
        {"HasBorder", true},       {"MaximumCharactersAllowed", 7},
        {"TabStop", true},         {"Password", false},
        {"Format", ""},            {"Hint", ""},
        {"ValidationMask", ""},    {"AllowSpellChecking", false},
        {"AllowTabs", false},      {"AllowFocusRing", true},
        {"Transparent", true},
    },
    Locks(false, false, false, false),
    kEveryControl,
});

// The captions: disabled, transparent labels that wrap inside their frame.
const gui::PropertyTable kCaption = Join({
    Font(11, false),
    {
        {"TextColor", kNavy}, {"TextAlignment", kCentred},
        {"Enabled", false},   {"TabStop", true},
        {"Multiline", true},  {"Selectable", false},
        {"Transparent", true},
    },
    Locks(false, false, false, false),
    kEveryControl,
});

// The heading and the byline: editable text areas that Tab never reaches.
const gui::PropertyTable kTitleText = Join({
    {
        {"TextColor", kNavy},          {"BackgroundColor", kWhite},
        {"TextAlignment", kCentred},   {"Visible", true},
        {"Enabled", true},             {"ReadOnly", false},
        {"HasBorder", false},          {"MaximumCharactersAllowed", 0},
        {"TabStop", false},            {"Multiline", true},
        {"HasHorizontalScrollbar", false}, {"HasVerticalScrollbar", false},
        {"HideSelection", true},       {"LineSpacing", 1.0},
        {"AllowSpellChecking", false}, {"AllowTabs", false},
        {"AllowFocusRing", false},     {"Transparent", false},
        {"Format", ""},                {"ValidationMask", ""},
    },
    kEveryControl,
});

// The picture buttons and the logo: the backdrop is their whole face; they never take the focus.
const gui::PropertyTable kPicture = Join({
    {
        {"Visible", true},      {"Enabled", true},
        {"TabStop", true},      {"Transparent", true},
        {"DoubleBuffer", false}, {"AllowFocus", false},
        {"AllowFocusRing", true}, {"AllowTabs", false},
    },
    kEveryControl,
});

// ---- the fourteen controls, in creation order, which is also their stacking order ----------------

const gui::PropertyTable kRdFld = Join({
    Frame(235, 265, 80, 22),
    {{"TabIndex", 4}, {"Value", ""}, {"Visible", false}, {"ReadOnly", true}},
    kNumberField,
});
const gui::PropertyTable kRdText = Join({
    Frame(235, 289, 80, 49),
    {{"TabIndex", 11}, {"Value", "Reliability of difference score"}, {"Visible", false}},
    kCaption,
});
const gui::PropertyTable kText1 = Join({
    Frame(112, 214, 80, 31),
    {{"TabIndex", 14}, {"Value", "Reliability of first test"}, {"Visible", true}},
    kCaption,
});
const gui::PropertyTable kRxxFld = Join({
    Frame(112, 190, 80, 22),
    {{"TabIndex", 1}, {"Value", ""}, {"Visible", true}, {"ReadOnly", false}},
    kNumberField,
});
const gui::PropertyTable kText2 = Join({
    Frame(235, 214, 80, 31),
    {{"TabIndex", 16}, {"Value", "Reliability of second test"}, {"Visible", true}},
    kCaption,
});
const gui::PropertyTable kRyyFld = Join({
    Frame(235, 190, 80, 22),
    {{"TabIndex", 17}, {"Value", ""}, {"Visible", true}, {"ReadOnly", false}},
    kNumberField,
});
const gui::PropertyTable kText3 = Join({
    Frame(358, 214, 80, 31),
    {{"TabIndex", 18}, {"Value", "Correlation between tests"}, {"Visible", true}},
    kCaption,
});
const gui::PropertyTable kRxyFld = Join({
    Frame(358, 190, 80, 22),
    {{"TabIndex", 19}, {"Value", ""}, {"Visible", true}, {"ReadOnly", false}},
    kNumberField,
});
// The byline, short enough for one line of its frame; its top rows lie under the heading, which
// is made later and so drawn above it.
const gui::PropertyTable kText6 = Join({
    Frame(213, 39, 135, 20),
    {{"TabIndex", 0}, {"Value", "the Mobrigan developers"}, {"LineHeight", 0}, {"AllowStyledText", true}},
    Font(10, false),
    Locks(false, false, false, false),
    kTitleText,
});
const gui::PropertyTable kHelp = Join({
    Frame(235, 410, 72, 70),
    {{"TabIndex", 21}},
    Locks(false, false, false, false),
    kPicture,
});
const gui::PropertyTable kComputeCanvas = Join({
    Frame(20, 442, 106, 38),
    {{"TabIndex", 23}},
    Locks(false, false, false, false),
    kPicture,
});
const gui::PropertyTable kClearCanvas = Join({
    Frame(424, 441, 106, 39),
    {{"TabIndex", 24}},
    Locks(false, false, false, false),
    kPicture,
});
// The heading, reaching the right edge of the window.
const gui::PropertyTable kText5 = Join({
    Frame(76, 0, 474, 42),
    {{"TabIndex", 25}, {"Value", "Mobrigan"}, {"LineHeight", 40}, {"AllowStyledText", false}},
    Font(32, true),
    Locks(true, true, true, true),
    kTitleText,
});
// The logo in the top left corner.
const gui::PropertyTable kCanvas1 = Join({
    Frame(6, 1, 65, 65),
    {{"TabIndex", 26}},
    Locks(true, true, false, false),
    kPicture,
});

// ---- input checks --------------------------------------------------------------------------------

struct Check {
  bool fails;
  std::shared_ptr<gui::TextField> field;
  const char* message;
};

// Reports the first check that fails: its message, then the focus to its field. True when one did.
bool ReportFirstFault(std::initializer_list<Check> checks) {
  for (const Check& check : checks) {
    if (!check.fails) continue;
    gui::MsgBox(check.message);
    check.field->SetFocus();
    return true;
  }
  return false;
}

bool OutOfUnitRange(double value) { return value < 0.0 || value > 1.0; }

// The one rule of the three key filters: digits, the point, backspace and tab pass (and the minus
// sign where a negative number makes sense); anything else is swallowed with a beep.
bool RefuseKey(const std::string& key, bool minusAllowed) {
  const std::int64_t c = gui::Asc(key);
  const bool accepted = (c > 47 && c < 58) || c == 8 || c == 9 || c == 46 || (minusAllowed && c == 45);
  if (accepted) return false;
  gui::Beep();
  return true;
}

constexpr const char* kKeyDownSignature = "( TextField, String ) as Boolean";
constexpr const char* kMouseDownSignature = "( Canvas, Integer, Integer ) as Boolean";

}  // namespace

// ---- building the window -------------------------------------------------------------------------

void ControlWnd::Layout() {
  MenuBar(implicit::MenuBar1());
  gui::_SetProperties(*this, kWindow);
}

void ControlWnd::CreateControls() { _CreateControls0(); }

void ControlWnd::_CreateControls0() {
  Make<gui::TextField>("RdFld", kRdFld);
  Make<gui::Label>("RdText", kRdText);
  Make<gui::Label>("Text1", kText1);
  Make<gui::TextField>("RxxFld", kRxxFld);
  OnKeyDown("RxxFld", &ControlWnd::RxxFld_KeyDown);
  Make<gui::Label>("Text2", kText2);
  Make<gui::TextField>("RyyFld", kRyyFld);
  OnKeyDown("RyyFld", &ControlWnd::RyyFld_KeyDown);
  Make<gui::Label>("Text3", kText3);
  Make<gui::TextField>("RxyFld", kRxyFld);
  OnKeyDown("RxyFld", &ControlWnd::RxyFld_KeyDown);
  Make<gui::TextArea>("Text6", kText6);
  Make<gui::Canvas>("Help", kHelp, &Info);
  OnMouseDown("Help", &ControlWnd::Help_MouseDown);
  Make<gui::Canvas>("ComputeCanvas", kComputeCanvas, &Compute2);
  OnMouseDown("ComputeCanvas", &ControlWnd::ComputeCanvas_MouseDown);
  Make<gui::Canvas>("ClearCanvas", kClearCanvas, &Clear2);
  OnMouseDown("ClearCanvas", &ControlWnd::ClearCanvas_MouseDown);
  Make<gui::TextArea>("Text5", kText5);
  Make<gui::Canvas>("Canvas1", kCanvas1, &ImageSmaller);
}

template <class T>
void ControlWnd::Make(const std::string& name, const gui::PropertyTable& table, PictureSource backdrop) {
  NewControl<T>(name);
  // A picture that cannot be loaded leaves the canvas blank; it keeps its frame and its handler.
  if (backdrop) ControlNamed<gui::Canvas>(name)->Backdrop(backdrop());
  gui::_SetProperties(ControlNamed<T>(name), table);
}

void ControlWnd::OnKeyDown(const std::string& name,
                           bool (ControlWnd::*handler)(std::shared_ptr<gui::TextField>, std::string)) {
  gui::RuntimeAddEventHandler(ControlNamed<gui::TextField>(name), gui::TextField::kKeyDown,
                              gui::RuntimeCreateDelegate(this, handler, kKeyDownSignature, 1));
}

void ControlWnd::OnMouseDown(const std::string& name,
                             bool (ControlWnd::*handler)(std::shared_ptr<gui::Canvas>, std::int64_t, std::int64_t)) {
  gui::RuntimeAddEventHandler(ControlNamed<gui::Canvas>(name), gui::Canvas::kMouseDown,
                              gui::RuntimeCreateDelegate(this, handler, kMouseDownSignature, 1));
}

// ---- controls ------------------------------------------------------------------------------------

std::shared_ptr<gui::TextField> ControlWnd::RdFld() const { return ControlNamed<gui::TextField>("RdFld"); }
std::shared_ptr<gui::Label> ControlWnd::RdText() const { return ControlNamed<gui::Label>("RdText"); }
std::shared_ptr<gui::Label> ControlWnd::Text1() const { return ControlNamed<gui::Label>("Text1"); }
std::shared_ptr<gui::TextField> ControlWnd::RxxFld() const { return ControlNamed<gui::TextField>("RxxFld"); }
std::shared_ptr<gui::Label> ControlWnd::Text2() const { return ControlNamed<gui::Label>("Text2"); }
std::shared_ptr<gui::TextField> ControlWnd::RyyFld() const { return ControlNamed<gui::TextField>("RyyFld"); }
std::shared_ptr<gui::Label> ControlWnd::Text3() const { return ControlNamed<gui::Label>("Text3"); }
std::shared_ptr<gui::TextField> ControlWnd::RxyFld() const { return ControlNamed<gui::TextField>("RxyFld"); }
std::shared_ptr<gui::TextArea> ControlWnd::Text6() const { return ControlNamed<gui::TextArea>("Text6"); }
std::shared_ptr<gui::Canvas> ControlWnd::Help() const { return ControlNamed<gui::Canvas>("Help"); }
std::shared_ptr<gui::Canvas> ControlWnd::ComputeCanvas() const { return ControlNamed<gui::Canvas>("ComputeCanvas"); }
std::shared_ptr<gui::Canvas> ControlWnd::ClearCanvas() const { return ControlNamed<gui::Canvas>("ClearCanvas"); }
std::shared_ptr<gui::TextArea> ControlWnd::Text5() const { return ControlNamed<gui::TextArea>("Text5"); }
std::shared_ptr<gui::Canvas> ControlWnd::Canvas1() const { return ControlNamed<gui::Canvas>("Canvas1"); }

// ---- key filters ---------------------------------------------------------------------------------

bool ControlWnd::RxxFld_KeyDown(std::shared_ptr<gui::TextField>, std::string key) { return RefuseKey(key, false); }
bool ControlWnd::RyyFld_KeyDown(std::shared_ptr<gui::TextField>, std::string key) { return RefuseKey(key, false); }
// A correlation may be negative.
bool ControlWnd::RxyFld_KeyDown(std::shared_ptr<gui::TextField>, std::string key) { return RefuseKey(key, true); }

// ---- picture buttons -----------------------------------------------------------------------------

bool ControlWnd::Help_MouseDown(std::shared_ptr<gui::Canvas>, std::int64_t, std::int64_t) {
  implicit::helpWnd()->Show();
  return false;
}

// Checks the three inputs and shows Rd = (0.5 (Rxx + Ryy) - |Rxy|) / (1 - |Rxy|). A failed check
// leaves an earlier result on display as it was.
bool ControlWnd::ComputeCanvas_MouseDown(std::shared_ptr<gui::Canvas>, std::int64_t, std::int64_t) {
  const auto rxxFld = RxxFld();
  const auto ryyFld = RyyFld();
  const auto rxyFld = RxyFld();

  // Every field must hold something before any is read as a number.
  if (ReportFirstFault({
          {rxxFld->Text() == "", rxxFld, "Please enter the Reliability of the first test"},
          {ryyFld->Text() == "", ryyFld, "Please enter the Reliability of the second test"},
          {rxyFld->Text() == "", rxyFld, "Please enter the correlation between the two tests"},
      }))
    return false;

  // Whatever the text, Val makes a number of it; only the range is judged. The sign of the
  // correlation plays no part.
  const double rxx = gui::Val(rxxFld->Text());
  const double ryy = gui::Val(ryyFld->Text());
  const double rxy = gui::Abs(gui::Val(rxyFld->Text()));

  if (ReportFirstFault({
          {OutOfUnitRange(rxx), rxxFld, "Reliability of first test must range from 0.00 to 1.00"},
          {OutOfUnitRange(ryy), ryyFld, "Reliability of second test must range from 0.00 to 1.00"},
          {rxy > 1.0, rxyFld, "Correlation between tests must range from 0.00 to 1.00"},
      }))
    return false;

  // A correlation of exactly 1 makes the denominator 0: Rd is then minus infinity (NaN when both
  // reliabilities are 1), shown as such rather than refused.
  const double sum = rxx + ryy;
  const double product = sum * 0.5;
  const double numerator = product - rxy;
  const double denominator = 1.0 - rxy;
  const double rd = numerator / denominator;

  RdFld()->Visible(true);
  RdText()->Visible(true);
  RdFld()->Text(gui::Format(rd, ".0000"));
  return false;
}

bool ControlWnd::ClearCanvas_MouseDown(std::shared_ptr<gui::Canvas>, std::int64_t, std::int64_t) {
  RdFld()->Visible(false);
  RdText()->Visible(false);
  RxxFld()->Text("");
  RyyFld()->Text("");
  RxyFld()->Text("");
  RdFld()->Text("");
  RxxFld()->SetFocus();
  return false;
}

// ---- menu items ----------------------------------------------------------------------------------

template <class T>
std::shared_ptr<T> ControlWnd::MenuItemNamed(const std::string& name) const {
  // The search starts at the bar and reaches the items inside its menus.
  return gui::RuntimeCheckCast<T>(MenuBar()->_Lookup(name));
}

std::shared_ptr<gui::MenuItem> ControlWnd::EditMenu() const { return MenuItemNamed("EditMenu"); }
std::shared_ptr<gui::MenuItem> ControlWnd::EditSelectAll() const { return MenuItemNamed("EditSelectAll"); }
std::shared_ptr<gui::MenuItem> ControlWnd::UntitledMenu0() const { return MenuItemNamed("UntitledMenu0"); }
std::shared_ptr<gui::MenuItem> ControlWnd::EditClear() const { return MenuItemNamed("EditClear"); }
std::shared_ptr<gui::MenuItem> ControlWnd::EditPaste() const { return MenuItemNamed("EditPaste"); }
std::shared_ptr<gui::MenuItem> ControlWnd::EditCopy() const { return MenuItemNamed("EditCopy"); }
std::shared_ptr<gui::MenuItem> ControlWnd::EditCut() const { return MenuItemNamed("EditCut"); }
std::shared_ptr<gui::MenuItem> ControlWnd::UntitledMenu1() const { return MenuItemNamed("UntitledMenu1"); }
std::shared_ptr<gui::MenuItem> ControlWnd::EditUndo() const { return MenuItemNamed("EditUndo"); }
std::shared_ptr<gui::MenuItem> ControlWnd::FileMenu() const { return MenuItemNamed("FileMenu"); }
std::shared_ptr<gui::QuitMenuItem> ControlWnd::FileQuit() const {
  return MenuItemNamed<gui::QuitMenuItem>("FileQuit");
}

// ---- window events -------------------------------------------------------------------------------

void ControlWnd::Event_Close() { gui::Quit(0); }

}  // namespace mobrigan
