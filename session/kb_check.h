#pragma once
// The knowledge-base check: reads every file of Base and Config.ini the way
// the program does and reports what the program would pass over, say wrong
// or fail on, each with the file and the line it stands on. Meant for the
// people who write and edit a knowledge base by hand.

#include <string>
#include <string_view>
#include <vector>

#include "engine/file_store.h"

namespace vb {

// What a warning is about; an exception names one of these.
inline constexpr std::string_view kLintDuplicate = "duplicate";      // the same key answers earlier
inline constexpr std::string_view kLintUnreachable = "unreachable";  // no thread reaches a branch
inline constexpr std::string_view kLintDepthSkip = "depth-skip";     // depth marks skip a level
inline constexpr std::string_view kLintShadowed = "shadowed";       // an earlier key is found in it
inline constexpr std::string_view kLintInsideWord = "inside-word";  // found inside other words
inline constexpr std::string_view kLintCensored = "censored";  // the censor takes the phrase first

struct KbFinding {
  std::string file;  // as the program names it: "Base\\Words.Dat", "Config.ini"
  int line = 0;      // from 1; 0 when the finding concerns the whole file
  std::string message;
  // A warning (a lint) names what it warns about and the head of the line
  // it stands on (depth marks and key), by which an exception can pass it;
  // an error has neither.
  std::string lint;
  std::string head;
  bool warning() const { return !lint.empty(); }
  bool operator==(const KbFinding&) const = default;
};

// "Base\Words.Dat:12: <message>", or "Base\AI.dat: <message>" for a finding
// about the whole file; a warning reads "Base\Words.Dat:12: предупреждение
// [lint]: <message>". Messages are Russian, in Windows-1251 like every
// text of the program (a message may quote a key or a value from the file).
std::string formatFinding(const KbFinding& finding);

// Every finding of the folder behind `files`, file by file in a fixed
// order, lines in file order. An empty list means the folder is clean.
std::vector<KbFinding> checkKnowledgeBase(FileStore& files);

// The parts, for callers that hold the lines already.
std::vector<KbFinding> checkPhraseBase(const Lines& lines);  // Words.Dat
std::vector<KbFinding> checkConfig(const Lines& lines);      // Config.ini
std::vector<KbFinding> checkEncoding(const std::string& file, const Lines& lines);

}  // namespace vb
