#include "session/speed_word.h"

#include "engine/text.h"
#include "session/texts.h"

namespace vb {

bool isSpeedSeparator(char c) {
  return c == ' ' || c == ',' || c == '.' || c == '!' || c == '?';
}

std::string speedSearch(const Lines& dictionary, const std::string& input, SharedState& state) {
  if (!input.empty() && !isSpeedSeparator(input.back())) {
    std::size_t start = input.size();
    while (start > 0 && !isSpeedSeparator(input[start - 1])) --start;
    state.SpeedFragment = input.substr(start);
    const std::string fragment = upper1251(state.SpeedFragment);
    const std::size_t length = fragment.size();
    const auto count = static_cast<std::int64_t>(dictionary.size());
    while (true) {
      state.SpeedIndex = wrappingAdd(state.SpeedIndex, 1);
      state.SpeedCompletion.clear();
      if (state.SpeedIndex < 0 || state.SpeedIndex >= count) break;
      const std::string& entry = dictionary[static_cast<std::size_t>(state.SpeedIndex)];
      if (entry.size() >= length &&
          upper1251(std::string_view(entry).substr(0, length)) == fragment) {
        state.SpeedCompletion = entry.substr(length);
        return entry;
      }
    }
  }
  state.SpeedIndex = -1;
  return std::string(texts::kNone);
}

const std::string& speedHookMove(const Lines& dictionary, HookKey key, SharedState& state) {
  if (key == HookKey::Up) state.SpeedIndex = wrappingAdd(state.SpeedIndex, -2);
  if (key == HookKey::Down) state.SpeedIndex = wrappingAdd(state.SpeedIndex, 1);
  const auto count = static_cast<std::int64_t>(dictionary.size());
  if (state.SpeedIndex >= count) state.SpeedIndex = static_cast<std::int32_t>(count - 1);
  if (state.SpeedIndex < 0) state.SpeedIndex = 0;
  return dictionary[static_cast<std::size_t>(state.SpeedIndex)];
}

}  // namespace vb
