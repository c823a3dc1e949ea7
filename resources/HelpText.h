// The help window's text, compiled into the program from resources/HelpText.txt.
#pragma once

#include <string_view>

namespace mobrigan {

// UTF-8, 17 lines separated by a single CR each, no line end after the last line.
std::string_view HelpText();

}  // namespace mobrigan
