// Text composed with an input method (ibus, fcitx) reaches a field as one commit, not as key
// presses. The three input fields judge it character by character as if each had been typed:
// refused characters beep once each and stay out, accepted ones go in as far as the limit allows,
// and nothing still being composed shows in the field.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QList>
#include <QRect>
#include <ostream>
#include <string>

#include "MainWindowFixture.h"

namespace {

enum class Field { Rxx, Rxy };

struct Commit {
  const char* what;
  Field field;
  const char* before;  // UTF-8, the cursor at its end
  int selected;        // characters at the end of `before` that are selected
  const char* commit;  // UTF-8
  int replaced;        // characters before the cursor the input method replaces with its commit
  const char* after;
  int beeps;
};

void PrintTo(const Commit& c, std::ostream* os) { *os << c.what; }

const Commit kCommits[] = {
    {"a refused letter", Field::Rxx, "0.5", 0, "\u00e9", 0, "0.5", 1},
    {"a refused letter keeps the selection", Field::Rxx, "0.5", 1, "\u00e9", 0, "0.5", 1},
    {"an accepted digit", Field::Rxx, "0.", 0, "5", 0, "0.5", 0},
    {"an accepted digit replaces the selection", Field::Rxx, "0.3", 1, "5", 0, "0.5", 0},
    {"digits around a letter", Field::Rxx, "", 0, "1\u00e92", 0, "12", 1},
    {"each refused character beeps", Field::Rxx, "", 0, "a1b.c", 0, "1.", 3},
    {"minus is refused in the reliabilities", Field::Rxx, "", 0, "-5", 0, "5", 1},
    {"minus is taken in the correlation", Field::Rxy, "", 0, "-.5", 0, "-.5", 0},
    {"a character beyond the basic plane beeps once", Field::Rxx, "1", 0, "\U0001D7D8", 0, "1", 1},
    {"tab and backspace pass the filter but type nothing", Field::Rxx, "12", 0, "\t3\b", 0, "123", 0},
    {"line breaks go before the filter sees them", Field::Rxy, "", 0, "1\r\n2\n", 0, "12", 0},
    {"accepted characters are cut to the seven that fit", Field::Rxx, "12345", 0, "6\u00e9789", 0, "1234567",
     1},
    {"a full field still beeps at a refused character", Field::Rxy, "1234567", 0, "x8", 0, "1234567", 1},
    {"the replaced characters make room", Field::Rxx, "1234567", 0, "89", 1, "1234568", 0},
    {"a refused commit replaces nothing", Field::Rxx, "1234567", 0, "\u00e9", 1, "1234567", 1},
};

class InputMethodCommit : public MainWindowTest, public ::testing::WithParamInterface<Commit> {};

TEST_P(InputMethodCommit, IsJudgedCharacterByCharacterLikeTyping) {
  const Commit& c = GetParam();
  const auto fld = c.field == Field::Rxx ? wnd->RxxFld() : wnd->RxyFld();
  QLineEdit* edit = Edit(fld);
  fld->Text(c.before);
  Focus(fld);
  edit->end(false);
  const int length = static_cast<int>(edit->text().size());
  if (c.selected > 0) edit->setSelection(length, -c.selected);
  const QString selection = edit->selectedText();

  testsupport::BeepCounter beeps;
  QInputMethodEvent event;
  event.setCommitString(QString::fromUtf8(c.commit), -c.replaced, c.replaced);
  QApplication::sendEvent(edit, &event);

  EXPECT_EQ(fld->Text(), c.after);
  EXPECT_EQ(beeps.count(), c.beeps);
  if (fld->Text() == c.before) {
    EXPECT_EQ(edit->selectedText(), selection) << "nothing changed, not even the selection";
  }
}

INSTANTIATE_TEST_SUITE_P(Commits, InputMethodCommit, ::testing::ValuesIn(kCommits),
                         [](const auto& info) { return testsupport::CaseName(info.param.what); });

using InputMethodPreedit = MainWindowTest;

// While a character is being composed it is not yet the user's input: the field shows nothing of
// it, and the filter judges it only once committed.
TEST_F(InputMethodPreedit, ComposingShowsNothingAndOnlyTheCommitIsJudged) {
  const auto fld = wnd->RxxFld();
  QLineEdit* edit = Edit(fld);
  fld->Text("0.5");
  Focus(fld);
  const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();

  testsupport::BeepCounter beeps;
  const QString composing = QStringLiteral("e\u0301");
  QInputMethodEvent preedit(composing, {{QInputMethodEvent::Cursor, static_cast<int>(composing.size()), 1}});
  QApplication::sendEvent(edit, &preedit);
  EXPECT_EQ(fld->Text(), "0.5");
  EXPECT_EQ(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect(), cursor) << "no composed text before the cursor";
  EXPECT_EQ(beeps.count(), 0);

  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("\u00e9"));
  QApplication::sendEvent(edit, &commit);
  EXPECT_EQ(fld->Text(), "0.5");
  EXPECT_EQ(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect(), cursor);
  EXPECT_EQ(beeps.count(), 1);
}

}  // namespace
