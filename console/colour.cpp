#include "console/colour.h"

#include <climits>

namespace vb {
namespace {

struct Entry {
  int r, g, b, code;
};

// The sixteen terminal colours as xterm shows them, black and white left
// out (the terminal's own foreground stands for them).
constexpr Entry kPalette[] = {
    {205, 0, 0, 31},   {0, 205, 0, 32},   {205, 205, 0, 33},  {0, 0, 238, 34},
    {205, 0, 205, 35}, {0, 205, 205, 36}, {229, 229, 229, 0}, {127, 127, 127, 90},
    {255, 0, 0, 91},   {0, 255, 0, 92},   {255, 255, 0, 93},  {92, 92, 255, 94},
    {255, 0, 255, 95}, {0, 255, 255, 96}, {255, 255, 255, 0}, {0, 0, 0, 0},
    {128, 0, 0, 31},   {0, 128, 0, 32},   {128, 128, 0, 33},  {0, 0, 128, 34},
    {128, 0, 128, 35}, {0, 128, 128, 36}, {192, 192, 192, 0},
};

long square(int v) {
  return static_cast<long>(v) * v;
}

}  // namespace

bool colourWanted(bool isTerminal, const char* noColor) {
  return isTerminal && noColor == nullptr;
}

int ansiForeground(Colour colour) {
  if (colour < 0) return 0;
  int r = colour & 0xFF;
  int g = (colour >> 8) & 0xFF;
  int b = (colour >> 16) & 0xFF;
  int best = 0;
  long bestDistance = LONG_MAX;
  for (const Entry& e : kPalette) {
    long d = square(r - e.r) + square(g - e.g) + square(b - e.b);
    if (d < bestDistance) {
      bestDistance = d;
      best = e.code;
    }
  }
  return best;
}

std::string lineStart(LineKind kind, const LineStyle& style) {
  if (kind == LineKind::Service) return "\x1b[36m";
  std::string sgr = "\x1b[";
  bool bold = style.style == FontStyle::Bold || style.style == FontStyle::BoldItalic;
  sgr += bold ? "1" : "0";
  if (int fg = ansiForeground(style.colour); fg != 0) sgr.append(";").append(std::to_string(fg));
  sgr += "m";
  return sgr;
}

}  // namespace vb
