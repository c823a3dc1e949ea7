// Long random streams of what a user does to the main window: keys of every kind into whichever
// field has the focus, pastes of arbitrary clipboard text (by Ctrl+V and by the Edit menu), Undo
// and Select All, clicks into the fields, and presses on Compute and Clear. No step is judged
// alone; after each one the form must still be one the user could explain:
// - no input field holds more than seven characters;
// - a key press changes no field but the focused one, and never adds a character the field's
//   key filter refuses: only a paste brings such characters in (and Undo back);
// - the result shown is always what the last successful press on Compute gave for the texts it
//   read, and a press that fails names its first fault and leaves the result as it was;
// - after Clear the form is empty and no result is shown;
// - only keys beep.
// A failure names the seed, the step and the last steps before it, so it can be replayed.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPoint>
#include <QString>
#include <array>
#include <deque>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "MainWindowFixture.h"
#include "framework/Text.h"

namespace {

constexpr int kSteps = 3000;

const char* const kEnterRxx = "Please enter the Reliability of the first test";
const char* const kEnterRyy = "Please enter the Reliability of the second test";
const char* const kEnterRxy = "Please enter the correlation between the two tests";
const char* const kRangeRxx = "Reliability of first test must range from 0.00 to 1.00";
const char* const kRangeRyy = "Reliability of second test must range from 0.00 to 1.00";
const char* const kRangeRxy = "Correlation between tests must range from 0.00 to 1.00";

// What a press on Compute must do with these three texts: the result text, or the message of
// the first check that fails and the field (0 Rxx, 1 Ryy, 2 Rxy) the focus goes back to.
struct Outcome {
  std::string result;
  const char* message = nullptr;
  int field = -1;
};

Outcome Expected(const std::array<std::string, 3>& texts) {
  if (texts[0].empty()) return {"", kEnterRxx, 0};
  if (texts[1].empty()) return {"", kEnterRyy, 1};
  if (texts[2].empty()) return {"", kEnterRxy, 2};
  const double rxx = gui::Val(texts[0]), ryy = gui::Val(texts[1]), rxy = gui::Abs(gui::Val(texts[2]));
  if (rxx < 0.0 || rxx > 1.0) return {"", kRangeRxx, 0};
  if (ryy < 0.0 || ryy > 1.0) return {"", kRangeRyy, 1};
  if (rxy > 1.0) return {"", kRangeRxy, 2};
  return {gui::Format((0.5 * (rxx + ryy) - rxy) / (1.0 - rxy), ".0000")};
}

// The characters a field's key filter lets a key type.
bool Typable(char32_t c, int field) {
  return (c >= U'0' && c <= U'9') || c == U'.' || (field == 2 && c == U'-');
}

// How often each character that the filter refuses occurs in the text.
std::map<char32_t, int> Refused(const QString& text, int field) {
  std::map<char32_t, int> count;
  for (char32_t c : text.toUcs4())
    if (!Typable(c, field)) ++count[c];
  return count;
}

// A key as the user's keyboard gives it: the key, the text it types, the modifiers.
struct Key {
  Qt::Key key;
  QString text;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

class RandomInput : public MainWindowTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  std::array<std::shared_ptr<gui::TextField>, 3> Fields() const { return {wnd->RxxFld(), wnd->RyyFld(), wnd->RxyFld()}; }

  std::array<QString, 3> Texts() const {
    std::array<QString, 3> t;
    for (int i = 0; i < 3; ++i) t[i] = Edit(Fields()[i])->text();
    return t;
  }

  // The input field that has the focus, or -1.
  int FocusedField() const {
    for (int i = 0; i < 3; ++i)
      if (QApplication::focusWidget() == W(Fields()[i])) return i;
    return -1;
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  bool Chance(int percent) { return Pick(100) < percent; }

  Key RandomKey() {
    static const std::array<Key, 16> kOthers = {{
        {Qt::Key_Backspace, "\b"}, {Qt::Key_Backspace, "\b"}, {Qt::Key_Backspace, "\b"},
        {Qt::Key_Tab, "\t"}, {Qt::Key_Backtab, "", Qt::ShiftModifier},
        {Qt::Key_Left, ""}, {Qt::Key_Right, ""}, {Qt::Key_Up, ""}, {Qt::Key_Down, ""},
        {Qt::Key_Delete, "\x7f"}, {Qt::Key_Home, ""}, {Qt::Key_End, ""},
        {Qt::Key_Return, "\r"}, {Qt::Key_Escape, "\x1b"},
        {Qt::Key_Space, " "}, {Qt::Key_Comma, ","},
    }};
    const int kind = Pick(100);
    if (kind < 45) {
      const int d = Pick(10);
      return {static_cast<Qt::Key>(Qt::Key_0 + d), QString(QChar('0' + d)), Chance(10) ? Qt::KeypadModifier : Qt::NoModifier};
    }
    if (kind < 55) return {Qt::Key_Period, "."};
    if (kind < 63) return {Qt::Key_Minus, "-"};
    if (kind < 73) {
      const int l = Pick(26);
      const bool upper = Chance(30);
      return {static_cast<Qt::Key>(Qt::Key_A + l), QString(QChar((upper ? 'A' : 'a') + l)),
              upper ? Qt::ShiftModifier : Qt::NoModifier};
    }
    if (kind < 75) return {Qt::Key_Plus, "+", Qt::ShiftModifier};
    if (kind < 77) return {static_cast<Qt::Key>(0x2212), QString(QChar(0x2212))};  // the typographic minus
    if (kind < 78) return {Qt::Key_Eacute, QString(QChar(0xe9))};
    return kOthers[static_cast<std::size_t>(Pick(static_cast<int>(kOthers.size())))];
  }

  // What a user types as a coefficient: mostly in range, sometimes not.
  QString RandomCoefficient() {
    switch (Pick(8)) {
      case 0: return QString::number(Pick(2));
      case 1: return "." + QString::number(Pick(1000));
      case 2: return "-0." + QString::number(Pick(100));
      case 3: return QString::number(Pick(30));
      default: return "0." + QString::number(Pick(10000));
    }
  }

  static Key KeyFor(QChar c) {
    if (c.isDigit()) return {static_cast<Qt::Key>(Qt::Key_0 + c.digitValue()), QString(c)};
    if (c == '.') return {Qt::Key_Period, "."};
    return {Qt::Key_Minus, "-"};
  }

  QString RandomClipboard() {
    static const QString kPool = QStringLiteral("0123456789..--abcxyzE+ ,\n\t") + QChar(0x2212) + QChar(0xe9);
    QString text;
    const int length = Pick(100) < 10 ? 0 : Pick(12);
    for (int i = 0; i < length; ++i) {
      if (Chance(3)) text += QString::fromUcs4(U"\U0001F600", 1);  // outside the BMP: one character, two UTF-16 units
      else text += kPool.at(Pick(static_cast<int>(kPool.size())));
    }
    return text;
  }

  QWidget* KeyTarget() const {
    QWidget* w = QApplication::focusWidget();
    return w ? w : gui::testing::ContentOf(*wnd);
  }

  void Note(std::string step) {
    history.push_back(std::to_string(stepIndex) + ": " + std::move(step));
    if (history.size() > 15) history.pop_front();
  }

  std::string Context() const {
    std::ostringstream out;
    out << "seed " << GetParam() << ", step " << stepIndex << "\nlast steps:\n";
    for (const auto& h : history) out << "  " << h << "\n";
    const auto t = Texts();
    out << "fields now: Rxx \"" << t[0].toStdString() << "\" Ryy \"" << t[1].toStdString() << "\" Rxy \""
        << t[2].toStdString() << "\" Rd \"" << wnd->RdFld()->Text() << "\" shown "
        << W(wnd->RdFld())->isVisible();
    return out.str();
  }

  std::mt19937 rng;
  std::deque<Key> pending;  // keys of a coefficient being typed, one per step
  std::deque<std::string> history;
  int stepIndex = 0;
};

TEST_P(RandomInput, TheFormStaysConsistentThroughALongStreamOfInput) {
  rng.seed(GetParam());
  testsupport::BeepCounter beeps;

  bool shown = false;           // whether a result is on display
  std::string result;           // the result on display
  std::array<std::map<char32_t, int>, 3> everPasted;  // refused characters a paste brought into each field

  Focus(wnd->RxxFld());
  for (stepIndex = 0; stepIndex < kSteps; ++stepIndex) {
    const auto before = Texts();
    const int focused = FocusedField();
    const int beepsBefore = beeps.count();
    bool typed = false;   // a key press that types or edits: it may change only the focused field
    bool pasted = false;  // Ctrl+V or the Edit menu's Paste, with this clipboard text
    bool undone = false;  // Ctrl+Z
    QString clipboard;

    const int what = pending.empty() ? Pick(100) : -1;
    if (what < 60) {
      const Key k = what < 0 ? pending.front() : RandomKey();
      if (what < 0) pending.pop_front();
      Note("key " + QKeySequence(k.key | k.modifiers).toString().toStdString() + " \"" + k.text.toStdString() + "\"");
      QTest::sendKeyEvent(QTest::Click, KeyTarget(), k.key, k.text, k.modifiers);
      typed = true;
    } else if (what < 70) {
      clipboard = RandomClipboard();
      QGuiApplication::clipboard()->setText(clipboard);
      if (Chance(50)) {
        Note("Ctrl+V with \"" + clipboard.toStdString() + "\"");
        QTest::keyClick(KeyTarget(), Qt::Key_V, Qt::ControlModifier);
      } else {
        Note("Edit > Paste with \"" + clipboard.toStdString() + "\"");
        QAction* paste = gui::testing::WidgetOf(*wnd)->findChild<QAction*>(QStringLiteral("EditPaste"));
        ASSERT_TRUE(paste) << "the Edit menu has no Paste action";
        paste->trigger();
      }
      pasted = true;
    } else if (what < 73) {
      Note("Ctrl+A");
      QTest::keyClick(KeyTarget(), Qt::Key_A, Qt::ControlModifier);
      typed = true;
    } else if (what < 77) {
      Note("Ctrl+Z");
      QTest::keyClick(KeyTarget(), Qt::Key_Z, Qt::ControlModifier);
      undone = true;
    } else if (what < 88) {
      // Into a field, most often to type a whole coefficient over what it held: the steps that
      // follow are the keys for it (Ctrl+A, then one key per character), one at a time.
      const int f = Pick(3);
      if (what < 84) {
        pending.push_back({Qt::Key_A, "", Qt::ControlModifier});
        for (QChar c : RandomCoefficient()) pending.push_back(KeyFor(c));
      }
      const QPoint at(1 + Pick(78), 1 + Pick(20));
      Note("click into field " + std::to_string(f) + " at " + std::to_string(at.x()));
      QTest::mouseClick(W(Fields()[f]), Qt::LeftButton, Qt::NoModifier, at);
    } else if (what < 97) {
      std::array<std::string, 3> read;
      for (int i = 0; i < 3; ++i) read[i] = Fields()[i]->Text();
      const Outcome expected = Expected(read);
      Note("Compute");
      testsupport::ModalAnswerer answerer;
      Press(wnd->ComputeCanvas(), QPoint(1 + Pick(104), 1 + Pick(36)));
      if (expected.message) {
        ASSERT_TRUE(testsupport::WaitFor([&] { return !answerer.texts().isEmpty(); }, 2000))
            << "no message for a fault\n" << Context();
        ASSERT_EQ(answerer.texts(), QStringList{QString::fromUtf8(expected.message)}) << Context();
        ASSERT_TRUE(FocusEndsIn(Fields()[static_cast<std::size_t>(expected.field)])) << "focus not back at the fault\n" << Context();
      } else {
        ASSERT_TRUE(answerer.texts().isEmpty()) << answerer.texts().join("|").toStdString() << "\n" << Context();
        shown = true;
        result = expected.result;
      }
    } else {
      Note("Clear");
      testsupport::ModalAnswerer answerer;
      Press(wnd->ClearCanvas(), QPoint(1 + Pick(104), 1 + Pick(37)));
      ASSERT_TRUE(answerer.texts().isEmpty()) << Context();
      shown = false;
      ASSERT_TRUE(FocusEndsIn(wnd->RxxFld())) << "Clear left the focus elsewhere\n" << Context();
      for (const auto& fld : {wnd->RxxFld(), wnd->RyyFld(), wnd->RxyFld(), wnd->RdFld()})
        ASSERT_EQ(Edit(fld)->text(), "") << fld->Name() << " not emptied\n" << Context();
    }

    // ---- the form after the step ----
    const auto after = Texts();
    for (int i = 0; i < 3; ++i) {
      ASSERT_LE(after[i].toUcs4().size(), 7) << Fields()[i]->Name() << " holds \"" << after[i].toStdString() << "\"\n"
                                             << Context();
      const auto now = Refused(after[i], i);
      if (typed || pasted || undone) {
        if (i != focused) {
          ASSERT_EQ(after[i], before[i]) << "a key or paste for another field changed " << Fields()[i]->Name() << "\n"
                                         << Context();
          continue;
        }
        std::map<char32_t, int> allowed = Refused(before[i], i);
        if (pasted) {
          for (const auto& [c, n] : Refused(clipboard, i)) {
            allowed[c] += n;
            everPasted[i][c] += n;
          }
        }
        if (undone) allowed = everPasted[i];  // Undo may bring back whatever a paste once put in
        for (const auto& [c, n] : now) {
          const int might = undone ? (allowed.count(c) ? 7 : 0) : (allowed.count(c) ? allowed[c] : 0);
          ASSERT_LE(n, might) << "U+" << std::hex << static_cast<unsigned>(c) << std::dec << " reached "
                              << Fields()[i]->Name() << " by a key\n" << Context();
        }
      }
    }
    ASSERT_EQ(W(wnd->RdFld())->isVisible(), shown) << Context();
    ASSERT_EQ(W(wnd->RdText())->isVisible(), shown) << Context();
    if (shown) {
      ASSERT_EQ(wnd->RdFld()->Text(), result) << Context();
    }
    ASSERT_LE(beeps.count() - beepsBefore, typed || undone ? 1 : 0) << "unexpected beep\n" << Context();
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomInput, ::testing::Values(1u, 20240611u, 777u),
                         [](const auto& info) { return "seed_" + std::to_string(info.param); });

}  // namespace
