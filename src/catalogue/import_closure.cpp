#include "catalogue/import_closure.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vt {

// How the rule behaves, and why the shortcuts below give the same lists:
//
// - While one module's list grows, every other list stays as it is. Walking
//   such a list into the growing one appends each of its entries that is
//   missing, so a walk that is entered again only has to go on from where the
//   walk of that list has got to: the entries before that point are held
//   already. One cursor per list, for the module being expanded, does that,
//   also for a walk entered again while it is under way.
// - Walking the growing list into itself appends nothing.
// - A module that came earlier in the catalogue holds its whole closure: the
//   names it reaches. When its list was made, the entries appended while one
//   entry was followed form a block right after that entry, and every name
//   in the block is reached from that entry. Once that entry's module is
//   closed and its list is held, the whole block is held too and is skipped
//   at once, where the rule would look at each of its entries in turn.

namespace {

using Number = NameNumber;
constexpr Number kNone = UINT32_MAX;

class ClosureBuilder {
 public:
  explicit ClosureBuilder(CatalogueState& catalogue) : modules_(catalogue.ModList) {
    Number count = static_cast<Number>(modules_.size());
    std::unordered_map<const modtype*, Number> numberOf;
    for (Number m = 0; m < count; ++m) numberOf.emplace(modules_[m].get(), m);

    // Every list numbers its names in the catalogue's pool (CreateModule
    // sees to that), so a name's number says which module it names.
    const NamePool& names = catalogue.ImportNames();
    moduleOf_.assign(names.size(), kNone);
    for (NameNumber name = 0; name < names.size(); ++name) {
      const modtype* module = catalogue.FindModule(names.Name(name));
      if (module) moduleOf_[name] = numberOf.at(module);
    }
    heldBy_.assign(moduleOf_.size(), kNone);
    cursors_.assign(count, Cursor{0, kNone});
    blockEnds_.resize(count);
    lists_.reserve(count);
    for (const auto& module : modules_) lists_.push_back(ListView(module->imports.Numbers()));
  }

  void Run() {
    for (current_ = 0; current_ < modules_.size(); ++current_) Expand();
  }

 private:
  struct Frame {
    Number module;
    // The position of the current list whose entry led here, or kNone for a
    // walk started by the loop over the list itself.
    Number owner;
  };

  void Expand() {
    const std::vector<Number>& ids = modules_[current_]->imports.Numbers();
    std::vector<Number>& ends = blockEnds_[current_];
    for (Number id : ids) heldBy_[id] = current_;
    // The module's own entries are followed only by the loop below, after
    // whatever comes before them: they start no block.
    for (size_t p = 0; p < ids.size(); ++p) ends.push_back(static_cast<Number>(p + 1));
    // The list grows while this loop runs; the loop goes on to its new end.
    for (size_t i = 0; i < ids.size(); ++i) {
      Number next = moduleOf_[ids[i]];
      if (!Walkable(next)) continue;
      stack_.push_back({next, kNone});
      Walk();
    }
    // Closed lists together can be the square of the catalogue's size.
    modules_[current_]->imports.ShrinkToFit();
    ends.shrink_to_fit();
    lists_[current_] = ListView(ids, ends);
  }

  // Runs the walks on the stack until it is empty.
  void Walk() {
    while (!stack_.empty()) {
      Frame frame = stack_.back();
      const ListView& list = lists_[frame.module];
      Number& at = CursorOf(frame.module);
      if (at >= list.size) {
        if (frame.owner != kNone) blockEnds_[current_][frame.owner] = Length();
        stack_.pop_back();
        continue;
      }
      Number id = list.entries[at];
      if (heldBy_[id] != current_) {
        Append(id);
        // The cursor stays on the entry: once its walk is done, the entry is
        // held and the step below moves on, past its block where it can.
        Number next = moduleOf_[id];
        if (Walkable(next)) stack_.push_back({next, Length() - 1});
        continue;
      }
      at = SkipHeld(frame.module, at);
    }
  }

  // The position after the held entry at `at` of `module`'s list.
  Number SkipHeld(Number module, Number at) {
    if (module > current_) return at + 1;
    const ListView& list = lists_[module];
    Number reached = moduleOf_[list.entries[at]];
    bool closedAndHeld = reached != kNone && reached < current_ && Done(reached);
    return closedAndHeld ? std::max(at + 1, list.blockEnds[at]) : at + 1;
  }

  void Append(Number id) {
    heldBy_[id] = current_;
    modules_[current_]->imports.PushNumber(id);
    blockEnds_[current_].push_back(Length());
  }

  Number Length() const {
    return static_cast<Number>(modules_[current_]->imports.Numbers().size());
  }

  // A module whose walk would append something: known, not the module being
  // expanded (its list holds itself) and not walked to its end already.
  bool Walkable(Number module) {
    return module != kNone && module != current_ && !Done(module);
  }

  // Never asked of the module being expanded, whose list is still growing.
  bool Done(Number module) { return CursorOf(module) >= lists_[module].size; }

  Number& CursorOf(Number module) {
    Cursor& cursor = cursors_[module];
    if (cursor.expanding != current_) cursor = Cursor{0, current_};
    return cursor.at;
  }

  std::vector<std::unique_ptr<modtype>>& modules_;
  // Per module expanded, for each position of its list, where the block of
  // entries appended while that entry was followed ends.
  std::vector<std::vector<Number>> blockEnds_;
  // Per name, the module it names (kNone when the catalogue has none).
  std::vector<Number> moduleOf_;
  // Per name, the module whose list held it last.
  std::vector<Number> heldBy_;
  // Per module, how far its list has been walked, and for which module.
  struct Cursor {
    Number at;
    Number expanding;
  };
  std::vector<Cursor> cursors_;
  // Per module, where its list and its block ends lie. A walk down a long
  // chain steps to another module at every entry; reaching the lists from
  // this small array rather than through the scattered records keeps those
  // steps in the cache. A module's view is set again once its list is closed.
  struct ListView {
    explicit ListView(const std::vector<Number>& list) : entries(list.data()), size(Size(list)) {}
    ListView(const std::vector<Number>& list, const std::vector<Number>& ends)
        : entries(list.data()), size(Size(list)), blockEnds(ends.data()) {}
    static Number Size(const std::vector<Number>& list) { return static_cast<Number>(list.size()); }
    const Number* entries;
    Number size;
    // Set only for closed lists; only theirs are read.
    const Number* blockEnds = nullptr;
  };
  std::vector<ListView> lists_;
  std::vector<Frame> stack_;
  Number current_ = 0;
};

}  // namespace

void ExpandModuleImports(CatalogueState& catalogue) { ClosureBuilder(catalogue).Run(); }

void AddImportsOf(const CatalogueState& catalogue, ImportList& list, const modtype* module) {
  // Walking a list into itself appends nothing.
  auto walkable = [&list](const modtype* m) {
    return m && !m->imports.empty() && &m->imports != &list;
  };
  if (!walkable(module)) return;
  std::unordered_set<Text> held(list.begin(), list.end());
  std::unordered_map<const modtype*, size_t> cursors;
  std::vector<const modtype*> stack{module};
  while (!stack.empty()) {
    const modtype* walked = stack.back();
    size_t& at = cursors[walked];
    if (at >= walked->imports.size()) {
      stack.pop_back();
      continue;
    }
    const Text& entry = walked->imports[at++];
    if (!held.insert(entry).second) continue;
    list.push_back(entry);
    const modtype* next = catalogue.FindModule(entry);
    if (walkable(next)) stack.push_back(next);
  }
}

}  // namespace vt
