// Helpers for the GUI suites: counting beeps, answering modal message boxes, resources of a
// test's own, pumping events, naming table cases.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QLineEdit;
class QMenu;
class QTimer;
class QWidget;

namespace testsupport {

// Counts the layer's beeps while it lives.
class BeepCounter {
 public:
  BeepCounter();
  ~BeepCounter();
  int count() const { return count_; }

 private:
  int count_ = 0;
};

// While it lives, every modal message box that opens is read and dismissed with OK. Arm it
// before the action that opens the box (the box runs its own event loop inside that action).
class ModalAnswerer {
 public:
  ModalAnswerer();
  ~ModalAnswerer();
  const QStringList& texts() const { return texts_; }

 private:
  QTimer* timer_;
  QStringList texts_;
};

// While it lives, the resources in the binary resource file `path` (a .rcc) are part of the
// application's, at the paths they were compiled with.
class ResourceFile {
 public:
  explicit ResourceFile(const QString& path);
  ~ResourceFile();
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;
  bool registered() const { return registered_; }

 private:
  QString path_;
  bool registered_;
};

// A case's description as a test name: every character but a letter or digit becomes '_'.
std::string CaseName(const char* what);

// The Menu key pressed on `to` as it comes under X: first a context-menu request from the
// keyboard, then the key press and release, which go wherever the focus is by then (into the
// menu, once one is open).
void MenuKeyAsX(QWidget* to);
// Paste chosen in the menu that a right click on the field opens (a read-only field's menu has
// none: the menu just closes again).
void PasteByContextMenu(QLineEdit* edit);
// The context menu that is open, if any; closing it.
QMenu* OpenMenu();
void CloseMenu();

// Processes pending events for `ms` milliseconds.
void Pump(int ms = 0);
// Processes events until `done` holds or `ms` milliseconds have passed; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);

}  // namespace testsupport
