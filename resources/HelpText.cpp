#include "resources/HelpText.h"

#include <cstddef>

// Defined in HelpTextData.cpp, which the build generates from resources/HelpText.txt.
namespace mobrigan::generated {
extern const unsigned char kHelpTextBytes[];
extern const std::size_t kHelpTextSize;
}  // namespace mobrigan::generated

namespace mobrigan {

std::string_view HelpText() {
  // The array holds the file's bytes and nothing after them: no terminating NUL to cut off.
  return {reinterpret_cast<const char*>(generated::kHelpTextBytes), generated::kHelpTextSize};
}

}  // namespace mobrigan
