// Test main for the GUI suites: one QApplication for the process, on the offscreen platform
// unless the caller chose another, so a hand run behaves like ctest's.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "framework/Runtime.h"

namespace {
// The offscreen platform cannot raise windows and says so on every Show; that says nothing
// about the program, so keep it out of the test logs.
QtMessageHandler g_previous = nullptr;
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  if (g_previous) g_previous(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
  g_previous = qInstallMessageHandler(FilterMessages);
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  gui::RuntimeInit();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
