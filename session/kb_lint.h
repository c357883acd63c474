#pragma once
// Lints of the phrase base: keys that are well formed but answer other than
// their author meant. Each is a warning (KbFinding with a lint name) with a
// phrase that shows it:
//
//  - shadowed: a main key holds an earlier main key, so the whole-key pass,
//    which runs over the entire file before the word pass, always stops at
//    the earlier line first;
//  - inside-word: a key is found inside one of the common words at the head
//    of dictionary.dat where it is not a word of its own: after a letter (БАКУ in «собаку»)
//    or at the start of a word that runs on far past it (ПОЛИВ in
//    «поливитамины»); not when an earlier line takes that word first;
//  - censored: the censor list takes the key's own phrase before the search
//    runs, so the line never answers it.
//
// The structural lints (duplicate, unreachable, depth-skip) come with the
// check of Words.Dat itself (kb_check.h).

#include <vector>

#include "engine/file_store.h"
#include "session/kb_check.h"

namespace vb {

// `words` are the lines of Words.Dat, `dictionary` those of dictionary.dat
// (most common words first). Warnings in line order.
std::vector<KbFinding> lintPhraseBase(const Lines& words, const Lines& dictionary);

// The whole check of a folder: checkKnowledgeBase and lintPhraseBase, the
// findings of each file in line order.
std::vector<KbFinding> checkAndLint(FileStore& files);

}  // namespace vb
