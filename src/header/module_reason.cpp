#include "header/module_reason.h"

#include <memory>

namespace vt {

Reason ReasonFor(const Suggestion& suggestion, TextView unitPath, TextView module) {
  return ReasonFinder(suggestion).For(unitPath, module);
}

ReasonFinder::ReasonFinder(const Suggestion& suggestion) {
  for (const FrameworkBlock& block : suggestion.blocks) {
    for (const CodeBox& box : block.boxes) units_[box.path].boxes.push_back(&box);
  }
}

Reason ReasonFinder::For(TextView unitPath, TextView module) const {
  auto found = units_.find(Text(unitPath));
  if (found == units_.end()) return Reason();
  const Unit& unit = found->second;
  if (!unit.indexed) {
    if (indexed_) {
      std::unordered_map<Text, const Reason*>().swap(indexed_->reasons);
      indexed_->indexed = false;
    }
    indexed_ = &unit;
    auto add = [&unit](const TextList& modules, const ReasonList& reasons) {
      for (size_t i = 0; i < modules.size() && i < reasons.size(); ++i) {
        unit.reasons.emplace(Lower(modules[i]), &reasons[i]);
      }
    };
    for (const CodeBox* box : unit.boxes) {
      add(box->modules, box->reasons);
      add(box->optionalModules, box->optionalReasons);
      for (const GuardedModules& guarded : box->guarded) add(guarded.modules, guarded.reasons);
    }
    unit.indexed = true;
  }
  auto reason = unit.reasons.find(Lower(module));
  return reason == unit.reasons.end() ? Reason() : *reason->second;
}

ModuleReasons ReasonsOf(const Suggestion& suggestion) {
  auto finder = std::make_shared<ReasonFinder>(suggestion);
  return [finder](TextView unit, TextView module) { return finder->For(unit, module); };
}

}  // namespace vt
