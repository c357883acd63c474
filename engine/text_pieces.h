#pragma once
// The new bytes of a file, gathered as pieces written one after the other:
// views of bytes that outlive the write (such as the file's old bytes,
// handed to a read-modify-write), and texts the pieces own. A large file
// changed at one place is so written from its old bytes without first
// being copied into one new string.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

class TextPieces {
 public:
  TextPieces() = default;
  explicit TextPieces(std::string bytes) { own(std::move(bytes)); }

  // A view; the bytes must live until the pieces are written.
  TextPieces& view(std::string_view bytes) {
    if (!bytes.empty()) pieces_.push_back(bytes);
    size_ += bytes.size();
    return *this;
  }
  TextPieces& own(std::string bytes) {
    owned_.push_back(std::make_unique<std::string>(std::move(bytes)));
    return view(*owned_.back());
  }

  const std::vector<std::string_view>& pieces() const { return pieces_; }
  std::size_t size() const { return size_; }
  std::string joined() const {
    std::string out;
    out.reserve(size_);
    for (auto piece : pieces_) out.append(piece);
    return out;
  }

 private:
  std::vector<std::unique_ptr<std::string>> owned_;
  std::vector<std::string_view> pieces_;
  std::size_t size_ = 0;
};

}  // namespace vb
