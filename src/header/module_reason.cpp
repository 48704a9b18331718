#include "header/module_reason.h"

namespace vt {

Reason ReasonFor(const Suggestion& suggestion, TextView unitPath, TextView module) {
  auto find = [&](const TextList& modules, const std::vector<Reason>& reasons) -> const Reason* {
    for (size_t i = 0; i < modules.size() && i < reasons.size(); ++i) {
      if (EqualFolded(modules[i], module)) return &reasons[i];
    }
    return nullptr;
  };
  for (const FrameworkBlock& block : suggestion.blocks) {
    for (const CodeBox& box : block.boxes) {
      if (box.path != unitPath) continue;
      const Reason* reason = find(box.modules, box.reasons);
      if (!reason) reason = find(box.optionalModules, box.optionalReasons);
      for (const GuardedModules& guarded : box.guarded) {
        if (!reason) reason = find(guarded.modules, guarded.reasons);
      }
      if (reason) return *reason;
    }
  }
  return Reason();
}

}  // namespace vt
