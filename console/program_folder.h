#pragma once
// The program folder: the console works in it exactly as the desktop
// program works beside its files, so relative names (Base\..., Config.ini,
// a partner file named without a folder) are taken from it.

#include <string>

#include "engine/disk_file_store.h"

namespace vb {

// Makes `dir` the working directory (nothing to do when it is empty).
// Returns what is wrong, in words for the user, or an empty text.
std::string enterFolder(const std::string& dir);

// Whether the working directory can hold a dialogue: a folder Base with a
// readable Words.Dat (names in any letter case). Returns what is wrong, or
// an empty text. `shownName` names the folder in the message.
std::string checkProgramFolder(DiskFileStore& files, const std::string& shownName);

}  // namespace vb
