#pragma once
// The temporary files of the disk store: a file's new bytes are written to
// ".vb<pid>-<n>.tmp" in its folder (pid: the writer's process), then renamed
// over the file. A writer killed in between leaves its temporary file, a
// full copy of the file, behind.

#include <sys/types.h>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

std::string tempFileName(pid_t writer, unsigned long long n);

// The writer's process id when `entry` is the name of such a file.
std::optional<pid_t> tempFileWriter(std::string_view entry);

// Removes the temporary files of `dir` whose writer is gone: its process no
// longer exists, or it is this process (whose own writes are never under way
// while it holds the folder's lock; the file is then a former process's that
// had the same id). The caller holds the folder's lock. Returns how many
// were removed.
int removeOrphanedTempFiles(const std::filesystem::path& dir);

}  // namespace vb
