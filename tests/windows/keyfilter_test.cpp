// The key filters of the three input fields, through real key presses on the field widgets: an
// accepted key reaches the field without a sound, a refused one beeps once and changes nothing.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <ostream>
#include <string>
#include <tuple>

#include "MainWindowFixture.h"

namespace {

enum class Field { Rxx, Ryy, Rxy };

struct Key {
  const char* what;
  int key;
  const char* text;  // UTF-8
  Qt::KeyboardModifiers modifiers;
  bool accepted;       // in RxxFld and RyyFld
  bool acceptedInRxy;  // in RxyFld
  // The field's text afterwards when accepted, starting from "123" with the "2" selected;
  // nullptr for Tab, which moves the focus and leaves the text alone.
  const char* after;
};

void PrintTo(const Key& k, std::ostream* os) { *os << k.what; }

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

const Key kKeys[] = {
    {"digit 0", Qt::Key_0, "0", kNone, true, true, "103"},
    {"digit 9", Qt::Key_9, "9", kNone, true, true, "193"},
    {"keypad 0", Qt::Key_0, "0", Qt::KeypadModifier, true, true, "103"},
    {"keypad 7", Qt::Key_7, "7", Qt::KeypadModifier, true, true, "173"},
    {"point", Qt::Key_Period, ".", kNone, true, true, "1.3"},
    {"backspace", Qt::Key_Backspace, "\b", kNone, true, true, "13"},
    {"tab", Qt::Key_Tab, "\t", kNone, true, true, nullptr},
    {"minus", Qt::Key_Minus, "-", kNone, false, true, "1-3"},
    {"a key text led by a digit passes whole", Qt::Key_5, "5a", kNone, true, true, "15a3"},
    {"a key text led by a letter is refused whole", Qt::Key_A, "a5", kNone, false, false, nullptr},
    {"slash, just below the digits", Qt::Key_Slash, "/", kNone, false, false, nullptr},
    {"colon, just above the digits", Qt::Key_Colon, ":", kNone, false, false, nullptr},
    {"letter e", Qt::Key_E, "e", kNone, false, false, nullptr},
    {"letter E", Qt::Key_E, "E", Qt::ShiftModifier, false, false, nullptr},
    {"space", Qt::Key_Space, " ", kNone, false, false, nullptr},
    {"plus", Qt::Key_Plus, "+", kNone, false, false, nullptr},
    {"comma", Qt::Key_Comma, ",", kNone, false, false, nullptr},
    {"percent", Qt::Key_Percent, "%", kNone, false, false, nullptr},
    {"typographic minus", 0x2212, "\u2212", kNone, false, false, nullptr},
    {"division sign", Qt::Key_division, "\u00f7", kNone, false, false, nullptr},
    {"Arabic-Indic digit three", 0x0663, "\u0663", kNone, false, false, nullptr},
    {"return", Qt::Key_Return, "\r", kNone, false, false, nullptr},
    {"keypad enter", Qt::Key_Enter, "\r", Qt::KeypadModifier, false, false, nullptr},
    {"escape", Qt::Key_Escape, "\x1b", kNone, false, false, nullptr},
    {"forward delete", Qt::Key_Delete, "", kNone, false, false, nullptr},
    {"left arrow", Qt::Key_Left, "", kNone, false, false, nullptr},
    {"right arrow", Qt::Key_Right, "", kNone, false, false, nullptr},
    {"up arrow", Qt::Key_Up, "", kNone, false, false, nullptr},
    {"down arrow", Qt::Key_Down, "", kNone, false, false, nullptr},
    {"home", Qt::Key_Home, "", kNone, false, false, nullptr},
};

const char* FieldName(Field f) { return f == Field::Rxx ? "RxxFld" : f == Field::Ryy ? "RyyFld" : "RxyFld"; }

class KeyFilter : public MainWindowTest, public ::testing::WithParamInterface<std::tuple<Key, Field>> {
 protected:
  std::shared_ptr<gui::TextField> FieldOf(Field f) const {
    return f == Field::Rxx ? wnd->RxxFld() : f == Field::Ryy ? wnd->RyyFld() : wnd->RxyFld();
  }
  // Where Tab goes from each field while no result is shown.
  std::shared_ptr<gui::TextField> NextOf(Field f) const {
    return f == Field::Rxx ? wnd->RyyFld() : f == Field::Ryy ? wnd->RxyFld() : wnd->RxxFld();
  }
};

TEST_P(KeyFilter, AcceptedKeysActAndRefusedKeysBeepAndChangeNothing) {
  const auto& [key, field] = GetParam();
  const auto fld = FieldOf(field);
  QLineEdit* edit = Edit(fld);
  fld->Text("123");
  Focus(fld);
  edit->setSelection(1, 1);  // "2" selected, the cursor after it

  testsupport::BeepCounter beeps;
  QTest::sendKeyEvent(QTest::Click, edit, static_cast<Qt::Key>(key.key), QString::fromUtf8(key.text), key.modifiers);

  const bool accepted = field == Field::Rxy ? key.acceptedInRxy : key.accepted;
  if (accepted) {
    EXPECT_EQ(beeps.count(), 0);
    if (key.after) {
      EXPECT_EQ(fld->Text(), key.after);
    } else {  // Tab
      EXPECT_EQ(fld->Text(), "123");
      EXPECT_TRUE(FocusEndsIn(NextOf(field)));
    }
  } else {
    EXPECT_EQ(beeps.count(), 1);
    EXPECT_EQ(fld->Text(), "123");
    EXPECT_EQ(edit->selectedText(), "2");
    EXPECT_EQ(edit->selectionStart(), 1);
    EXPECT_EQ(edit->cursorPosition(), 2);
    EXPECT_EQ(QApplication::focusWidget(), edit);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyFilter,
                         ::testing::Combine(::testing::ValuesIn(kKeys),
                                            ::testing::Values(Field::Rxx, Field::Ryy, Field::Rxy)),
                         [](const auto& info) {
                           return testsupport::CaseName(std::get<0>(info.param).what) + "_in_" +
                                  FieldName(std::get<1>(info.param));
                         });

using FieldLimit = MainWindowTest;

TEST_F(FieldLimit, AFullFieldStillPassesAcceptedKeysSilentlyAndKeepsSevenCharacters) {
  for (const auto& fld : {wnd->RxxFld(), wnd->RyyFld(), wnd->RxyFld()}) {
    SCOPED_TRACE(fld->Name());
    Focus(fld);
    testsupport::BeepCounter beeps;
    Type(fld, "123456789");
    EXPECT_EQ(fld->Text(), "1234567");
    EXPECT_EQ(beeps.count(), 0);

    QTest::keyClick(W(fld), Qt::Key_E);  // refused whatever the length
    EXPECT_EQ(beeps.count(), 1);
    QTest::keyClick(W(fld), Qt::Key_Backspace);
    EXPECT_EQ(fld->Text(), "123456");
    EXPECT_EQ(beeps.count(), 1);
  }
}

TEST_F(FieldLimit, TheResultFieldIsReadOnlyAndHasNoFilter) {
  Type(wnd->RxxFld(), "0.8");
  Type(wnd->RyyFld(), "0.7");
  Type(wnd->RxyFld(), "0.5");
  Press(wnd->ComputeCanvas());
  ASSERT_EQ(wnd->RdFld()->Text(), ".5000");

  Focus(wnd->RdFld());
  testsupport::BeepCounter beeps;
  Type(wnd->RdFld(), "9e");
  QTest::keyClick(W(wnd->RdFld()), Qt::Key_Backspace);
  EXPECT_EQ(wnd->RdFld()->Text(), ".5000");
  EXPECT_EQ(beeps.count(), 0);
}

// The Menu key types nothing: like every such key it is refused with a beep, and the field's
// context menu does not open. The result field has no filter, and its menu opens as ever.
TEST_F(FieldLimit, TheMenuKeyIsRefusedWithABeepAndOpensNoMenu) {
  for (const auto& fld : {wnd->RxxFld(), wnd->RyyFld(), wnd->RxyFld()}) {
    SCOPED_TRACE(fld->Name());
    fld->Text("123");
    Focus(fld);
    Edit(fld)->setSelection(1, 1);
    testsupport::BeepCounter beeps;

    testsupport::MenuKeyAsX(W(fld));
    EXPECT_EQ(testsupport::OpenMenu(), nullptr);
    EXPECT_EQ(beeps.count(), 1);
    QTest::keyClick(W(fld), Qt::Key_Menu);  // the key press alone
    EXPECT_EQ(testsupport::OpenMenu(), nullptr);
    EXPECT_EQ(beeps.count(), 2);
    EXPECT_EQ(fld->Text(), "123");
    EXPECT_EQ(Edit(fld)->selectedText(), "2");
    EXPECT_EQ(QApplication::focusWidget(), W(fld));
    testsupport::CloseMenu();
  }

  wnd->RxxFld()->Text("0.8");
  wnd->RyyFld()->Text("0.7");
  wnd->RxyFld()->Text("0.5");
  Press(wnd->ComputeCanvas());
  ASSERT_EQ(wnd->RdFld()->Text(), ".5000");
  Focus(wnd->RdFld());
  testsupport::BeepCounter beeps;
  testsupport::MenuKeyAsX(W(wnd->RdFld()));
  EXPECT_NE(testsupport::OpenMenu(), nullptr) << "the result field's menu";
  EXPECT_EQ(beeps.count(), 0);
  testsupport::CloseMenu();
}

// The Edit menu's shortcuts belong to the menu: they do not reach the key filter, and what the
// menu puts into a field is not filtered (only the field's limit applies).
struct Shortcut {
  const char* what;
  const char* before;     // the field's text, all of it selected
  const char* clipboard;  // before the key
  Qt::Key key;
  const char* after;           // the field's text afterwards
  const char* clipboardAfter;  // the clipboard afterwards
};

void PrintTo(const Shortcut& s, std::ostream* os) { *os << s.what; }

const Shortcut kShortcuts[] = {
    {"paste puts in what no key could type", "", "abc", Qt::Key_V, "abc", "abc"},
    {"paste is cut to seven characters", "", "123456789", Qt::Key_V, "1234567", "123456789"},
    {"paste replaces the selection", "0.5", "-x", Qt::Key_V, "-x", "-x"},
    {"copy", "0.25", "", Qt::Key_C, "0.25", "0.25"},
    {"cut", "0.25", "", Qt::Key_X, "", "0.25"},
};

class EditShortcut : public MainWindowTest, public ::testing::WithParamInterface<Shortcut> {};

TEST_P(EditShortcut, ReachesTheMenuNotTheFilter) {
  const Shortcut& s = GetParam();
  const auto fld = wnd->RxxFld();
  fld->Text(s.before);
  Focus(fld);
  Edit(fld)->selectAll();
  QGuiApplication::clipboard()->setText(QString::fromUtf8(s.clipboard));

  testsupport::BeepCounter beeps;
  QTest::keyClick(W(fld), s.key, Qt::ControlModifier);

  EXPECT_EQ(beeps.count(), 0);
  EXPECT_EQ(fld->Text(), s.after);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), s.clipboardAfter);
}

INSTANTIATE_TEST_SUITE_P(Shortcuts, EditShortcut, ::testing::ValuesIn(kShortcuts),
                         [](const auto& info) { return testsupport::CaseName(info.param.what); });

TEST_F(FieldLimit, SelectAllAndUndoShortcutsReachTheMenu) {
  const auto fld = wnd->RyyFld();
  Focus(fld);
  Type(fld, "0.75");
  testsupport::BeepCounter beeps;

  QTest::keyClick(W(fld), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Edit(fld)->selectedText(), "0.75");
  QTest::keyClick(W(fld), Qt::Key_Backspace);
  EXPECT_EQ(fld->Text(), "");
  QTest::keyClick(W(fld), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(fld->Text(), "0.75");
  EXPECT_EQ(beeps.count(), 0);
}

}  // namespace
