#include "apps/gui_options.h"

#include <unistd.h>

#include <array>
#include <filesystem>
#include <string_view>

#include "session/program_folder.h"

namespace vb {
namespace {

constexpr std::string_view kName = "verbonik: ";

void print(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

int usageError(const std::string& message) {
  print(STDERR_FILENO, std::string(kName) + message + " (справка: verbonik --help)\n");
  return 2;
}

constexpr std::string_view kUsage =
    "Использование: verbonik [--dir ПАПКА] [параметры Qt]\n"
    "\n"
    "Вербоник — разговорная программа: отвечает на ваши фразы из своей базы\n"
    "знаний (папка Base) и учится на них. Версия для терминала: verbonik-console.\n"
    "\n"
    "  --dir ПАПКА    папка программы (Base\\, Config.ini, Sound\\, Images\\);\n"
    "                 в неё ничего не копируется. Без него — папка самой\n"
    "                 программы, если рядом с ней есть Base, иначе\n"
    "                 ~/.local/share/verbonik\n"
    "  -h, --help     эта справка\n"
    "  -V, --version  версия\n"
    "\n"
    "Параметры Qt (-platform ИМЯ, -style ИМЯ, -display ЭКРАН...) передаются Qt.\n"
    "Код возврата: 0 — обычный выход; 1 — папка программы или её звуки не\n"
    "годятся; 2 — неверные параметры. Подробнее: man verbonik.\n";

constexpr std::string_view kVersion = "verbonik (Вербоник) 2.546b\n";

// Qt's own options, as QGuiApplication and its platforms read them, with
// one or two leading dashes; the first group takes a value.
constexpr std::array<std::string_view, 12> kQtWithValue = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
    "style",           "stylesheet",         "display",       "geometry"};
constexpr std::array<std::string_view, 6> kQtFlags = {"reverse", "widgetcount", "nograb",
                                                      "dograb",  "sync",        "qmljsdebugger"};

// 0: not Qt's; 1: Qt's, alone; 2: Qt's, with the next argument as its value.
int qtOption(std::string_view arg) {
  if (!arg.starts_with('-')) return 0;
  arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
  const bool hasValue = arg.find('=') != std::string_view::npos;
  const std::string_view name = arg.substr(0, arg.find('='));
  for (auto known : kQtWithValue) {
    if (name == known) return hasValue ? 1 : 2;
  }
  for (auto known : kQtFlags) {
    if (name == known) return 1;
  }
  return 0;
}

}  // namespace

std::optional<int> takeGuiOptions(int& argc, char** argv, GuiOptions& options) {
  int kept = argc > 0 ? 1 : 0;
  bool dirGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      print(STDOUT_FILENO, kUsage);
      return 0;
    }
    if (arg == "-V" || arg == "--version") {
      print(STDOUT_FILENO, kVersion);
      return 0;
    }
    if (arg == "--dir" || arg.starts_with("--dir=")) {
      if (arg == "--dir") {
        if (i + 1 >= argc) return usageError("у параметра --dir нет значения");
        options.dir = argv[++i];
      } else {
        options.dir = std::string(arg.substr(6));
      }
      if (options.dir.empty()) return usageError("пустое имя папки в --dir");
      dirGiven = true;
      continue;
    }
    if (const int qt = qtOption(arg)) {
      argv[kept++] = argv[i];
      if (qt == 2 && i + 1 < argc) argv[kept++] = argv[++i];
      continue;
    }
    if (arg.starts_with('-')) return usageError("неизвестный параметр '" + std::string(arg) + "'");
    return usageError("лишний аргумент '" + std::string(arg) + "'");
  }
  if (argc > 0) {
    argc = kept;
    argv[kept] = nullptr;  // argv still ends as the C runtime left it
  }

  if (dirGiven) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string shown = "«" + options.dir + "»";
    if (!fs::is_directory(options.dir, ec)) {
      print(STDERR_FILENO, std::string(kName) + "нет папки " + shown + "\n");
      return 1;
    }
    if (!hasBaseFolder(options.dir)) {
      print(STDERR_FILENO,
            std::string(kName) + "в папке " + shown + " нет папки Base с базой знаний\n");
      return 1;
    }
    // The program moves into its folder: a relative name must not be
    // taken a second time from there.
    options.dir = fs::absolute(options.dir, ec).string();
  }
  return std::nullopt;
}

}  // namespace vb
