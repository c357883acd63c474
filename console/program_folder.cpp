#include "console/program_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "console/terminal_text.h"
#include "engine/failure.h"

namespace vb {
namespace fs = std::filesystem;

namespace {
std::string quoted(const std::string& name) {
  return "«" + terminalTextUtf8(name) + "»";
}
}  // namespace

std::string enterFolder(const std::string& dir) {
  if (dir.empty()) return {};
  std::error_code ec;
  auto status = fs::status(dir, ec);
  if (!fs::exists(status)) return "нет папки " + quoted(dir);
  if (!fs::is_directory(status)) return quoted(dir) + " — это не папка";
  if (::chdir(dir.c_str()) != 0) {
    return "нельзя войти в папку " + quoted(dir) + ": " + std::strerror(errno);
  }
  return {};
}

std::string checkProgramFolder(DiskFileStore& files, const std::string& shownName) {
  const std::string where = "в папке " + quoted(shownName);
  auto base = files.locate("Base");
  std::error_code ec;
  if (!base || !fs::is_directory(*base, ec)) {
    return where + " нет папки Base с базой знаний (укажите папку программы: --dir ПАПКА)";
  }
  try {
    files.readLines("Base\\Words.Dat");
  } catch (const Failure& failure) {
    return where + " нельзя прочесть базу фраз Base\\Words.Dat: " +
           terminalText(displayMessage(failure.what()));
  }
  return {};
}

}  // namespace vb
