// The bench's floor: the least a Qt 6 Widgets program does to show what the calculator shows at
// start. A first window with one line edit (so the font, the style and text rendering are
// loaded, as the splash's labels load them), and on any key press a second window of the main
// window's size with one line edit, shown in its place. Closing the second window ends the run.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace {

class HandOver : public QObject {
 public:
  HandOver(QWidget* first, QWidget* second) : first_(first), second_(second) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && first_->isVisible()) {
      first_->hide();
      second_->show();
      second_->activateWindow();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* first_;
  QWidget* second_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);

  QWidget first;
  first.setFixedSize(447, 218);
  QLineEdit firstEdit(&first);
  firstEdit.setGeometry(165, 48, 262, 43);

  QWidget second;
  second.setFixedSize(550, 500);
  second.setWindowTitle(QStringLiteral("floor"));
  QLineEdit secondEdit(&second);
  secondEdit.setGeometry(112, 190, 80, 22);
  secondEdit.setMaxLength(7);

  HandOver handOver(&first, &second);
  app.installEventFilter(&handOver);
  // The first window is hidden by the hand-over, so the second one's close ends the run.
  struct Quitter : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Close) QCoreApplication::quit();
      return false;
    }
  } quitter;
  second.installEventFilter(&quitter);

  first.show();
  first.activateWindow();
  return app.exec();
}
