#pragma once
// A folder's files as bytes, and what makes a knowledge-base file well
// formed, for checks after a crash or a fault.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace vb::robust {

// Regular files of a folder by entry name. The disk store's temporary files
// are left out unless `withTemps`.
using FolderBytes = std::map<std::string, std::string>;
FolderBytes readFolder(const std::filesystem::path& dir, bool withTemps = false);
void writeFolder(const std::filesystem::path& dir, const FolderBytes& files);

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

// The name the disk store gives a file it is writing before the rename:
// ".vb<pid>-<n>.tmp". Such a file is never opened by a knowledge-base name.
bool isStoreTemp(std::string_view entry);
// Store temporaries left in `dir` (by a writer that was killed).
int countStoreTemps(const std::filesystem::path& dir);

// What is wrong with a knowledge-base file, or "" when it is well formed:
// not empty, every line ended by CR LF with no other CR or LF, and in
// Words.Dat (any letter case) every line holding a '^'.
std::string malformation(std::string_view entry, std::string_view bytes);

// The number of lines of well-formed bytes.
std::size_t lineCount(std::string_view bytes);

}  // namespace vb::robust
