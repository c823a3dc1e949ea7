// A fresh main window for each case, and the few ways a user touches it: typing into a control,
// pressing a picture button, and reading where the focus is.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPoint>
#include <QString>
#include <QTest>
#include <QWidget>
#include <memory>

#include "app/SharedInstances.h"
#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "support/GuiTestSupport.h"
#include "windows/ControlWnd.h"

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The layer runs as it does in the program: an application object, the framework started,
    // and the program (not Qt) deciding when it quits.
    if (!gui::App()) gui::_RuntimeRegisterAppObject(std::make_shared<gui::Application>());
    gui::_RunFrameworkInitialization(nullptr);
  }

  void SetUp() override {
    gui::testing::ResetRuntime();
    wnd = mobrigan::implicit::ControlWnd();
    ASSERT_TRUE(QTest::qWaitForWindowActive(gui::testing::WidgetOf(*wnd)));
  }

  void TearDown() override {
    wnd.reset();
    gui::testing::ResetRuntime();
  }

  static QWidget* W(const std::shared_ptr<gui::Control>& control) { return gui::testing::WidgetOf(*control); }
  static QLineEdit* Edit(const std::shared_ptr<gui::TextField>& field) { return qobject_cast<QLineEdit*>(W(field)); }

  // Real key clicks, one per character, into the control's widget.
  static void Type(const std::shared_ptr<gui::Control>& control, const QString& text) {
    QTest::keyClicks(W(control), text);
  }

  // A real mouse press (and release) inside the canvas.
  static void Press(const std::shared_ptr<gui::Canvas>& canvas, QPoint at = QPoint(10, 10)) {
    QTest::mousePress(W(canvas), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(W(canvas), Qt::LeftButton, Qt::NoModifier, at);
  }

  // Gives the focus to the control as a click would, and waits until it has it.
  static void Focus(const std::shared_ptr<gui::RectControl>& control) {
    control->SetFocus();
    testsupport::WaitFor([&] { return QApplication::focusWidget() == W(control); }, 2000);
  }

  // Waits for the focus to settle on the control. The offscreen platform, like a bare X server,
  // activates no window when a message box closes; a desktop's window manager gives the
  // activation back to the main window, and that is done here first.
  static bool FocusEndsIn(const std::shared_ptr<gui::Control>& control) {
    QWidget* window = W(control)->window();
    if (!QApplication::activeWindow()) {
      window->activateWindow();
      (void)QTest::qWaitForWindowActive(window, 2000);
    }
    return testsupport::WaitFor([&] { return QApplication::focusWidget() == W(control); }, 2000);
  }

  std::shared_ptr<mobrigan::ControlWnd> wnd;
};
