// Compute through the real window: the inputs typed with real key clicks (or set as a paste
// would set them), a real mouse press on the Compute picture, and what the user then sees: the
// message box, the focus, the result field.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <limits>
#include <ostream>
#include <string>

#include "framework/Text.h"
#include "MainWindowFixture.h"
#include "app/SharedInstances.h"
#include "windows/helpWnd.h"

namespace {

const char* const kEnterRxx = "Please enter the Reliability of the first test";
const char* const kEnterRyy = "Please enter the Reliability of the second test";
const char* const kEnterRxy = "Please enter the correlation between the two tests";
const char* const kRangeRxx = "Reliability of first test must range from 0.00 to 1.00";
const char* const kRangeRyy = "Reliability of second test must range from 0.00 to 1.00";
const char* const kRangeRxy = "Correlation between tests must range from 0.00 to 1.00";

enum class Entry { Typed, Pasted };
enum class Field { None, Rxx, Ryy, Rxy };

struct Case {
  const char* what;
  const char* rxx;
  const char* ryy;
  const char* rxy;
  Entry entry;
  const char* result;   // the text shown in the result field, or nullptr on a fault
  const char* message;  // the fault's message, or nullptr on success
  Field focus;          // the field at fault
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

const std::string kMinusInf = gui::Format(-std::numeric_limits<double>::infinity(), ".0000");
const std::string kNaN = gui::Format(std::numeric_limits<double>::quiet_NaN(), ".0000");

const Case kCases[] = {
    {"the worked example", "0.8", "0.7", "0.5", Entry::Typed, ".5000", nullptr, Field::None},
    {"all zero", "0", "0", "0", Entry::Typed, ".0000", nullptr, Field::None},
    {"no correlation gives the mean", "0.6", "0.9", "0", Entry::Typed, ".7500", nullptr, Field::None},
    {"0 and 1 are in range", "0", "1", "0.2", Entry::Typed, ".3750", nullptr, Field::None},
    {"perfect reliabilities give 1", "1", "1", "0.3", Entry::Typed, "1.0000", nullptr, Field::None},
    {"positive correlation", "0.9", "0.9", "0.5", Entry::Typed, ".8000", nullptr, Field::None},
    {"the sign of the correlation plays no part", "0.9", "0.9", "-0.5", Entry::Typed, ".8000", nullptr, Field::None},
    {"negative result", "0.5", "0.5", "0.7", Entry::Typed, "-.6667", nullptr, Field::None},
    {"large negative result", "0", "0", ".99", Entry::Typed, "-99.0000", nullptr, Field::None},
    {"result longer than the field's limit is shown whole", "0", "0", ".999999", Entry::Typed, "-999999.0000",
     nullptr, Field::None},
    {"a result longer than the field still shows its sign", ".5", ".5", "-.99999", Entry::Typed, "-49999.0000",
     nullptr, Field::None},
    {"correlation 1 passes and divides by zero", "0.5", "0.5", "1", Entry::Typed, kMinusInf.c_str(), nullptr,
     Field::None},
    {"correlation -1 passes and divides by zero", "0.5", "0.5", "-1", Entry::Typed, kMinusInf.c_str(), nullptr,
     Field::None},
    {"zero by zero", "1", "1", "1", Entry::Typed, kNaN.c_str(), nullptr, Field::None},
    {"a lone point and a lone minus are not empty", ".", ".", "-", Entry::Typed, ".0000", nullptr, Field::None},
    {"pasted letters read as zero", "abc", "0.5", "0", Entry::Pasted, ".2500", nullptr, Field::None},
    {"pasted blank is not empty", " ", "0.5", "0.5", Entry::Pasted, "-.5000", nullptr, Field::None},

    {"nothing entered", "", "", "", Entry::Typed, nullptr, kEnterRxx, Field::Rxx},
    {"Ryy empty is reported before Rxx's range", "5", "", "", Entry::Typed, nullptr, kEnterRyy, Field::Ryy},
    {"Rxy empty", "0.5", "0.5", "", Entry::Typed, nullptr, kEnterRxy, Field::Rxy},
    {"Rxx just above 1", "1.00001", "0.5", "0.5", Entry::Typed, nullptr, kRangeRxx, Field::Rxx},
    {"Ryy just above 1", "0.5", "1.00001", "0.5", Entry::Typed, nullptr, kRangeRyy, Field::Ryy},
    {"Rxy above 1", "0.5", "0.5", "1.01", Entry::Typed, nullptr, kRangeRxy, Field::Rxy},
    {"Rxy below -1", "0.5", "0.5", "-1.01", Entry::Typed, nullptr, kRangeRxy, Field::Rxy},
    {"two fields out of range: only the first is reported", "2", "3", "0.5", Entry::Typed, nullptr, kRangeRxx,
     Field::Rxx},
    {"pasted negative Rxx", "-0.5", "0.5", "0.5", Entry::Pasted, nullptr, kRangeRxx, Field::Rxx},
    {"pasted exponent reads as a number", "0.5", "1e3", "0.5", Entry::Pasted, nullptr, kRangeRyy, Field::Ryy},
};

// The position of the first character a field shows: the one at the left edge of its text.
int FirstShown(QLineEdit* edit) {
  const QRect text = edit->contentsRect();
  return edit->cursorPositionAt(QPoint(text.left() + 4, text.center().y()));
}

class Compute : public MainWindowTest, public ::testing::WithParamInterface<Case> {
 protected:
  void Enter(const std::shared_ptr<gui::TextField>& field, const char* text, Entry entry) {
    if (entry == Entry::Typed) Type(field, QString::fromUtf8(text));
    else field->Text(text);  // paste reaches the field without its key filter
    ASSERT_EQ(field->Text(), text);
  }

  std::shared_ptr<gui::TextField> FieldOf(Field f) const {
    switch (f) {
      case Field::Rxx: return wnd->RxxFld();
      case Field::Ryy: return wnd->RyyFld();
      case Field::Rxy: return wnd->RxyFld();
      case Field::None: break;
    }
    return nullptr;
  }

  bool ResultShown() const { return W(wnd->RdFld())->isVisible() && W(wnd->RdText())->isVisible(); }
};

TEST_P(Compute, ShowsTheResultOrNamesTheFirstFault) {
  const Case& c = GetParam();
  Enter(wnd->RxxFld(), c.rxx, c.entry);
  Enter(wnd->RyyFld(), c.ryy, c.entry);
  Enter(wnd->RxyFld(), c.rxy, c.entry);
  // The focus starts where no check sends it, so that a move (or none) shows.
  Focus(wnd->Text6());

  testsupport::BeepCounter beeps;
  testsupport::ModalAnswerer answerer;
  Press(wnd->ComputeCanvas());
  testsupport::Pump(50);

  EXPECT_EQ(beeps.count(), 0);
  if (c.message) {
    EXPECT_EQ(answerer.texts(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_TRUE(FocusEndsIn(FieldOf(c.focus)));
    EXPECT_FALSE(ResultShown());
    EXPECT_EQ(wnd->RdFld()->Text(), "");
  } else {
    EXPECT_TRUE(answerer.texts().isEmpty()) << answerer.texts().join("|").toStdString();
    EXPECT_TRUE(ResultShown());
    EXPECT_EQ(wnd->RdFld()->Text(), c.result);
    EXPECT_EQ(Edit(wnd->RdFld())->text().toStdString(), c.result);
    // A result wider than the field is read from its start: the sign and the leading digits
    // must be in view, with the insertion point before them.
    EXPECT_EQ(FirstShown(Edit(wnd->RdFld())), 0) << "the field shows " << c.result << " from character "
                                                 << FirstShown(Edit(wnd->RdFld()));
    EXPECT_EQ(Edit(wnd->RdFld())->cursorPosition(), 0);
    EXPECT_EQ(QApplication::focusWidget(), W(wnd->Text6()));
  }
  // Compute reads the inputs and never changes them.
  EXPECT_EQ(wnd->RxxFld()->Text(), c.rxx);
  EXPECT_EQ(wnd->RyyFld()->Text(), c.ryy);
  EXPECT_EQ(wnd->RxyFld()->Text(), c.rxy);
}

INSTANTIATE_TEST_SUITE_P(Cases, Compute, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return testsupport::CaseName(info.param.what); });

using ComputeScenario = MainWindowTest;

// A result wider than its field shows its sign whenever the field does not have the focus, however
// the user moved through it: the Tab chain selects all of the read-only field and scrolls it to
// its end, a click and End put the cursor there, and the same result written again changes no
// text but still shows it from its start.
TEST_F(ComputeScenario, AWideResultShowsItsSignOnceTheUserHasMovedThroughIt) {
  Type(wnd->RxxFld(), "0");
  Type(wnd->RyyFld(), "0");
  Type(wnd->RxyFld(), ".999999");
  Press(wnd->ComputeCanvas());
  ASSERT_EQ(wnd->RdFld()->Text(), "-999999.0000");
  QLineEdit* rd = Edit(wnd->RdFld());
  const auto shown = [rd] {
    testsupport::Pump();  // the field scrolls when it paints
    return FirstShown(rd);
  };
  ASSERT_EQ(shown(), 0);

  QTest::mouseClick(W(wnd->RxxFld()), Qt::LeftButton);
  QTest::keyClick(W(wnd->RxxFld()), Qt::Key_Tab);
  ASSERT_TRUE(FocusEndsIn(wnd->RdFld())) << "the result field is next in the tab chain";
  EXPECT_GT(shown(), 0) << "in the field, Tab has selected it all and scrolled to its end";
  QTest::keyClick(rd, Qt::Key_Tab);
  ASSERT_TRUE(FocusEndsIn(wnd->RyyFld()));
  EXPECT_EQ(shown(), 0) << "after the Tab out of it";
  EXPECT_EQ(wnd->RdFld()->Text(), "-999999.0000");

  QTest::mouseClick(rd, Qt::LeftButton);
  QTest::keyClick(rd, Qt::Key_End);
  ASSERT_GT(shown(), 0);
  QTest::mouseClick(W(wnd->RxxFld()), Qt::LeftButton);
  ASSERT_TRUE(FocusEndsIn(wnd->RxxFld()));
  EXPECT_EQ(shown(), 0) << "after a click elsewhere";

  // Away from the window, or with the menu bar holding the keyboard, the field keeps the focus
  // within its window; with nothing selected in it, it shows its start all the same.
  QTest::mouseClick(rd, Qt::LeftButton);
  QTest::keyClick(rd, Qt::Key_End);
  ASSERT_GT(shown(), 0);
  Press(wnd->Help());
  QWidget* help = gui::testing::WidgetOf(*mobrigan::implicit::helpWnd());
  ASSERT_TRUE(QTest::qWaitForWindowActive(help));
  EXPECT_EQ(shown(), 0) << "while the help window is active";
  help->close();
  W(wnd->RdFld())->window()->activateWindow();
  ASSERT_TRUE(FocusEndsIn(wnd->RdFld()));
  QTest::keyClick(rd, Qt::Key_End);
  ASSERT_GT(shown(), 0);
  QTest::keyPress(rd, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(rd, Qt::Key_Alt, Qt::AltModifier);
  ASSERT_NE(QApplication::focusWidget(), rd) << "the menu bar has the keyboard";
  EXPECT_EQ(shown(), 0) << "while the menu bar has the keyboard";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

  // The same result again, written while the field is scrolled to its end.
  QTest::mouseClick(rd, Qt::LeftButton);
  QTest::keyClick(rd, Qt::Key_End);
  ASSERT_GT(shown(), 0);
  Press(wnd->ComputeCanvas());
  EXPECT_EQ(shown(), 0) << "after the same result was computed again";
  EXPECT_EQ(rd->cursorPosition(), 0);
  EXPECT_EQ(wnd->RdFld()->Text(), "-999999.0000");
}

TEST_F(ComputeScenario, AFailedPressLeavesTheEarlierResultAsItWas) {
  Type(wnd->RxxFld(), "0.8");
  Type(wnd->RyyFld(), "0.7");
  Type(wnd->RxyFld(), "0.5");
  {
    testsupport::ModalAnswerer answerer;
    Press(wnd->ComputeCanvas());
    ASSERT_TRUE(answerer.texts().isEmpty());
    ASSERT_EQ(wnd->RdFld()->Text(), ".5000");
  }

  // The second test's reliability is erased, then out of range: each press names its fault
  // and the result of the first press stays on display beside the changed inputs.
  Focus(wnd->RyyFld());
  for (int i = 0; i < 3; ++i) QTest::keyClick(W(wnd->RyyFld()), Qt::Key_Backspace);
  ASSERT_EQ(wnd->RyyFld()->Text(), "");
  {
    testsupport::ModalAnswerer answerer;
    Press(wnd->ComputeCanvas());
    EXPECT_EQ(answerer.texts(), QStringList{kEnterRyy});
  }
  Type(wnd->RyyFld(), "7");
  {
    testsupport::ModalAnswerer answerer;
    Press(wnd->ComputeCanvas(), QPoint(100, 30));
    EXPECT_EQ(answerer.texts(), QStringList{kRangeRyy});
  }
  EXPECT_TRUE(W(wnd->RdFld())->isVisible());
  EXPECT_TRUE(W(wnd->RdText())->isVisible());
  EXPECT_EQ(wnd->RdFld()->Text(), ".5000");

  // Once the input is fixed, the next press writes the new result over the old one.
  QTest::keyClick(W(wnd->RyyFld()), Qt::Key_Backspace);
  Type(wnd->RyyFld(), ".9");
  {
    testsupport::ModalAnswerer answerer;
    Press(wnd->ComputeCanvas());
    EXPECT_TRUE(answerer.texts().isEmpty());
  }
  EXPECT_EQ(wnd->RdFld()->Text(), ".7000");
}

}  // namespace
