#include "framework/Delegate.h"

#include "framework/Controls.h"
#include "framework/Runtime.h"

namespace gui {

void RuntimeAddEventHandler(const std::shared_ptr<Control>& control, int event, const std::shared_ptr<Delegate>& handler) {
  CheckUIThread();
  if (!control) throw NilObjectException("an event handler was added to a nil control");
  if (!handler) throw NilObjectException("a nil delegate was added as an event handler");
  const EventSpec* declared = control->FindEvent(event);
  if (!declared) throw EventBindingException(control->ClassName() + " has no event " + std::to_string(event));
  if (handler->Signature() != declared->signature)
    throw EventBindingException(control->ClassName() + "." + declared->name + " takes a handler \"" + declared->signature +
                                "\", not \"" + handler->Signature() + "\"");
  control->AddHandler(event, handler);
}

}  // namespace gui
