#include "analysis/reasons.h"

#include <optional>
#include <unordered_map>

#include "base/paths.h"

namespace vt {

namespace {

// "Max OpenGL template:" names the "Max OpenGL template".
Text TemplateName(TextView title) {
  if (EndsWith(title, u":")) title.remove_suffix(1);
  return Text(title);
}

class Explainer {
 public:
  explicit Explainer(const AnalysisState& analysis) : analysis_(analysis) {
    if (!analysis.ScanListList.empty()) {
      mainFolder_ = FolderPart(analysis.ScanListList.front()->path);
    }
  }

  void Explain(CodeBox& box, const sourcemodtype& record, TextView templateName) const {
    box.reasons.clear();
    for (size_t i = 0; i < box.modules.size(); ++i) {
      Reason reason = ForModule(box, record, box.modules[i], templateName);
      if (box.isMain && i == 0) reason.templateName = templateName;
      box.reasons.push_back(std::move(reason));
    }
    box.optionalReasons.clear();
    for (const Text& module : box.optionalModules) {
      box.optionalReasons.push_back(FromCause(record, record.optionalCauses, module));
    }
    for (GuardedModules& guarded : box.guarded) ExplainGuarded(guarded, record);
  }

 private:
  void ExplainGuarded(GuardedModules& guarded, const sourcemodtype& record) const {
    guarded.reasons.clear();
    const sourcemodtype* section = nullptr;
    for (const sourcemodtype& candidate : record.sections) {
      if (candidate.condition == guarded.condition) section = &candidate;
    }
    for (const Text& module : guarded.modules) {
      guarded.reasons.push_back(section ? FromCause(*section, section->causes, module) : Reason());
    }
  }

  Reason ForModule(const CodeBox& box, const sourcemodtype& record, const Text& module,
                   TextView templateName) const {
    if (record.causes.count(Lower(module)) || box.standsInFor.empty()) {
      return FromCause(record, record.causes, module);
    }
    // A driver the template put in place of the module the words asked for.
    Reason reason = FromCause(record, record.causes, box.standsInFor);
    reason.rule = u"driver for " + box.standsInFor;
    reason.templateName = templateName;
    return reason;
  }

  Reason FromCause(const sourcemodtype& record,
                   const std::unordered_map<Text, ModuleCause>& causes,
                   const Text& module) const {
    Reason reason;
    auto found = causes.find(Lower(module));
    if (found == causes.end()) return reason;
    const ModuleCause& cause = found->second;
    if (cause.site) return FromSite(cause, module);
    if (cause.word >= record.words.size()) {
      if (cause.kind == CauseKind::Implementation) reason.rule = cause.declaredBy;
      return reason;
    }
    const Text& entry = record.words[cause.word];
    reason.word = entry;
    if (cause.word < record.wordSites.size()) {
      const WordSite& site = record.wordSites[cause.word];
      reason.word = site.spelling;
      reason.line = site.place.line;
      reason.file = FileOf(site.place.entry);
    }
    // The literal is kept with its opening quote only.
    if (StartsWith(reason.word, u"\"")) reason.word += u'"';
    reason.rule = RuleText(cause, module);
    return reason;
  }

  // A cause that carries its word: one of another record.
  Reason FromSite(const ModuleCause& cause, const Text& module) const {
    Reason reason;
    reason.word = cause.site->spelling;
    reason.line = cause.site->place.line;
    if (reason.line > 0) reason.file = FileOf(cause.site->place.entry);
    reason.rule = RuleText(cause, module);
    return reason;
  }

  static Text RuleText(const ModuleCause& cause, const Text& module) {
    switch (cause.kind) {
      case CauseKind::Command:
        if (Lower(cause.declaredBy) == Lower(module)) return Text();
        return u"declared by " + cause.declaredBy;
      case CauseKind::WordRule:
      case CauseKind::LiteralRule:
      case CauseKind::Implementation:
        return cause.declaredBy;
      case CauseKind::ImagesUsed:
        return u"images";
      case CauseKind::AudioUsed:
        return u"audio";
    }
    return Text();
  }

  Text FileOf(size_t entry) const {
    if (entry >= analysis_.ScanListList.size()) return Text();
    const Text& path = analysis_.ScanListList[entry]->path;
    if (mainFolder_.empty()) return path;
    // Many reasons name the same few files.
    auto [known, added] = relativePaths_.try_emplace(entry);
    if (added) known->second = RelativePath(path, mainFolder_);
    return known->second;
  }

  const AnalysisState& analysis_;
  Text mainFolder_;
  mutable std::unordered_map<size_t, Text> relativePaths_;
};

}  // namespace

Text Reason::Comment() const {
  Text comment = word;
  if (!word.empty() && line > 0) comment += u" at " + file + u":" + Decimal(line);
  if (!rule.empty()) comment += (comment.empty() ? u"(" : u" (") + rule + u")";
  if (templateName.empty()) return comment;
  return comment.empty() ? templateName : templateName + u": " + comment;
}

void ExplainSuggestion(const AnalysisState& analysis, Suggestion& suggestion) {
  Explainer explainer(analysis);
  const auto& records = analysis.SourceModList;
  for (FrameworkBlock& block : suggestion.blocks) {
    Text templateName = TemplateName(block.title);
    // The boxes follow the records, one each, in order.
    for (size_t i = 0; i < block.boxes.size() && i < records.size(); ++i) {
      explainer.Explain(block.boxes[i], *records[i], templateName);
    }
  }
}

}  // namespace vt
