// The shared instances: one main window, one splash window, one help window and one menu bar per
// run, each reached through the accessor that bears its class's name. A window accessor returns
// the open window of its class, shown or hidden, or builds a new one (which shows itself); the
// menu bar is made on the first request and kept to the end of the run.
#pragma once

#include <memory>

namespace mobrigan {
class ControlWnd;
class AboutWnd;
class helpWnd;
class MenuBar1;
}  // namespace mobrigan

namespace mobrigan::implicit {

std::shared_ptr<mobrigan::ControlWnd> ControlWnd();
std::shared_ptr<mobrigan::AboutWnd> AboutWnd();
std::shared_ptr<mobrigan::helpWnd> helpWnd();
std::shared_ptr<mobrigan::MenuBar1> MenuBar1();

}  // namespace mobrigan::implicit
