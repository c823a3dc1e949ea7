// Controls on a real window: property kinds and refusals, frames, locks and stacking, the look a
// disabled caption and a text entry keep, focus, the text field's key event and its limit on
// typing and pasting, the Edit commands, the text area's lines, canvas presses, timers, and
// controls that outlive their widgets (or widgets that outlive their controls).
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/Controls.h"
#include "framework/Delegate.h"
#include "framework/Menu.h"
#include "framework/Picture.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "framework/Window.h"
#include "framework/internal/EditCommands.h"
#include "framework/internal/PictureImpl.h"
#include "support/GuiTestSupport.h"

namespace {

using Presses = std::vector<std::pair<std::int64_t, std::int64_t>>;

// A window whose controls each test makes, with handlers that record what they were given.
struct Host : gui::Window {
  static constexpr const char* kClassName = "Host";
  std::string ClassName() const override { return kClassName; }

  std::function<void(Host&)> build;
  std::shared_ptr<gui::MenuBar> bar;

  std::vector<std::string> windowKeys;
  Presses windowPresses;
  std::vector<std::string> fieldKeys;
  std::function<bool(const std::string&)> consume = [](const std::string&) { return false; };
  Presses canvasPresses;
  int ticks = 0;
  std::function<void()> onTick;

  void Layout() override {
    if (bar) MenuBar(bar);
    gui::_SetProperties(*this, {{"Width", 300}, {"Height", 200}, {"Title", "host"}, {"Resizeable", false},
                                {"HasBackgroundColor", true}, {"BackgroundColor", gui::RGB(255, 255, 255)}});
  }
  void CreateControls() override {
    if (build) build(*this);
  }
  bool Event_KeyDown(const std::string& key) override {
    windowKeys.push_back(key);
    return false;
  }
  bool Event_MouseDown(std::int64_t x, std::int64_t y) override {
    windowPresses.emplace_back(x, y);
    return false;
  }

  bool FieldKeyDown(std::shared_ptr<gui::TextField>, std::string key) {
    fieldKeys.push_back(key);
    return consume(key);
  }
  bool CanvasMouseDown(std::shared_ptr<gui::Canvas>, std::int64_t x, std::int64_t y) {
    canvasPresses.emplace_back(x, y);
    return true;
  }
  void Tick(std::shared_ptr<gui::Timer>) {
    ++ticks;
    if (onTick) onTick();
  }

  template <class T>
  std::shared_ptr<T> Add(const std::string& name, const gui::PropertyTable& table) {
    auto control = __New<T>();
    control->Constructor();
    _AddControl(name, control);
    gui::_SetProperties(control, table);
    return control;
  }
  void OnKeys(const std::shared_ptr<gui::TextField>& field) {
    gui::RuntimeAddEventHandler(field, gui::TextField::kKeyDown,
                                gui::RuntimeCreateDelegate(this, &Host::FieldKeyDown, "( TextField, String ) as Boolean", 1));
  }
  void OnPress(const std::shared_ptr<gui::Canvas>& canvas) {
    gui::RuntimeAddEventHandler(
        canvas, gui::Canvas::kMouseDown,
        gui::RuntimeCreateDelegate(this, &Host::CanvasMouseDown, "( Canvas, Integer, Integer ) as Boolean", 1));
  }
  void OnTick(const std::shared_ptr<gui::Timer>& timer) {
    gui::RuntimeAddEventHandler(timer, gui::Timer::kAction, gui::RuntimeCreateDelegate(this, &Host::Tick, "( Timer )", 1));
  }
};

gui::PropertyTable At(int left, int top, int width, int height, gui::PropertyTable more = {}) {
  gui::PropertyTable table{{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
  table.insert(table.end(), more.begin(), more.end());
  return table;
}

QWidget* W(const gui::Control& control) { return gui::testing::WidgetOf(control); }
QLineEdit* Edit(const gui::Control& control) { return qobject_cast<QLineEdit*>(W(control)); }
QTextEdit* Area(const gui::Control& control) { return qobject_cast<QTextEdit*>(W(control)); }

void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

// A picture of one colour, as the canvas gets it from the resources.
std::shared_ptr<gui::Picture> Solid(int width, int height, Qt::GlobalColor color) {
  QPixmap pixmap(width, height);
  pixmap.fill(color);
  return std::make_shared<gui::Picture>(std::make_unique<gui::Picture::Impl>(pixmap));
}

// What the window's content shows inside the frame of `control`.
QImage Shot(const Host& window, const gui::Control& control) {
  return gui::testing::ContentOf(window)->grab(W(control)->geometry()).toImage();
}

class Controls : public ::testing::Test {
 protected:
  void SetUp() override { gui::testing::ResetRuntime(); }
  void TearDown() override {
    gui::testing::ResetRuntime();
    QGuiApplication::clipboard()->clear();
  }

  std::shared_ptr<Host> Open(std::function<void(Host&)> build, std::shared_ptr<gui::MenuBar> bar = nullptr) {
    auto window = std::make_shared<Host>();
    window->build = std::move(build);
    window->bar = std::move(bar);
    window->Constructor();
    EXPECT_TRUE(QTest::qWaitForWindowActive(gui::testing::WidgetOf(*window)));
    return window;
  }
};

// ---- properties ---------------------------------------------------------------------------------

struct KindCase {
  const char* what;
  std::function<std::shared_ptr<gui::Control>()> make;
  const char* name;
  gui::Value good;
  gui::Value wrong;
};

template <class T>
std::shared_ptr<gui::Control> Make() {
  return std::make_shared<T>();
}

TEST(ControlProperties, EachKindIsStoredAndAValueOfAnotherKindIsRefused) {
  const KindCase cases[] = {
      {"Boolean", Make<gui::TextField>, "ReadOnly", true, "yes"},
      {"Integer", Make<gui::TextField>, "MaximumCharactersAllowed", 7, 7.0},
      {"Double", Make<gui::TextArea>, "LineSpacing", 1.5, "1.5"},
      {"String", Make<gui::Label>, "Value", "Reliability", 3},
      {"Color", Make<gui::TextArea>, "TextColor", gui::RGB(0, 0, 128), 128},
      {"Integer on a canvas", Make<gui::Canvas>, "TabIndex", 21, true},
      {"Integer on a timer", Make<gui::Timer>, "Period", 4000, 4000.0},
      {"a flag stored only", Make<gui::Canvas>, "DoubleBuffer", true, 1},
      {"a binding stored only", Make<gui::TextField>, "DataSource", "table", false},
  };
  for (const auto& c : cases) {
    auto control = c.make();
    control->SetProperty(c.name, c.good);
    EXPECT_EQ(control->GetProperty(c.name), c.good) << c.what;
    EXPECT_THROW(control->SetProperty(c.name, c.wrong), gui::PropertyException) << c.what;
    EXPECT_EQ(control->GetProperty(c.name), c.good) << c.what << ": a refused value is not stored";
  }
}

TEST(ControlProperties, AnIntegerIsTakenWhereADoubleIsExpected) {
  auto area = std::make_shared<gui::TextArea>();
  area->SetProperty("LineHeight", 40);
  area->SetProperty("FontSize", 32);
  EXPECT_DOUBLE_EQ(area->GetProperty("LineHeight").AsDouble(), 40.0);
  EXPECT_DOUBLE_EQ(area->GetProperty("FontSize").AsDouble(), 32.0);
}

TEST(ControlProperties, AnUnknownNameIsRefused) {
  const std::pair<std::function<std::shared_ptr<gui::Control>()>, const char*> cases[] = {
      {Make<gui::TextField>, "Multiline"},  // a text area's, not a field's
      {Make<gui::Label>, "ReadOnly"},
      {Make<gui::Canvas>, "Value"},
      {Make<gui::Timer>, "Visible"},
      {Make<gui::TextArea>, "Colour"},
  };
  for (const auto& [make, name] : cases) {
    auto control = make();
    EXPECT_THROW(control->SetProperty(name, true), gui::PropertyException) << control->ClassName() << "." << name;
    EXPECT_THROW(control->GetProperty(name), gui::PropertyException) << control->ClassName() << "." << name;
  }
}

TEST(ControlProperties, EventsAreFoundByNumberOnlyOnTheirOwnClass) {
  EXPECT_STREQ(gui::TextField().FindEvent(9)->signature, "( TextField, String ) as Boolean");
  EXPECT_STREQ(gui::Canvas().FindEvent(21)->signature, "( Canvas, Integer, Integer ) as Boolean");
  EXPECT_STREQ(gui::Timer().FindEvent(0)->signature, "( Timer )");
  EXPECT_EQ(gui::TextField().FindEvent(21), nullptr);
  EXPECT_EQ(gui::Canvas().FindEvent(9), nullptr);
  EXPECT_EQ(gui::Label().FindEvent(0), nullptr);
}

// ---- frames, stacking, locks ----------------------------------------------------------------------

TEST_F(Controls, FramesAreContentCoordinatesAndALaterControlLiesAbove) {
  std::shared_ptr<gui::TextArea> under, over;
  auto w = Open([&](Host& h) {
    under = h.Add<gui::TextArea>("Under", At(-1, -1, 200, 60));
    over = h.Add<gui::TextArea>("Over", At(50, 50, 100, 40));
  });
  EXPECT_EQ(W(*under)->geometry(), QRect(-1, -1, 200, 60));
  QWidget* content = gui::testing::ContentOf(*w);
  QWidget* top = content->childAt(QPoint(60, 55));
  ASSERT_NE(top, nullptr);
  EXPECT_TRUE(top == W(*over) || W(*over)->isAncestorOf(top)) << "the control made later is drawn above";
}

struct LockCase {
  bool left, top, right, bottom;
  QRect afterGrowing;    // 300 x 200 -> 350 x 260
  QRect afterShrinking;  // then -> 320 x 230, still measured from the frame as set
};

TEST_F(Controls, LocksMoveOrStretchAControlWithTheContent) {
  const LockCase cases[] = {
      {false, false, false, false, QRect(10, 20, 50, 30), QRect(10, 20, 50, 30)},
      {true, true, false, false, QRect(10, 20, 50, 30), QRect(10, 20, 50, 30)},
      {true, false, true, false, QRect(10, 20, 100, 30), QRect(10, 20, 70, 30)},
      {false, false, true, false, QRect(60, 20, 50, 30), QRect(30, 20, 50, 30)},
      {false, true, false, true, QRect(10, 20, 50, 90), QRect(10, 20, 50, 60)},
      {false, false, false, true, QRect(10, 80, 50, 30), QRect(10, 50, 50, 30)},
      {true, true, true, true, QRect(10, 20, 100, 90), QRect(10, 20, 70, 60)},
  };
  std::vector<std::shared_ptr<gui::Label>> labels;
  auto w = Open([&](Host& h) {
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      const auto& c = cases[i];
      labels.push_back(h.Add<gui::Label>("L" + std::to_string(i),
                                         At(10, 20, 50, 30,
                                            {{"LockLeft", c.left}, {"LockTop", c.top},
                                             {"LockRight", c.right}, {"LockBottom", c.bottom}})));
    }
  });
  for (auto& l : labels) l->_ContentResized(300, 200, 350, 260);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(W(*labels[i])->geometry(), cases[i].afterGrowing) << "case " << i;
    EXPECT_EQ(labels[i]->GetProperty("Width").AsInteger(), cases[i].afterGrowing.width()) << "case " << i;
  }
  for (auto& l : labels) l->_ContentResized(350, 260, 320, 230);
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(W(*labels[i])->geometry(), cases[i].afterShrinking) << "case " << i;

  // A frame the program sets is the new starting point.
  auto& stretched = labels[2];
  stretched->SetProperty("Left", 5);
  stretched->_ContentResized(320, 230, 340, 230);
  EXPECT_EQ(W(*stretched)->geometry(), QRect(5, 20, 90, 30));

  // Squeezed to nothing and back, it has its width again.
  stretched->_ContentResized(340, 230, 200, 230);
  EXPECT_EQ(W(*stretched)->width(), 0);
  stretched->_ContentResized(200, 230, 340, 230);
  EXPECT_EQ(W(*stretched)->geometry(), QRect(5, 20, 90, 30));
}

// ---- look -----------------------------------------------------------------------------------------

bool HasPixel(const QImage& image, const std::function<bool(QColor)>& wanted) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (wanted(image.pixelColor(x, y))) return true;
  return false;
}

TEST_F(Controls, ADisabledCaptionKeepsItsTextColour) {
  std::shared_ptr<gui::Label> caption;
  auto w = Open([&](Host& h) {
    caption = h.Add<gui::Label>("Caption", At(10, 10, 120, 40,
                                              {{"Value", "WWWW"}, {"FontSize", 20}, {"Bold", true},
                                               {"TextColor", gui::RGB(0, 0, 128)}, {"Enabled", false},
                                               {"Transparent", true}, {"Multiline", true}}));
  });
  const QImage shot = Shot(*w, *caption);
  EXPECT_TRUE(HasPixel(shot, [](QColor c) { return c.blue() >= 100 && c.red() < 40 && c.green() < 40; }))
      << "the text is drawn navy, not in the disabled grey";
  EXPECT_FALSE(HasPixel(shot, [](QColor c) { return c.red() < 200 && c.red() == c.green() && c.green() == c.blue(); }))
      << "no grey text";
}

TEST_F(Controls, TextEntriesPaintTheirBackgroundColourEnabledOrNot) {
  const gui::Color yellow = gui::RGB(255, 255, 0);
  std::shared_ptr<gui::TextField> field, disabledField;
  std::shared_ptr<gui::TextArea> area;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("F", At(10, 10, 80, 22, {{"BackgroundColor", yellow}, {"Transparent", true}}));
    disabledField = h.Add<gui::TextField>("D", At(10, 40, 80, 22, {{"BackgroundColor", yellow}, {"Enabled", false}}));
    area = h.Add<gui::TextArea>("A", At(10, 70, 80, 40, {{"BackgroundColor", yellow}, {"HasBorder", false}}));
  });
  for (const gui::Control* c : {static_cast<gui::Control*>(field.get()), static_cast<gui::Control*>(disabledField.get()),
                                static_cast<gui::Control*>(area.get())}) {
    const QImage shot = Shot(*w, *c);
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(255, 255, 0)) << c->Name();
  }
}

TEST_F(Controls, FontsAreTheSystemFamilyInTheLayersPoints) {
  std::shared_ptr<gui::Label> plain, sized;
  auto w = Open([&](Host& h) {
    plain = h.Add<gui::Label>("Plain", {{"FontName", "System"}, {"FontSize", 0}});
    sized = h.Add<gui::Label>("Sized", {{"FontName", "System"}, {"FontSize", 11}, {"Bold", true}, {"Italic", true}});
  });
  const QFont system = QApplication::font();
  EXPECT_EQ(W(*plain)->font().family(), system.family());
  EXPECT_EQ(W(*plain)->font().pointSizeF(), system.pointSizeF()) << "size 0 is the system font's own";
  const QFont f = W(*sized)->font();
  EXPECT_EQ(f.family(), system.family());
  EXPECT_EQ(f.pixelSize(), 11) << "a point of type is a point of the frames";
  EXPECT_TRUE(f.bold());
  EXPECT_TRUE(f.italic());
  EXPECT_FALSE(f.underline());
}

// ---- focus ----------------------------------------------------------------------------------------

TEST_F(Controls, TabReachesOnlyShownFieldsAndAClickFocusesAnAreaLeftOutOfTheChain) {
  std::shared_ptr<gui::TextField> first, result, last;
  std::shared_ptr<gui::TextArea> heading;
  std::shared_ptr<gui::Label> caption;
  std::shared_ptr<gui::Canvas> picture;
  auto w = Open([&](Host& h) {
    first = h.Add<gui::TextField>("First", At(10, 10, 80, 22, {{"TabIndex", 1}}));
    caption = h.Add<gui::Label>("Caption", At(10, 40, 80, 20, {{"TabIndex", 2}, {"Value", "caption"}}));
    result = h.Add<gui::TextField>("Result", At(100, 10, 80, 22, {{"TabIndex", 3}, {"ReadOnly", true}, {"Visible", false}}));
    picture = h.Add<gui::Canvas>("Picture", At(10, 70, 40, 40, {{"TabIndex", 4}, {"AllowFocus", false}}));
    heading = h.Add<gui::TextArea>("Heading", At(60, 70, 100, 40, {{"TabIndex", 5}, {"TabStop", false}}));
    last = h.Add<gui::TextField>("Last", At(190, 10, 80, 22, {{"TabIndex", 6}}));
  });
  auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
  first->SetFocus();
  ASSERT_TRUE(first->HasFocus());
  tab();
  EXPECT_TRUE(last->HasFocus()) << "the hidden field, the caption, the picture and the heading are skipped";
  tab();
  EXPECT_TRUE(first->HasFocus());

  result->Visible(true);
  tab();
  EXPECT_TRUE(result->HasFocus()) << "a read-only field is in the chain while shown";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(first->HasFocus());

  QTest::mouseClick(Area(*heading)->viewport(), Qt::LeftButton);
  EXPECT_TRUE(heading->HasFocus()) << "a click reaches the heading";
  QTest::mouseClick(W(*caption), Qt::LeftButton);
  QTest::mouseClick(W(*picture), Qt::LeftButton);
  EXPECT_TRUE(heading->HasFocus()) << "captions and pictures never take the focus";
  EXPECT_FALSE(caption->HasFocus());
  EXPECT_FALSE(picture->HasFocus());
}

// A handler that reports a fault and puts the focus back into the field, as Compute does.
struct ReportingHost : Host {
  std::shared_ptr<gui::TextField> faulty;
  bool Report(std::shared_ptr<gui::Canvas>, std::int64_t, std::int64_t) {
    gui::MsgBox("Please enter a value");
    faulty->SetFocus();
    return true;
  }
};

TEST_F(Controls, SetFocusAfterAMessageBoxLandsInTheField) {
  auto w = std::make_shared<ReportingHost>();
  std::shared_ptr<gui::Canvas> button;
  w->build = [&](Host& h) {
    auto& r = static_cast<ReportingHost&>(h);
    h.Add<gui::TextField>("First", At(10, 10, 80, 22));
    r.faulty = h.Add<gui::TextField>("Faulty", At(100, 10, 80, 22));
    button = h.Add<gui::Canvas>("Button", At(10, 50, 40, 40));
    gui::RuntimeAddEventHandler(button, gui::Canvas::kMouseDown,
                                gui::RuntimeCreateDelegate(&r, &ReportingHost::Report,
                                                           "( Canvas, Integer, Integer ) as Boolean", 1));
  };
  w->Constructor();
  ASSERT_TRUE(QTest::qWaitForWindowActive(gui::testing::WidgetOf(*w)));
  testsupport::ModalAnswerer answerer;
  QTest::mouseClick(W(*button), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(answerer.texts(), QStringList{"Please enter a value"});
  EXPECT_TRUE(testsupport::WaitFor([&] { return QApplication::focusWidget() == W(*w->faulty); }, 2000));
}

// ---- the text field's KeyDown -----------------------------------------------------------------------

TEST_F(Controls, KeyDownRunsBeforeTheFieldAndTrueConsumesTheKey) {
  std::shared_ptr<gui::TextField> field, next;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"Value", "12"}}));
    h.OnKeys(field);
    next = h.Add<gui::TextField>("Next", At(100, 10, 80, 22));
  });
  QLineEdit* edit = Edit(*field);
  field->SetFocus();
  edit->end(false);  // the program's text is shown from its start; type after it

  // Digits pass; everything else is consumed, Backspace, the arrows and Tab included.
  w->consume = [](const std::string& key) { return !(key.size() == 1 && key[0] >= '0' && key[0] <= '9'); };
  QTest::keyClicks(edit, "3x4");
  EXPECT_EQ(field->Text(), "1234");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(field->Text(), "1234") << "a consumed Backspace deletes nothing";
  QTest::keyClick(edit, Qt::Key_Left);
  EXPECT_EQ(edit->cursorPosition(), 4) << "a consumed arrow does not move the cursor";
  QTest::keyClick(edit, Qt::Key_Tab);
  EXPECT_TRUE(field->HasFocus()) << "a consumed Tab does not move the focus";
  EXPECT_EQ(w->fieldKeys, (std::vector<std::string>{"3", "x", "4", "\x08", "\x1c", "\t"}));

  // Letting them through, the field acts on them as usual.
  w->consume = [](const std::string&) { return false; };
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(field->Text(), "123");
  QTest::keyClick(edit, Qt::Key_Tab);
  EXPECT_TRUE(next->HasFocus());
  EXPECT_EQ(w->fieldKeys.back(), "\t");
}

TEST_F(Controls, OnlyKeysNeitherConsumedNorUsedByTheFieldReachTheWindow) {
  std::shared_ptr<gui::TextField> field;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22));
    h.OnKeys(field);
  });
  w->consume = [](const std::string& key) { return key == "x"; };
  field->SetFocus();
  QLineEdit* edit = Edit(*field);
  QTest::keyClick(edit, Qt::Key_5);       // typed by the field
  QTest::keyClick(edit, Qt::Key_X);       // consumed
  QTest::keyClick(edit, Qt::Key_F5);      // nobody's
  QTest::keyClick(edit, Qt::Key_Return);  // a line edit has no use for it
  EXPECT_EQ(field->Text(), "5");
  EXPECT_EQ(w->fieldKeys, (std::vector<std::string>{"5", "x", "", "\r"}));
  EXPECT_EQ(w->windowKeys, (std::vector<std::string>{"", "\r"})) << "each once";

  QTest::keyClick(edit, Qt::Key_Shift);
  EXPECT_EQ(w->fieldKeys.size(), 4u) << "a modifier alone is no key of the field's";
}

std::shared_ptr<gui::MenuBar> EditMenuBar() {
  auto item = [](const char* name, const char* caption, const char* shortcut) {
    auto i = std::make_shared<gui::MenuItem>();
    i->Constructor();
    i->Name(name);
    i->Value(caption);
    i->Shortcut(shortcut);
    return i;
  };
  auto edit = std::make_shared<gui::MenuItem>();
  edit->Constructor();
  edit->Name("EditMenu");
  edit->Value("&Edit");
  edit->AddMenu(item("EditPaste", "&Paste", "Cmd+V"));
  edit->AddMenu(item("EditSelectAll", "Select &All", "Cmd+A"));
  auto bar = std::make_shared<gui::MenuBar>();
  bar->Constructor();
  bar->AddMenu(edit);
  return bar;
}

TEST_F(Controls, AMenuShortcutWinsOverTheFieldAndNeverReachesKeyDown) {
  std::shared_ptr<gui::TextField> field;
  auto w = Open(
      [&](Host& h) {
        field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"Value", "12"}, {"MaximumCharactersAllowed", 7}}));
        h.OnKeys(field);
      },
      EditMenuBar());
  w->consume = [](const std::string&) { return true; };  // a filter that would refuse Ctrl+V
  field->SetFocus();
  Edit(*field)->end(false);
  SetClipboard("123456789");
  QTest::keyClick(Edit(*field), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(field->Text(), "1212345") << "the menu's Paste, through the limit";
  QTest::keyClick(Edit(*field), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Edit(*field)->selectedText(), "1212345");
  EXPECT_TRUE(w->fieldKeys.empty()) << "the filter saw nothing of the shortcuts";
}

TEST_F(Controls, WithoutAMenuItemTheKeyFilterJudgesCtrlV) {
  std::shared_ptr<gui::TextField> field;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"Value", "12"}}));
    h.OnKeys(field);
  });
  w->consume = [](const std::string&) { return true; };
  field->SetFocus();
  SetClipboard("9");
  QTest::keyClick(Edit(*field), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(field->Text(), "12");
  EXPECT_EQ(w->fieldKeys, (std::vector<std::string>{"\x16"}));
}

// ---- the limit ------------------------------------------------------------------------------------

TEST_F(Controls, TheLimitBoundsTypingButNeverTheProgramsText) {
  std::shared_ptr<gui::TextField> field;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"MaximumCharactersAllowed", 7}}));
    h.OnKeys(field);  // the filter lets everything through
  });
  QLineEdit* edit = Edit(*field);
  field->SetFocus();
  QTest::keyClicks(edit, "123456789");
  EXPECT_EQ(field->Text(), "1234567");

  edit->setSelection(2, 2);  // "34"
  QTest::keyClicks(edit, "98");
  EXPECT_EQ(field->Text(), "1298567") << "typing over a selection replaces it, within the limit";
  QTest::keyClick(edit, Qt::Key_0);
  EXPECT_EQ(field->Text(), "1298567");

  field->Text("-12345.67890");
  EXPECT_EQ(field->Text(), "-12345.67890") << "the program's text is kept whole";
  EXPECT_EQ(edit->text(), "-12345.67890");
  edit->end(false);
  QTest::keyClick(edit, Qt::Key_1);
  EXPECT_EQ(field->Text(), "-12345.67890") << "nothing more can be typed";
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(field->Text(), "-12345.6789") << "but it can be deleted";
}

struct PasteRoute {
  const char* what;
  std::function<void(QLineEdit*)> paste;
};

TEST_F(Controls, EveryPasteInsertsOnlyWhatFitsWithoutLineBreaks) {
  const PasteRoute routes[] = {
      {"Ctrl+V", [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier); }},
      {"Shift+Insert", [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier); }},
      {"the Edit command", [](QLineEdit*) { EXPECT_TRUE(gui::PerformEditCommand(gui::EditCommand::Paste)); }},
      {"the context menu", testsupport::PasteByContextMenu},
  };
  std::shared_ptr<gui::TextField> field, readOnly;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"MaximumCharactersAllowed", 7}}));
    readOnly = h.Add<gui::TextField>("ReadOnly", At(100, 10, 80, 22, {{"ReadOnly", true}, {"Value", "0.5"}}));
  });
  for (const auto& route : routes) {
    QLineEdit* edit = Edit(*field);
    field->SetFocus();

    field->Text("12");
    edit->end(false);
    SetClipboard("123456789");
    route.paste(edit);
    EXPECT_EQ(field->Text(), "1212345") << route.what;

    field->Text("");
    SetClipboard("9\r\n8\n7\r6");
    route.paste(edit);
    EXPECT_EQ(field->Text(), "9876") << route.what;

    edit->setSelection(1, 2);  // "87"
    SetClipboard("123456789");
    route.paste(edit);
    EXPECT_EQ(field->Text(), "9123456") << route.what << ": the selection makes room";

    readOnly->SetFocus();
    route.paste(Edit(*readOnly));
    EXPECT_EQ(readOnly->Text(), "0.5") << route.what << " on a read-only field";
  }
}

// ---- undo after a paste --------------------------------------------------------------------------

// A paste is undone on its own, as a plain QLineEdit's paste is: Undo brings back exactly the text
// (and selection) from before it, whatever was typed before, and Redo exactly the paste.
struct PasteUndo {
  const char* what;
  const char* typed;                                          // into the empty field, key by key
  std::function<void(QLineEdit*, const PasteRoute&)> before;  // then this, if anything
  const char* clipboard;
  const char* pasted;    // the text once pasted
  const char* undone;    // the text after Undo
  const char* selected;  // the selection before the paste, which Undo brings back
};

const PasteUndo kPasteUndos[] = {
    {"typing before the paste stays", "12", nullptr, "34", "1234", "12", ""},
    {"a paste cut to the limit goes whole", "-.2", nullptr, "123456789", "-.21234", "-.2", ""},
    {"a paste over a selection brings the selection back", "12345",
     [](QLineEdit* e, const PasteRoute&) { e->setSelection(1, 3); }, "9", "195", "12345", "234"},
    {"a paste into an empty field", "", nullptr, "0.5", "0.5", "", ""},
    {"a paste after the field was emptied by Backspace over all of it", "12",
     [](QLineEdit* e, const PasteRoute& route) {
       SetClipboard("123456789");
       route.paste(e);
       e->selectAll();
       QTest::keyClick(e, Qt::Key_Backspace);
       QTest::keyClicks(e, "12");
     },
     "123456789", "1212345", "12", ""},
};

TEST_F(Controls, EveryPasteIsAnUndoStepOfItsOwn) {
  const PasteRoute routes[] = {
      {"Ctrl+V", [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier); }},
      {"Shift+Insert", [](QLineEdit* e) { QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier); }},
      {"the Edit command", [](QLineEdit*) { EXPECT_TRUE(gui::PerformEditCommand(gui::EditCommand::Paste)); }},
      {"the context menu", testsupport::PasteByContextMenu},
  };
  std::shared_ptr<gui::TextField> field;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"MaximumCharactersAllowed", 7}}));
    h.OnKeys(field);  // lets every key through, Ctrl+Z included
  });
  QLineEdit* edit = Edit(*field);
  field->SetFocus();
  const auto undo = [edit] { QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier); };
  for (const PasteRoute& route : routes) {
    for (const PasteUndo& c : kPasteUndos) {
      SCOPED_TRACE(std::string(route.what) + ": " + c.what);
      edit->setText(QString());  // and no undo history
      QTest::keyClicks(edit, c.typed);
      if (c.before) c.before(edit, route);
      SetClipboard(c.clipboard);
      route.paste(edit);
      ASSERT_EQ(field->Text(), c.pasted);

      undo();
      EXPECT_EQ(field->Text(), c.undone);
      EXPECT_EQ(edit->selectedText().toStdString(), c.selected);
      edit->redo();
      EXPECT_EQ(field->Text(), c.pasted);
      EXPECT_FALSE(edit->hasSelectedText());
      undo();
      EXPECT_EQ(field->Text(), c.undone) << "undone again after the redo";
    }

    SCOPED_TRACE(std::string(route.what) + ": typing after the paste");
    edit->setText(QString());
    QTest::keyClicks(edit, "12");
    SetClipboard("34");
    route.paste(edit);
    QTest::keyClicks(edit, "5");
    ASSERT_EQ(field->Text(), "12345");
    const char* const steps[] = {"1234", "12", ""};
    for (const char* text : steps) {
      undo();
      EXPECT_EQ(field->Text(), text);
    }
  }
}

// ---- the Menu key ------------------------------------------------------------------------------

TEST_F(Controls, TheMenuKeyIsJudgedByKeyDownAndOpensNothingOnceSwallowed) {
  std::shared_ptr<gui::TextField> field, plain;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"Value", "12"}}));
    h.OnKeys(field);
    plain = h.Add<gui::TextField>("Plain", At(100, 10, 80, 22));
  });
  QLineEdit* edit = Edit(*field);
  field->SetFocus();
  edit->setSelection(1, 1);
  w->consume = [](const std::string& key) { return key.empty(); };

  testsupport::MenuKeyAsX(edit);
  EXPECT_EQ(testsupport::OpenMenu(), nullptr) << "a swallowed Menu key opens no menu";
  EXPECT_EQ(w->fieldKeys, std::vector<std::string>{""}) << "judged once, with no text";
  EXPECT_TRUE(w->windowKeys.empty()) << "nor does its key press go on to the window";
  EXPECT_EQ(edit->selectedText(), "2");

  QTest::keyClick(edit, Qt::Key_Menu);  // the key press alone, as QTest and some platforms send it
  EXPECT_EQ(w->fieldKeys, (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(w->windowKeys.empty());

  // A request whose key press never comes leaves nothing behind: the next key is judged as usual.
  QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(edit, &request);
  QTest::keyClick(edit, Qt::Key_5);
  EXPECT_EQ(field->Text(), "15") << "typed over the selection";
  EXPECT_EQ(w->fieldKeys, (std::vector<std::string>{"", "", "", "5"}));

  // Let through, the Menu key opens the menu as ever; so does the mouse, which no filter judges.
  w->consume = [](const std::string&) { return false; };
  testsupport::MenuKeyAsX(edit);
  EXPECT_NE(testsupport::OpenMenu(), nullptr) << "by the Menu key";
  testsupport::CloseMenu();
  w->fieldKeys.clear();
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(edit, &click);
  EXPECT_NE(testsupport::OpenMenu(), nullptr) << "by the mouse";
  testsupport::CloseMenu();
  EXPECT_TRUE(w->fieldKeys.empty());

  plain->SetFocus();
  testsupport::MenuKeyAsX(Edit(*plain));
  EXPECT_NE(testsupport::OpenMenu(), nullptr) << "a field without a filter";
  testsupport::CloseMenu();
}

// A field with no key filter takes what an input method commits as it comes, within the limit,
// and shows what is being composed.
TEST_F(Controls, WithoutAKeyFilterAnInputMethodCommitGoesInWithinTheLimit) {
  std::shared_ptr<gui::TextField> field;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"MaximumCharactersAllowed", 7}, {"Value", "12345"}}));
  });
  QLineEdit* edit = Edit(*field);
  field->SetFocus();
  edit->end(false);

  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("\u00e9"));
  QApplication::sendEvent(edit, &commit);
  EXPECT_EQ(edit->text(), QStringLiteral("12345\u00e9"));
  QInputMethodEvent tooLong;
  tooLong.setCommitString(QStringLiteral("x\ny"));
  QApplication::sendEvent(edit, &tooLong);
  EXPECT_EQ(edit->text(), QStringLiteral("12345\u00e9x"));

  edit->backspace();
  const QRect cursor = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  QInputMethodEvent preedit(QStringLiteral("ab"), {{QInputMethodEvent::Cursor, 2, 1}});
  QApplication::sendEvent(edit, &preedit);
  EXPECT_GT(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), cursor.left())
      << "the composed text stands before the cursor";
  EXPECT_EQ(edit->text(), QStringLiteral("12345\u00e9"));
}

// A commit in a field of limit 7, the cursor at the end of `before`. The replacement counts
// UTF-16 units from the cursor, as Qt takes it; the limit counts characters.
struct ImCommit {
  const char* what;
  const char* before;  // UTF-8, set by the program (so it may be longer than the limit)
  int selected;        // units at the end of `before` that are selected
  const char* commit;  // UTF-8
  int start, length;
  const char* after;
  int cursor;         // in units, after what went in
  bool filteredOnly;  // the case needs a KeyDown handler
};

const ImCommit kImCommits[] = {
    {"a range past the end replaces nothing", "1234567", 0, "89", 0, 3, "1234567", 7, false},
    {"a range running past the end replaces what is there", "1234567", 0, "89", -1, 5, "1234568", 7, false},
    {"a replaced surrogate pair makes room for one character", "123456\U0001D7D8", 0, "89", -2, 2, "1234568", 7,
     false},
    {"a longer text set by the program is not shortened", "123456789", 0, "5", -1, 1, "123456789", 9, false},
    {"a commit of a line break alone is no deletion", "1234", 0, "\n", -1, 1, "1234", 4, false},
    {"an empty commit deletes", "1234", 0, "", -2, 2, "12", 2, false},
    {"the selection goes first and the range counts from where it was", "1234567", 2, "890", -1, 5, "1234890", 7,
     false},
    {"a range starting before the text starts at 0 with its length kept", "1234567", 0, "89", -9, 3, "894567", 2,
     false},
    {"a start beyond the text puts the commit at its end", "1234", 0, "5", 2, 0, "12345", 5, false},
    {"the handler sees the characters before it already in", "", 0, "1.2.3", 0, 0, "1.23", 4, true},
};

// Whether the field's own key filter or none judges the commit, the result is what typing the
// characters would give after the replacement Qt really carries out: never past the limit, and
// nothing removed unless some of the commit goes in (or the commit is a deletion).
TEST_F(Controls, AnInputMethodCommitReplacesOnlyWhatQtRemovesAndKeepsTheLimit) {
  std::shared_ptr<gui::TextField> plain, filtered;
  auto w = Open([&](Host& h) {
    plain = h.Add<gui::TextField>("Plain", At(10, 10, 80, 22, {{"MaximumCharactersAllowed", 7}}));
    filtered = h.Add<gui::TextField>("Filtered", At(100, 10, 80, 22, {{"MaximumCharactersAllowed", 7}}));
    h.OnKeys(filtered);
  });
  // Digits and one point, judged on the text as it stands.
  gui::TextField* judged = filtered.get();
  w->consume = [judged](const std::string& key) {
    if (key == ".") return judged->Text().find('.') != std::string::npos;
    return !(key.size() == 1 && key[0] >= '0' && key[0] <= '9');
  };
  for (const auto& field : {plain, filtered}) {
    for (const ImCommit& c : kImCommits) {
      if (c.filteredOnly && field == plain) continue;
      SCOPED_TRACE(field->Name() + ": " + c.what);
      QLineEdit* edit = Edit(*field);
      field->SetFocus();
      field->Text(c.before);
      edit->end(false);
      if (c.selected > 0) edit->cursorBackward(true, c.selected);

      QInputMethodEvent event;
      event.setCommitString(QString::fromUtf8(c.commit), c.start, c.length);
      QApplication::sendEvent(edit, &event);
      EXPECT_EQ(field->Text(), c.after);
      EXPECT_EQ(edit->cursorPosition(), c.cursor);
      EXPECT_FALSE(edit->hasSelectedText()) << "no selection is left over from the range";
    }
  }
}

// A handler that closes or ends the window stops the key or the commit: what it let through is
// not put into a field whose window is gone, and the rest of a commit is not even judged.
TEST_F(Controls, AKeyFilterThatEndsTheWindowStopsTheKeyAndTheCommit) {
  const std::pair<const char*, std::function<void(Host&)>> ends[] = {
      {"Close", [](Host& h) { h.Close(); }},
      {"_Destroy", [](Host& h) { h._Destroy(); }},
  };
  const std::pair<const char*, std::function<void(QWidget*)>> inputs[] = {
      {"keys 1 and 2",
       [](QWidget* edit) {
         QPointer<QWidget> alive(edit);
         for (const char* key : {"1", "2"}) {
           if (!alive) break;
           QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (key[0] - '0'), Qt::NoModifier, QString::fromLatin1(key));
           QApplication::sendEvent(alive, &press);
         }
       }},
      {"a commit of 123",
       [](QWidget* edit) {
         QInputMethodEvent event;
         event.setCommitString(QStringLiteral("123"));
         QApplication::sendEvent(edit, &event);
       }},
  };
  for (const auto& [what, end] : ends) {
    for (const auto& [how, input] : inputs) {
      SCOPED_TRACE(std::string(what) + ", " + how);
      std::shared_ptr<gui::TextField> field;
      auto w = Open([&](Host& h) {
        field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"MaximumCharactersAllowed", 7}}));
        h.OnKeys(field);
      });
      Host* host = w.get();
      w->consume = [host, &end](const std::string& key) {
        if (key == "2") end(*host);
        return false;
      };
      field->SetFocus();
      QPointer<QWidget> edit = W(*field);

      input(edit);
      EXPECT_EQ(w->fieldKeys, (std::vector<std::string>{"1", "2"}));
      EXPECT_FALSE(w->IsOpen());
      EXPECT_EQ(field->Text(), "1") << "what went in before the window ended";
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      EXPECT_EQ(edit, nullptr);
      EXPECT_EQ(field->Text(), "1");
    }
  }
}

// ---- Edit commands --------------------------------------------------------------------------------

TEST(EditCommandNames, TheSixItemNamesAndNothingElse) {
  const std::pair<const char*, gui::EditCommand> cases[] = {
      {"EditUndo", gui::EditCommand::Undo},   {"EditCut", gui::EditCommand::Cut},
      {"EditCopy", gui::EditCommand::Copy},   {"EditPaste", gui::EditCommand::Paste},
      {"EditClear", gui::EditCommand::Clear}, {"EditSelectAll", gui::EditCommand::SelectAll},
      {"EditRedo", gui::EditCommand::None},   {"editcut", gui::EditCommand::None},
      {"FileQuit", gui::EditCommand::None},   {"", gui::EditCommand::None},
  };
  for (const auto& [name, command] : cases) EXPECT_EQ(gui::EditCommandOf(name), command) << name;
}

TEST_F(Controls, EditCommandsActOnTheFocusedTextAndSpareReadOnlyOnes) {
  std::shared_ptr<gui::TextField> field, readOnly;
  std::shared_ptr<gui::TextArea> area;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"Value", "12345"}}));
    readOnly = h.Add<gui::TextField>("ReadOnly", At(100, 10, 80, 22, {{"Value", "0.5"}, {"ReadOnly", true}}));
    area = h.Add<gui::TextArea>("Area", At(10, 50, 200, 60, {{"Value", "one\rtwo"}}));
  });
  using gui::EditCommand;
  using gui::PerformEditCommand;

  field->SetFocus();
  Edit(*field)->setSelection(1, 2);
  EXPECT_TRUE(PerformEditCommand(EditCommand::Clear));
  EXPECT_EQ(field->Text(), "145");
  EXPECT_TRUE(PerformEditCommand(EditCommand::Clear));
  EXPECT_EQ(field->Text(), "145") << "Clear with no selection deletes nothing";
  EXPECT_TRUE(PerformEditCommand(EditCommand::Undo));
  EXPECT_EQ(field->Text(), "12345");

  readOnly->SetFocus();
  SetClipboard("9");
  for (EditCommand command : {EditCommand::SelectAll, EditCommand::Cut, EditCommand::Clear, EditCommand::Paste,
                              EditCommand::Undo}) {
    EXPECT_TRUE(PerformEditCommand(command));
    EXPECT_EQ(readOnly->Text(), "0.5") << static_cast<int>(command);
  }
  EXPECT_FALSE(gui::internal::EditCommandAvailable(EditCommand::Cut));
  EXPECT_FALSE(gui::internal::EditCommandAvailable(EditCommand::Paste));
  EXPECT_TRUE(gui::internal::EditCommandAvailable(EditCommand::Copy));
  EXPECT_TRUE(PerformEditCommand(EditCommand::Copy));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.5") << "copying from a read-only field works";

  area->SetFocus();
  EXPECT_TRUE(PerformEditCommand(EditCommand::SelectAll));
  EXPECT_TRUE(PerformEditCommand(EditCommand::Cut));
  EXPECT_EQ(area->Text(), "");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "one\ntwo");
  EXPECT_TRUE(PerformEditCommand(EditCommand::Paste));
  EXPECT_EQ(area->Text(), "one\rtwo");
}

TEST_F(Controls, EditCommandsNeedATextControlInFocus) {
  auto w = Open([](Host& h) { h.Add<gui::Canvas>("Picture", At(10, 10, 40, 40)); });
  EXPECT_EQ(QApplication::focusWidget(), nullptr);
  EXPECT_FALSE(gui::PerformEditCommand(gui::EditCommand::SelectAll));
  EXPECT_FALSE(gui::internal::EditCommandAvailable(gui::EditCommand::SelectAll));
}

// ---- the text area --------------------------------------------------------------------------------

TEST_F(Controls, ATextAreasLinesComeInAnySeparatorAndGoOutWithCR) {
  std::shared_ptr<gui::TextArea> area;
  std::shared_ptr<gui::TextField> after;
  auto w = Open([&](Host& h) {
    area = h.Add<gui::TextArea>("Area", At(10, 10, 200, 120,
                                          {{"Value", "one\rtwo\r\nthree\nfour"}, {"LineHeight", 40},
                                           {"TextAlignment", 2}, {"AllowTabs", false}}));
    after = h.Add<gui::TextField>("After", At(10, 150, 80, 22));
  });
  QTextEdit* edit = Area(*area);
  EXPECT_EQ(edit->document()->blockCount(), 4);
  EXPECT_EQ(area->Text(), "one\rtwo\rthree\rfour");

  area->SetFocus();
  edit->moveCursor(QTextCursor::End);
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClicks(edit, "five");
  QTest::keyClick(edit, Qt::Key_Tab);
  EXPECT_EQ(area->Text(), "one\rtwo\rthree\rfour\rfive") << "Tab typed nothing";
  EXPECT_TRUE(after->HasFocus()) << "Tab moved the focus on";
  EXPECT_EQ(area->GetProperty("Value").AsString(), "one\rtwo\rthree\rfour\rfive");

  // With nowhere else for the focus to go, Tab still types nothing.
  after->Visible(false);
  area->SetFocus();
  QTest::keyClick(edit, Qt::Key_Tab);
  QTest::keyClick(edit, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(area->Text(), "one\rtwo\rthree\rfour\rfive");

  for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next()) {
    EXPECT_EQ(b.blockFormat().lineHeightType(), QTextBlockFormat::FixedHeight) << b.text().toStdString();
    EXPECT_EQ(b.blockFormat().lineHeight(), 40) << b.text().toStdString();
  }
  area->Text("new\rtext");
  EXPECT_EQ(edit->document()->begin().blockFormat().lineHeight(), 40) << "kept for new text";
  EXPECT_EQ(edit->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

// ---- the canvas -----------------------------------------------------------------------------------

TEST_F(Controls, ACanvasRaisesMouseDownOnThePressOrPassesItToTheWindow) {
  std::shared_ptr<gui::Canvas> button, logo;
  auto w = Open([&](Host& h) {
    button = h.Add<gui::Canvas>("Button", At(50, 40, 60, 30));
    h.OnPress(button);
    logo = h.Add<gui::Canvas>("Logo", At(150, 40, 60, 30));
  });
  QTest::mousePress(W(*button), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w->canvasPresses, (Presses{{10, 7}})) << "on the press";
  QTest::mouseRelease(W(*button), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(w->canvasPresses.size(), 1u) << "not again on the release";
  // A real double click comes as press, release, press, double click, release.
  QTest::mouseClick(W(*button), Qt::LeftButton, {}, QPoint(2, 3));
  QTest::mousePress(W(*button), Qt::LeftButton, {}, QPoint(2, 3));
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(2, 3), W(*button)->mapToGlobal(QPointF(2, 3)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(W(*button), &doubleClick);
  QTest::mouseRelease(W(*button), Qt::LeftButton, {}, QPoint(2, 3));
  EXPECT_EQ(w->canvasPresses.size(), 3u) << "each press of a double click once";
  EXPECT_TRUE(w->windowPresses.empty());

  QTest::mouseClick(W(*logo), Qt::LeftButton, {}, QPoint(3, 4));
  EXPECT_EQ(w->windowPresses, (Presses{{153, 44}})) << "a canvas without a handler passes the press on";
}

TEST_F(Controls, ACanvasShowsItsBackdropAndOtherwiseTheWindow) {
  std::shared_ptr<gui::Canvas> blank, pictured;
  auto w = Open([&](Host& h) {
    blank = h.Add<gui::Canvas>("Blank", At(10, 10, 60, 30));
    pictured = h.Add<gui::Canvas>("Pictured", At(100, 10, 60, 30));
    pictured->Backdrop(Solid(20, 10, Qt::red));
    h.OnPress(blank);
  });
  const QImage none = Shot(*w, *blank);
  EXPECT_EQ(none.pixelColor(30, 15), QColor(Qt::white)) << "the window's colour shows through";
  const QImage shot = Shot(*w, *pictured);
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::red)) << "the picture at the top left, at its size";
  EXPECT_EQ(shot.pixelColor(30, 15), QColor(Qt::white)) << "nothing beyond it";

  QTest::mouseClick(W(*blank), Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(w->canvasPresses, (Presses{{1, 1}})) << "a blank canvas keeps its handler";
}

// ---- timers ---------------------------------------------------------------------------------------

TEST_F(Controls, ASingleShotTimerFiresOnceAndARepeatingOneUntilQuit) {
  std::shared_ptr<gui::Timer> once;
  bool pendingWhenMade = false;
  auto w = Open([&](Host& h) {
    once = h.Add<gui::Timer>("Once", {{"Period", 20}, {"RunMode", 1}});
    h.OnTick(once);
    pendingWhenMade = once->Pending();  // opening the window may take longer than the period
  });
  EXPECT_TRUE(pendingWhenMade);
  ASSERT_TRUE(testsupport::WaitFor([&] { return w->ticks == 1; }, 2000));
  testsupport::Pump(150);
  EXPECT_EQ(w->ticks, 1);
  EXPECT_FALSE(once->Pending());

  // Setting the mode starts it anew; a repeating timer stops for good at Quit.
  w->ticks = 0;
  w->onTick = [&] {
    if (w->ticks == 2) gui::Quit(0);
  };
  once->SetProperty("RunMode", 2);
  testsupport::Pump(300);
  EXPECT_EQ(w->ticks, 2) << "nothing fires once the program quits";
  EXPECT_FALSE(once->Pending());
}

TEST_F(Controls, NoTimerStartsOrFiresAfterQuit) {
  std::shared_ptr<gui::Timer> timer;
  auto w = Open([&](Host& h) {
    timer = h.Add<gui::Timer>("Timer", {{"Period", 10}, {"RunMode", 2}});
    h.OnTick(timer);
  });
  // Opening the window spins the event loop, and a busy machine may let the timer fire there.
  const int before = w->ticks;
  gui::Quit(0);
  testsupport::Pump(100);
  EXPECT_EQ(w->ticks, before);
  timer->SetProperty("Period", 5);
  timer->_Fire();  // a timeout that was already queued
  EXPECT_EQ(w->ticks, before);
  EXPECT_FALSE(timer->Pending());
}

TEST_F(Controls, RunModeZeroOrDisabledNeverFires) {
  std::shared_ptr<gui::Timer> off, disabled;
  auto w = Open([&](Host& h) {
    off = h.Add<gui::Timer>("Off", {{"Period", 10}, {"RunMode", 0}});
    disabled = h.Add<gui::Timer>("Disabled", {{"Period", 10}, {"RunMode", 2}, {"Enabled", false}});
    h.OnTick(off);
    h.OnTick(disabled);
  });
  testsupport::Pump(100);
  EXPECT_EQ(w->ticks, 0);
  EXPECT_FALSE(off->Pending());
  EXPECT_FALSE(disabled->Pending());
}

// ---- errors in handlers ---------------------------------------------------------------------------

TEST_F(Controls, AnErrorInAKeyFilterIsReportedAndTheKeyGoesOnAsLetThrough) {
  std::vector<std::string> reports;
  gui::testing::SetReportHook([&](const std::string& report) { reports.push_back(report); });
  std::shared_ptr<gui::TextField> field;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22));
    h.OnKeys(field);
  });
  w->consume = [](const std::string&) -> bool { throw gui::NilObjectException("filter failed"); };
  field->SetFocus();
  QTest::keyClick(Edit(*field), Qt::Key_5);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports.front().find("filter failed"), std::string::npos);
  EXPECT_EQ(field->Text(), "5");
  EXPECT_TRUE(gui::Quitting()) << "an unhandled error ends the run";
}

TEST_F(Controls, AnErrorInATimersActionIsReportedAndNothingFiresAfterIt) {
  std::vector<std::string> reports;
  gui::testing::SetReportHook([&](const std::string& report) { reports.push_back(report); });
  std::shared_ptr<gui::Timer> timer;
  auto w = Open([&](Host& h) {
    timer = h.Add<gui::Timer>("Timer", {{"Period", 10}, {"RunMode", 2}});
    h.OnTick(timer);
    // Set before the window opens: opening spins the event loop, and the first tick may come then.
    h.onTick = [] { throw std::logic_error("tick failed"); };
  });
  ASSERT_TRUE(testsupport::WaitFor([&] { return !reports.empty(); }, 2000));
  testsupport::Pump(100);
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_NE(reports.front().find("tick failed"), std::string::npos);
  EXPECT_EQ(w->ticks, 1);
  EXPECT_FALSE(timer->Pending());
}

// ---- lifetimes ------------------------------------------------------------------------------------

TEST_F(Controls, AControlUsedAfterItsWindowClosedDoesNoHarm) {
  std::shared_ptr<gui::TextField> field;
  std::shared_ptr<gui::TextArea> area;
  std::shared_ptr<gui::Canvas> canvas;
  std::shared_ptr<gui::Timer> timer;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22));
    area = h.Add<gui::TextArea>("Area", At(10, 40, 80, 40));
    canvas = h.Add<gui::Canvas>("Canvas", At(100, 10, 40, 40));
    timer = h.Add<gui::Timer>("Timer", {{"Period", 10}, {"RunMode", 2}});
    h.OnTick(timer);
  });
  field->SetFocus();
  QTest::keyClicks(Edit(*field), "42");
  const int ticksWhileOpen = w->ticks;  // the timer may fire while the test types
  w->Close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(W(*field), nullptr) << "the widget is gone";

  EXPECT_EQ(field->Text(), "42") << "what was typed last";
  field->Text("7");
  EXPECT_EQ(field->Text(), "7");
  field->Visible(false);
  EXPECT_FALSE(field->Visible());
  field->SetProperty("FontSize", 12);
  field->SetFocus();
  EXPECT_FALSE(field->HasFocus());
  EXPECT_FALSE(field->_TakesTabFocus());
  field->_ContentResized(300, 200, 400, 300);
  area->Text("a\nb");
  EXPECT_EQ(area->Text(), "a\rb");
  canvas->Backdrop(Solid(4, 4, Qt::red));
  canvas->Backdrop(nullptr);
  EXPECT_FALSE(timer->Pending());
  testsupport::Pump(50);
  EXPECT_EQ(w->ticks, ticksWhileOpen);
}

TEST_F(Controls, AWidgetOutlivingItsControlDoesNoHarm) {
  QPointer<QWidget> field, canvas;
  auto w = Open([&](Host& h) {
    // Made for the window but never registered: the control dies here, its widget stays.
    auto f = h.__New<gui::TextField>();
    f->Constructor();
    h.OnKeys(f);
    field = W(*f);
    auto c = h.__New<gui::Canvas>();
    c->Constructor();
    h.OnPress(c);
    canvas = W(*c);
    auto t = h.__New<gui::Timer>();
    t->Constructor();
    gui::_SetProperties(t, {{"Period", 5}, {"RunMode", 2}});
    h.OnTick(t);
  });
  ASSERT_TRUE(field && canvas);
  field->setFocus();
  QTest::keyClicks(field, "12");
  EXPECT_EQ(qobject_cast<QLineEdit*>(field.data())->text(), "12");
  EXPECT_TRUE(w->fieldKeys.empty());
  QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_TRUE(w->canvasPresses.empty());
  EXPECT_EQ(w->windowPresses.size(), 1u);
  testsupport::Pump(50);
  EXPECT_EQ(w->ticks, 0);
  for (QTimer* timer : gui::testing::ContentOf(*w)->findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
    EXPECT_FALSE(timer->isActive()) << "a timer stops with its control";
}

// ---- the UI thread --------------------------------------------------------------------------------

TEST_F(Controls, ControlOperationsOffTheUIThreadAreRefused) {
  std::shared_ptr<gui::TextField> field;
  std::shared_ptr<gui::Canvas> canvas;
  std::shared_ptr<gui::Timer> timer;
  auto w = Open([&](Host& h) {
    field = h.Add<gui::TextField>("Field", At(10, 10, 80, 22, {{"Value", "1"}}));
    canvas = h.Add<gui::Canvas>("Canvas", At(100, 10, 40, 40));
    timer = h.Add<gui::Timer>("Timer", {{"Period", 1000}, {"RunMode", 1}});
  });
  const std::pair<const char*, std::function<void()>> operations[] = {
      {"Text", [&] { field->Text("2"); }},
      {"Text()", [&] { (void)field->Text(); }},
      {"Visible", [&] { field->Visible(false); }},
      {"SetFocus", [&] { field->SetFocus(); }},
      {"Backdrop", [&] { canvas->Backdrop(nullptr); }},
      {"Pending", [&] { (void)timer->Pending(); }},
  };
  for (const auto& [what, operation] : operations) {
    bool refused = false;
    std::thread worker([&] {
      try {
        operation();
      } catch (const gui::ThreadAccessingUIException&) {
        refused = true;
      }
    });
    worker.join();
    EXPECT_TRUE(refused) << what;
  }
  EXPECT_EQ(Edit(*field)->text(), "1");
  EXPECT_TRUE(W(*field)->isVisible());
}

}  // namespace
