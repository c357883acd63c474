#include "session/transcript.h"

#include "session/texts.h"

namespace vb {
namespace {

std::string stampLine(std::string_view prefix, std::string_view date, std::string_view time) {
  std::string line(prefix);
  line += date;
  line += texts::kDivider;
  line += texts::timePrefix();
  line += time;
  return line;
}

std::string utterance(std::string_view time, std::string_view tag, std::string_view phrase) {
  std::string line = "[";
  line += time;
  line += "] ";
  line += tag;
  line += phrase;
  return line;
}

}  // namespace

std::string separatorLine() {
  return std::string(53, '=');
}

std::string startLine(std::string_view date, std::string_view time) {
  return stampLine(texts::startLinePrefix(), date, time);
}

std::string endLine(std::string_view date, std::string_view time) {
  return stampLine(texts::endLinePrefix(), date, time);
}

std::string countLine(std::size_t phrases) {
  return texts::countLinePrefix() + std::to_string(phrases);
}

std::string userLine(std::string_view time, std::string_view phrase) {
  return utterance(time, texts::kUserTag, phrase);
}

std::string cpuLine(std::string_view time, std::string_view phrase) {
  return utterance(time, texts::kCpuTag, phrase);
}

Lines logBlock(const Lines& transcript, std::string_view date, std::string_view time) {
  Lines block;
  block.reserve(transcript.size() + 4);
  block.emplace_back();
  block.insert(block.end(), transcript.begin(), transcript.end());
  block.emplace_back();
  block.push_back(endLine(date, time));
  block.push_back(separatorLine());
  return block;
}

}  // namespace vb
