// Helpers for the GUI suites: counting beeps, answering modal message boxes, resources of a
// test's own, pumping events, naming table cases.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QTimer;

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

// Processes pending events for `ms` milliseconds.
void Pump(int ms = 0);
// Processes events until `done` holds or `ms` milliseconds have passed; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);

}  // namespace testsupport
