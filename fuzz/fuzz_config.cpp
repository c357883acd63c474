// Config.ini as the program reads it at start: the configuration list,
// every line's value, the settings applied in order; then the editor's OK
// stores a path under Adres and saves, and the saved file reads back as
// the same list.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "engine/failure.h"
#include "engine/line_split.h"
#include "fuzz_check.h"
#include "memory_store.h"
#include "session/config.h"
#include "session/settings.h"

namespace {

using vb::fuzz::check;

class Sink final : public vb::SettingsSink {
 public:
  void setColour(vb::ColourTarget, vb::Colour) override { ++calls; }
  void setUserStyle(const vb::LineStyle& s) override { style(s); }
  void setCpuStyle(const vb::LineStyle& s) override { style(s); }
  void setMyStringPreset(const vb::FontPreset& p) override {
    check(p.fontName.size() <= 31, "a face name keeps at most 31 characters");
    ++calls;
  }
  int calls = 0;

 private:
  void style(const vb::LineStyle& s) {
    check(s.fontName.size() <= 31, "a face name keeps at most 31 characters");
    ++calls;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string path = in.ConsumeRandomLengthString(80);
  vb::fuzz::MemoryStore files;
  files.put("Config.ini", in.ConsumeRemainingBytesAsString());

  vb::ConfigList config = vb::ConfigList::load(files);
  for (int n = 0; n <= 40; ++n) {
    try {
      const std::string value = config.value(n);
      check(value.find_first_of("\r\n") == std::string::npos, "a value is on one line");
    } catch (const vb::Failure& failure) {
      check(vb::fuzz::ownMessage(failure.what()), "a failure is one of the program's messages");
    }
  }
  Sink sink;
  try {
    vb::applySettings(config, sink);
  } catch (const vb::Failure& failure) {
    check(vb::fuzz::ownMessage(failure.what()), "a failure is one of the program's messages");
  }
  (void)vb::parseFontStyle(path);

  const std::size_t before = config.lines().size();
  config.storeAdres(path);
  const std::size_t after = config.lines().size();
  check(after + 1 >= before && after <= before + 1, "storing the path changes one line at most");
  config.save(files);
  if (path.find_first_of("\r\n") == std::string::npos) {
    const vb::ConfigList reread = vb::ConfigList::load(files);
    check(reread.lines() == config.lines(), "the saved file reads back as the list");
  }
  return 0;
}
