// vb_crash_learner FOLDER SEED TAG FIRST COUNT [nosync]
//
// Runs learning turns on FOLDER/Base through the disk store (durable
// unless "nosync" is given) and writes "written <phrase>" to standard
// output, unbuffered, after each turn has returned. A FOLDER without Base
// gets the learners' knowledge base first. Exit status 0 when all
// turns ran, 1 when a turn failed (the message on standard error), 2 on a
// bad command line.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "engine/disk_file_store.h"
#include "learner.h"

namespace {

void writeOut(const std::string& text) {
  const char* p = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t put = ::write(STDOUT_FILENO, p, left);
    if (put < 0) {
      if (errno == EINTR) continue;
      std::_Exit(3);
    }
    p += put;
    left -= static_cast<std::size_t>(put);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: %s FOLDER SEED TAG FIRST COUNT [nosync]\n", argv[0]);
    return 2;
  }
  const bool durable = !(argc > 6 && std::string(argv[6]) == "nosync");
  try {
    if (!std::filesystem::exists(std::filesystem::path(argv[1]) / "Base")) {
      vb::robust::writeLearnerBase(argv[1], 2000);
    }
    vb::DiskFileStore files(argv[1], durable);
    vb::robust::runLearner(files, static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)),
                           std::atoi(argv[3]), std::atol(argv[4]), std::atol(argv[5]),
                           [](const std::string& phrase) { writeOut("written " + phrase + "\n"); });
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
