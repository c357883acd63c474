#pragma once
// A fresh folder per test, removed afterwards, with raw byte access to its
// files so that tests see exactly what the program wrote.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace vb::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vb-engine-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // `rel` uses '/' and is taken as the real spelling on disk.
  void put(const std::string& rel, std::string_view bytes) const {
    auto p = path_ / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string get(const std::string& rel) const {
    std::ifstream in(path_ / rel, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool has(const std::string& rel) const { return std::filesystem::exists(path_ / rel); }
  // Entries of a sub-folder, to spot leftovers such as temporary files.
  std::size_t entries(const std::string& rel) const {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(path_ / rel)) ++n;
    return n;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace vb::testing
