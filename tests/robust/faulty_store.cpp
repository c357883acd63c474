#include "faulty_store.h"

#include "engine/failure.h"
#include "engine/text.h"

namespace vb::robust {

std::string FaultyStore::key(Op op, std::string_view name) {
  return (op == Op::Read ? "R:" : "W:") + upper1251(name);
}

void FaultyStore::fail(Op op, std::string_view name, int first, int count) {
  rules_[key(op, name)] = Rule{first, count, 0};
}

void FaultyStore::heal(Op op, std::string_view name) {
  rules_.erase(key(op, name));
}

int FaultyStore::calls(Op op, std::string_view name) const {
  auto it = calls_.find(key(op, name));
  return it == calls_.end() ? 0 : it->second;
}

void FaultyStore::enter(Op op, std::string_view name) {
  const std::string k = key(op, name);
  const int number = ++calls_[k];
  if (before) before(op, std::string(name), number);
  auto it = rules_.find(k);
  if (it == rules_.end()) return;
  Rule& rule = it->second;
  const int n = ++rule.seen;
  if (n < rule.first || (rule.count >= 0 && n >= rule.first + rule.count)) return;
  ++faults_;
  throw op == Op::Read ? cannotOpen(name) : cannotCreate(name);
}

Lines FaultyStore::readLines(std::string_view name) {
  enter(Op::Read, name);
  return inner_.readLines(name);
}

std::shared_ptr<const std::string> FaultyStore::readText(std::string_view name) {
  enter(Op::Read, name);
  return inner_.readText(name);
}

void FaultyStore::writeLines(std::string_view name, const Lines& lines) {
  enter(Op::Write, name);
  inner_.writeLines(name, lines);
  if (written) written(std::string(name));
}

void FaultyStore::update(std::string_view name, const std::function<bool(Lines&)>& change) {
  enter(Op::Read, name);
  bool wrote = false;
  // The write fails after the change was made, with the lock held: the
  // inner store then writes nothing.
  inner_.update(name, [&](Lines& lines) {
    if (!change(lines)) return false;
    enter(Op::Write, name);
    wrote = true;
    return true;
  });
  if (wrote && written) written(std::string(name));
}

void FaultyStore::updateText(std::string_view name, const TextChange& change) {
  enter(Op::Read, name);
  bool wrote = false;
  inner_.updateText(name, [&](const std::string& text) {
    auto changed = change(text);
    if (!changed) return changed;
    enter(Op::Write, name);
    wrote = true;
    return changed;
  });
  if (wrote && written) written(std::string(name));
}

}  // namespace vb::robust
