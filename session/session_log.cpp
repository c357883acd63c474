// Utterances in the dialogue view and the transcript, the transcript
// header (T12) and Exit, which appends the run to Base\Log.dat.
#include "session/session.h"
#include "session/texts.h"

namespace vb {

void Session::sayUser(const std::string& phrase) {
  window_.appendLine(LineKind::User, phrase);
  transcript_.append(userLine(clock_.timeText(), phrase));
}

void Session::sayCpu(const std::string& phrase) {
  window_.appendLine(LineKind::Cpu, phrase);
  transcript_.append(cpuLine(clock_.timeText(), phrase));
}

void Session::sayService(const std::string& text) {
  window_.appendLine(LineKind::Service, text);
}

void Session::T12Timer() {
  window_.clearLines();
  transcript_.append(separatorLine());
  transcript_.append(startLine(clock_.dateText(), clock_.timeText()));
  const std::size_t phrases = files_.readLines(files::kWordsLower).size();
  transcript_.append(countLine(phrases));
  transcript_.append(std::string());
  timers_.stop(TimerId::T12);
}

void Session::saveLogAndClose() {
  // Read, extend and write back under the store's lock, so two programs
  // leaving at once both keep their blocks. A failure leaves the file and
  // the window as they were.
  files_.update(files::kLog, [this](Lines& log) {
    Lines block = logBlock(transcript_.lines(), clock_.dateText(), clock_.timeText());
    log.insert(log.end(), std::make_move_iterator(block.begin()),
               std::make_move_iterator(block.end()));
    return true;
  });
  closed_ = true;
  timers_.stopAll();
  view_.closeMainWindow();
}

}  // namespace vb
