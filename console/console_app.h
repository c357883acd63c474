#pragma once
// verbonik-console from its command line to its exit status.

#include <string_view>
#include <vector>

namespace vb {

// `args` are the arguments after the program's name.
int runConsole(const std::vector<std::string_view>& args);

}  // namespace vb
