#pragma once
// Where the console writes: the dialogue on standard output, messages on
// standard error, one whole line at a time (UTF-8, without its line end).

#include <string_view>

namespace vb {

class Screen {
 public:
  virtual ~Screen() = default;
  virtual void out(std::string_view line) = 0;
  virtual void err(std::string_view line) = 0;
};

}  // namespace vb
