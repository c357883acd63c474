#include "engine/failure.h"

namespace vb {

Failure cannotOpen(std::string_view name) {
  return Failure("Cannot open file " + std::string(name));
}

Failure cannotCreate(std::string_view name) {
  return Failure("Cannot create file " + std::string(name));
}

Failure indexOutOfBounds(long long index) {
  return Failure("List index out of bounds (" + std::to_string(index) + ")");
}

Failure notAnInteger(std::string_view text) {
  // Appended piece by piece: GCC 12 at -O3 takes "literal" + string for an
  // overlapping copy (-Wrestrict, GCC bug 105651).
  std::string message = "'";
  message.append(text).append("' is not a valid integer value");
  return Failure(message);
}

}  // namespace vb

namespace vb {
std::string displayMessage(std::string_view message) {
  std::string out(message);
  if (!out.empty() && static_cast<unsigned char>(out.back()) > '.') out.push_back('.');
  return out;
}
}  // namespace vb
