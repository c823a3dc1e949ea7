// The bench's in-process part: the real main window, offscreen, through many Compute/Clear
// cycles and many help window open/close cycles, with the memory the process holds before and
// after. Growth that stays after the caches have filled would be a leak: every cycle ends where
// it began.
//
//   bench_cycles [COMPUTE_CYCLES [HELP_CYCLES]]     (10000 and 500 by default)
#include <malloc.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/SharedInstances.h"
#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Runtime.h"
#include "framework/Testing.h"
#include "windows/ControlWnd.h"
#include "windows/helpWnd.h"

namespace {

// Resident memory in KiB, from /proc.
long RssKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

// Heap bytes in use, which moves only with what the program allocates and frees.
long HeapKiB() { return static_cast<long>(mallinfo2().uordblks / 1024); }

// The offscreen platform warns at every raise of a window; a bench run would print thousands.
void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtDebugMsg && type != QtInfoMsg && !message.contains(QStringLiteral("does not support raise")))
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  malloc_trim(0);
}

void Press(const std::shared_ptr<gui::Canvas>& canvas) {
  QWidget* w = gui::testing::WidgetOf(*canvas);
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}

struct Sample {
  long rss, heap;
};
Sample Take() {
  Settle();
  return {RssKiB(), HeapKiB()};
}

void Report(const char* what, int cycles, const Sample& from, const Sample& to, double ms) {
  std::printf("%-28s %6d cycles  %7.1f ms  resident %+7ld KiB (%ld -> %ld)  heap %+7ld KiB\n", what, cycles, ms,
              to.rss - from.rss, from.rss, to.rss, to.heap - from.heap);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const int computeCycles = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int helpCycles = argc > 2 ? std::atoi(argv[2]) : 500;

  qInstallMessageHandler(Quiet);
  gui::RuntimeInit();
  QApplication app(argc, argv);
  gui::_RuntimeRegisterAppObject(std::make_shared<gui::Application>());
  gui::_RunFrameworkInitialization(nullptr);
  auto wnd = mobrigan::implicit::ControlWnd();
  if (!QTest::qWaitForWindowExposed(gui::testing::WidgetOf(*wnd))) {
    std::fprintf(stderr, "bench_cycles: the main window did not show\n");
    return 1;
  }

  // Every cycle's inputs are valid: a message box means the cycle went wrong, and nobody is
  // there to answer it.
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      std::fprintf(stderr, "bench_cycles: a modal window opened (%s)\n", qPrintable(modal->windowTitle()));
      std::exit(1);
    }
  });
  watchdog.start(100);

  const char* const inputs[][3] = {{"0.8", "0.7", "0.5"}, {".91", "1", "-.25"}, {"0", "0", ".999"}, {"0.5", "0.5", "1"}};
  auto computeCycle = [&](int i) {
    const auto& in = inputs[i % 4];
    QTest::keyClicks(gui::testing::WidgetOf(*wnd->RxxFld()), in[0]);
    QTest::keyClicks(gui::testing::WidgetOf(*wnd->RyyFld()), in[1]);
    QTest::keyClicks(gui::testing::WidgetOf(*wnd->RxyFld()), in[2]);
    Press(wnd->ComputeCanvas());
    if (wnd->RdFld()->Text().empty()) {
      std::fprintf(stderr, "bench_cycles: Compute showed no result for %s %s %s\n", in[0], in[1], in[2]);
      std::exit(1);
    }
    Press(wnd->ClearCanvas());
    if (i % 64 == 0) QCoreApplication::processEvents();
  };
  auto helpCycle = [&] {
    Press(wnd->Help());
    auto help = gui::_GetImplicitWindow("helpWnd.helpWnd");
    if (!help || !help->Visible()) {
      std::fprintf(stderr, "bench_cycles: Help opened no window\n");
      std::exit(1);
    }
    gui::testing::WidgetOf(*help)->close();  // as the user closes it
    help.reset();
    Settle();
  };

  // A first round fills what is filled once (fonts, glyph caches, the style's pixmaps).
  for (int i = 0; i < 200; ++i) computeCycle(i);
  for (int i = 0; i < 20; ++i) helpCycle();

  QElapsedTimer clock;
  const Sample start = Take();
  clock.start();
  for (int i = 0; i < computeCycles; ++i) computeCycle(i);
  const double computeMs = static_cast<double>(clock.elapsed());
  const Sample afterCompute = Take();
  clock.restart();
  for (int i = 0; i < helpCycles; ++i) helpCycle();
  const double helpMs = static_cast<double>(clock.elapsed());
  const Sample afterHelp = Take();

  Report("Compute/Clear", computeCycles, start, afterCompute, computeMs);
  Report("help window open/close", helpCycles, afterCompute, afterHelp, helpMs);
  Report("both", computeCycles + helpCycles, start, afterHelp, computeMs + helpMs);
  std::printf("top-level widgets left: %d\n", static_cast<int>(QApplication::topLevelWidgets().size()));
  const long growth = afterHelp.rss - start.rss;
  std::printf("growth %ld KiB: %s (aim: under 1 MiB)\n", growth, growth < 1024 ? "aim met" : "aim MISSED");
  wnd.reset();
  gui::testing::ResetRuntime();
  return 0;
}
