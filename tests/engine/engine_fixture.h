#pragma once
// What the engine tests share: UTF-8 test text turned into Windows-1251, a
// knowledge-base folder per test, a random source that records the draws it
// is asked for, and a TurnEffects that records what the turn did.

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/disk_file_store.h"
#include "engine/random_source.h"
#include "engine/text.h"
#include "engine/turn.h"
#include "temp_folder.h"

namespace vb::testing {

inline std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

// A store whose clock can run ahead of the real one, so that files just
// written count as settled (FileStamp::settled) and their stamps are trusted.
class ClockedStore : public DiskFileStore {
 public:
  using DiskFileStore::DiskFileStore;
  std::int64_t aheadNs = 0;

 protected:
  std::int64_t clockNs() const override { return DiskFileStore::clockNs() + aheadNs; }
};

// A knowledge-base folder; lines go in and come out as UTF-8.
class Kb {
 public:
  Kb() : store_(dir_.path(), false) {}

  void put(const std::string& name, std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (auto line : lines) bytes += w(line) + "\r\n";
    dir_.put(name, bytes);
  }
  void putRaw(const std::string& name, std::string_view bytes) { dir_.put(name, bytes); }
  std::vector<std::string> lines(const std::string& name) {
    std::vector<std::string> out;
    for (const auto& line : store_.readLines(name)) out.push_back(cp1251ToUtf8(line));
    return out;
  }
  std::string raw(const std::string& rel) const { return dir_.get(rel); }
  bool has(const std::string& rel) const { return dir_.has(rel); }
  void remove(const std::string& rel) const { std::filesystem::remove(dir_.path() / rel); }

  DiskFileStore& store() { return store_; }
  // From now on the files count as written long ago.
  void settle() { store_.aheadNs = 10'000'000'000; }
  const TempFolder& dir() const { return dir_; }

 private:
  TempFolder dir_;
  ClockedStore store_;
};

// Yields the queued values (each taken modulo n, 0 when none is left) and
// records every request as "R<n>=<value>" and every reseed as "reseed".
class TraceRandom final : public RandomSource {
 public:
  TraceRandom() = default;
  TraceRandom(std::initializer_list<int> values) : values_(values) {}
  int random(int n) override {
    int v = 0;
    if (!values_.empty()) {
      v = values_.front();
      values_.pop_front();
    }
    v = n > 0 ? v % n : 0;
    trace.push_back(
        std::string("R").append(std::to_string(n)).append("=").append(std::to_string(v)));
    return v;
  }
  void reseed() override { trace.push_back("reseed"); }
  void push(int v) { values_.push_back(v); }

  std::vector<std::string> trace;

 private:
  std::deque<int> values_;
};

// Records the turn's effects in order, phrases in UTF-8.
class RecordingEffects final : public TurnEffects {
 public:
  void busyCursor(bool on) override { log.push_back(on ? "busy" : "idle"); }
  void playUserSound() override { log.push_back("MP2"); }
  void showUserLine(const std::string& phrase) override {
    log.push_back("USER " + cp1251ToUtf8(phrase));
  }
  void playCpuSound() override { log.push_back("MP5"); }
  void showCpuLine(const std::string& phrase) override {
    log.push_back("CPU " + cp1251ToUtf8(phrase));
  }
  void setClosingTimer(bool enabled) override { log.push_back(enabled ? "T4 on" : "T4 off"); }
  void startDelayedTimer() override { log.push_back("T13 on"); }
  void setFollowUpTimer(bool enabled) override { log.push_back(enabled ? "T9 on" : "T9 off"); }

  std::vector<std::string> log;
};

class NullEffects final : public TurnEffects {
 public:
  void busyCursor(bool) override {}
  void playUserSound() override {}
  void showUserLine(const std::string&) override {}
  void playCpuSound() override {}
  void showCpuLine(const std::string&) override {}
  void setClosingTimer(bool) override {}
  void startDelayedTimer() override {}
  void setFollowUpTimer(bool) override {}
};

}  // namespace vb::testing
