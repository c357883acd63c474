#pragma once
// The E/R command's text rewrite: text typed in the US keyboard layout
// becomes the text the same keys give in the Russian (ЙЦУКЕН) layout.

#include <string>
#include <string_view>

namespace vb {

// Each byte that is a source of the 71-pair table becomes its result, looked
// up once (a result is never converted again); every other byte stays. The
// length never changes.
std::string convertLayout(std::string_view text);

}  // namespace vb
