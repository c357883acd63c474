#include "console/explain_text.h"

#include "engine/text.h"

namespace vb {
namespace {

using Step = TurnTrace::Step;

std::string q(const std::string& cp1251) {
  return "«" + cp1251ToUtf8(cp1251) + "»";
}

std::string at(const TurnTrace& t) {
  return cp1251ToUtf8(t.file) + ":" + std::to_string(t.line);
}

std::string stepLine(const TurnTrace& t) {
  switch (t.step) {
    case Step::None:
      break;
    case Step::Repetition:
      return "повтор: фраза та же, что прошлая (без учёта регистра); ответ — строка " + at(t) +
             "; база не ищется и не учится";
    case Step::Censor:
      return "цензура: во фразе есть " + q(t.head) + "; ответ — строка " + at(t) +
             "; фраза записана в Base\\Collection.Dat, база не ищется, тема не меняется";
    case Step::LongPhrase:
      return "длинная фраза (110 символов и больше); ответ — строка " + at(t);
    case Step::Branch:
      return "ветка открытой темы: " + at(t) + ", ключ " + q(t.head);
    case Step::WholeKey:
      return "ключ целиком: " + at(t) + ", ключ " + q(t.head) +
             " — первая строка файла, чей ключ целиком стоит во фразе";
    case Step::WordPass:
      return "слова ключа по порядку: " + at(t) + ", ключ " + q(t.head) +
             " (ни один ключ не стоит во фразе целиком)";
    case Step::Unknown:
      return std::string("незнакомая фраза: ни одна строка Base\\Words.Dat не подошла; ответ из ") +
             (t.file.ends_with("W1.Dat") ? "запаса вопросов" : "запаса утверждений") +
             " — строка " + at(t);
  }
  return {};
}

}  // namespace

std::string explainTurn(const TurnTrace& t) {
  if (t.step == Step::None) return {};
  std::string out = "Почему: " + stepLine(t) + "\n";
  auto add = [&](const std::string& line) { out += "  " + line + "\n"; };
  const bool words = t.step == Step::Branch || t.step == Step::WholeKey || t.step == Step::WordPass;
  if (words) {
    add("ответ " + std::to_string(t.answer) + " из " + std::to_string(t.answers) +
        " (выбран наугад)");
  }
  if (!t.delayed.empty()) {
    add("отложенная часть " + q(t.delayed) +
        (t.delayedScheduled ? ": будет сказана через несколько секунд"
                            : ": в этот раз не будет сказана (это решает жребий)"));
  }
  if ((t.step == Step::WholeKey || t.step == Step::WordPass) && t.closing) {
    add("строка кончается знаком @: программа попрощается и закроется");
  }
  if (!t.tail.empty()) {
    add("ответ совпал с прошлым: добавлен хвост из Base\\CPUpvt.dat:" + std::to_string(t.tailLine));
  }
  if (!t.filter.empty()) {
    add("фильтр: во фразе есть " + q(t.filter) + ", в запасы W1/W2 она не попадёт");
  }
  if (t.step == Step::Unknown) {
    if (!t.learning) {
      add("не выучено: фраза короче 5 символов");
    } else {
      std::string learned;
      if (!t.pool.empty()) learned += "в запас " + cp1251ToUtf8(t.pool);
      if (t.keyAdded)
        learned += std::string(learned.empty() ? "" : "; ") + "новый ключ в конце Base\\Words.Dat";
      if (!t.answerAddedTo.empty())
        learned += "; фраза стала ответом ключа " + q(t.answerAddedTo) +
                   " (строка перенесена в конец файла)";
      add(learned.empty() ? "ничего не выучено: такой ключ уже есть" : "выучено: " + learned);
    }
  }
  if (t.step != Step::Repetition && t.step != Step::Censor && t.step != Step::LongPhrase) {
    if (t.branchDepth > 0) {
      add("тема открыта: следующая фраза сначала ищется среди веток уровня " +
          std::to_string(t.branchDepth) + " ниже строки " + std::to_string(t.branchLine + 1) +
          ", до следующей главной фразы");
    } else {
      add("тема закрыта: следующая фраза ищется по всему файлу");
    }
  }
  return out;
}

}  // namespace vb
