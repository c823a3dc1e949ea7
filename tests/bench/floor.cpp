// The bench's floor: the least a Qt 6 Widgets program does to show what the calculator shows at
// start. A first window with one line edit, shown at once; on any key press it hides and a second
// window of the main window's size, with one line edit, is made and shown in its place (made
// then, as the calculator makes its main window at the hand-over). Closing it ends the run.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <memory>

namespace {

class Floor : public QObject {
 public:
  Floor() {
    first_.setFixedSize(447, 218);
    firstEdit_.setGeometry(165, 48, 262, 43);
    first_.show();
    first_.activateWindow();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && first_.isVisible()) {
      first_.hide();
      second_ = std::make_unique<QWidget>();
      second_->setFixedSize(550, 500);
      second_->setWindowTitle(QStringLiteral("floor"));
      auto* edit = new QLineEdit(second_.get());
      edit->setGeometry(112, 190, 80, 22);
      edit->setMaxLength(7);
      second_->installEventFilter(this);
      second_->show();
      second_->activateWindow();
      return true;
    }
    // The first window is hidden by then, so the second one's close ends the run.
    if (event->type() == QEvent::Close && second_ && watched == second_.get()) QCoreApplication::quit();
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget first_;
  QLineEdit firstEdit_{&first_};
  std::unique_ptr<QWidget> second_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  Floor floor;
  app.installEventFilter(&floor);
  return app.exec();
}
