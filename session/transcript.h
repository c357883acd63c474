#pragma once
// The transcript Log: plain time-stamped lines, one per utterance, after a
// header written once per run; and the block that Exit appends to
// Base\Log.dat. The line formats live here and nowhere else.

#include <string>
#include <string_view>

#include "engine/file_store.h"

namespace vb {

// 53 '=' characters: the first line of the header and the last of a block.
std::string separatorLine();
// "Начало диалога: Дата - 06.12.2026   |   Время - 17:25:46"
std::string startLine(std::string_view date, std::string_view time);
// "Конец диалога: Дата - …   |   Время - …"
std::string endLine(std::string_view date, std::string_view time);
// "//Загружено фраз и выражений выученных программой: " + count
std::string countLine(std::size_t phrases);
// "[17:25:46] USER:     phrase" and "[17:25:46] CPU:     phrase"
std::string userLine(std::string_view time, std::string_view phrase);
std::string cpuLine(std::string_view time, std::string_view phrase);

// What Exit appends to Base\Log.dat: an empty line, the transcript, an
// empty line (the transcript is written as one piece ended by CR LF), the
// end line and the separator.
Lines logBlock(const Lines& transcript, std::string_view date, std::string_view time);

class Transcript {
 public:
  const Lines& lines() const { return lines_; }
  void append(std::string line) { lines_.push_back(std::move(line)); }
  // Nothing when it is empty.
  void deleteLast() {
    if (!lines_.empty()) lines_.pop_back();
  }
  void clear() { lines_.clear(); }

 private:
  Lines lines_;
};

}  // namespace vb
