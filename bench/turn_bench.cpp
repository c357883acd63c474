// One dialogue turn on generated phrase bases of 1,000 to 1,000,000 lines,
// against a reference that reads the whole Words.Dat and scans it with
// memmem, and against one plain read and one plain write of the same file.
//
//   vb_bench [--benchmark_filter=/1000000]
//
// Each case runs three times; the tables at the end use the medians.
//
// Turns (one program: the index is kept from turn to turn):
//   Known     a key near the end of the file (at 90 %), found by the whole-key pass
//   WordPass  a key found only by the word pass (so the whole file is walked)
//   Unknown   a phrase no line answers; its key is already learned and it is
//             already in its pool, so learning writes nothing
//   Learn     a fresh unknown phrase each time: pool line, new key, and (roll 2)
//             the previous answer's line (in the middle) moved to the end; the
//             next turn (untimed) reads the file once more, since the times of
//             a file just written cannot prove it unchanged
//   LearnSync the same with every write flushed to disk
//   Build     the first turn of a program: Words.Dat read and its index built
//             (the counter mem/size: what the index takes over the file's size)
//   Refresh   a turn after another program added one line to Words.Dat, a third
//             of the way in, or took it out again (by turns): the file read and
//             its index following the edit
// Plain operations on Words.Dat:
//   Reference the file read into a buffer kept from run to run, then scanned
//             with memmem for a text it does not hold
//   ReadBytes the file read into a buffer kept from run to run (a plain read)
//   ReadLines the file split into a list of lines (the program's plain read)
//   Write     the list written back whole (temporary file + rename)
//   WriteSync the same flushed to disk
//
// After the runs a table gives each turn as a ratio to Reference, the index
// build and refresh as ratios to ReadBytes, and the learning turn's extra
// cost as a ratio to Write.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "engine/disk_file_store.h"
#include "engine/knowledge_search.h"
#include "engine/line_split.h"
#include "engine/phrase_base.h"
#include "engine/random_source.h"
#include "engine/text.h"
#include "engine/turn.h"
#include "engine/words_index.h"

namespace vb {
namespace {

namespace fs = std::filesystem;

constexpr int kSizes[] = {1000, 10000, 100000, 1000000};

std::string w(std::string_view utf8) {
  return utf8To1251(utf8);
}

// Upper-case Russian letters with their usual frequencies, so that the
// byte test meets keys as common as in real text.
class WordMaker {
 public:
  explicit WordMaker(std::uint32_t seed) : gen_(seed) {
    // Ф, Ц, Щ and Ъ are left to the fresh phrases of the learning turns.
    const std::string letters = w("ОЕАИНТСРВЛКМДПУЯЫЬГЗБЧЙХЖШЮЭЁ");
    const double freq[] = {10.97, 8.45, 8.01, 7.35, 6.70, 6.26, 5.47, 4.73, 4.54, 4.40,
                           3.49,  3.21, 2.98, 2.81, 2.62, 2.01, 1.90, 1.74, 1.70, 1.65,
                           1.59,  1.44, 1.21, 0.97, 0.94, 0.73, 0.64, 0.32, 0.04};
    letters_ = letters;
    pick_ = std::discrete_distribution<int>(std::begin(freq), std::end(freq));
  }
  std::string word() {
    std::string out;
    const int len = std::uniform_int_distribution<int>(3, 8)(gen_);
    for (int i = 0; i < len; ++i) out.push_back(letters_[static_cast<std::size_t>(pick_(gen_))]);
    return out;
  }
  std::string words(int lo, int hi) {
    std::string out;
    const int n = std::uniform_int_distribution<int>(lo, hi)(gen_);
    for (int i = 0; i < n; ++i) {
      if (i) out += ' ';
      out += word();
    }
    return out;
  }
  int roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen_); }

 private:
  std::mt19937 gen_;
  std::string letters_;
  std::discrete_distribution<int> pick_;
};

// Keys and phrases that no generated line holds (the generator never makes
// words this long).
const std::string& knownKey() {
  static const std::string s = w("ЗНАМЕНИТЫЙ ПУТЕШЕСТВЕННИК");
  return s;
}
const std::string& wordKey() {
  static const std::string s = w("ЗАМЕЧАТЕЛЬНАЯ ПРОГУЛКА");
  return s;
}
const std::string& unknownPhrase() {
  static const std::string s = w("Расскажи удивительную историю");
  return s;
}
const std::string& freshPrefix() {
  static const std::string s = w("Новая реплика номер ");
  return s;
}
const std::string& previousAnswerKey() {
  static const std::string s = w("ПРЕДЫДУЩИЙ ОТВЕТ ПРОГРАММЫ");
  return s;
}

// A fresh phrase for each learning turn: its number spelt in letters that
// no generated key and no list entry holds.
std::string freshPhrase(unsigned long long n) {
  static const std::string digits = w("фцщъ");
  std::string tail;
  do {
    tail.push_back(digits[n % digits.size()]);
    n /= digits.size();
  } while (n);
  return freshPrefix() + tail;
}

// Whether a generated head would answer one of the phrases the turns say.
bool answersAPhrase(std::string_view head) {
  static const std::string phrases[] = {
      normalisePhrase(lower1251(knownKey()) + "?"),
      normalisePhrase(w("Какая замечательная была сегодня прогулка!")),
      normalisePhrase(unknownPhrase()),
      normalisePhrase(freshPrefix()),
  };
  for (const auto& p : phrases) {
    if (runFound(p, head) || wordsFound(p, head)) return true;
  }
  return false;
}

class Base {
 public:
  explicit Base(int lines) : lines_(lines) {
    std::string pattern = (fs::temp_directory_path() / "vb-bench-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    fs::create_directories(dir_ / "Base");
    WordMaker make(static_cast<std::uint32_t>(lines));
    Lines words;
    words.reserve(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) {
      if (i == lines * 9 / 10) {
        words.push_back(knownKey() + w("^Известный ключ.;"));
      } else if (i == lines / 2) {
        words.push_back(wordKey() + w("^Найден по словам.;"));
      } else if (i == lines / 2 + 1) {
        words.push_back(previousAnswerKey() + w("^Первый ответ.;"));
      } else if (i == lines - 1) {
        words.push_back(keyForm(unknownPhrase()) + "^");
      } else {
        const int kind = make.roll(20);
        std::string depth = kind < 4 ? "_" : kind == 4 ? "__" : "";
        std::string head;
        do {
          head = depth + make.words(1, 3);
        } while (answersAPhrase(head));
        std::string line = head + "^";
        if (kind != 5) {
          const int answers = 1 + make.roll(3);
          for (int a = 0; a < answers; ++a) line += lower1251(make.words(2, 5)) + ".;";
        }
        words.push_back(std::move(line));
      }
    }
    files_ = std::make_unique<DiskFileStore>(dir_, false);
    files_->writeLines("Base\\Words.Dat", words);
    original_ = *files_->readText("Base\\Words.Dat");
    Lines pool;
    for (int i = 0; i < 100; ++i) pool.push_back(w("Фраза пула номер ") + std::to_string(i) + ".");
    pool.push_back(normalisePhrase(unknownPhrase()));
    pools_ = joinLines(pool);
    restore();
    for (const char* name : {"Povtor.Dat", "X.Dat", "BigString.Dat", "CPUpvt.dat"}) {
      files_->writeLines(std::string("Base\\") + name, {w("Ответ.")});
    }
    files_->writeLines("Base\\Collection.Dat", {});
  }
  ~Base() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  void restore() {
    files_->writeText("Base\\Words.Dat", original_);
    files_->writeText("Base\\W1.Dat", pools_);
    files_->writeText("Base\\W2.Dat", pools_);
  }
  DiskFileStore& files(bool durable) {
    files_->setDurable(durable);
    return *files_;
  }
  // The program's one turn on this folder, kept with its index.
  Turn& turn(RandomSource& random) {
    random_.to = &random;
    if (!turn_) turn_ = std::make_unique<Turn>(*files_, random_);
    return *turn_;
  }
  fs::path wordsPath() const { return dir_ / "Base" / "Words.Dat"; }
  // Words.Dat as generated (false) or with one line more (true).
  const std::string& text(bool edited) {
    if (!edited) return original_;
    if (added_.empty()) {
      std::size_t at = 0;
      for (int i = 0; i < lines_ / 3; ++i) at = original_.find('\n', at) + 1;
      added_ = original_;
      added_.insert(at, w("ВСТАВЛЕННАЯ СТРОКА^Ответ.;") + "\r\n");
    }
    return added_;
  }
  // That text put in place the way an editor saves a file: a new file
  // renamed over it (here a link to one of two files written before).
  void putEdited(bool edited) {
    const fs::path kept = dir_ / (edited ? "Words.added" : "Words.original");
    if (!fs::exists(kept)) files_->writeText(kept.string(), text(edited));
    const fs::path temp = dir_ / "Base" / "Words.new";
    fs::create_hard_link(kept, temp);
    fs::rename(temp, wordsPath());
  }
  std::size_t bytes() const { return original_.size(); }

 private:
  // Hands the draws of each turn to the source that turn is given.
  struct Forward final : RandomSource {
    RandomSource* to = nullptr;
    int random(int n) override { return to->random(n); }
    void reseed() override { to->reseed(); }
  };
  int lines_;
  fs::path dir_;
  std::unique_ptr<DiskFileStore> files_;
  Forward random_;
  std::unique_ptr<Turn> turn_;
  std::string original_;
  std::string added_;
  std::string pools_;
};

Base& base(int lines) {
  static std::map<int, std::unique_ptr<Base>> bases;
  auto& b = bases[lines];
  if (!b) b = std::make_unique<Base>(lines);
  return *b;
}

class NoEffects final : public TurnEffects {
 public:
  void busyCursor(bool) override {}
  void playUserSound() override {}
  void showUserLine(const std::string&) override {}
  void playCpuSound() override {}
  void showCpuLine(const std::string& phrase) override { benchmark::DoNotOptimize(phrase.data()); }
  void setClosingTimer(bool) override {}
  void startDelayedTimer() override {}
  void setFollowUpTimer(bool) override {}
};

std::string runTurn(Base& b, bool durable, const std::string& raw, const std::string& prev,
                    int roll) {
  ScriptedRandom random{roll - 1};
  DialogueState state;
  state.PrevCpuPhrase = prev;
  NoEffects effects;
  b.files(durable);
  b.turn(random).run(raw, state, effects);
  benchmark::DoNotOptimize(state.CpuPhrase.data());
  return state.CpuPhrase;
}

// A turn that does not answer as the benchmark means it to is not timed.
bool answers(benchmark::State& state, Base& b, const std::string& raw, std::string_view expected) {
  if (runTurn(b, false, raw, "", 1) == w(expected)) return true;
  state.SkipWithError("the turn does not give the answer it is meant to");
  return false;
}

void setSize(benchmark::State& state, Base& b) {
  state.counters["lines"] = static_cast<double>(state.range(0));
  state.counters["MB"] = static_cast<double>(b.bytes()) / 1e6;
}

// The whole file into `buffer`, which keeps its size from run to run.
std::size_t readInto(const fs::path& path, std::string& buffer) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  std::size_t have = 0;
  for (;;) {
    if (have == buffer.size()) buffer.resize(buffer.size() + (1 << 20));
    const ssize_t got = ::read(fd, buffer.data() + have, buffer.size() - have);
    if (got <= 0) break;
    have += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return have;
}

void ReadBytes(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  std::string buffer;
  for (auto _ : state) benchmark::DoNotOptimize(readInto(b.wordsPath(), buffer));
  setSize(state, b);
}

void Reference(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  std::string buffer;
  static const std::string absent = w("ЯЯЯ ЭЭЭ");
  for (auto _ : state) {
    const std::size_t n = readInto(b.wordsPath(), buffer);
    benchmark::DoNotOptimize(::memmem(buffer.data(), n, absent.data(), absent.size()));
  }
  setSize(state, b);
}

void Build(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  double memory = 0;
  for (auto _ : state) {
    PhraseBase words(b.files(false));
    DialogueState dialogue;
    ScriptedRandom random;
    benchmark::DoNotOptimize(words.search(w("Привет."), dialogue, random));
    if (words.index()) memory = static_cast<double>(words.index()->memory());
  }
  setSize(state, b);
  state.counters["mem/size"] = memory / static_cast<double>(b.bytes());
}

void Refresh(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  PhraseBase words(b.files(false));
  DialogueState dialogue;
  ScriptedRandom random;
  words.search(w("Привет."), dialogue, random);
  // The edit is one that the index follows, rather than being built anew.
  auto index = WordsIndex::build(std::make_shared<FileBytes>(b.text(false)), SIZE_MAX);
  if (!words.index() || !index->refresh(std::make_shared<FileBytes>(b.text(true)))) {
    state.SkipWithError("the index does not follow the edit");
    return;
  }
  index.reset();
  bool edited = false;
  for (auto _ : state) {
    state.PauseTiming();
    b.putEdited(edited = !edited);
    state.ResumeTiming();
    benchmark::DoNotOptimize(words.search(w("Привет."), dialogue, random));
  }
  b.restore();
  setSize(state, b);
}

void ReadLines(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(b.files(false).readLines("Base\\Words.Dat"));
  setSize(state, b);
}

void writeBench(benchmark::State& state, bool durable) {
  Base& b = base(static_cast<int>(state.range(0)));
  const Lines lines = b.files(false).readLines("Base\\Words.Dat");
  for (auto _ : state) b.files(durable).writeLines("Base\\Words.Dat", lines);
  b.restore();
  setSize(state, b);
}
void Write(benchmark::State& state) {
  writeBench(state, false);
}
void WriteSync(benchmark::State& state) {
  writeBench(state, true);
}

void Known(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  const std::string raw = lower1251(knownKey()) + "?";
  if (!answers(state, b, raw, "Известный ключ.")) return;
  for (auto _ : state) runTurn(b, false, raw, "", 1);
  setSize(state, b);
}

void WordPass(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  static const std::string raw = w("Какая замечательная была сегодня прогулка!");
  if (!answers(state, b, raw, "Найден по словам.")) return;
  for (auto _ : state) runTurn(b, false, raw, "", 1);
  setSize(state, b);
}

void Unknown(benchmark::State& state) {
  Base& b = base(static_cast<int>(state.range(0)));
  const auto& files = b.files(false);
  const auto size = fs::file_size(*files.locate("Base\\Words.Dat"));
  if (!answers(state, b, unknownPhrase(), "Фраза пула номер 0.")) return;
  for (auto _ : state) runTurn(b, false, unknownPhrase(), "", 2);
  if (fs::file_size(*files.locate("Base\\Words.Dat")) != size) state.SkipWithError("learned");
  setSize(state, b);
}

void learnBench(benchmark::State& state, bool durable) {
  Base& b = base(static_cast<int>(state.range(0)));
  const std::string prev = w("Предыдущий ответ программы.");
  static unsigned long long counter = 0;
  const auto before = fs::file_size(*b.files(false).locate("Base\\Words.Dat"));
  runTurn(b, false, freshPhrase(++counter), prev, 2);
  const auto after = b.files(false).readLines("Base\\Words.Dat");
  b.restore();
  runTurn(b, false, unknownPhrase(), "", 2);
  if (fs::file_size(*b.files(false).locate("Base\\Words.Dat")) != before ||
      after.back() != keyForm(prev) + w("^Первый ответ.;") + freshPhrase(counter) + ".;") {
    state.SkipWithError("the learning turn does not learn as it is meant to");
    return;
  }
  int sinceRestore = 0;
  for (auto _ : state) {
    runTurn(b, durable, freshPhrase(++counter), prev, 2);
    state.PauseTiming();
    if (++sinceRestore == 32) {
      // Keeps the file at its size: at most 32 lines more than generated;
      // the index is built again before the next timed turn.
      b.restore();
      runTurn(b, false, unknownPhrase(), "", 2);
      sinceRestore = 0;
    }
    // The next turn, untimed: the file this program just wrote is read once
    // more (its times cannot prove it unchanged yet), and found the same.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    runTurn(b, false, unknownPhrase(), "", 2);
    state.ResumeTiming();
  }
  b.restore();
  setSize(state, b);
}
void Learn(benchmark::State& state) {
  learnBench(state, false);
}
void LearnSync(benchmark::State& state) {
  learnBench(state, true);
}

// Keeps the times of the runs (the median when repeated) for the tables
// printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const auto& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      const std::string name = run.run_name.function_name;
      const int lines = std::stoi(run.run_name.args);
      times_[name][lines] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      if (auto it = run.counters.find("mem/size"); it != run.counters.end()) {
        memory_[lines] = it->second.value;
      }
    }
  }

  void printRatios() const {
    std::printf("\nWall-clock times (µs) and ratios:\n");
    table(false);
    std::printf("\nCPU times (µs) and ratios (less disturbed by other load on the machine):\n");
    table(true);
    std::printf(
        "ref: read into a kept buffer + memmem over the file; read: the read alone.\n"
        "known, wordpass, unknown: the turn / ref.  build: first turn (read + index) / read;\n"
        "refresh: a turn after a one-line edit by another program (read + index followed) / read;\n"
        "mem: the index, text included, over the file's size.  learn+: a learning turn minus\n"
        "an unknown turn; /write: that over one plain write (the list of lines written back).\n");
  }

 private:
  struct Times {
    double real = 0;
    double cpu = 0;
  };

  double get(const char* what, int n, bool cpu) const {
    auto it = times_.find(what);
    if (it == times_.end()) return 0.0;
    auto jt = it->second.find(n);
    if (jt == it->second.end()) return 0.0;
    return cpu ? jt->second.cpu : jt->second.real;
  }

  void table(bool cpu) const {
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("%8s %7s %7s %7s %7s %7s %7s %7s %7s %7s | %7s %7s %7s %7s %7s %5s | %7s %7s\n",
                "lines", "read", "ref", "write", "build", "refresh", "known", "wordp", "unknown",
                "learn+", "kn/ref", "wp/ref", "un/ref", "bld/rd", "rfr/rd", "mem", "lrn/wr",
                "sync+");
    for (int n : kSizes) {
      auto t = [&](const char* what) { return get(what, n, cpu); };
      const double rb = t("ReadBytes"), rf = t("Reference"), wr = t("Write"), bd = t("Build"),
                   rr = t("Refresh"), kn = t("Known"), wp = t("WordPass"), un = t("Unknown"),
                   le = t("Learn"), ls = t("LearnSync");
      if (rf == 0) continue;
      const double added = le - un;
      auto mem = memory_.find(n);
      std::printf(
          "%8d %7.0f %7.0f %7.0f %7.0f %7.0f %7.1f %7.1f %7.1f %7.0f | %6.4fx %6.4fx %6.4fx "
          "%6.2fx %6.2fx %4.2fx | %6.2fx %7.2f\n",
          n, rb, rf, wr, bd, rr, kn, wp, un, added, ratio(kn, rf), ratio(wp, rf), ratio(un, rf),
          ratio(bd, rb), ratio(rr, rb), mem == memory_.end() ? 0.0 : mem->second, ratio(added, wr),
          ls - le);
    }
  }

  std::map<int, double> memory_;
  std::map<std::string, std::map<int, Times>> times_;
};

void registerAll() {
  using Fn = void (*)(benchmark::State&);
  const std::pair<const char*, Fn> benches[] = {
      {"Reference", Reference}, {"ReadBytes", ReadBytes}, {"ReadLines", ReadLines},
      {"Write", Write},         {"WriteSync", WriteSync}, {"Build", Build},
      {"Refresh", Refresh},     {"Known", Known},         {"WordPass", WordPass},
      {"Unknown", Unknown},     {"Learn", Learn},         {"LearnSync", LearnSync},
  };
  for (int n : kSizes) {
    for (const auto& [name, fn] : benches) {
      benchmark::RegisterBenchmark(name, fn)
          ->Arg(n)
          ->Unit(benchmark::kMicrosecond)
          ->Repetitions(3)
          ->DisplayAggregatesOnly(true);
    }
  }
}

}  // namespace
}  // namespace vb

int main(int argc, char** argv) {
  vb::registerAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vb::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
