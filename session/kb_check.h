#pragma once
// The knowledge-base check: reads every file of Base and Config.ini the way
// the program does and reports what the program would pass over, say wrong
// or fail on, each with the file and the line it stands on. Meant for the
// people who write and edit a knowledge base by hand.

#include <string>
#include <vector>

#include "engine/file_store.h"

namespace vb {

struct KbFinding {
  std::string file;  // as the program names it: "Base\\Words.Dat", "Config.ini"
  int line = 0;      // from 1; 0 when the finding concerns the whole file
  std::string message;
  bool operator==(const KbFinding&) const = default;
};

// "Base\Words.Dat:12: <message>", or "Base\AI.dat: <message>" for a finding
// about the whole file. Messages are Russian, in Windows-1251 like every
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
