#include "app/Mobrigan.h"

namespace mobrigan {

// Nothing to set up: the start-up gives the object its version data and menu bar.
void Mobrigan::Constructor() {}

}  // namespace mobrigan
