#pragma once
// The program's folder as the engine sees it: files named the way the
// program names them ("Base\Words.Dat", "Config.ini"), read whole as lines
// and written whole. Injected, so tests can use a temporary folder or a
// store that fails on purpose.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text_pieces.h"

namespace vb {

using Lines = std::vector<std::string>;

class FileStore {
 public:
  virtual ~FileStore() = default;

  // The whole file as lines (CR LF, CR or LF end a line). Throws Failure
  // "Cannot open file <name>" when it is missing or unreadable.
  virtual Lines readLines(std::string_view name) = 0;

  // Replaces the file by `lines`, each followed by CR LF. Throws Failure
  // "Cannot create file <name>"; the old content then stays intact.
  virtual void writeLines(std::string_view name, const Lines& lines) = 0;

  // Read-modify-write of an existing file, holding an exclusive lock on it
  // so that two programs sharing the folder lose nothing. `change` edits
  // the lines and returns whether they must be written back. Throws as
  // readLines and writeLines do; a Failure thrown by `change` passes
  // through with nothing written.
  virtual void update(std::string_view name, const std::function<bool(Lines&)>& change) = 0;

  // The whole file as bytes, for scanning it without splitting it into
  // lines first. Throws as readLines does. The default joins readLines.
  virtual std::shared_ptr<const std::string> readText(std::string_view name);

  // update() on bytes: `change` gets the file's bytes and returns the new
  // bytes (every line followed by CR LF; pieces may be views of the bytes
  // it got), or nothing to leave the file as it is. Same lock and failures
  // as update(). The default goes through update().
  using TextChange = std::function<std::optional<TextPieces>(const std::string&)>;
  virtual void updateText(std::string_view name, const TextChange& change);
};

}  // namespace vb
