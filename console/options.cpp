#include "console/options.h"

#include <charconv>

namespace vb {
namespace {

std::optional<std::uint32_t> parseSeed(std::string_view text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// Seconds between input lines: a number from 0 to a day, with a decimal point.
std::optional<double> parsePace(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || !(value >= 0) || value > 86400)
    return std::nullopt;
  return value;
}

ConsoleOptions failed(std::string message) {
  ConsoleOptions o;
  o.action = ConsoleOptions::Action::Error;
  o.error = std::move(message);
  return o;
}

}  // namespace

ConsoleOptions parseOptions(const std::vector<std::string_view>& args) {
  ConsoleOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "-h" || arg == "--help") {
      options.action = ConsoleOptions::Action::Help;
      return options;
    }
    if (arg == "-V" || arg == "--version") {
      options.action = ConsoleOptions::Action::Version;
      return options;
    }
    // "--name value" or "--name=value".
    std::string_view name = arg;
    std::optional<std::string_view> value;
    if (auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    if (!value && (arg == "--check" || arg == "--strict" || arg == "--explain")) {
      (arg == "--check"    ? options.check
       : arg == "--strict" ? options.strict
                           : options.explain) = true;
      continue;
    }
    if (name != "--dir" && name != "--seed" && name != "--exceptions" && name != "--pace") {
      if (arg.starts_with("-")) return failed("неизвестный параметр '" + std::string(arg) + "'");
      return failed("лишний аргумент '" + std::string(arg) + "'");
    }
    if (!value) {
      if (i + 1 >= args.size()) return failed("у параметра " + std::string(name) + " нет значения");
      value = args[++i];
    }
    if (name == "--dir") {
      if (value->empty()) return failed("пустое имя папки в --dir");
      options.dir = std::string(*value);
    } else if (name == "--exceptions") {
      if (value->empty()) return failed("пустое имя файла в --exceptions");
      options.exceptions = std::string(*value);
    } else if (name == "--pace") {
      options.pace = parsePace(*value);
      if (!options.pace)
        return failed("--pace ждёт число секунд от 0 до 86400 (например 2 или 0.5), а не '" +
                      std::string(*value) + "'");
    } else {
      options.seed = parseSeed(*value);
      if (!options.seed)
        return failed("--seed ждёт целое число от 0 до 4294967295, а не '" + std::string(*value) +
                      "'");
    }
  }
  if ((options.strict || !options.exceptions.empty()) && !options.check)
    return failed("--strict и --exceptions действуют только вместе с --check");
  return options;
}

}  // namespace vb
