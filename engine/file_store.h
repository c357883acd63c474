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

#include "engine/file_stamp.h"
#include "engine/page_memory.h"
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
  // Throws as readText would when the file cannot be read, without reading
  // all of it. The default reads it.
  virtual void checkReadable(std::string_view name);

  // update() on bytes: `change` gets the file's bytes and returns the new
  // bytes (every line followed by CR LF; pieces may be views of the bytes
  // it got), or nothing to leave the file as it is. Same lock and failures
  // as update(). The default goes through update().
  using TextChange = std::function<std::optional<TextPieces>(const std::string&)>;
  virtual void updateText(std::string_view name, const TextChange& change);

  // Stamps let a caller keep what it made of a file's bytes and see at the
  // next use, without reading, whether the file is still the same. A store
  // without them (the default) returns nothing, and callers read afresh.
  //
  // The file's stamp now; nothing when it is missing or the store has none.
  virtual std::optional<FileStamp> stamp(std::string_view name);
  // readText, with the stamp of the bytes read (none when the file changed
  // while it was read).
  struct StampedText {
    std::shared_ptr<const FileBytes> bytes;
    std::optional<FileStamp> stamp;
  };
  virtual StampedText readStamped(std::string_view name);
  // A write decided on the file's stamp alone: under the lock that update()
  // takes, `change` gets the file's stamp now and returns the new bytes, or
  // nothing to leave the file as it is. Returns the stamp of the file as
  // written; nothing when nothing was written. The default has no stamps
  // and writes nothing.
  using StampedChange = std::function<std::optional<TextPieces>(const std::optional<FileStamp>&)>;
  virtual std::optional<FileStamp> updateStamped(std::string_view name,
                                                 const StampedChange& change);
};

}  // namespace vb
