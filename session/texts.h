#pragma once
// The session's own texts and file names, in Windows-1251. Russian literals
// are written in UTF-8 here and converted once.

#include <string>
#include <string_view>

#include "engine/knowledge_files.h"
#include "engine/text.h"

namespace vb::texts {

// A UTF-8 literal as Windows-1251, converted on first use.
#define VB_TEXT_1251(name, utf8)                      \
  inline const std::string& name() {                  \
    static const std::string text = utf8To1251(utf8); \
    return text;                                      \
  }

// Status panel 0 and 1.
VB_TEXT_1251(loading, "Идёт загрузка подождите...")
VB_TEXT_1251(loaded, "Загрузка окончена")
inline constexpr std::string_view kNone = "[NONE]";
VB_TEXT_1251(knownPrefix, "Программе известно:   [главные фразы - ")
VB_TEXT_1251(knownBranches, "   ветки - ")

// Status panel 2 and the mode service lines.
VB_TEXT_1251(modeCpuUser, "Режим Cpu\\User")
VB_TEXT_1251(modeCpuCpu, "Режим Cpu\\Cpu")
VB_TEXT_1251(serviceCpuUser, "Сервис:   // Режим диалога Cpu\\User.")
VB_TEXT_1251(serviceCpuCpu, "Сервис:   // Режим диалога Cpu\\Cpu.")

// The submenu "&Подробнее о базе:" before T8 extends it.
VB_TEXT_1251(captionIncoming, "&Входящие выражения:")
VB_TEXT_1251(captionOutgoing, "&Исходящие выражения:")
VB_TEXT_1251(captionTotal, "&Итого:")

// Transcript and log.
VB_TEXT_1251(startLinePrefix, "Начало диалога: Дата - ")
VB_TEXT_1251(endLinePrefix, "Конец диалога: Дата - ")
VB_TEXT_1251(timePrefix, "Время - ")
VB_TEXT_1251(countLinePrefix, "//Загружено фраз и выражений выученных программой: ")
inline constexpr std::string_view kDivider = "   |   ";
inline constexpr std::string_view kUserTag = "USER:     ";
inline constexpr std::string_view kCpuTag = "CPU:     ";
// Five spaces between a remark and its repeat tail.
inline constexpr std::string_view kTailGap = "     ";

#undef VB_TEXT_1251

}  // namespace vb::texts

namespace vb::files {

// Knowledge-base files as the program spells them; the store matches names
// without regard to letter case.
inline constexpr std::string_view kWords = kPhraseBase;
inline constexpr std::string_view kWordsLower = "Base\\Words.dat";
inline constexpr std::string_view kLog = "Base\\Log.dat";
inline constexpr std::string_view kPause = "Base\\Pause.Dat";
inline constexpr std::string_view kBegin = "Base\\Begin.dat";
inline constexpr std::string_view kAI = "Base\\AI.dat";
inline constexpr std::string_view kTails = kRepeatTails;
inline constexpr std::string_view kDictionary = "Base\\dictionary.dat";

}  // namespace vb::files
