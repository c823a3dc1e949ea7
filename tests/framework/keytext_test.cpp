// Key texts: the layer decides them from the key and its modifiers, so a synthesised press and a
// real X press give the same text. Each row is checked both ways: with the text X sends, and
// through a QTest key click on a real widget (which sends its own texts: "c" for Ctrl+C, ""
// for Delete).
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <string>

#include "framework/internal/KeyText.h"

namespace {

using gui::internal::KeyTextFor;

// Records the key text of every press, Tab included (QWidget::event handles Tab before
// keyPressEvent would see it).
class KeyRecorder : public QWidget {
 public:
  std::string last = "<none>";

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(e);
      last = KeyTextFor(key->key(), key->modifiers(), key->text());
      return true;
    }
    return QWidget::event(e);
  }
};

struct KeyCase {
  const char* what;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  QString xText;  // what a real X press carries
  std::string expected;
};

const KeyCase kCases[] = {
    {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\x08", "\x08"},
    {"tab", Qt::Key_Tab, Qt::NoModifier, "\t", "\t"},
    {"shift+tab", Qt::Key_Backtab, Qt::ShiftModifier, "", "\t"},
    {"return", Qt::Key_Return, Qt::NoModifier, "\r", "\r"},
    {"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", "\r"},
    {"escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", "\x1b"},
    {"delete", Qt::Key_Delete, Qt::NoModifier, "\x7f", "\x7f"},
    {"left", Qt::Key_Left, Qt::NoModifier, "", "\x1c"},
    {"right", Qt::Key_Right, Qt::NoModifier, "", "\x1d"},
    {"up", Qt::Key_Up, Qt::NoModifier, "", "\x1e"},
    {"shift+down", Qt::Key_Down, Qt::ShiftModifier, "", "\x1f"},
    {"home", Qt::Key_Home, Qt::NoModifier, "", ""},
    {"end", Qt::Key_End, Qt::NoModifier, "", ""},
    {"page down", Qt::Key_PageDown, Qt::NoModifier, "", ""},
    {"f5", Qt::Key_F5, Qt::NoModifier, "", ""},
    {"insert", Qt::Key_Insert, Qt::NoModifier, "", ""},
    {"shift alone", Qt::Key_Shift, Qt::ShiftModifier, "", ""},
    {"ctrl+c", Qt::Key_C, Qt::ControlModifier, "\x03", "\x03"},
    {"ctrl+a", Qt::Key_A, Qt::ControlModifier, "\x01", "\x01"},
    {"ctrl+shift+z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a", "\x1a"},
    {"digit", Qt::Key_7, Qt::NoModifier, "7", "7"},
    {"keypad digit", Qt::Key_5, Qt::KeypadModifier, "5", "5"},
    {"point", Qt::Key_Period, Qt::NoModifier, ".", "."},
    {"keypad point", Qt::Key_Period, Qt::KeypadModifier, ".", "."},
    {"minus", Qt::Key_Minus, Qt::NoModifier, "-", "-"},
    {"space", Qt::Key_Space, Qt::NoModifier, " ", " "},
    {"letter", Qt::Key_E, Qt::NoModifier, "e", "e"},
};

TEST(KeyText, XTextsGiveTheLayersKeyText) {
  for (const auto& c : kCases)
    EXPECT_EQ(KeyTextFor(c.key, c.modifiers, c.xText), c.expected) << c.what;
}

TEST(KeyText, QTestKeyClicksGiveTheSameKeyTextsAsX) {
  KeyRecorder recorder;
  recorder.setFocusPolicy(Qt::StrongFocus);
  recorder.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&recorder));
  recorder.setFocus();
  for (const auto& c : kCases) {
    recorder.last = "<none>";
    QTest::keyClick(&recorder, c.key, c.modifiers);
    EXPECT_EQ(recorder.last, c.expected) << c.what;
  }
}

TEST(KeyText, TypedTextOutsideAsciiComesAsUtf8) {
  EXPECT_EQ(KeyTextFor(Qt::Key_division, Qt::NoModifier, QStringLiteral("\u00f7")), "\xc3\xb7");
  EXPECT_EQ(KeyTextFor(Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u2212")), "\xe2\x88\x92");
  // A composed text of several characters passes whole.
  EXPECT_EQ(KeyTextFor(Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ab")), "ab");
}

}  // namespace
