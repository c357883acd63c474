#include "session/settings.h"

#include <array>

#include "engine/text.h"

namespace vb {
namespace {

constexpr std::array<std::pair<std::string_view, FontStyle>, 4> kStyles{{
    {"[]", FontStyle::Regular},
    {"[fsItalic]", FontStyle::Italic},
    {"[fsBold]", FontStyle::Bold},
    {"[fsBold,fsItalic]", FontStyle::BoldItalic},
}};

// A line style's font from three lines (name, style, size); each line is
// read when its turn comes, so a failure leaves the earlier parts applied.
template <typename Apply>
void applyFont(const ConfigList& config, int first, LineStyle& style, Apply apply) {
  std::string name = config.value(first);
  if (!name.empty()) style.fontName = name.substr(0, 31);
  apply(style);
  if (auto s = parseFontStyle(config.value(first + 1))) style.style = *s;
  apply(style);
  style.size = parseInteger(config.value(first + 2));
  apply(style);
}

}  // namespace

std::optional<FontStyle> parseFontStyle(std::string_view value) {
  std::string upper = upper1251(value);
  for (auto [literal, style] : kStyles) {
    if (upper == upper1251(literal)) return style;
  }
  return std::nullopt;
}

std::string fontStyleLiteral(FontStyle style) {
  for (auto [literal, s] : kStyles) {
    if (s == style) return std::string(literal);
  }
  return "[]";
}

void applySettings(const ConfigList& config, SettingsSink& sink) {
  auto colour = [&](int line, ColourTarget target) {
    sink.setColour(target, parseInteger(config.value(line)));
  };
  colour(7, ColourTarget::MainBackground);
  colour(8, ColourTarget::DialogueBackground);
  colour(9, ColourTarget::InputBackground);
  colour(12, ColourTarget::SpeakText);
  colour(13, ColourTarget::CancelText);
  colour(14, ColourTarget::EnRusText);

  LineStyle user;
  LineStyle cpu;
  user.colour = parseInteger(config.value(15));
  sink.setUserStyle(user);
  cpu.colour = parseInteger(config.value(16));
  sink.setCpuStyle(cpu);
  colour(17, ColourTarget::InputText);

  applyFont(config, 19, user, [&](const LineStyle& s) { sink.setUserStyle(s); });
  applyFont(config, 23, cpu, [&](const LineStyle& s) { sink.setCpuStyle(s); });

  FontPreset preset;
  std::string name = config.value(27);
  if (!name.empty()) preset.fontName = name.substr(0, 31);
  sink.setMyStringPreset(preset);
  if (auto s = parseFontStyle(config.value(28))) preset.style = *s;
  sink.setMyStringPreset(preset);
}

}  // namespace vb
