#pragma once
// The console's own texts (UTF-8): usage, version and the command list.

#include <string>

namespace vb {

std::string usageText();
std::string versionText();
std::string commandsText();

}  // namespace vb
