#include "engine/turn.h"

#include <memory>

#include "engine/failure.h"
#include "engine/knowledge_files.h"
#include "engine/knowledge_search.h"
#include "engine/learning.h"
#include "engine/line_split.h"
#include "engine/text.h"
#include "engine/word_lists.h"

namespace vb {
namespace {

// The phrase length from which a long-phrase answer may be given.
constexpr std::size_t kLongPhrase = 110;
// The raw length from which an unknown phrase is learned.
constexpr std::size_t kLearnable = 5;
// Between an answer and its repeat tail.
constexpr std::string_view kTailGap = "     ";

// Turns a Failure into the end of the turn: the busy cursor goes, the
// failure passes on to the caller.
class BusyCursor {
 public:
  explicit BusyCursor(TurnEffects& effects) : effects_(effects) { effects_.busyCursor(true); }
  ~BusyCursor() {
    if (on_) effects_.busyCursor(false);
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
  void restore() {
    on_ = false;
    effects_.busyCursor(false);
  }

 private:
  TurnEffects& effects_;
  bool on_ = true;
};

// Steps from repetition to learning: fills CpuPhrase (and DelayedPhrase)
// from the first source that answers and returns whether the answer is
// improvised (not from the phrase base or the censor).
bool chooseAnswer(FileStore& files, RandomSource& random, std::size_t rawLength,
                  DialogueState& state, TurnEffects& effects, TurnTrace& trace) {
  // The file and line an answer was drawn from, for the trace.
  auto drawn = [&](TurnTrace::Step step, std::string_view file, DrawnLine line) {
    trace.step = step;
    trace.file = std::string(file);
    trace.line = line.index + 1;
    return std::move(line.line);
  };
  if (equalsIgnoreCase(state.UserPhrase, state.PrevUserPhrase)) {
    state.CpuPhrase =
        drawn(TurnTrace::Step::Repetition, kRepeatAnswers, drawLine(files, kRepeatAnswers, random));
    return true;
  }

  if (const int entry = censorEntry(state.UserPhrase); entry >= 0) {
    trace.head = Cenzura()[static_cast<std::size_t>(entry)];
    state.CpuPhrase =
        drawn(TurnTrace::Step::Censor, kCensorAnswers, drawLine(files, kCensorAnswers, random));
    files.updateText(kCensorRecord, [&](const std::string& text) -> std::optional<TextPieces> {
      return piecesWithLineAppended(text, ">>> " + state.UserPhrase);
    });
    return false;
  }
  const int filterAt = filterEntry(state.UserPhrase);
  const bool filter = filterAt >= 0;
  if (filter) trace.filter = Filter_nr()[static_cast<std::size_t>(filterAt)];

  const int r = random.random(6);
  if (r != 1 && r != 5 && state.UserPhrase.size() >= kLongPhrase) {
    state.CpuPhrase = drawn(TurnTrace::Step::LongPhrase, kLongPhraseAnswers,
                            drawLine(files, kLongPhraseAnswers, random));
    return true;
  }

  // Held until learning is done (by the probe too), so that the store need
  // not read an unchanged Words.Dat a second time.
  const auto words = files.readText(kPhraseBase);
  const bool learns = rawLength >= kLearnable;
  WordsProbe probe;
  if (learns) {
    probe = probeFor(state.UserPhrase, state.PrevCpuPhrase, state.TurnRoll);
    probe.text = words;
  }
  if (auto hit =
          searchPhraseBase(*words, state.UserPhrase, state, random, learns ? &probe : nullptr)) {
    traceSearchHit(trace, *words, state, *hit);
    state.CpuPhrase = std::move(hit->answer);
    state.DelayedPhrase = std::move(hit->delayed);
    if (!hit->fromBranch) effects.setClosingTimer(hit->closing);
    return false;
  }

  const bool question = state.UserPhrase.back() == '?';
  DrawnLine pooled = drawLine(files, poolName(question), random);
  trace.step = TurnTrace::Step::Unknown;
  trace.file = std::string(poolName(question));
  trace.line = pooled.index + 1;
  state.CpuPhrase = std::move(pooled.line);
  if (learns) {
    LearningInput in;
    in.userPhrase = state.UserPhrase;
    in.cpuPhrase = state.CpuPhrase;
    in.prevCpuPhrase = state.PrevCpuPhrase;
    in.turnRoll = state.TurnRoll;
    in.filterHit = filter;
    in.fromQuestionPool = question;
    in.poolText = std::move(pooled.text);
    in.probe = &probe;
    LearnedReport learned;
    in.report = &learned;
    trace.learning = true;
    learn(files, in);
    trace.pool = std::move(learned.pool);
    trace.keyAdded = learned.keyAdded;
    trace.answerAddedTo = std::move(learned.answerAddedTo);
  }
  return true;
}

}  // namespace

bool Turn::run(std::string_view raw, DialogueState& state, TurnEffects& effects) {
  if (raw.empty()) return false;
  random_.reseed();
  state.TurnRoll = random_.random(3) + 1;

  TurnTrace scratch;
  TurnTrace& trace = trace_ ? *trace_ : scratch;
  trace = TurnTrace();

  BusyCursor cursor(effects);
  state.DelayedPhrase.clear();
  // A phrase is one line of every file it may reach: line ends that came
  // with a pasted text become spaces.
  std::string oneLine(raw);
  for (char& c : oneLine) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  state.UserPhrase = normalisePhrase(oneLine);
  effects.playUserSound();
  effects.showUserLine(state.UserPhrase);
  trace.phrase = state.UserPhrase;

  const bool improvised = chooseAnswer(files_, random_, raw.size(), state, effects, trace);

  if (equalsIgnoreCase(state.CpuPhrase, state.PrevCpuPhrase)) {
    DrawnLine tail = drawLine(files_, kRepeatTails, random_);
    trace.tail = tail.line;
    trace.tailLine = tail.index + 1;
    state.CpuPhrase += kTailGap;
    state.CpuPhrase += tail.line;
  }
  trace.branchLine = state.BranchLine;
  trace.branchDepth = state.BranchDepth;
  trace.delayed = state.DelayedPhrase;

  effects.playCpuSound();
  effects.showCpuLine(state.CpuPhrase);
  if (!state.DelayedPhrase.empty() && random_.random(2) + 1 == 1) {
    trace.delayedScheduled = true;
    effects.startDelayedTimer();
  }
  cursor.restore();

  if (improvised) effects.setFollowUpTimer(state.TurnRoll == 1);
  return true;
}

void Turn::finish(DialogueState& state) {
  state.PrevUserPhrase = state.UserPhrase;
  state.PrevCpuPhrase = state.CpuPhrase;
  state.IdleCount = 0;
}

}  // namespace vb
