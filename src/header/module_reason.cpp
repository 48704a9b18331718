#include "header/module_reason.h"

namespace vt {

namespace {

Text KeyOf(TextView unitPath, TextView module) {
  Text key(unitPath);
  key += u'\0';
  key += Lower(module);
  return key;
}

}  // namespace

Reason ReasonFor(const Suggestion& suggestion, TextView unitPath, TextView module) {
  return ReasonFinder(suggestion).For(unitPath, module);
}

ReasonFinder::ReasonFinder(const Suggestion& suggestion) {
  auto add = [this](const Text& unit, const TextList& modules, const std::vector<Reason>& reasons) {
    for (size_t i = 0; i < modules.size() && i < reasons.size(); ++i) {
      reasons_.emplace(KeyOf(unit, modules[i]), &reasons[i]);
    }
  };
  for (const FrameworkBlock& block : suggestion.blocks) {
    for (const CodeBox& box : block.boxes) {
      add(box.path, box.modules, box.reasons);
      add(box.path, box.optionalModules, box.optionalReasons);
      for (const GuardedModules& guarded : box.guarded) {
        add(box.path, guarded.modules, guarded.reasons);
      }
    }
  }
}

Reason ReasonFinder::For(TextView unitPath, TextView module) const {
  auto found = reasons_.find(KeyOf(unitPath, module));
  return found == reasons_.end() ? Reason() : *found->second;
}

}  // namespace vt
