#include "console/explain_text.h"

#include <gtest/gtest.h>

#include "engine/text.h"

namespace vb {
namespace {

TEST(ExplainText, NamesTheStepTheLineTheKeyAndWhatTheTurnLeft) {
  EXPECT_EQ(explainTurn(TurnTrace()), "");

  TurnTrace t;
  t.step = TurnTrace::Step::WordPass;
  t.file = "Base\\Words.Dat";
  t.line = 12;
  t.head = utf8To1251("КАК ДЕЛА");
  t.answer = 2;
  t.answers = 3;
  t.delayed = utf8To1251("А у тебя?");
  t.closing = true;
  t.branchLine = 11;
  t.branchDepth = 1;
  EXPECT_EQ(explainTurn(t),
            "Почему: слова ключа по порядку: Base\\Words.Dat:12, ключ «КАК ДЕЛА» (ни один ключ "
            "не стоит во фразе целиком)\n"
            "  ответ 2 из 3 (выбран наугад)\n"
            "  отложенная часть «А у тебя?»: в этот раз не будет сказана (это решает жребий)\n"
            "  строка кончается знаком @: программа попрощается и закроется\n"
            "  тема открыта: следующая фраза сначала ищется среди веток уровня 1 ниже строки "
            "12, до следующей главной фразы\n");

  TurnTrace u;
  u.step = TurnTrace::Step::Unknown;
  u.file = "Base\\W1.Dat";
  u.line = 3;
  u.learning = true;
  u.keyAdded = true;
  u.answerAddedTo = utf8To1251("ЧТО ТАКОЕ СЧАСТЬЕ");
  const std::string text = explainTurn(u);
  EXPECT_NE(text.find("запаса вопросов — строка Base\\W1.Dat:3"), std::string::npos) << text;
  EXPECT_NE(text.find("выучено: новый ключ в конце Base\\Words.Dat; фраза стала ответом ключа "
                      "«ЧТО ТАКОЕ СЧАСТЬЕ»"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("тема закрыта"), std::string::npos) << text;
}

}  // namespace
}  // namespace vb
