// Config.ini: values by line position, the colours and font styles taken
// from it in order, the failures that stop it, and storing the path.
#include <gtest/gtest.h>

#include <variant>

#include "engine/failure.h"
#include "session/config.h"
#include "session/settings.h"
#include "tests/session/fakes.h"

namespace vb::test {
namespace {

// Everything the sink is told, in order.
class RecordingSink final : public SettingsSink {
 public:
  void setColour(ColourTarget target, Colour colour) override {
    colours.emplace_back(target, colour);
  }
  void setUserStyle(const LineStyle& style) override { user.push_back(style); }
  void setCpuStyle(const LineStyle& style) override { cpu.push_back(style); }
  void setMyStringPreset(const FontPreset& preset) override { presets.push_back(preset); }

  std::vector<std::pair<ColourTarget, Colour>> colours;
  std::vector<LineStyle> user;
  std::vector<LineStyle> cpu;
  std::vector<FontPreset> presets;
};

// A valid 31-line file; line n is lines[n - 1].
Lines goodConfig() {
  Lines lines(31, "-");
  lines[2] = "StartEffect=NO";
  lines[6] = "MainColor=12632256";
  lines[7] = "DialogColor=16777215";
  lines[8] = "InputColor=0";
  lines[11] = "SpeakFont=255";
  lines[12] = "CancelFont=65280";
  lines[13] = "EnRusFont=16711680";
  lines[14] = "UserColor=8388608";
  lines[15] = "CpuColor=128";
  lines[16] = "InputFontColor=0";
  lines[18] = "UserFontName=Arial";
  lines[19] = "UserFontStyle=[fsBold]";
  lines[20] = "UserFontSize=10";
  lines[22] = "CpuFontName=Courier New";
  lines[23] = "CpuFontStyle=[fsItalic]";
  lines[24] = "CpuFontSize=12";
  lines[26] = "MyStringFontName=Tahoma";
  lines[27] = "MyStringFontStyle=[fsBold,fsItalic]";
  lines[30] = "Adres=Partner.txt";
  return lines;
}

std::string failureOf(const ConfigList& config, RecordingSink& sink) {
  try {
    applySettings(config, sink);
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "";
}

TEST(ConfigValues, TextAfterTheFirstEqualsSignAsItStands) {
  ConfigList config({"a=b=c", "plain", "x= spaced ", "=", "Name="});
  EXPECT_EQ(config.value(1), "b=c");
  EXPECT_EQ(config.value(2), "plain");
  EXPECT_EQ(config.value(3), " spaced ");
  EXPECT_EQ(config.value(4), "");
  EXPECT_EQ(config.value(5), "");
  EXPECT_THROW(config.value(6), Failure);
  try {
    config.value(12);
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "List index out of bounds (11)");
  }
  // An empty list reads as empty lines.
  EXPECT_EQ(ConfigList().value(7), "");
}

TEST(ConfigValues, IntegersAsTheSettingsFileWritesThem) {
  EXPECT_EQ(parseInteger("12632256"), 12632256);
  EXPECT_EQ(parseInteger(" 12632256"), 12632256);
  EXPECT_EQ(parseInteger("+5"), 5);
  EXPECT_EQ(parseInteger("-16777201"), -16777201);
  EXPECT_EQ(parseInteger("-2147483648"), -2147483648LL);
  EXPECT_EQ(parseInteger("2147483647"), 2147483647);
  for (const char* bad : {"12632256 ", "", " ", "-", "1a", "2147483648", "0x10", "1.0"}) {
    try {
      parseInteger(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

TEST(ConfigValues, FontStyleLiteralsWholeAndInTheirOrder) {
  EXPECT_EQ(parseFontStyle("[]"), FontStyle::Regular);
  EXPECT_EQ(parseFontStyle("[fsItalic]"), FontStyle::Italic);
  EXPECT_EQ(parseFontStyle("[fsbold]"), FontStyle::Bold);
  EXPECT_EQ(parseFontStyle("[FSBOLD,FSITALIC]"), FontStyle::BoldItalic);
  EXPECT_EQ(parseFontStyle("[Bold]"), std::nullopt);
  EXPECT_EQ(parseFontStyle("[fsItalic,fsBold]"), std::nullopt);
  EXPECT_EQ(parseFontStyle("[fsBold, fsItalic]"), std::nullopt);
  EXPECT_EQ(parseFontStyle(" []"), std::nullopt);
  EXPECT_EQ(parseFontStyle("[fsUnderline]"), std::nullopt);
  for (auto style :
       {FontStyle::Regular, FontStyle::Italic, FontStyle::Bold, FontStyle::BoldItalic}) {
    EXPECT_EQ(parseFontStyle(fontStyleLiteral(style)), style);
  }
}

TEST(ApplySettings, EveryLineInItsPlaceAndOrder) {
  RecordingSink sink;
  ASSERT_EQ(failureOf(ConfigList(goodConfig()), sink), "");
  const std::vector<std::pair<ColourTarget, Colour>> colours{
      {ColourTarget::MainBackground, 12632256},
      {ColourTarget::DialogueBackground, 16777215},
      {ColourTarget::InputBackground, 0},
      {ColourTarget::SpeakText, 255},
      {ColourTarget::CancelText, 65280},
      {ColourTarget::EnRusText, 16711680},
      {ColourTarget::InputText, 0}};
  EXPECT_EQ(sink.colours, colours);
  ASSERT_FALSE(sink.user.empty());
  EXPECT_EQ(sink.user.back(), (LineStyle{8388608, "Arial", 10, FontStyle::Bold}));
  ASSERT_FALSE(sink.cpu.empty());
  EXPECT_EQ(sink.cpu.back(), (LineStyle{128, "Courier New", 12, FontStyle::Italic}));
  ASSERT_FALSE(sink.presets.empty());
  EXPECT_EQ(sink.presets.back(), (FontPreset{"Tahoma", FontStyle::BoldItalic}));
}

TEST(ApplySettings, NamedAndBareColourLinesAreTheSame) {
  Lines lines = goodConfig();
  lines[6] = "12632256";
  lines[7] = "Dialog= 12632256";
  RecordingSink sink;
  ASSERT_EQ(failureOf(ConfigList(lines), sink), "");
  EXPECT_EQ(sink.colours[0].second, 12632256);
  EXPECT_EQ(sink.colours[1].second, 12632256);
}

TEST(ApplySettings, EmptyFontNameKeepsTheBuiltInFaceAndLongNamesAreCut) {
  Lines lines = goodConfig();
  lines[18] = "UserFontName=";
  lines[22] = "CpuFontName=" + std::string(40, 'F');
  lines[19] = "UserFontStyle=[Bold]";
  RecordingSink sink;
  ASSERT_EQ(failureOf(ConfigList(lines), sink), "");
  EXPECT_EQ(sink.user.back().fontName, "MS Sans Serif");
  EXPECT_EQ(sink.user.back().style, FontStyle::Regular);
  EXPECT_EQ(sink.cpu.back().fontName, std::string(31, 'F'));
}

TEST(ApplySettings, FirstBadLineStopsWithWhatCameBeforeApplied) {
  Lines lines = goodConfig();
  lines[8] = "InputColor=abc";
  RecordingSink sink;
  EXPECT_EQ(failureOf(ConfigList(lines), sink), "'abc' is not a valid integer value");
  ASSERT_EQ(sink.colours.size(), 2u);
  EXPECT_TRUE(sink.user.empty());
  EXPECT_TRUE(sink.presets.empty());

  // A blank after the number fails too; the user's size line fails after
  // the name and the style already reached the sink.
  lines = goodConfig();
  lines[20] = "UserFontSize=10 ";
  RecordingSink second;
  EXPECT_EQ(failureOf(ConfigList(lines), second), "'10 ' is not a valid integer value");
  ASSERT_FALSE(second.user.empty());
  EXPECT_EQ(second.user.back().fontName, "Arial");
  EXPECT_EQ(second.user.back().style, FontStyle::Bold);
  EXPECT_EQ(second.user.back().size, 8);
  EXPECT_TRUE(second.cpu.size() <= 1u);
}

TEST(ApplySettings, ShortAndEmptyFiles) {
  Lines ten(10, "x=0");
  RecordingSink sink;
  EXPECT_EQ(failureOf(ConfigList(ten), sink), "List index out of bounds (11)");
  EXPECT_EQ(sink.colours.size(), 3u);

  Lines upTo28 = goodConfig();
  upTo28.resize(28);
  RecordingSink enough;
  EXPECT_EQ(failureOf(ConfigList(upTo28), enough), "");

  RecordingSink none;
  EXPECT_EQ(failureOf(ConfigList(), none), "'' is not a valid integer value");
  EXPECT_TRUE(none.colours.empty());
}

TEST(ConfigFile, LoadSaveAndTheirFailures) {
  MemoryFiles files;
  EXPECT_THROW(ConfigList::load(files), Failure);
  try {
    ConfigList::load(files);
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Cannot open file Config.ini");
  }
  files.put("config.INI", goodConfig());
  ConfigList config = ConfigList::load(files);
  EXPECT_EQ(config.value(31), "Partner.txt");
  config.storeAdres("talk.txt");
  files.failWrites("Config.ini");
  try {
    config.save(files);
    ADD_FAILURE() << "saved to a file that cannot be written";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Cannot create file Config.ini");
  }
  // The list keeps the stored path; the file is as it was.
  EXPECT_EQ(config.value(31), "talk.txt");
  EXPECT_EQ(files.at("Config.ini")[30], "Adres=Partner.txt");
  files.failWrites("Config.ini", false);
  config.save(files);
  EXPECT_EQ(files.at("Config.ini"), config.lines());
}

TEST(StoreAdres, ReplacesTheFirstInAnyCaseAppendsOrDeletes) {
  ConfigList twice({"a=1", "adres=first", "Adres", "ADRES=second"});
  twice.storeAdres("new.txt");
  EXPECT_EQ(twice.lines(), (Lines{"a=1", "Adres=new.txt", "Adres", "ADRES=second"}));

  ConfigList none({"a=1", "Adres"});
  none.storeAdres("D:\\Txt.Dat");
  EXPECT_EQ(none.lines(), (Lines{"a=1", "Adres", "Adres=D:\\Txt.Dat"}));

  ConfigList last(goodConfig());
  last.storeAdres("");
  EXPECT_EQ(last.lines().size(), 30u);
  EXPECT_THROW(last.value(31), Failure);
  ConfigList missing({"a=1"});
  missing.storeAdres("");
  EXPECT_EQ(missing.lines(), (Lines{"a=1"}));
}

TEST(StoreAdres, OtherLinesAreWrittenBackExactly) {
  Lines lines = goodConfig();
  lines[3] = "; a comment = with signs";
  lines[4] = "";
  lines.push_back("Extra=after the last line");
  ConfigList config(lines);
  config.storeAdres("x");
  Lines expected = lines;
  expected[30] = "Adres=x";
  EXPECT_EQ(config.lines(), expected);
}

}  // namespace
}  // namespace vb::test
