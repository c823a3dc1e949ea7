#include "framework/Delegate.h"

#include "framework/Controls.h"
#include "framework/Runtime.h"

namespace gui {

void RuntimeAddEventHandler(const std::shared_ptr<Control>& control, int event, const std::shared_ptr<Delegate>& handler) {
  CheckUIThread();
  if (!control) throw NilObjectException("an event handler was added to a nil control");
  if (!handler) throw NilObjectException("a nil delegate was added as an event handler");
  const EventSpec* spec = control->FindEvent(event);
  if (!spec) throw EventBindingException(control->ClassName() + " has no event " + std::to_string(event));
  if (handler->Signature() != spec->signature)
    throw EventBindingException(control->ClassName() + "." + spec->name + " takes a handler \"" + spec->signature +
                                "\", not \"" + handler->Signature() + "\"");
  control->AddHandler(event, handler);
}

}  // namespace gui
