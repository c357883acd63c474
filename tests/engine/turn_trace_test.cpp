#include "engine/turn_trace.h"

#include <gtest/gtest.h>

#include "engine/turn.h"
#include "engine_fixture.h"

namespace vb {
namespace {

using testing::Kb;
using testing::NullEffects;
using testing::TraceRandom;
using testing::w;
using Step = TurnTrace::Step;

class TurnTraceTest : public ::testing::Test {
 protected:
  TurnTraceTest() {
    kb.put("Base/Povtor.Dat", {"Ты повторяешься.", "Опять?"});
    kb.put("Base/X.Dat", {"Не груби."});
    kb.put("Base/Collection.Dat", {});
    kb.put("Base/Words.Dat", {
                                 "ПРИВЕТ^Привет!;@",
                                 "КАК ДЕЛА^Хорошо.;Отлично!|А у тебя?;",
                                 "_ПЛОХО^Почему?;",
                                 "ЧТО ТАКОЕ СЧАСТЬЕ^",
                             });
    kb.put("Base/W1.Dat", {"Как тебя зовут?", "Что такое счастье?"});
    kb.put("Base/W2.Dat", {"Погода хорошая."});
    kb.put("Base/CPUpvt.dat", {"Я уже это говорил."});
  }
  const TurnTrace& say(std::string_view raw, std::initializer_list<int> draws = {}) {
    for (int d : draws) random.push(d);
    Turn turn(kb.store(), random);
    turn.setTrace(&trace);
    NullEffects effects;
    turn.run(w(raw), state, effects);
    Turn::finish(state);
    return trace;
  }

  Kb kb;
  TraceRandom random;
  DialogueState state;
  TurnTrace trace;
};

TEST_F(TurnTraceTest, TellsTheStepLineKeyAndAnswerOfEachSource) {
  // Roll 1, r 3, answer 2 of 2, delayed part said.
  say("ну, как дела", {0, 3, 1, 0});
  EXPECT_EQ(trace.step, Step::WholeKey);
  EXPECT_EQ(trace.file, "Base\\Words.Dat");
  EXPECT_EQ(trace.line, 2);
  EXPECT_EQ(trace.head, w("КАК ДЕЛА"));
  EXPECT_EQ(trace.answer, 2);
  EXPECT_EQ(trace.answers, 2);
  EXPECT_EQ(trace.delayed, w("А у тебя?"));
  EXPECT_TRUE(trace.delayedScheduled);
  EXPECT_EQ(trace.branchDepth, 1);

  say("плохо", {0, 3});
  EXPECT_EQ(trace.step, Step::Branch);
  EXPECT_EQ(trace.line, 3);
  EXPECT_EQ(trace.head, w("_ПЛОХО"));
  EXPECT_EQ(trace.answer, 1);
  EXPECT_EQ(trace.branchDepth, 2);

  say("как твои дела", {0, 3, 0});
  EXPECT_EQ(trace.step, Step::WordPass);
  EXPECT_EQ(trace.line, 2);
  EXPECT_TRUE(trace.delayed.empty());

  say("привет, дурак");
  EXPECT_EQ(trace.step, Step::Censor);
  EXPECT_EQ(trace.head, w("ДУРА"));
  EXPECT_EQ(trace.file, "Base\\X.Dat");
  EXPECT_EQ(trace.line, 1);

  say("привет, дурак", {0, 1});
  EXPECT_EQ(trace.step, Step::Repetition);
  EXPECT_EQ(trace.file, "Base\\Povtor.Dat");
  EXPECT_EQ(trace.line, 2);

  say("привет", {0, 3});
  EXPECT_EQ(trace.step, Step::WholeKey);
  EXPECT_TRUE(trace.closing);
}

TEST_F(TurnTraceTest, TellsWhatAnUnknownPhraseTaught) {
  // The program says «Что такое счастье?» from the pool (roll 1: no answer
  // learned yet); the reply, roll 2, becomes that key's answer.
  say("Я хочу мороженое?", {0, 3, 1});
  EXPECT_EQ(trace.step, Step::Unknown);
  EXPECT_EQ(trace.file, "Base\\W1.Dat");
  EXPECT_EQ(trace.line, 2);
  EXPECT_EQ(trace.filter, w("ХОЧУ"));
  EXPECT_TRUE(trace.learning && trace.keyAdded);
  EXPECT_EQ(trace.pool, "");  // a filter hit keeps it out of the pools

  say("Счастье — это тёплый дом", {1, 3, 0});
  EXPECT_EQ(trace.pool, "Base\\W2.Dat");  // the answer drawn holds no '?'
  EXPECT_EQ(trace.answerAddedTo, w("ЧТО ТАКОЕ СЧАСТЬЕ"));
  EXPECT_EQ(trace.branchDepth, 0);

  say("Ага");
  EXPECT_FALSE(trace.learning);
}

}  // namespace
}  // namespace vb
