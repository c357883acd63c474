#include "engine/word_lists.h"

#include <array>

#include "engine/text.h"

namespace vb {
namespace {

// Written here in UTF-8, turned into Windows-1251 once. The spaces at the
// edges of some entries are part of them.
constexpr std::array kCenzura{
    " ЛОХ",       " ТРУС ",    " ТРУС,",    " ТРУС.",        " ТРУС!",  " ХАМ",     "АЛКАШ",
    "БЕЗ МОЗГОВ", "БЕЗМОЗГЛ",  "БЕСТОЛКОВ", "БЕСТОЛОЧЬ",     "БЛУДЛИВ", "БЛУДНИЦА", "БЛЯ ",
    "БЛЯ,",       "БЛЯ.",      "БЛЯ!",      "БЛЯ?",          "БЛЯДИ",   "БЛЯДЬ",    "БОЛВАН",
    "ВОНЮЧКА",    "ВЫРОДК",    "ВЫРОДОК",   "ГАД ",          "ГАД,",    "ГАД.",     "ГАД!",
    "ГАДИН",      "ДОДИК",     "ДРОЧУН",    "ЖЕРТВА АБОРТА", "ЖМУРИК",  "ЕБАТЬ",    "ЕБЛАН",
    "ЕБЛО",       "ДЕБИЛ",     "ДУРА",      "ДУРЕНЬ",        "ДУРИК",   "ДУРОЙ",    "ДУРОЧ",
    "ДУРЫ",       "КУРТИЗАН",  "МАНДА",     "МАНДЮ",         "МРАЗЬ",   "МУДАК",    "МУДИЛ",
    "МУДАЗВОН",   "МУДАЕБ",    "МУДАЁБ",    "МУДОЗВОН",      "МУРЛО",   "НЕДОНОСК", "НЕДОНОСОК",
    "НЕДОУМ",     "ОТСОСИ",    "ПАДЛ",      "ПОДЛ",          "ПИЗД",    "ПОДОН",    "ПРИДУРОК",
    "ПРОСТИТНЯ",  "ПРОСТИТУТ", "ПЬЯНЬ",     "СЛАБОУМН",      "СЛИЗНЯ",  "СУКА",     "СУКИ",
    "СУКУ",       "СУЧАРА",    "СУЧКА",     "СУЧКИ",         "СУЧОК",   "ТВАРЬ",    "ТЕБЯ СОТРУ",
    "ТРАХАТЬ",    "ТРАХНУТ",   "ТУПОЙ",     "УБЛЮД",         "УЁБИЩ",   "УПЫР",     "УРОД",
    "ХЕР ",       "ХЕР,",      "ХЕР.",      "ХЕР!",          "ХЕР?",    "ХУИ",      "ХУЙ",
    "ЧМО",        "ЧУРБАН",    "ЧУРК",      "ШАЛАВА",        "ШАЛАВКА", "ШЛЮХА",    "ШЛЮШ",
    "Я СОТРУ",
};

// Common words that hold a censor entry without being insults (a team, a
// treatment, a hairdresser, a good harvest, a rouble): an entry found
// inside a word, where one of these stems spans its first letter, is not
// a hit.
constexpr std::array kInnocentStems{
    "АЛЛЕМАНД", "АНСАМБЛ",  "БАНДУР",  "БАРСУК",   "БОЛВАНК",  "БРЕХЕР", "БРИГАД",   "ГОНДУРАС",
    "ГРЕБА",    "ГРЕБЛ",    "ДЕБЛОК",  "ДЕВЧУРК",  "ДИРИЖАБЛ", "ДОЧУРК", "ДУБЛ",     "ДУРАЛЮМИН",
    "ЗАПОДЛИЦ", "ИСПОДЛОБ", "КОЛЕБА",  "КОЛЕБЛ",   "КОМАНД",   "КОРАБЛ", "ЛОХАН",    "ЛОХМАТ",
    "ЛОХМОТ",   "МАНДАРИН", "МАНДАТ",  "МАХЕР",    "МОХЕР",    "НАУГАД", "НЕБЛОК",   "НЕДОУМЕ",
    "НЕДОУМЁ",  "ПЕЧУРК",   "ПОДЛАВ",  "ПОДЛАД",   "ПОДЛАЖ",   "ПОДЛАТ", "ПОДЛЕД",   "ПОДЛЁД",
    "ПОДЛЕЖ",   "ПОДЛЕЗ",   "ПОДЛЕСК", "ПОДЛЕСОК", "ПОДЛЕТ",   "ПОДЛЁТ", "ПОДЛЕЧ",   "ПОДЛИВ",
    "ПОДЛИЗ",   "ПОДЛИЛ",   "ПОДЛИНН", "ПОДЛИТ",   "ПОДЛОВ",   "ПОДЛОЖ", "ПОДЛОКОТ", "ПОДЛОМ",
    "ПРОЦЕДУР", "ПУПЫР",    "РИЧМОНД", "РУБЛ",     "СКРЕБА",   "СТЕБЛ",  "СТРАХУ",   "ТРЯСУЧК",
    "УРОДИВШ",  "УРОДИЛ",   "УРОДИТ",  "УТВАРЬ",   "ХАМЕЛЕОН", "ХАММАМ", "ХАМОВНИК", "ХАМС",
    "ХЛЕБА",    "ЧМОК",     "ШХЕР",    "ЩЕБЛОК",
};

constexpr std::array kFilterNr{
    "FUCK",       " ЕБУ",      " ИМЯ",       " ЛЕТ",    "АНАНИР",     "АНОНИР",       "В ТУАЛЕТ",
    "ВИДЕ",       "ВИЖУ",      "ВОЛОС",      "ГОВОРЮ",  "ДЕМОНТИРУЮ", "ДРОЧА",        "ДРОЧИ",
    "ДРОЧУ",      "ДЫШАТЬ",    "ДЫШУ",       "ЕБАТЬ",   "ЖАРКО",      "ЖИВ",          "ЖИЗН",
    "ЖОП",        "ЖРАТЬ",     "ЗАЕБА",      "ЗВАТЬ",   "ЗОВУТ",      "ИГРАЕМ",       "ИГРАТЬ",
    "ИГРАЮ",      "ИЗ ПЛОТИ",  "ИМЯ ",       "КАКАТЬ",  "КРОВЬ",      "КУШАТЬ",       "ЛЕТ ",
    "ЛЕТАТЬ",     "ЛЕТЕТЬ",    "ЛЮБИЛ",      "ЛЮБЛЮ",   "МАМА",       "МАМОЙ",        "МАМОЧК",
    "МАМУ",       "МАСТУРБИР", "МЕНЯ ЗОВУТ", "НАДРАЧИ", "НЕ ПРОГА",   "НЕ ПРОГРАММА", "НЕ РОБОТ",
    "НОГА",       "НОГИ",      "ОРГАН",      "ПАПА",    "ПАПОЙ",      "ПАПОЧК",       "ПАПУ",
    "ПЕРЕДЕЛАТЬ", "ПЕТЬ",      "ПИСАТЬ",     "ПИСЬ",    "ПИСЯ",       "ПИТЬ",         "ПОБЕЖАЛ",
    "ПОГОД",      "ПОДОЖДИ",   "ПОДРАЧИВА",  "ПОЕБА",   "ПОЁБЫ",      "ПОЙДЁМ",       "ПОПА",
    "ПОПК",       "ПОШЛИ",     "ПРОГРАММОЙ", "РОДИЛ",   "РОДИТЕЛ",    "РОДСТВЕННИК",  "РОЖДЁН",
    "РУКА",       "РУКИ",      "СЛЫША",      "СЛЫШИ",   "СЛЫШУ",      "СМОТРЮ",       "СОТРУ",
    "СПАЛ",       "СПАТЬ",     "СПЛЮ",       "ТЕЛО",    "УДАЛЮ",      "УМРУ",         "УСТАЛ",
    "УСТАЮ",      "УХОЖУ",     "ХОДИТЬ",     "ХОЛОДНО", "ХОЧУ",       "ЧЕЛОВЕК",      "ЧУВСТВО",
    "ЧУВСТВУЮ",   "ШЕРСТ",
};

template <std::size_t N>
std::vector<std::string> convertAll(const std::array<const char*, N>& entries) {
  std::vector<std::string> out;
  out.reserve(N);
  for (const char* e : entries) out.push_back(utf8To1251(e));
  return out;
}

int firstFound(const std::vector<std::string>& list, std::string_view phrase) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (runFound(phrase, list[i])) return static_cast<int>(i);
  }
  return -1;
}

const std::vector<std::string>& innocentStems() {
  static const std::vector<std::string> list = convertAll(kInnocentStems);
  return list;
}

// Whether the entry found at [start, start + entry.size()) of `phrase` lies
// in one of the innocent words.
bool innocentAt(std::string_view phrase, std::size_t start, std::string_view entry) {
  std::size_t first = start;
  for (std::size_t k = 0; k < entry.size() && !isLetter1251(entry[k]); ++k) ++first;
  if (first >= phrase.size()) return false;
  std::size_t from = first;
  while (from > 0 && isLetter1251(phrase[from - 1])) --from;
  std::size_t to = first;
  while (to < phrase.size() && isLetter1251(phrase[to])) ++to;
  const std::string word = upper1251(phrase.substr(from, to - from));
  const std::size_t at = first - from;
  for (const std::string& stem : innocentStems()) {
    for (auto pos = word.find(stem); pos != std::string::npos && pos <= at;
         pos = word.find(stem, pos + 1)) {
      if (at < pos + stem.size()) return true;
    }
  }
  return false;
}

// As firstFound, where a find inside an innocent word does not count and
// the scan goes on after it.
int firstCensored(const std::vector<std::string>& list, std::string_view phrase) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    for (std::size_t from = 0;;) {
      const std::size_t end = runScan(phrase, list[i], from);
      if (end == std::string_view::npos) break;
      if (!innocentAt(phrase, end - list[i].size(), list[i])) return static_cast<int>(i);
      from = end;
    }
  }
  return -1;
}

}  // namespace

const std::vector<std::string>& Cenzura() {
  static const std::vector<std::string> list = convertAll(kCenzura);
  return list;
}

const std::vector<std::string>& Filter_nr() {
  static const std::vector<std::string> list = convertAll(kFilterNr);
  return list;
}

int censorEntry(std::string_view phrase) {
  return firstCensored(Cenzura(), phrase);
}
int filterEntry(std::string_view phrase) {
  return firstFound(Filter_nr(), phrase);
}

}  // namespace vb
