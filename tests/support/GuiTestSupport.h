// Helpers for the GUI suites: counting beeps, answering modal message boxes, pumping events.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

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

// Processes pending events for `ms` milliseconds.
void Pump(int ms = 0);
// Processes events until `done` holds or `ms` milliseconds have passed; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);

}  // namespace testsupport
