#pragma once
// The desktop program's command line, read before Qt starts so that --help,
// --version and a bad option work without a display: "--dir FOLDER",
// "-h"/"--help", "-V"/"--version", and Qt's own options, which are left for
// QApplication.

#include <optional>
#include <string>

namespace vb {

struct GuiOptions {
  std::string dir;  // empty: the folder is found as usual
};

// Reads the options and takes the program's own out of argv (argc shrinks),
// leaving the program's name and Qt's options for QApplication. Returns the
// exit status when the program should end at once: 0 after printing the
// help or the version, 2 after a bad command line, 1 when the folder given
// by --dir is unusable (each message on standard output or standard error).
std::optional<int> takeGuiOptions(int& argc, char** argv, GuiOptions& options);

}  // namespace vb
