#include "input/layout_conversion.h"

#include <array>
#include <cstdint>
#include <utility>

namespace vb {
namespace {

// Source byte (7-bit, US layout) -> Windows-1251 result byte (Russian layout).
constexpr std::pair<char, std::uint8_t> kPairs[] = {
    // Grave accent / tilde, the shifted digits.
    {'`', 0xB8},
    {'~', 0xA8},
    {'@', 0x22},
    {'#', 0xB9},
    {'$', 0x3B},
    {'^', 0x3A},
    {'&', 0x3F},
    // Upper letter row.
    {'q', 0xE9},
    {'Q', 0xC9},
    {'w', 0xF6},
    {'W', 0xD6},
    {'e', 0xF3},
    {'E', 0xD3},
    {'r', 0xEA},
    {'R', 0xCA},
    {'t', 0xE5},
    {'T', 0xC5},
    {'y', 0xED},
    {'Y', 0xCD},
    {'u', 0xE3},
    {'U', 0xC3},
    {'i', 0xF8},
    {'I', 0xD8},
    {'o', 0xF9},
    {'O', 0xD9},
    {'p', 0xE7},
    {'P', 0xC7},
    {'[', 0xF5},
    {'{', 0xD5},
    {']', 0xFA},
    {'}', 0xDA},
    {'\\', 0x5C},
    {'|', 0x2F},
    // Home row.
    {'a', 0xF4},
    {'A', 0xD4},
    {'s', 0xFB},
    {'S', 0xDB},
    {'d', 0xE2},
    {'D', 0xC2},
    {'f', 0xE0},
    {'F', 0xC0},
    {'g', 0xEF},
    {'G', 0xCF},
    {'h', 0xF0},
    {'H', 0xD0},
    {'j', 0xEE},
    {'J', 0xCE},
    {'k', 0xEB},
    {'K', 0xCB},
    {'l', 0xE4},
    {'L', 0xC4},
    {';', 0xE6},
    {':', 0xC6},
    {'"', 0xDD},
    // Lower letter row.
    {'z', 0xFF},
    {'Z', 0xDF},
    {'x', 0xF7},
    {'X', 0xD7},
    {'c', 0xF1},
    {'C', 0xD1},
    {'v', 0xEC},
    {'V', 0xCC},
    {'b', 0xE8},
    {'B', 0xC8},
    {'n', 0xF2},
    {'N', 0xD2},
    {'m', 0xFC},
    {'M', 0xDC},
    {'<', 0xE1},
    {'>', 0xFE},
    {'/', 0x2E},
};
static_assert(std::size(kPairs) == 71);

constexpr std::array<std::uint8_t, 256> buildTable() {
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>(i);
  for (const auto& [from, to] : kPairs) table[static_cast<std::uint8_t>(from)] = to;
  return table;
}

constexpr std::array<std::uint8_t, 256> kTable = buildTable();

}  // namespace

std::string convertLayout(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(kTable[static_cast<std::uint8_t>(c)]);
  return result;
}

}  // namespace vb
