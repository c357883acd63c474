#pragma once
// The two fixed word lists of the program, as Windows-1251 run-scan
// patterns: the censor list (insults and obscenities) and the filter list
// (phrases about the speaker that are answered and learned as keys but kept
// out of the question and statement pools).

#include <string>
#include <string_view>
#include <vector>

namespace vb {

const std::vector<std::string>& Cenzura();    // 99 entries
const std::vector<std::string>& Filter_nr();  // 100 entries

// The first entry of the list (in list order) that the run scan finds in
// the normalised phrase, or -1 when none is found. A censor entry found
// inside a common innocent word («команда», «процедура», «парикмахер»,
// «уродились») does not count there.
int censorEntry(std::string_view phrase);
int filterEntry(std::string_view phrase);
inline bool censorHit(std::string_view phrase) {
  return censorEntry(phrase) >= 0;
}
inline bool filterHit(std::string_view phrase) {
  return filterEntry(phrase) >= 0;
}

}  // namespace vb
