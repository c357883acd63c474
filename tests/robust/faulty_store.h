#pragma once
// A FileStore in front of another one that fails chosen calls the way a
// machine fails them: a read as "Cannot open file <name>" (missing,
// unreadable, vanished), a write as "Cannot create file <name>" (full disk,
// read-only folder, no right to create). A failed write leaves the file as
// it was, as the disk store does. Hooks let a test change the real folder
// between two uses, or watch what was written.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "engine/file_store.h"

namespace vb::robust {

class FaultyStore final : public FileStore {
 public:
  enum class Op { Read, Write };

  explicit FaultyStore(FileStore& inner) : inner_(inner) {}

  // From now on, calls number `first`.. `first + count - 1` (from 1) of
  // `op` on `name` (any letter case) fail; count -1 fails every one from
  // `first` on. Replaces an earlier rule for the same op and name.
  void fail(Op op, std::string_view name, int first = 1, int count = -1);
  void heal(Op op, std::string_view name);
  void healAll() { rules_.clear(); }

  // Runs before each read or write reaches the inner store (with the number
  // of that call, from 1, counted since the store was made).
  std::function<void(Op op, const std::string& name, int number)> before;
  // Runs after each write that reached the inner store.
  std::function<void(const std::string& name)> written;

  int faults() const { return faults_; }
  int calls(Op op, std::string_view name) const;

  Lines readLines(std::string_view name) override;
  void writeLines(std::string_view name, const Lines& lines) override;
  void update(std::string_view name, const std::function<bool(Lines&)>& change) override;
  std::shared_ptr<const std::string> readText(std::string_view name) override;
  void updateText(std::string_view name, const TextChange& change) override;

 private:
  struct Rule {
    int first = 1;
    int count = -1;
    int seen = 0;
  };
  static std::string key(Op op, std::string_view name);
  // Counts the call and throws when a rule says it fails.
  void enter(Op op, std::string_view name);

  FileStore& inner_;
  std::map<std::string, Rule> rules_;
  std::map<std::string, int> calls_;
  int faults_ = 0;
};

}  // namespace vb::robust
