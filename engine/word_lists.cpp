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
  return firstFound(Cenzura(), phrase);
}
int filterEntry(std::string_view phrase) {
  return firstFound(Filter_nr(), phrase);
}

}  // namespace vb
