#include "analysis/reasons.h"

#include <optional>
#include <unordered_map>
#include <utility>

#include "analysis/examination.h"
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
      mainFolder_ = FolderPart(analysis.ScanListList.front().path);
    }
  }

  void Explain(CodeBox& box, const sourcemodtype& record, TextView templateName) const {
    // Kept as long as the unit does not change: no room to spare.
    std::vector<Reason> reasons;
    reasons.reserve(box.modules.size());
    for (size_t i = 0; i < box.modules.size(); ++i) {
      Reason reason = ForModule(box, record, box.modules[i], templateName);
      if (box.isMain && i == 0) reason.templateName = templateName;
      reasons.push_back(std::move(reason));
    }
    box.reasons = std::move(reasons);
    std::vector<Reason> optional;
    optional.reserve(box.optionalModules.size());
    for (const Text& module : box.optionalModules) {
      optional.push_back(FromCause(record, record.optionalCauses, module));
    }
    box.optionalReasons = std::move(optional);
    for (GuardedModules& guarded : box.guarded) ExplainGuarded(guarded, record);
  }

 private:
  void ExplainGuarded(GuardedModules& guarded, const sourcemodtype& record) const {
    const sourcemodtype* section = nullptr;
    for (const sourcemodtype& candidate : record.sections) {
      if (candidate.condition == guarded.condition) section = &candidate;
    }
    std::vector<Reason> reasons;
    reasons.reserve(guarded.modules.size());
    for (const Text& module : guarded.modules) {
      reasons.push_back(section ? FromCause(*section, section->causes, module) : Reason());
    }
    guarded.reasons = std::move(reasons);
  }

  Reason ForModule(const CodeBox& box, const sourcemodtype& record, const Text& module,
                   TextView templateName) const {
    LowerInto(key_, module);
    if (box.standsInFor.empty() || record.causes.Contains(key_)) {
      return FromCause(record, record.causes, module);
    }
    // A driver the template put in place of the module the words asked for.
    Reason reason = FromCause(record, record.causes, box.standsInFor);
    reason.rule = u"driver for " + box.standsInFor;
    reason.templateName = templateName;
    return reason;
  }

  Reason FromCause(const sourcemodtype& record, const CauseMap& causes, const Text& module) const {
    Reason reason;
    LowerInto(key_, module);
    const ModuleCause* found = causes.Find(key_);
    if (!found) return reason;
    const ModuleCause& cause = *found;
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
        if (cause.declaredBy.empty() || EqualFolded(cause.declaredBy, module)) return Text();
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
    const Text& path = analysis_.ScanListList[entry].path;
    if (mainFolder_.empty()) return path;
    // Many reasons name the same few files.
    auto [known, added] = relativePaths_.try_emplace(entry);
    if (added) known->second = RelativePath(path, mainFolder_);
    return known->second;
  }

  const AnalysisState& analysis_;
  Text mainFolder_;
  mutable std::unordered_map<size_t, Text> relativePaths_;
  // The lower-cased module being looked up; its room is reused.
  mutable Text key_;
};

}  // namespace

Text Reason::Comment() const {
  Text comment = word;
  if (!word.empty() && line > 0) comment += u" at " + file + u":" + Decimal(line);
  if (!rule.empty()) comment += (comment.empty() ? u"(" : u" (") + rule + u")";
  if (templateName.empty()) return comment;
  return comment.empty() ? templateName : templateName + u": " + comment;
}

namespace {

bool SameWalk(const AnalysisState& analysis, const Examination& before) {
  if (analysis.ScanListList.size() != before.walked.size()) return false;
  for (size_t i = 0; i < before.walked.size(); ++i) {
    if (analysis.ScanListList[i].path != before.walked[i].path) return false;
  }
  return true;
}

// The box as explained before, when its reasons still hold; else null.
const CodeBox* KeptBox(const ExplainedBefore* before, size_t blockIndex,
                       const FrameworkBlock& block, size_t boxIndex, const sourcemodtype* record) {
  if (!before || boxIndex >= before->records.size() ||
      before->records[boxIndex].get() != record) {
    return nullptr;
  }
  const std::vector<FrameworkBlock>& blocks = before->findings.suggestion.blocks;
  if (blockIndex >= blocks.size() || blocks[blockIndex].title != block.title) return nullptr;
  const std::vector<CodeBox>& boxes = blocks[blockIndex].boxes;
  if (boxIndex >= boxes.size() || !SameModules(boxes[boxIndex], block.boxes[boxIndex])) {
    return nullptr;
  }
  return &boxes[boxIndex];
}

void TakeReasons(CodeBox& box, const CodeBox& kept) {
  box.reasons = kept.reasons;
  box.optionalReasons = kept.optionalReasons;
  for (size_t i = 0; i < box.guarded.size(); ++i) box.guarded[i].reasons = kept.guarded[i].reasons;
}

}  // namespace

void ExplainSuggestion(const AnalysisState& analysis, Suggestion& suggestion,
                       const ExplainedBefore* before) {
  if (before && !SameWalk(analysis, before->findings)) before = nullptr;
  Explainer explainer(analysis);
  const auto& records = analysis.SourceModList;
  for (size_t b = 0; b < suggestion.blocks.size(); ++b) {
    FrameworkBlock& block = suggestion.blocks[b];
    Text templateName = TemplateName(block.title);
    // The boxes follow the records, one each, in order.
    for (size_t i = 0; i < block.boxes.size() && i < records.size(); ++i) {
      if (const CodeBox* kept = KeptBox(before, b, block, i, records[i].get())) {
        TakeReasons(block.boxes[i], *kept);
      } else {
        explainer.Explain(block.boxes[i], *records[i], templateName);
      }
    }
  }
}

bool SameModules(const CodeBox& a, const CodeBox& b) {
  if (a.path != b.path || a.isMain != b.isMain || a.modules != b.modules ||
      a.optionalModules != b.optionalModules || a.standsInFor != b.standsInFor ||
      a.guarded.size() != b.guarded.size()) {
    return false;
  }
  for (size_t i = 0; i < a.guarded.size(); ++i) {
    if (a.guarded[i].condition != b.guarded[i].condition ||
        a.guarded[i].modules != b.guarded[i].modules) {
      return false;
    }
  }
  return true;
}

}  // namespace vt
