// verbonik-console as a user runs it: the built program on a copy of the
// shipped program folder, fed through a pipe, its output and files read back.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text.h"

namespace vb {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A copy of data/ in a fresh folder, removed afterwards.
class ProgramFolder {
 public:
  ProgramFolder() {
    std::string pattern = (fs::temp_directory_path() / "vb-console-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    fs::copy(fs::path(VB_SOURCE_DIR) / "data", path_, fs::copy_options::recursive);
  }
  ~ProgramFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const fs::path& path() const { return path_; }
  fs::path base(std::string_view name) const { return path_ / "Base" / name; }

  std::string bytes(std::string_view name) const {
    std::ifstream in(base(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Writes UTF-8 lines as the program's files hold them: Windows-1251, CR LF.
  void write(std::string_view name, const std::vector<std::string>& utf8Lines) const {
    std::ofstream out(base(name), std::ios::binary | std::ios::trunc);
    for (const auto& line : utf8Lines) out << utf8To1251(line) << "\r\n";
  }
  // Log.dat as UTF-8 lines.
  std::vector<std::string> logLines() const {
    std::string text = cp1251ToUtf8(bytes("Log.dat"));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "Log.dat must end with CR LF";
    return lines;
  }

  // A small phrase base whose answers are known in advance.
  void useSmallPhraseBase() const {
    write("Words.Dat", {"ПРИВЕТ^Здравствуй!;", "КАК ДЕЛА^Хорошо.;", "ПОКА^До свидания!;@",
                        "ЦВЕТ^Красный\x1b[31m цвет\x07;"});
  }

 private:
  fs::path path_;
};

// The built program, running, with pipes on its three standard streams.
class Console {
 public:
  explicit Console(std::vector<std::string> args, const fs::path& cwd = fs::current_path()) {
    int in[2], out[2], err[2];
    EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
    EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
    EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
    std::string program = std::string(VB_BINARY_DIR) + "/verbonik-console";
    args.insert(args.begin(), program);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      if (::chdir(cwd.c_str()) != 0) ::_exit(126);
      ::unsetenv("NO_COLOR");
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    in_ = in[1];
    out_ = out[0];
    err_ = err[0];
    ::signal(SIGPIPE, SIG_IGN);
  }
  ~Console() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    closeInput();
    ::close(out_);
    ::close(err_);
  }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  void send(std::string_view utf8) {
    while (!utf8.empty()) {
      ssize_t n = ::write(in_, utf8.data(), utf8.size());
      if (n <= 0) return;
      utf8.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  void closeInput() {
    if (in_ >= 0) ::close(in_);
    in_ = -1;
  }
  void interrupt() { ::kill(pid_, SIGINT); }

  // Reads output until standard output holds `needle`; false on timeout.
  bool waitFor(std::string_view needle, std::chrono::milliseconds timeout = 10s) {
    auto end = Clock::now() + timeout;
    while (out.find(needle) == std::string::npos) {
      if (Clock::now() >= end || !pump(end)) return out.find(needle) != std::string::npos;
    }
    return true;
  }

  // Waits for the program to end, reading all its output; the exit status,
  // 128 + N after signal N, or -1 when it did not end in time (then killed).
  int finish(std::chrono::milliseconds timeout = 20s) {
    auto end = Clock::now() + timeout;
    while (pump(end)) {
    }
    int status = 0;
    while (true) {
      pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) break;
      if (Clock::now() >= end) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return -1;
      }
      ::usleep(5000);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::string out;
  std::string err;

 private:
  // One round of reading; false when both outputs are closed or time is up.
  bool pump(Clock::time_point end) {
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    if (outDone_ && errDone_) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return false;
    if (outDone_) fds[0].fd = -1;
    if (errDone_) fds[1].fd = -1;
    if (::poll(fds, 2, static_cast<int>(left)) <= 0) return false;
    char buf[4096];
    if (fds[0].revents) {
      ssize_t n = ::read(out_, buf, sizeof buf);
      if (n > 0)
        out.append(buf, static_cast<std::size_t>(n));
      else
        outDone_ = true;
    }
    if (fds[1].revents) {
      ssize_t n = ::read(err_, buf, sizeof buf);
      if (n > 0)
        err.append(buf, static_cast<std::size_t>(n));
      else
        errDone_ = true;
    }
    return true;
  }

  pid_t pid_ = -1;
  int in_ = -1, out_ = -1, err_ = -1;
  bool outDone_ = false, errDone_ = false;
};

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result runConsole(std::vector<std::string> args, std::string_view input,
                  const fs::path& cwd = fs::current_path()) {
  Console console(std::move(args), cwd);
  console.send(input);
  console.closeInput();
  int status = console.finish();
  return {status, console.out, console.err};
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool isDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "06.12.2026"
bool isDate(std::string_view s) {
  return s.size() == 10 && s[2] == '.' && s[5] == '.' && isDigits(s.substr(0, 2)) &&
         isDigits(s.substr(3, 2)) && isDigits(s.substr(6));
}

// "17:25:46" or "9:05:00"
bool isTime(std::string_view s) {
  if (s.size() == 7) return isTime(std::string("0").append(s));
  return s.size() == 8 && s[2] == ':' && s[5] == ':' && isDigits(s.substr(0, 2)) &&
         isDigits(s.substr(3, 2)) && isDigits(s.substr(6));
}

// "<lead>Дата - <date>   |   Время - <time>"
bool isDatedLine(std::string_view line, std::string_view lead) {
  const std::string_view mid = "   |   Время - ";
  if (!line.starts_with(lead)) return false;
  line.remove_prefix(lead.size());
  if (!line.starts_with("Дата - ")) return false;
  line.remove_prefix(std::string_view("Дата - ").size());
  if (line.size() < 10 || !isDate(line.substr(0, 10))) return false;
  line.remove_prefix(10);
  return line.starts_with(mid) && isTime(line.substr(mid.size()));
}

// "[time] rest": the rest, or nothing when the line is not stamped.
std::optional<std::string> stampedText(const std::string& line) {
  auto close = line.find("] ");
  if (!line.starts_with("[") || close == std::string::npos) return std::nullopt;
  if (!isTime(std::string_view(line).substr(1, close - 1))) return std::nullopt;
  return line.substr(close + 2);
}

// The block one saved run appends to Log.dat, from its leading empty line:
// the header, `said` (transcript lines without their time), the footer.
void expectSavedBlock(const std::vector<std::string>& block, const std::vector<std::string>& said,
                      bool withHeader = true) {
  const std::string separator(53, '=');
  std::size_t header = withHeader ? 4 : 0;
  ASSERT_EQ(block.size(), 1 + header + said.size() + 3) << ::testing::PrintToString(block);
  EXPECT_EQ(block[0], "");
  if (withHeader) {
    EXPECT_EQ(block[1], separator);
    EXPECT_TRUE(isDatedLine(block[2], "Начало диалога: ")) << block[2];
    EXPECT_TRUE(block[3].starts_with("//Загружено фраз и выражений выученных программой: "))
        << block[3];
    EXPECT_EQ(block[4], "");
  }
  for (std::size_t i = 0; i < said.size(); ++i) {
    const std::string& line = block[1 + header + i];
    auto text = stampedText(line);
    ASSERT_TRUE(text.has_value()) << line;
    EXPECT_EQ(*text, said[i]);
  }
  EXPECT_EQ(block[block.size() - 3], "");
  EXPECT_TRUE(isDatedLine(block[block.size() - 2], "Конец диалога: ")) << block[block.size() - 2];
  EXPECT_EQ(block.back(), separator);
}

// What the program said on standard output, as transcript lines: the
// greeting, if the run had one, comes first.
std::vector<std::string> transcriptOf(const std::string& out) {
  std::vector<std::string> said;
  for (const auto& line : linesOf(out)) {
    if (line.starts_with("USER: ")) said.push_back("USER:     " + line.substr(6));
    if (line.starts_with("CPU:  ")) said.push_back("CPU:     " + line.substr(6));
  }
  return said;
}

TEST(ConsoleE2E, ADialogueThroughAPipeIsAnsweredAndSavedByExit) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  folder.write("Log.dat", {"Прошлый диалог."});
  std::string before = folder.bytes("Log.dat");

  Result r = runConsole({"--dir", folder.path().string()}, "Привет\nкак дела\n/exit\n");

  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  auto out = linesOf(r.out);
  EXPECT_TRUE(contains(out, "USER: Привет.")) << r.out;
  EXPECT_TRUE(contains(out, "CPU:  Здравствуй!")) << r.out;
  EXPECT_TRUE(contains(out, "USER: Как дела.")) << r.out;
  EXPECT_TRUE(contains(out, "CPU:  Хорошо.")) << r.out;

  // The old content stays byte for byte; one block follows it.
  std::string after = folder.bytes("Log.dat");
  ASSERT_TRUE(after.starts_with(before));
  auto log = folder.logLines();
  std::vector<std::string> block(log.begin() + 1, log.end());
  expectSavedBlock(block, transcriptOf(r.out));
  EXPECT_EQ(block[3], "//Загружено фраз и выражений выученных программой: 4");
}

TEST(ConsoleE2E, EndOfInputIsExitAndTheCurrentFolderIsTheProgramFolder) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  Result r = runConsole({}, "Привет", folder.path());  // no final line feed
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(linesOf(r.out), "CPU:  Здравствуй!")) << r.out;
  expectSavedBlock(folder.logLines(), transcriptOf(r.out));
}

TEST(ConsoleE2E, ALineWithAReservedCharacterIsRefusedAndNoTurnRuns) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  std::string words = folder.bytes("Words.Dat");
  Result r =
      runConsole({"--dir", folder.path().string()}, "новое слово ^ тут\nещё;одно\nПривет\n/exit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("«^»"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("«;»"), std::string::npos) << r.err;
  auto said = transcriptOf(r.out);
  ASSERT_GE(said.size(), 2u);
  EXPECT_EQ(said[said.size() - 2], "USER:     Привет.");  // the only user line
  EXPECT_EQ(std::count_if(said.begin(), said.end(),
                          [](const std::string& s) { return s.starts_with("USER"); }),
            1);
  EXPECT_EQ(folder.bytes("Words.Dat"), words);  // nothing learned from them
}

TEST(ConsoleE2E, UndoTakesTheAnswerBackAndNewDialogueDropsTheTranscript) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  Result undo = runConsole({"--dir", folder.path().string()}, "Привет\n/undo\n/exit\n");
  EXPECT_EQ(undo.status, 0);
  EXPECT_TRUE(contains(linesOf(undo.out), "(убрано: CPU:  Здравствуй!)")) << undo.out;
  auto said = transcriptOf(undo.out);
  ASSERT_FALSE(said.empty());
  EXPECT_EQ(said.back(), "CPU:     Здравствуй!");
  said.pop_back();
  expectSavedBlock(folder.logLines(), said);

  ProgramFolder second;
  second.useSmallPhraseBase();
  Result fresh = runConsole({"--dir", second.path().string()}, "Привет\n/new\nкак дела\n/exit\n");
  EXPECT_EQ(fresh.status, 0);
  auto block = second.logLines();
  // No header after New dialogue; a greeting may open the new dialogue.
  std::vector<std::string> saidAfterNew;
  for (const auto& line : block) {
    if (auto text = stampedText(line)) saidAfterNew.push_back(*text);
  }
  ASSERT_GE(saidAfterNew.size(), 2u);
  EXPECT_EQ(saidAfterNew[saidAfterNew.size() - 2], "USER:     Как дела.");
  EXPECT_EQ(saidAfterNew.back(), "CPU:     Хорошо.");
  expectSavedBlock(block, saidAfterNew, false);
}

TEST(ConsoleE2E, TheSameSeedReplaysTheSameDialogue) {
  const std::string phrases =
      "Привет\nКак тебя зовут?\nЧто ты любишь?\nРасскажи анекдот\nСколько тебе лет?\n"
      "Мне скучно\nпогода сегодня странная\nкакой-то совсем неизвестный набор слов\n"
      "Привет\nПривет\nТы кто?\nПока\n";
  std::string outputs[2];
  for (auto& output : outputs) {
    ProgramFolder folder;
    Result r = runConsole({"--dir", folder.path().string(), "--seed", "2026"}, phrases);
    EXPECT_EQ(r.status, 0) << r.err;
    output = r.out;
  }
  EXPECT_GE(transcriptOf(outputs[0]).size(), 24u) << outputs[0];
  EXPECT_EQ(outputs[0], outputs[1]);
}

TEST(ConsoleE2E, ASeededDialogueTypedWithPausesIsReplayedByAPipe) {
  // The silence counter draws every second while the user types; the
  // answers must not depend on how long the user took.
  const std::vector<std::string> phrases = {"Привет", "что-то совсем новое", "а это вопрос?",
                                            "Привет", "ещё одна незнакомая фраза"};
  auto fresh = [] {
    auto folder = std::make_unique<ProgramFolder>();
    folder->useSmallPhraseBase();
    return folder;
  };
  std::string all;
  for (const auto& p : phrases) all += p + "\n";
  auto piped = fresh();
  Result replay = runConsole({"--dir", piped->path().string(), "--seed", "5"}, all);
  EXPECT_EQ(replay.status, 0) << replay.err;

  auto typed = fresh();
  Console slow({"--dir", typed->path().string(), "--seed", "5"});
  for (std::size_t i = 0; i < phrases.size(); ++i) {
    slow.send(phrases[i] + "\n");
    if (i == 1) ::usleep(1300 * 1000);  // a pause past the first tick of the silence counter
  }
  slow.closeInput();
  EXPECT_EQ(slow.finish(), 0) << slow.err;
  EXPECT_EQ(transcriptOf(slow.out), transcriptOf(replay.out));
  EXPECT_GE(transcriptOf(replay.out).size(), 10u) << replay.out;
  EXPECT_EQ(typed->bytes("Words.Dat"), piped->bytes("Words.Dat"));  // the same learned
}

TEST(ConsoleE2E, AnUnusableFolderIsReportedWithANonZeroStatus) {
  ProgramFolder folder;
  Result missing = runConsole({"--dir", (folder.path() / "nowhere").string()}, "");
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.err.find("nowhere"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.out, "");

  fs::path empty = folder.path() / "empty";
  fs::create_directory(empty);
  Result noBase = runConsole({"--dir", empty.string()}, "");
  EXPECT_NE(noBase.status, 0);
  EXPECT_NE(noBase.err.find("Base"), std::string::npos) << noBase.err;

  fs::remove(folder.base("Words.Dat"));
  Result noWords = runConsole({"--dir", folder.path().string()}, "");
  EXPECT_NE(noWords.status, 0);
  EXPECT_NE(noWords.err.find("Words.Dat"), std::string::npos) << noWords.err;
}

TEST(ConsoleE2E, HelpVersionAndBadOptionsFollowUnixManners) {
  Result help = runConsole({"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--seed"), std::string::npos);
  EXPECT_EQ(help.err, "");
  Result version = runConsole({"--version"}, "");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("2.546"), std::string::npos);
  Result bad = runConsole({"--colour"}, "");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("--colour"), std::string::npos);
}

TEST(ConsoleE2E, ExitThatCannotSaveKeepsTheDialogueAndEndOfInputFails) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  fs::remove(folder.base("Log.dat"));
  Result r = runConsole({"--dir", folder.path().string()}, "Привет\n/exit\nкак дела\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Cannot open file Base\\Log.dat."), std::string::npos) << r.err;
  // The failed /exit left the dialogue running.
  EXPECT_TRUE(contains(linesOf(r.out), "CPU:  Хорошо.")) << r.out;
  EXPECT_FALSE(fs::exists(folder.base("Log.dat")));

  fs::create_directory(folder.base("Log.dat"));
  Result dir = runConsole({"--dir", folder.path().string()}, "Привет\n");
  EXPECT_EQ(dir.status, 1);
  EXPECT_NE(dir.err.find("Log.dat"), std::string::npos) << dir.err;
}

TEST(ConsoleE2E, CtrlCEndsWithoutSaving) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  std::string before = folder.bytes("Log.dat");
  Console console({"--dir", folder.path().string()});
  console.send("Привет\n");
  ASSERT_TRUE(console.waitFor("CPU:  Здравствуй!")) << console.out << console.err;
  console.interrupt();
  EXPECT_EQ(console.finish(), 128 + SIGINT);
  EXPECT_EQ(folder.bytes("Log.dat"), before);
}

TEST(ConsoleE2E, AClosingAnswerRunsTheClosingTimerThenExit) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  Console console({"--dir", folder.path().string()});
  console.send("Пока\n");  // standard input stays open: the timer ends the program
  auto start = Clock::now();
  EXPECT_EQ(console.finish(10s), 0) << console.err;
  EXPECT_GE(Clock::now() - start, 500ms);  // 80 ticks of the shortest period
  EXPECT_TRUE(contains(linesOf(console.out), "CPU:  До свидания!")) << console.out;
  expectSavedBlock(folder.logLines(), transcriptOf(console.out));
}

TEST(ConsoleE2E, TheProgramSpeaksOnItsOwnWhileTheUserIsSilent) {
  // An improvised answer with TurnRoll 1 brings a spontaneous remark two
  // seconds later. These seeds give that roll to the first turn; one of
  // them is enough, the others guard against a change in the order of draws.
  std::string tried;
  for (const char* seed : {"2", "3", "8"}) {
    ProgramFolder folder;
    folder.useSmallPhraseBase();
    folder.write("AI.dat", {"Первая строка никогда не говорится.", "Замечание само по себе."});
    Console console({"--dir", folder.path().string(), "--seed", seed});
    console.send("Абракадабра какая-то\n");
    ASSERT_TRUE(console.waitFor("USER: Абракадабра какая-то.")) << console.out << console.err;
    auto answered = Clock::now();
    if (!console.waitFor("CPU:  Замечание само по себе.", 3500ms)) {
      tried += std::string("\n--seed ") + seed + ":\n" + console.out + console.err;
      continue;
    }
    EXPECT_GE(Clock::now() - answered, 1500ms);
    console.send("/exit\n");
    EXPECT_EQ(console.finish(), 0);
    auto log = folder.logLines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_TRUE(log[log.size() - 4].ends_with("] CPU:     Замечание само по себе.")) << log.back();
    return;
  }
  ADD_FAILURE() << "no spontaneous remark with any of the seeds" << tried;
}

TEST(ConsoleE2E, APacedReplayRunsTheTimersInVirtualTimeTheSameEveryRun) {
  // Lines a minute and a half apart: the delayed part is said (when its
  // draw says so), the farewell closes the program, and the line after it
  // is not answered. Minutes of virtual time
  // take well under a second each run.
  const std::string phrases = "Как дела?\nПривет\nПока\nЕщё одна фраза\n";
  std::string tried;
  for (const char* seed : {"1", "2", "3", "4", "5", "6"}) {
    std::string outputs[2];
    int delays[2] = {-1, -1};
    for (int run = 0; run < 2; ++run) {
      ProgramFolder folder;
      folder.write("Words.Dat",
                   {"КАК ДЕЛА^Хорошо.|А у тебя?;", "ПРИВЕТ^Здравствуй!;", "ПОКА^До свидания!;@"});
      Result r =
          runConsole({"--dir", folder.path().string(), "--seed", seed, "--pace", "90"}, phrases);
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_NE(r.err.find("строка «Ещё одна фраза» и те, что после неё, остались без ответа"),
                std::string::npos)
          << r.err;
      outputs[run] = r.out;
      // Seconds from the question to the delayed part, from Log.dat's times.
      auto seconds = [](const std::string& line) {
        int h = 0, m = 0, s = 0;
        std::sscanf(line.c_str(), "[%d:%d:%d]", &h, &m, &s);
        return (h * 60 + m) * 60 + s;
      };
      int asked = -1;
      for (const auto& line : folder.logLines()) {
        if (line.ends_with("USER:     Как дела?")) asked = seconds(line);
        if (line.ends_with("CPU:     А у тебя?") && asked >= 0)
          delays[run] = (seconds(line) - asked + 86400) % 86400;
      }
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_EQ(delays[0], delays[1]);
    auto said = linesOf(outputs[0]);
    EXPECT_FALSE(contains(said, "USER: Ещё одна фраза.")) << outputs[0];
    if (delays[0] < 0) {
      tried += std::string("\n--seed ") + seed + ":\n" + outputs[0];
      continue;
    }
    // Said in the silence after the question, before the next phrase.
    auto at = [&](const std::string& line) {
      return std::find(said.begin(), said.end(), line) - said.begin();
    };
    EXPECT_LT(at("CPU:  Хорошо."), at("CPU:  А у тебя?"));
    EXPECT_LT(at("CPU:  А у тебя?"), at("USER: Привет."));
    EXPECT_LT(delays[0], 90);
    return;
  }
  ADD_FAILURE() << "no delayed part with any of the seeds" << tried;
}

TEST(ConsoleE2E, CheckWarningsAreCountedFailOnlyWhenStrictAndAnExceptionPassesThem) {
  ProgramFolder folder;
  folder.write("Words.Dat",
               {"КУЗЯ^Домовёнок!;", "ТЫ ЗНАЕШЬ КУЗЮ^Конечно!;", "ЭТО КУЗЯ^Привет, Кузя!;"});
  const std::string dir = folder.path().string();
  Result loose = runConsole({"--check", "--dir", dir}, "");
  EXPECT_EQ(loose.status, 0) << loose.err;
  auto lines = linesOf(loose.out);
  ASSERT_EQ(lines.size(), 2u) << loose.out;
  EXPECT_TRUE(lines[0].starts_with("Base\\Words.Dat:3: предупреждение [shadowed]: ")) << lines[0];
  EXPECT_EQ(lines[1], "Итог: 0 ошибок, 1 предупреждение.");
  EXPECT_EQ(runConsole({"--check", "--strict", "--dir", dir}, "").status, 1);

  const fs::path exceptions = folder.path() / "исключения.txt";
  std::ofstream(exceptions) << "# заметка\nshadowed ЭТО КУЗЯ^так задумано\n";
  Result passed =
      runConsole({"--check", "--strict", "--exceptions", exceptions.string(), "--dir", dir}, "");
  EXPECT_EQ(passed.status, 0) << passed.out << passed.err;
  EXPECT_EQ(passed.out, "");
  std::ofstream(exceptions, std::ios::app) << "censored КУЗЯ\n";
  Result bad = runConsole({"--check", "--exceptions", exceptions.string(), "--dir", dir}, "");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("исключения.txt:3: нет ключа и '^'"), std::string::npos) << bad.out;
}

TEST(ConsoleE2E, ControlCharactersFromTheKnowledgeBaseNeverReachTheTerminal) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  Result r = runConsole({"--dir", folder.path().string()}, "Цвет\n/exit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains(linesOf(r.out), "CPU:  Красный␛[31m цвет␇")) << r.out;
  for (char c : r.out) {
    auto b = static_cast<unsigned char>(c);
    EXPECT_TRUE(b >= 0x20 || c == '\n') << "raw control byte " << int(b);
  }
}

TEST(ConsoleE2E, LinesAreCutLikeTheFieldAndForeignCharactersBecomeQuestionMarks) {
  ProgramFolder folder;
  folder.useSmallPhraseBase();
  std::string longLine;
  for (int i = 0; i < 300; ++i) longLine += "ы";
  Result r = runConsole({"--dir", folder.path().string()}, longLine + "\nпривет 😀 мир 你\n/exit\n");
  EXPECT_EQ(r.status, 0);
  std::string cut = "Ы";  // the first letter is made a capital
  for (int i = 1; i < 255; ++i) cut += "ы";
  auto out = linesOf(r.out);
  EXPECT_TRUE(contains(out, "USER: " + cut + ".")) << r.out;
  EXPECT_TRUE(contains(out, "USER: Привет мир ?")) << r.out;
}

}  // namespace
}  // namespace vb
