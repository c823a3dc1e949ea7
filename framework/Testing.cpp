#include "framework/Testing.h"

#include <QWidget>

#include "framework/Controls.h"
#include "framework/Window.h"
#include "framework/internal/RunState.h"

namespace gui::testing {

QWidget* WidgetOf(const Window& window) { return window._Widget(); }
QWidget* ContentOf(const Window& window) { return window._Content(); }
QWidget* WidgetOf(const Control& control) { return qobject_cast<QWidget*>(control._Native()); }

void SetBeepHook(std::function<void()> hook) { internal::State().beepHook = std::move(hook); }
void SetReportHook(std::function<void(const std::string&)> hook) { internal::State().reportHook = std::move(hook); }

void ResetRuntime() {
  auto& s = internal::State();
  internal::DestroyAllWindows();
  s.quitting = false;
  s.unhandled = false;
  s.reporting = false;
  s.exitStatus = 0;
  s.app.reset();
}

}  // namespace gui::testing
