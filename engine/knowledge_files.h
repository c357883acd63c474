#pragma once
// The knowledge-base files the turn uses, named as the program names them,
// and the draw of a random line from one of them.

#include <memory>
#include <string>
#include <string_view>

#include "engine/file_store.h"
#include "engine/random_source.h"

namespace vb {

inline constexpr std::string_view kPhraseBase = "Base\\Words.Dat";
inline constexpr std::string_view kRepeatAnswers = "Base\\Povtor.Dat";
inline constexpr std::string_view kCensorAnswers = "Base\\X.Dat";
inline constexpr std::string_view kCensorRecord = "Base\\Collection.Dat";
inline constexpr std::string_view kLongPhraseAnswers = "Base\\BigString.Dat";
inline constexpr std::string_view kQuestionPool = "Base\\W1.Dat";
inline constexpr std::string_view kStatementPool = "Base\\W2.Dat";
inline constexpr std::string_view kRepeatTails = "Base\\CPUpvt.dat";

inline std::string_view poolName(bool questions) {
  return questions ? kQuestionPool : kStatementPool;
}

struct DrawnLine {
  std::string line;
  std::shared_ptr<const std::string> text;  // the file as read for the draw
  int index = 0;                            // the line drawn, from 0
};

// Reads the file afresh and returns its line Random(n), n its number of
// lines. Throws "Cannot open file <name>" when it is missing and
// "List index out of bounds (0)" when it has no line.
DrawnLine drawLine(FileStore& files, std::string_view name, RandomSource& random);

}  // namespace vb
