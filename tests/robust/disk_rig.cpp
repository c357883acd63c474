#include "disk_rig.h"

#include "engine/line_split.h"
#include "engine/text.h"
#include "folder_bytes.h"
#include "learner.h"

namespace vb::robust {

namespace fs = std::filesystem;

void writeProgramFolder(const fs::path& dir, int fillerLines, const std::string& partner) {
  writeLearnerBase(dir, fillerLines);
  auto put = [&](const std::string& rel, const Lines& lines) {
    writeBytes(dir / rel, joinLines(lines));
  };
  put("Config.ini", test::configLines("NO", partner));
  put("Base/Begin.dat", {utf8To1251("Привет!")});
  put("Base/Pause.Dat", {utf8To1251("Ты здесь?")});
  put("Base/AI.dat", {utf8To1251("Первая."), utf8To1251("Кстати.")});
  put("Base/dictionary.dat", {utf8To1251("привет")});
  put("Base/Log.dat", {"old"});
}

DiskRig::DiskRig(fs::path folder, int fillerLines)
    : dir(std::move(folder)), disk(dir, false), files(disk) {
  if (!fs::exists(dir / "Base")) writeProgramFolder(dir, fillerLines);
  session = std::make_unique<Session>(SessionDeps{files, random, clock, view});
  session->FormCreate(settings);
  session->start();
  run(3000);
}

void DiskRig::run(std::int64_t ms) {
  test::runFor(*session, clock, ms);
}

void DiskRig::send(const std::string& text) {
  view.input = text;
  session->InputChange(text);
  session->SpeakClick();
}

void DiskRig::partnerTimerMode(const std::string& path) {
  session->editor().path = path;
  session->editor().timerMode = true;
  session->editor().interval = 1;
  session->Cpu31Click();
}

std::string DiskRig::bytes(const std::string& rel) const {
  return readBytes(dir / rel);
}

}  // namespace vb::robust
