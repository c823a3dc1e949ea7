#include "app/SharedInstances.h"

#include "framework/Window.h"
#include "windows/AboutWnd.h"
#include "windows/ControlWnd.h"
#include "windows/MenuBar1.h"
#include "windows/helpWnd.h"

namespace mobrigan::implicit {

namespace {
// The one menu bar of the run: empty until the first request, then kept to the end of the run.
std::shared_ptr<mobrigan::MenuBar1> _implicitInstance;
}  // namespace

std::shared_ptr<mobrigan::ControlWnd> ControlWnd() { return gui::ImplicitInstance<mobrigan::ControlWnd>(); }

std::shared_ptr<mobrigan::AboutWnd> AboutWnd() { return gui::ImplicitInstance<mobrigan::AboutWnd>(); }

std::shared_ptr<mobrigan::helpWnd> helpWnd() { return gui::ImplicitInstance<mobrigan::helpWnd>(); }

std::shared_ptr<mobrigan::MenuBar1> MenuBar1() {
  if (!_implicitInstance) {
    // Stored only once it is built, so a build that failed is tried again on the next request.
    auto bar = std::make_shared<mobrigan::MenuBar1>();
    bar->Constructor();
    _implicitInstance = bar;
  }
  return _implicitInstance;
}

}  // namespace mobrigan::implicit
