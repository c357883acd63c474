// The program folder as shipped (data/): every text file is Windows-1251
// with CR LF line ends, the phrase base is well formed, every file a line is
// drawn from has enough lines, Config.ini applies, the sounds are 16-bit
// PCM and the picture is a bitmap of the photo box's proportions.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/disk_file_store.h"
#include "engine/text.h"
#include "session/config.h"
#include "session/kb_check.h"
#include "session/settings.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(VB_SOURCE_DIR) / "data";

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines of a CR LF file, without their ends.
std::vector<std::string> crlfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> linesOf(const std::string& relative) {
  return crlfLines(readBytes(kData / relative));
}

std::string u(const char* utf8) {
  return vb::utf8To1251(utf8);
}
std::string shown(const std::string& text) {
  return vb::cp1251ToUtf8(text);
}

bool isTextFile(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return ext == ".dat" || ext == ".ini" || ext == ".txt";
}

std::vector<fs::path> textFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(kData))
    if (entry.is_regular_file() && isTextFile(entry.path())) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Whether a line is UTF-8 text with letters beyond ASCII: it then decodes
// as UTF-8 from end to end. A Windows-1251 Russian line never does, since a
// small letter (0xE0..0xFF) is never a UTF-8 continuation byte and a
// capital (0xC0..0xDF) is seldom followed by one ("ЕЩЁ" is, so single
// pairs alone prove nothing).
bool isUtf8Line(const std::string& line) {
  bool multiByte = false;
  for (std::size_t i = 0; i < line.size();) {
    auto b = static_cast<unsigned char>(line[i]);
    int follow = b < 0x80                   ? 0
                 : (b >= 0xC2 && b <= 0xDF) ? 1
                 : (b >= 0xE0 && b <= 0xEF) ? 2
                 : (b >= 0xF0 && b <= 0xF4) ? 3
                                            : -1;
    if (follow < 0 || i + follow >= line.size()) return false;
    for (int k = 1; k <= follow; ++k) {
      auto c = static_cast<unsigned char>(line[i + k]);
      if (c < 0x80 || c > 0xBF) return false;
    }
    multiByte = multiByte || follow > 0;
    i += follow + 1;
  }
  return multiByte;
}

bool blank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

bool hasReserved(std::string_view text) {
  return text.find_first_of("^_;@|") != std::string_view::npos;
}

std::string lineRef(const fs::path& file, std::size_t index) {
  return fs::relative(file, kData).string() + ":" + std::to_string(index + 1);
}

}  // namespace

TEST(DataFolder, Utf8LinesAreToldFromWindows1251Ones) {
  EXPECT_TRUE(isUtf8Line("Ты ещё тут?"));
  EXPECT_FALSE(isUtf8Line(u("Ты ещё тут?")));
  EXPECT_FALSE(isUtf8Line(u("ТЫ ЕЩЁ ТУТ")));
  EXPECT_FALSE(isUtf8Line("Plain ASCII"));
}

TEST(DataFolder, EveryTextFileIsWindows1251WithCrLfLineEnds) {
  auto files = textFiles();
  ASSERT_GE(files.size(), 16u) << "the Base files, Config.ini, ReadMe.Txt and the partner file";
  for (const auto& file : files) {
    std::string bytes = readBytes(file);
    SCOPED_TRACE(file.string());
    auto lines = crlfLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_FALSE(isUtf8Line(lines[i])) << lineRef(file, i) << " is UTF-8";
    EXPECT_TRUE(bytes.empty() || bytes.ends_with("\r\n")) << "the last line needs its CR LF too";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      auto c = static_cast<unsigned char>(bytes[i]);
      if (c == '\n') {
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at byte " << i;
      } else if (c == '\r') {
        EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at byte " << i;
      } else if (c < 0x20 || c == 0x7F || c == 0x98) {
        ADD_FAILURE() << "control or undefined byte " << int(c) << " at " << i;
      }
    }
  }
}

TEST(DataFolder, OnlyThePhraseBaseHoldsMarkupCharacters) {
  for (const auto& file : textFiles()) {
    if (file.filename() == "Words.Dat") continue;
    auto lines = crlfLines(readBytes(file));
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_FALSE(hasReserved(lines[i])) << lineRef(file, i) << ": " << shown(lines[i]);
  }
}

// Files from which the program draws a line, with the least number of lines
// that keeps a conversation varied.
TEST(DataFolder, EveryDrawnFileHasEnoughNonEmptyDistinctLines) {
  const std::map<std::string, std::size_t> minimum = {
      {"Base/Povtor.Dat", 30}, {"Base/X.Dat", 30},     {"Base/BigString.Dat", 15},
      {"Base/W1.Dat", 100},    {"Base/W2.Dat", 100},   {"Base/CPUpvt.dat", 20},
      {"Base/AI.dat", 40},     {"Base/Pause.Dat", 40}, {"Base/Begin.dat", 20},
  };
  for (const auto& [name, least] : minimum) {
    SCOPED_TRACE(name);
    auto lines = linesOf(name);
    EXPECT_GE(lines.size(), least);
    std::set<std::string> distinct(lines.begin(), lines.end());
    EXPECT_EQ(distinct.size(), lines.size()) << "a line stands twice";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      EXPECT_FALSE(blank(line)) << name << ":" << i + 1
                                << " is empty: an empty phrase would be said";
      EXPECT_EQ(line.find("  "), std::string::npos) << name << ":" << i + 1;
      EXPECT_TRUE(!line.empty() && line.front() != ' ' && line.back() != ' ')
          << name << ":" << i + 1;
    }
  }
  // The spontaneous remark never says line 0 of AI.dat, so it needs two.
  EXPECT_GE(linesOf("Base/AI.dat").size(), 2u);
  for (const char* name : {"Base/Collection.Dat", "Base/Log.dat"})
    EXPECT_TRUE(fs::is_regular_file(kData / name))
        << name << " must exist: the program never creates it";
}

// The pools hold phrases as the program stores what users say: a capital
// first letter and a final mark; questions in W1, statements in W2.
TEST(DataFolder, PoolsHoldNormalisedQuestionsAndStatements) {
  for (const auto& line : linesOf("Base/W1.Dat")) {
    EXPECT_EQ(vb::normalisePhrase(line), line) << shown(line);
    EXPECT_TRUE(line.ends_with("?")) << shown(line);
  }
  for (const auto& line : linesOf("Base/W2.Dat")) {
    EXPECT_EQ(vb::normalisePhrase(line), line) << shown(line);
    EXPECT_FALSE(line.ends_with("?")) << shown(line);
  }
}

namespace {

// What is wrong with one Words.Dat line, or "" when it is well formed.
std::string wordsLineFault(const std::string& line) {
  std::size_t depth = line.find_first_not_of('_');
  if (depth == std::string::npos) return "no key";
  std::size_t caret = line.find('^');
  if (caret == std::string::npos) return "no '^'";
  std::string key = line.substr(depth, caret - depth);
  if (key.empty()) return "empty key";
  if (hasReserved(key)) return "markup character inside the key";
  if (vb::upper1251(key) != key) return "key not in upper case";
  // A blank at an edge of a key is deliberate (" ОЛЯ" is found only as a
  // word of its own); two in a row or nothing but blanks is not.
  if (blank(key) || key.find("  ") != std::string::npos) return "stray blanks in the key";
  std::string rest = line.substr(caret + 1);
  if (rest.ends_with("@")) rest.pop_back();
  if (rest.empty() || rest.back() != ';') return "the last answer is not ended by ';'";
  int answers = 0;
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = rest.find(';', start);
    std::string answer = rest.substr(start, end - start);
    ++answers;
    std::size_t bar = answer.find('|');
    std::string said = answer.substr(0, bar);
    if (blank(said)) return "empty answer " + std::to_string(answers);
    if (answer.find_first_of("^_@") != std::string::npos)
      return "markup character inside an answer";
    if (bar != std::string::npos) {
      if (answer.find('|', bar + 1) != std::string::npos) return "two '|' in one answer";
      if (blank(answer.substr(bar + 1))) return "empty delayed part";
    }
    start = end + 1;
  }
  if (answers < 2 || answers > 4) return std::to_string(answers) + " answers (2 to 4 wanted)";
  return "";
}

}  // namespace

TEST(DataFolder, WordsDatLineCheckerCatchesMalformedLines) {
  EXPECT_EQ(wordsLineFault(u("КАК ДЕЛА^Хорошо.;Отлично!|А у тебя?;")), "");
  EXPECT_EQ(wordsLineFault(u("__НЕ ЗНАЮ^Бывает.;Ничего.;@")), "");
  EXPECT_NE(wordsLineFault(u("КАК ДЕЛА^Хорошо.;Отлично!")), "");
  EXPECT_NE(wordsLineFault(u("Как дела^Хорошо.;Отлично!;")), "");
  EXPECT_NE(wordsLineFault(u("КАК ДЕЛА^Хорошо.;;")), "");
  EXPECT_NE(wordsLineFault(u("КАК ДЕЛА^Хорошо.|а|б;Ну.;")), "");
  EXPECT_NE(wordsLineFault(u("ПОКА^До свидания!@;Пока.;")), "");
  EXPECT_NE(wordsLineFault(u("ПРИВЕТ^Привет!;")), "");
  EXPECT_NE(wordsLineFault(u("КЛЮЧ БЕЗ ОТВЕТОВ^")), "");
  EXPECT_NE(wordsLineFault(u("ДВА  ПРОБЕЛА^А.;Б.;")), "");
  EXPECT_EQ(wordsLineFault(u(" ОЛЯ^Привет, Оля!;Рад знакомству.;")), "");
  EXPECT_NE(wordsLineFault(u(" ^А.;Б.;")), "");
  EXPECT_NE(wordsLineFault("___"), "");
}

TEST(DataFolder, EveryWordsDatLineIsWellFormed) {
  auto lines = linesOf("Base/Words.Dat");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().front() == '_', false) << "the first line must be a main phrase";
  int faults = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string fault = wordsLineFault(lines[i]);
    if (fault.empty()) continue;
    if (++faults <= 40)
      ADD_FAILURE() << "Words.Dat:" << i + 1 << ": " << fault << ": " << shown(lines[i]);
  }
  EXPECT_EQ(faults, 0);
  // A branch line goes at most one level deeper than the line above it.
  std::size_t previous = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t depth = lines[i].find_first_not_of('_');
    EXPECT_LE(depth, previous + 1) << "Words.Dat:" << i + 1 << ": a branch with no line above it";
    previous = depth;
  }
}

// A ';' written inside a sentence splits one answer in two, and the second
// half (a lower-case fragment) is said on its own: every answer starts as a
// sentence does.
TEST(DataFolder, NoAnswerIsHalfASentence) {
  auto lines = linesOf("Base/Words.Dat");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t caret = lines[i].find('^');
    if (caret == std::string::npos) continue;
    for (std::size_t start = caret + 1, end; (end = lines[i].find(';', start)) != std::string::npos;
         start = end + 1) {
      const char first = lines[i][start];
      EXPECT_FALSE(end > start && (first == ' ' || vb::upper1251(first) != first))
          << "Words.Dat:" << i + 1 << ": " << shown(lines[i].substr(start, end - start));
    }
  }
}

namespace {

class RecordingSink final : public vb::SettingsSink {
 public:
  void setColour(vb::ColourTarget target, vb::Colour colour) override { colours[target] = colour; }
  void setUserStyle(const vb::LineStyle& style) override { user = style; }
  void setCpuStyle(const vb::LineStyle& style) override { cpu = style; }
  void setMyStringPreset(const vb::FontPreset& preset) override { myString = preset; }

  std::map<vb::ColourTarget, vb::Colour> colours;
  vb::LineStyle user, cpu;
  vb::FontPreset myString;
};

}  // namespace

TEST(DataFolder, ConfigIniAppliesAndNamesAPartnerFileInTheFolder) {
  vb::DiskFileStore files(kData, false);
  vb::ConfigList config = vb::ConfigList::load(files);
  ASSERT_GE(config.lines().size(), 31u);
  RecordingSink sink;
  ASSERT_NO_THROW(vb::applySettings(config, sink));
  EXPECT_EQ(sink.colours.size(), 7u);
  for (const auto& [target, colour] : sink.colours) {
    EXPECT_GE(colour, 0) << "a shipped colour is an RGB value, not a system colour";
    EXPECT_LE(colour, 0xFFFFFF);
  }
  // The lines must be readable against their backgrounds.
  EXPECT_NE(sink.user.colour, sink.colours[vb::ColourTarget::DialogueBackground]);
  EXPECT_NE(sink.cpu.colour, sink.colours[vb::ColourTarget::DialogueBackground]);
  EXPECT_NE(sink.user.colour, sink.cpu.colour) << "the two speakers look alike";
  for (int line : {20, 24, 28})
    EXPECT_TRUE(vb::parseFontStyle(config.value(line)).has_value()) << "line " << line;
  for (const vb::LineStyle* style : {&sink.user, &sink.cpu}) {
    EXPECT_FALSE(style->fontName.empty());
    EXPECT_GE(style->size, 8);
    EXPECT_LE(style->size, 20);
  }
  EXPECT_FALSE(sink.myString.fontName.empty());

  const std::string& adres = config.lines()[30];
  ASSERT_TRUE(adres.starts_with("Adres=")) << shown(adres);
  std::string path = config.value(31);
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(path.find(':') == std::string::npos && path.front() != '\\' && path.front() != '/' &&
              path.find("..") == std::string::npos)
      << "the partner file lies inside the program's folder: " << shown(path);
  EXPECT_TRUE(files.locate(path).has_value()) << "the partner file is shipped: " << shown(path);
}

namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
         std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t le16(const std::string& b, std::size_t at) {
  return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

}  // namespace

TEST(DataFolder, SoundsAreShortQuiet16BitPcmWaves) {
  for (const char* name :
       {"KeyBoard.wav", "Button3.wav", "CpuSound.wav", "Button2.wav", "Button1.wav", "Close.wav"}) {
    SCOPED_TRACE(name);
    std::string b = readBytes(kData / "Sound" / name);
    ASSERT_GE(b.size(), 44u);
    ASSERT_EQ(b.substr(0, 4), "RIFF");
    ASSERT_EQ(b.substr(8, 4), "WAVE");
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    std::uint16_t format = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    std::string samples;
    for (std::size_t at = 12; at + 8 <= b.size();) {
      std::string id = b.substr(at, 4);
      std::uint32_t size = le32(b, at + 4);
      ASSERT_LE(at + 8 + size, b.size()) << "chunk " << id << " runs past the end";
      if (id == "fmt ") {
        format = le16(b, at + 8);
        channels = le16(b, at + 10);
        rate = le32(b, at + 12);
        bits = le16(b, at + 22);
      } else if (id == "data") {
        samples = b.substr(at + 8, size);
      }
      at += 8 + size + (size & 1);
    }
    EXPECT_EQ(format, 1) << "PCM";
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_TRUE(rate == 22050 || rate == 44100);
    EXPECT_EQ(bits, 16);
    ASSERT_FALSE(samples.empty());
    double seconds = double(samples.size()) / (2.0 * channels * rate);
    EXPECT_LE(seconds, 2.0) << "a cue is short";
    int peak = 0;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2)
      peak = std::max(peak, std::abs(int(std::int16_t(le16(samples, i)))));
    EXPECT_GT(peak, 1000) << "audible";
    EXPECT_LT(peak, 16384) << "quiet: below half of full scale";
  }
}

TEST(DataFolder, PhotoIsABitmapOfThePhotoBoxProportions) {
  std::string b = readBytes(kData / "Images" / "Foto.bmp");
  ASSERT_GE(b.size(), 54u);
  ASSERT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(le32(b, 2), b.size());
  std::uint32_t offset = le32(b, 10);
  auto width = std::int32_t(le32(b, 18));
  auto height = std::int32_t(le32(b, 22));
  std::uint16_t bpp = le16(b, 28);
  EXPECT_EQ(le32(b, 30), 0u) << "uncompressed";
  EXPECT_TRUE(bpp == 24 || bpp == 32);
  height = std::abs(height);
  ASSERT_GT(width, 0);
  EXPECT_EQ(width % 179, 0);
  EXPECT_EQ(height % 108, 0);
  EXPECT_EQ(width / 179, height / 108);
  std::size_t stride = (std::size_t(width) * bpp / 8 + 3) & ~std::size_t(3);
  EXPECT_GE(b.size(), offset + stride * std::size_t(height));
}

TEST(DataFolder, HistoryTextIsRussianAndNamesTheProgram) {
  auto lines = linesOf("ReadMe.Txt");
  EXPECT_GE(lines.size(), 20u);
  std::string all;
  for (const auto& line : lines) all += line + "\n";
  EXPECT_NE(all.find(u("Вербоник")), std::string::npos);
  EXPECT_NE(all.find("2.546b"), std::string::npos) << "the version the About window shows";
}

TEST(DataFolder, TheProgramsOwnKnowledgeBaseCheckFindsNothing) {
  vb::DiskFileStore files(kData, false);
  std::string report;
  for (const auto& finding : vb::checkKnowledgeBase(files))
    report += shown(vb::formatFinding(finding)) + "\n";
  EXPECT_EQ(report, "");
}

// Learning moves the line whose key equals the key form of the program's
// previous answer to the end of Words.Dat, where it takes the user's reply
// as a new answer; a main phrase with branches would leave its branches
// behind under another main phrase. So nothing the program answers may have
// the key form of such a main phrase.
TEST(DataFolder, NoAnswerTheProgramSaysMovesAThreadWhenLearning) {
  auto words = linesOf("Base/Words.Dat");
  std::map<std::string, std::size_t> threadKeys;  // main keys with branches, first line of each
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    std::size_t caret = words[i].find('^');
    if (caret == std::string::npos || words[i].starts_with("_") || !words[i + 1].starts_with("_"))
      continue;
    std::string head = words[i].substr(0, caret);
    bool first = true;
    for (std::size_t k = 0; k < i && first; ++k) first = !words[k].starts_with(head + "^");
    if (first) threadKeys.emplace(head, i);
  }
  std::vector<std::pair<std::string, std::string>> said;  // answer, where
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::size_t caret = words[i].find('^');
    if (caret == std::string::npos) continue;
    std::string rest = words[i].substr(caret + 1);
    for (std::size_t start = 0, end; (end = rest.find(';', start)) != std::string::npos;
         start = end + 1)
      said.emplace_back(rest.substr(start, std::min(end, rest.find('|', start)) - start),
                        "Words.Dat:" + std::to_string(i + 1));
  }
  for (const char* file :
       {"Base/W1.Dat", "Base/W2.Dat", "Base/Povtor.Dat", "Base/X.Dat", "Base/BigString.Dat"}) {
    auto lines = linesOf(file);
    for (std::size_t i = 0; i < lines.size(); ++i)
      said.emplace_back(lines[i], std::string(file) + ":" + std::to_string(i + 1));
  }
  for (const auto& [answer, where] : said) {
    auto hit = threadKeys.find(vb::keyForm(answer));
    EXPECT_TRUE(hit == threadKeys.end())
        << where << ": " << shown(answer) << " would move the thread of Words.Dat:"
        << (hit == threadKeys.end() ? 0 : hit->second + 1);
  }
}
