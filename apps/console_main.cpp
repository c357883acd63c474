// verbonik-console: the dialogue in a terminal, over the same session as
// the desktop program.

#include <string_view>
#include <vector>

#include "console/console_app.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  return vb::runConsole(args);
}
