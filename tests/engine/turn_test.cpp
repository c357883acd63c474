#include "engine/turn.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "engine/failure.h"
#include "engine_fixture.h"

namespace vb {
namespace {

using testing::Kb;
using testing::NullEffects;
using testing::RecordingEffects;
using testing::TraceRandom;
using testing::w;
using Log = std::vector<std::string>;

class TurnTest : public ::testing::Test {
 protected:
  TurnTest() {
    kb.put("Base/Povtor.Dat", {"Ты повторяешься.", "Опять?"});
    kb.put("Base/X.Dat", {"Не груби."});
    kb.put("Base/Collection.Dat", {});
    kb.put("Base/BigString.Dat", {"Слишком длинно."});
    kb.put("Base/Words.Dat", {
                                 "КАК ДЕЛА^Хорошо.;Отлично!|А у тебя?;",
                                 "_ПЛОХО^Почему?;",
                                 "ПРИВЕТ^Привет!;@",
                             });
    kb.put("Base/W1.Dat", {"Как тебя зовут?"});
    kb.put("Base/W2.Dat", {"Погода хорошая."});
    kb.put("Base/CPUpvt.dat", {"Я уже это говорил."});
  }

  // One whole turn as the session runs it; the answer in UTF-8.
  std::string say(std::string_view raw, std::initializer_list<int> draws = {}) {
    effects = RecordingEffects();
    random.trace.clear();
    for (int d : draws) random.push(d);
    Turn turn(kb.store(), random);
    turn.run(w(raw), state, effects);
    Turn::finish(state);
    return cp1251ToUtf8(state.CpuPhrase);
  }
  // The failure a turn ends with; the turn is not finished.
  std::string failing(std::string_view raw, std::initializer_list<int> draws = {}) {
    effects = RecordingEffects();
    for (int d : draws) random.push(d);
    Turn turn(kb.store(), random);
    try {
      turn.run(w(raw), state, effects);
    } catch (const Failure& f) {
      return f.what();
    }
    return "no failure";
  }

  Kb kb;
  TraceRandom random;
  RecordingEffects effects;
  DialogueState state;
};

TEST_F(TurnTest, APhraseBaseAnswerInOrderWithItsDraws) {
  // Roll 1, r = 3, answer 2 of 2, delayed part said (Random(2) + 1 = 1).
  EXPECT_EQ(say("как дела", {0, 3, 1, 0}), "Отлично!");
  EXPECT_EQ(random.trace, (Log{"reseed", "R3=0", "R6=3", "R2=1", "R2=0"}));
  EXPECT_EQ(effects.log, (Log{"busy", "MP2", "USER Как дела.", "T4 off", "MP5", "CPU Отлично!",
                              "T13 on", "idle"}));
  EXPECT_EQ(state.TurnRoll, 1);
  EXPECT_EQ(cp1251ToUtf8(state.DelayedPhrase), "А у тебя?");
  EXPECT_EQ(cp1251ToUtf8(state.PrevUserPhrase), "Как дела.");
  EXPECT_EQ(cp1251ToUtf8(state.PrevCpuPhrase), "Отлично!");

  // Random(2) + 1 = 2: the delayed part is not said, but stays set until
  // the next turn empties it.
  state = {};
  say("как дела", {0, 3, 1, 1});
  EXPECT_EQ(effects.log,
            (Log{"busy", "MP2", "USER Как дела.", "T4 off", "MP5", "CPU Отлично!", "idle"}));
  say("Что-то новое");
  EXPECT_EQ(state.DelayedPhrase, "");
}

TEST_F(TurnTest, ClosingTimerFollowsMainPhraseAnswersOnly) {
  say("привет");
  EXPECT_EQ(effects.log[3], "T4 on");
  kb.put("Base/Words.Dat", {"КАК ДЕЛА^Хорошо.;", "_ПЛОХО^Почему?;@"});
  say("как дела");
  EXPECT_EQ(effects.log[3], "T4 off");
  say("плохо");  // a branch answer leaves T4 alone, '@' or not
  EXPECT_EQ(effects.log, (Log{"busy", "MP2", "USER Плохо.", "MP5", "CPU Почему?", "idle"}));
}

TEST_F(TurnTest, AnUnknownPhraseIsAnsweredFromItsPoolAndLearned) {
  EXPECT_EQ(say("Что такое счастье?", {0}), "Как тебя зовут?");
  EXPECT_EQ(effects.log, (Log{"busy", "MP2", "USER Что такое счастье?", "MP5",
                              "CPU Как тебя зовут?", "idle", "T9 on"}));
  EXPECT_EQ(random.trace, (Log{"reseed", "R3=0", "R6=0", "R1=0"}));
  EXPECT_EQ(kb.lines("Base\\W1.Dat").back(), "Что такое счастье?");
  EXPECT_EQ(kb.lines("Base\\Words.Dat").back(), "ЧТО ТАКОЕ СЧАСТЬЕ^");

  // Roll 2: no follow-up, and the reply becomes an answer of the line whose
  // key is the previous answer.
  kb.put("Base/Words.Dat", {"КАК ТЕБЯ ЗОВУТ^", "ПРИВЕТ^Привет!;@"});
  EXPECT_EQ(say("Меня зовут Петя", {1}), "Погода хорошая.");
  EXPECT_EQ(effects.log.back(), "T9 off");
  EXPECT_EQ(kb.lines("Base\\Words.Dat"),
            (Log{"ПРИВЕТ^Привет!;@", "МЕНЯ ЗОВУТ ПЕТЯ^", "КАК ТЕБЯ ЗОВУТ^Меня зовут Петя.;"}));
  EXPECT_EQ(state.BranchDepth, 0);
}

TEST_F(TurnTest, ShortPhrasesAreNotLearned) {
  say("Ага");
  say("Нет!");
  say("Абвг");
  EXPECT_EQ(kb.lines("Base\\Words.Dat").size(), 3u);
  EXPECT_EQ(kb.lines("Base\\W2.Dat").size(), 1u);
  say("Абвгд");  // raw length 5
  EXPECT_EQ(kb.lines("Base\\Words.Dat").back(), "АБВГД^");
}

TEST_F(TurnTest, ARepeatedPhraseIsAnsweredFromPovtorWhateverItIs) {
  say("Привет");
  EXPECT_EQ(say("привет.", {0, 1}), "Опять?");
  EXPECT_EQ(random.trace, (Log{"reseed", "R3=0", "R2=1"}));
  EXPECT_EQ(effects.log.back(), "T9 on");

  say("Ты дурак");
  say("ты ДУРАК");
  EXPECT_EQ(kb.lines("Base\\Collection.Dat"), Log{">>> Ты дурак."});
}

TEST_F(TurnTest, ACensoredPhraseIsRecordedEveryTimeAndLeavesTheThread) {
  say("как дела");
  EXPECT_EQ(say("Ты дурак", {1}), "Не груби.");
  EXPECT_EQ(random.trace, (Log{"reseed", "R3=1", "R1=0"}));
  EXPECT_EQ(effects.log, (Log{"busy", "MP2", "USER Ты дурак.", "MP5", "CPU Не груби.", "idle"}));
  say("Какой-то вопрос?");
  say("Ты дурак");
  EXPECT_EQ(kb.lines("Base\\Collection.Dat"), (Log{">>> Ты дурак.", ">>> Ты дурак."}));
  EXPECT_EQ(kb.lines("Base\\Words.Dat").size(), 4u);  // only the question was learned
}

TEST_F(TurnTest, ALongPhraseGetsItsAnswerTwoDrawsInThree) {
  const std::string len109 = "как дела " + std::string(99, 'a') + ".";
  const std::string len110 = "как дела " + std::string(100, 'a') + ".";
  ASSERT_EQ(w(len109).size(), 109u);
  // Each phrase as the first of a dialogue: no repetition, no tail.
  auto first = [&](const std::string& raw, int r) {
    state = {};
    return say(raw, {0, r});
  };
  for (int r : {0, 2, 3, 4}) {
    EXPECT_EQ(first(len110, r), "Слишком длинно.") << r;
    EXPECT_EQ(first(len109, r), "Хорошо.") << r;
  }
  for (int r : {1, 5}) EXPECT_EQ(first(len110, r), "Хорошо.") << r;
  first(len110, 0);
  EXPECT_EQ(effects.log.back(), "T9 on");
}

TEST_F(TurnTest, AnAnswerSaidTwiceRunningGetsATail) {
  say("Первая фраза");
  EXPECT_EQ(say("Вторая фраза"), "Погода хорошая.     Я уже это говорил.");
  // W2.Dat has learned the first phrase by now: Random(2) draws its line 0.
  EXPECT_EQ(random.trace, (Log{"reseed", "R3=0", "R6=0", "R2=0", "R1=0"}));
  // The next turn compares with the longer text: no tail then.
  EXPECT_EQ(say("Третья фраза"), "Погода хорошая.");
}

TEST_F(TurnTest, AFailedTurnKeepsWhatItDidAndThePreviousPhrases) {
  say("Привет");
  state.IdleCount = 7;
  kb.remove("Base/Povtor.Dat");
  EXPECT_EQ(failing("Привет"), "Cannot open file Base\\Povtor.Dat");
  EXPECT_EQ(effects.log, (Log{"busy", "MP2", "USER Привет.", "idle"}));
  EXPECT_EQ(cp1251ToUtf8(state.PrevUserPhrase), "Привет.");
  EXPECT_EQ(cp1251ToUtf8(state.PrevCpuPhrase), "Привет!");
  EXPECT_EQ(state.IdleCount, 7);

  kb.put("Base/W2.Dat", {});
  EXPECT_EQ(failing("Совсем новое"), "List index out of bounds (0)");

  // The censor record stays when the tail cannot be drawn.
  kb.remove("Base/CPUpvt.dat");
  state.PrevCpuPhrase = w("Не груби.");
  EXPECT_EQ(failing("Ты дурак"), "Cannot open file Base\\CPUpvt.dat");
  EXPECT_EQ(kb.lines("Base\\Collection.Dat"), Log{">>> Ты дурак."});
}

TEST_F(TurnTest, TwoProgramsLearningInOneFolderLoseNothing) {
  kb.put("Base/Words.Dat", {"ПОГОДА ХОРОШАЯ^"});
  constexpr int kTurns = 25;
  auto talk = [&](const std::string& who) {
    DiskFileStore files(kb.dir().path(), false);
    ScriptedRandom scripted;
    NullEffects quiet;
    for (int i = 0; i < kTurns; ++i) {
      for (int v : {1, 0, 0, 0}) scripted.push(v);  // roll 2, r, W2 line 0, tail
      DialogueState mine;
      mine.PrevCpuPhrase = w("Погода хорошая.");
      Turn(files, scripted).run(w(who) + " " + std::to_string(i), mine, quiet);
    }
  };
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    talk("Первый говорит");
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  talk("Второй говорит");
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const auto words = kb.lines("Base\\Words.Dat");
  EXPECT_EQ(words.size(), 2u * kTurns + 1);
  const std::string& answered = words.back();
  EXPECT_EQ(answered.rfind("ПОГОДА ХОРОШАЯ^", 0), 0u);
  EXPECT_EQ(std::count(answered.begin(), answered.end(), ';'), 2 * kTurns);
  EXPECT_EQ(kb.lines("Base\\W2.Dat").size(), 2u * kTurns + 1);
}

TEST_F(TurnTest, LineEndsInAPastedPhraseBecomeSpaces) {
  say("Первая строка\r\nвторая\nтретья");
  EXPECT_EQ(effects.log[2], "USER Первая строка  вторая третья.");
  EXPECT_EQ(kb.lines("Base\\Words.Dat").back(), "ПЕРВАЯ СТРОКА  ВТОРАЯ ТРЕТЬЯ^");
  EXPECT_EQ(kb.lines("Base\\W2.Dat").back(), "Первая строка  вторая третья.");
}

TEST_F(TurnTest, AnEmptyPhraseDoesNothing) {
  Turn turn(kb.store(), random);
  EXPECT_FALSE(turn.run("", state, effects));
  EXPECT_TRUE(effects.log.empty());
  EXPECT_TRUE(random.trace.empty());
}

}  // namespace
}  // namespace vb
