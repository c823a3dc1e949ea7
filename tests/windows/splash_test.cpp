// The splash window as the start-up leaves it: its face (controls, texts, fonts, frame), the
// hand-over to the main window by its timer, a key or a mouse press, including the timer that
// still fires after an early hand-over, and the menus' shortcuts, which do not hand over.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QRect>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/SharedInstances.h"
#include "app/StartUp.h"
#include "framework/Controls.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "framework/Window.h"
#include "support/GuiTestSupport.h"
#include "windows/AboutWnd.h"
#include "windows/ControlWnd.h"

namespace {

using gui::testing::WidgetOf;
using mobrigan::AboutWnd;

// The layer's font points are the unit of the frames, so a size may come as pixels.
int SizeOf(const QFont& font) { return font.pixelSize() > 0 ? font.pixelSize() : font.pointSize(); }

int CountOpen(const std::string& className) {
  int n = 0;
  for (const auto& w : gui::OpenWindows()) n += w->ClassName() == className;
  return n;
}

std::shared_ptr<mobrigan::ControlWnd> OpenMainWindow() {
  return std::dynamic_pointer_cast<mobrigan::ControlWnd>(gui::_GetImplicitWindow("ControlWnd.ControlWnd"));
}

// The program up to its event loop, as _Main runs it; the test turns the loop itself.
class Splash : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }
  void TearDown() override { Stop(); }

  void Start() {
    gui::testing::ResetRuntime();
    mobrigan::_EarlyStartup();
    sinceCreation.start();
    gui::_RunFrameworkInitialization(&mobrigan::_LateStartup);
    splash = std::dynamic_pointer_cast<AboutWnd>(gui::_GetImplicitWindow("AboutWnd.AboutWnd"));
    ASSERT_NE(splash, nullptr);
    ASSERT_TRUE(splash->Visible());
  }
  void Stop() {
    splash.reset();
    gui::testing::ResetRuntime();
  }

  // The state every hand-over leaves: the splash hidden but not closed, its timer untouched,
  // and one main window, shown.
  void ExpectHandedOver() {
    EXPECT_FALSE(splash->Visible());
    EXPECT_TRUE(splash->IsOpen());
    EXPECT_EQ(CountOpen("AboutWnd"), 1);
    EXPECT_EQ(CountOpen("ControlWnd"), 1);
    auto main = OpenMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->Visible());
  }

  std::shared_ptr<AboutWnd> splash;
  QElapsedTimer sinceCreation;
};

struct ControlRow {
  const char* name;
  const char* className;
  QRect frame;    // empty for the timer
  int pointSize;  // 0: no text
  bool bold;
};

// In creation order.
const ControlRow kControls[] = {
    {"StaticText1", "Label", QRect(165, 48, 262, 43), 28, true},
    {"StaticText2", "Label", QRect(0, 189, 447, 29), 9, false},
    {"Canvas1", "Canvas", QRect(20, 37, 133, 129), 0, false},
    {"Timer1", "Timer", QRect(), 0, false},
    {"Label1", "Label", QRect(165, 100, 262, 43), 28, true},
};

TEST_F(Splash, ShowsItsFiveControlsInPlaceWithTheirTextsAndFonts) {
  const auto& controls = splash->Controls();
  ASSERT_EQ(controls.size(), std::size(kControls));
  std::vector<QRect> frames;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlRow& row = kControls[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(controls[i]->Name(), row.name);
    EXPECT_EQ(controls[i]->ClassName(), row.className);
    if (row.frame.isEmpty()) continue;
    QWidget* widget = WidgetOf(*controls[i]);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), row.frame);
    EXPECT_TRUE(widget->isVisible());
    frames.push_back(widget->geometry());
    if (!row.pointSize) continue;
    auto label = gui::RuntimeCheckCast<gui::Label>(controls[i]);
    EXPECT_EQ(SizeOf(widget->font()), row.pointSize);
    EXPECT_EQ(widget->font().bold(), row.bold);
    // Navy, centred, and on one line that fits its frame: nothing wraps or is cut off.
    EXPECT_EQ(widget->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    if (auto* qlabel = qobject_cast<QLabel*>(widget)) {
      EXPECT_TRUE(qlabel->alignment() & Qt::AlignHCenter);
    }
    const QString text = QString::fromStdString(label->Text());
    EXPECT_FALSE(text.isEmpty());
    EXPECT_FALSE(text.contains('\r') || text.contains('\n'));
    const QFontMetrics metrics(widget->font());
    EXPECT_LE(metrics.horizontalAdvance(text), row.frame.width());
    EXPECT_LE(metrics.height(), row.frame.height());
  }
  // The picture at the left, the title to its right, the notice along the bottom: no overlaps,
  // all inside the window.
  for (std::size_t a = 0; a < frames.size(); ++a) {
    EXPECT_TRUE(QRect(0, 0, 447, 218).contains(frames[a]));
    for (std::size_t b = a + 1; b < frames.size(); ++b) EXPECT_FALSE(frames[a].intersects(frames[b])) << a << " " << b;
  }

  // The two title lines read as the product's name, split across them.
  std::string first = splash->StaticText1()->Text(), second = splash->Label1()->Text();
  if (!first.empty() && first.back() == '-') first.pop_back();
  EXPECT_EQ(first + second, "Mobrigan");
  EXPECT_FALSE(second.empty());
  EXPECT_NE(splash->StaticText2()->Text().find("the Mobrigan developers"), std::string::npos);

  EXPECT_NE(splash->Canvas1()->Backdrop(), nullptr);
  EXPECT_EQ(splash->Timer1()->Period(), 4000);
  EXPECT_EQ(splash->Timer1()->RunMode(), 1);
  EXPECT_TRUE(splash->Timer1()->Pending());
}

TEST_F(Splash, IsAFramelessUntitledWindowOfItsSizeWithoutAMenuBar) {
  QWidget* window = WidgetOf(*splash);
  EXPECT_EQ(gui::testing::ContentOf(*splash)->size(), QSize(447, 218));
  EXPECT_TRUE(window->windowTitle().isEmpty());
  EXPECT_EQ(window->windowType(), Qt::SplashScreen);
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash->MenuBar(), nullptr);
}

TEST_F(Splash, HandsOverAfterFourSecondsWhenNothingHappens) {
  EXPECT_EQ(OpenMainWindow(), nullptr);
  ASSERT_TRUE(testsupport::WaitFor([] { return OpenMainWindow() != nullptr; }, 6000));
  const auto elapsed = sinceCreation.elapsed();
  EXPECT_GE(elapsed, 3900);
  EXPECT_LE(elapsed, 5000);
  ExpectHandedOver();
  EXPECT_FALSE(splash->Timer1()->Pending());
}

TEST_F(Splash, AnyKeyOrPressHandsOverAtOnceAndLeavesTheTimerRunning) {
  struct Trigger {
    const char* what;
    std::function<void(AboutWnd&)> act;
  };
  const Trigger triggers[] = {
      {"a letter key", [](AboutWnd& w) { QTest::keyClick(WidgetOf(w), Qt::Key_A); }},
      {"Escape", [](AboutWnd& w) { QTest::keyClick(WidgetOf(w), Qt::Key_Escape); }},
      {"an arrow key", [](AboutWnd& w) { QTest::keyClick(WidgetOf(w), Qt::Key_Left); }},
      {"a press on the background",
       [](AboutWnd& w) { QTest::mousePress(gui::testing::ContentOf(w), Qt::LeftButton, {}, QPoint(5, 5)); }},
      {"a right-button press in a far corner",
       [](AboutWnd& w) { QTest::mousePress(gui::testing::ContentOf(w), Qt::RightButton, {}, QPoint(446, 180)); }},
      {"a press on the picture",
       [](AboutWnd& w) { QTest::mousePress(WidgetOf(*w.Canvas1()), Qt::LeftButton, {}, QPoint(60, 60)); }},
      {"a press on a title line",
       [](AboutWnd& w) { QTest::mousePress(WidgetOf(*w.Label1()), Qt::LeftButton, {}, QPoint(10, 10)); }},
      {"the key handler, which lets the key go on", [](AboutWnd& w) { EXPECT_FALSE(w.Event_KeyDown("\r")); }},
      {"the press handler, which lets the press go on", [](AboutWnd& w) { EXPECT_FALSE(w.Event_MouseDown(-3, 9999)); }},
  };
  bool first = true;
  for (const Trigger& t : triggers) {
    SCOPED_TRACE(t.what);
    if (!first) Start();
    first = false;
    testsupport::Pump(20);
    t.act(*splash);
    testsupport::Pump(20);
    ExpectHandedOver();
    EXPECT_LT(sinceCreation.elapsed(), 3000);
    EXPECT_TRUE(splash->Timer1()->Pending());
    Stop();
  }
}

// The menus' shortcuts are the application's from the start, not keys that hand over.
TEST_F(Splash, CtrlQQuitsAtOnceAndNoMainWindowIsEverMade) {
  QWidget* window = WidgetOf(*splash);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(gui::Quitting());
  testsupport::Pump(20);
  EXPECT_TRUE(gui::_GetImplicitWindow("ControlWnd.ControlWnd") == nullptr);
  EXPECT_EQ(CountOpen("ControlWnd"), 0);
  EXPECT_EQ(gui::RuntimeExit(), 0);
}

TEST_F(Splash, TheEditShortcutsReachTheMenuAndDoNotHandOver) {
  QWidget* window = WidgetOf(*splash);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  // Their commands find nothing to act on here.
  for (Qt::Key key : {Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_A}) {
    SCOPED_TRACE(QKeySequence(key | Qt::ControlModifier).toString().toStdString());
    QTest::keyClick(window, key, Qt::ControlModifier);
    testsupport::Pump(10);
    EXPECT_TRUE(splash->Visible());
    EXPECT_EQ(CountOpen("ControlWnd"), 0);
    EXPECT_FALSE(gui::Quitting());
  }
}

TEST_F(Splash, TheTimerAfterAnEarlyHandOverShowsTheSameMainWindowAsTheUserLeftIt) {
  QTest::keyClick(WidgetOf(*splash), Qt::Key_Space);
  auto main = OpenMainWindow();
  ASSERT_NE(main, nullptr);
  QTest::keyClicks(WidgetOf(*main->RxxFld()), "0.85");
  ASSERT_EQ(main->RxxFld()->Text(), "0.85");
  // Hidden here so that its showing again proves the timer's hand-over ran.
  main->Hide();
  ASSERT_TRUE(splash->Timer1()->Pending());

  ASSERT_TRUE(testsupport::WaitFor([&] { return main->Visible(); }, 6000));
  EXPECT_GE(sinceCreation.elapsed(), 3900);
  testsupport::Pump(50);
  EXPECT_EQ(main->RxxFld()->Text(), "0.85");
  EXPECT_EQ(OpenMainWindow(), main);
  ExpectHandedOver();
}

TEST_F(Splash, EveryRequestGivesTheOneSplashWhetherShownOrHidden) {
  EXPECT_EQ(mobrigan::implicit::AboutWnd(), splash);
  EXPECT_EQ(CountOpen("AboutWnd"), 1);
  EXPECT_TRUE(splash->Visible());

  QTest::mousePress(gui::testing::ContentOf(*splash), Qt::LeftButton, {}, QPoint(300, 20));
  ASSERT_FALSE(splash->Visible());
  EXPECT_EQ(mobrigan::implicit::AboutWnd(), splash);
  EXPECT_EQ(mobrigan::implicit::AboutWnd(), splash);
  EXPECT_FALSE(splash->Visible());
  EXPECT_EQ(CountOpen("AboutWnd"), 1);
}

TEST_F(Splash, TheUserCannotCloseItButQuittingDoes) {
  // Closed by the user, the splash would take its timer along and no main window would come.
  QWidget* window = WidgetOf(*splash);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(splash->IsOpen());
  EXPECT_TRUE(splash->Visible());
  EXPECT_EQ(gui::_GetImplicitWindow("AboutWnd.AboutWnd"), splash);
  EXPECT_TRUE(splash->Timer1()->Pending());

  gui::Quit(0);
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(splash->IsOpen());
  EXPECT_EQ(gui::_GetImplicitWindow("AboutWnd.AboutWnd"), nullptr);
}

}  // namespace
