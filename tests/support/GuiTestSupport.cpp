#include "support/GuiTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QResource>
#include <QTest>
#include <QTimer>

#include <cctype>

#include "framework/Testing.h"

namespace testsupport {

BeepCounter::BeepCounter() {
  gui::testing::SetBeepHook([this] { ++count_; });
}
BeepCounter::~BeepCounter() { gui::testing::SetBeepHook({}); }

ModalAnswerer::ModalAnswerer() : timer_(new QTimer) {
  timer_->setInterval(10);
  QObject::connect(timer_, &QTimer::timeout, [this] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    texts_ << box->text();
    if (auto* ok = box->button(QMessageBox::Ok)) ok->click();
    else box->close();
  });
  timer_->start();
}
ModalAnswerer::~ModalAnswerer() { delete timer_; }

ResourceFile::ResourceFile(const QString& path)
    : path_(path), registered_(QResource::registerResource(path)) {}
ResourceFile::~ResourceFile() {
  if (registered_) QResource::unregisterResource(path_);
}

std::string CaseName(const char* what) {
  std::string name;
  for (const char* p = what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

void MenuKeyAsX(QWidget* to) {
  const QPoint at = to->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
  QContextMenuEvent request(QContextMenuEvent::Keyboard, at, to->mapToGlobal(at));
  QApplication::sendEvent(to, &request);
  QWidget* focus = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
  if (focus) QTest::keyClick(focus, Qt::Key_Menu);
}

void PasteByContextMenu(QLineEdit* edit) {
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(edit, &click);
  if (QMenu* menu = OpenMenu()) {
    for (QAction* action : menu->actions())
      if (action->text().startsWith(QStringLiteral("&Paste"))) action->trigger();
  }
  CloseMenu();
}

QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

void CloseMenu() {
  if (QMenu* menu = OpenMenu()) menu->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Pump(int ms) {
  QElapsedTimer clock;
  clock.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  } while (clock.elapsed() < ms);
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return done();
}

}  // namespace testsupport
