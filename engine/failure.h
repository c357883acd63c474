#pragma once
// A failed operation: the handler or tick that met it ends, what it did
// before stays, and the message is shown to the user as it stands here.

#include <stdexcept>
#include <string>
#include <string_view>

namespace vb {

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

// "Cannot open file %s"
[[nodiscard]] Failure cannotOpen(std::string_view name);
// "Cannot create file %s"
[[nodiscard]] Failure cannotCreate(std::string_view name);
// "List index out of bounds (%d)"
[[nodiscard]] Failure indexOutOfBounds(long long index);
// "'%s' is not a valid integer value"
[[nodiscard]] Failure notAnInteger(std::string_view text);

}  // namespace vb

namespace vb {
// The text of a message box: a full stop is added unless the message
// already ends in '.' or a character that sorts before it, such as ')'.
std::string displayMessage(std::string_view message);
}  // namespace vb
