#include "header/header_plan.h"

#include <unordered_set>

#include "analysis/unit_header.h"
#include "base/paths.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// Reads the file's bytes and the header they hold; an unreadable file is
// refused.
void Load(FilePlan& file, const HeaderJob& job) {
  bool read = job.files ? job.files->ReadBytes(file.path, file.bytes) == ReadOutcome::Read
                        : ReadFileBytes(file.path, file.bytes);
  if (!read) {
    file.refusal = WriteRefusal::Unreadable;
    return;
  }
  file.lines = SplitTextLines(file.bytes);
  std::vector<Text> decoded;
  decoded.reserve(file.lines.lines.size());
  for (const RawLine& line : file.lines.lines) {
    decoded.push_back(DecodeLine(file.lines.encoding, line.content));
  }
  file.present = ReadPresentHeader(decoded, job.sections);
  for (HeaderLine& line : file.present.lines) {
    Text low = Lower(line.module);
    if (line.kind == HeaderLineKind::Import && job.keep.count(low)) line.keep = true;
    bool names =
        line.kind == HeaderLineKind::Import || line.kind == HeaderLineKind::Framework;
    if (names && !job.catalogue.FindModule(low)) line.notInstalled = true;
  }
}

// Refuses a file that lies in the installation's mod folder or outside the
// main file's folder tree.
class FolderRefusal {
 public:
  FolderRefusal(const Text& mainPath, const Text& modFolder)
      : tree_(CanonicalPath(FolderPart(mainPath))),
        mod_(modFolder.empty() ? Text() : CanonicalPath(modFolder)) {}

  void Judge(FilePlan& file) const {
    if (file.refusal != WriteRefusal::None) return;
    Text path = CanonicalPath(file.path);
    if (!mod_.empty() && IsInFolderTree(path, mod_)) {
      file.refusal = WriteRefusal::InModFolder;
    } else if (!IsInFolderTree(path, tree_)) {
      file.refusal = WriteRefusal::OutsideTree;
    }
  }

 private:
  Text tree_;
  Text mod_;
};

class Planner {
 public:
  explicit Planner(const HeaderJob& job) : job_(job) {
    plan_.currentFolder = job.currentFolder;
  }

  HeaderPlan Plan() {
    const auto& blocks = job_.suggestion.blocks;
    if (blocks.empty() || blocks.front().boxes.empty()) {
      plan_.status = HeaderStatus::NoUnits;
      return std::move(plan_);
    }
    FilePlan main = NewFile(blocks.front().boxes.front());
    const FrameworkBlock* block = ChooseBlock(main);
    if (!block) return std::move(plan_);
    plan_.block = static_cast<size_t>(block - blocks.data()) + 1;
    if (job_.expectedBlock != 0 && plan_.block != job_.expectedBlock) return std::move(plan_);
    FolderRefusal refusal(block->boxes.front().path, job_.modFolder);
    std::vector<const CodeBox*> planned;
    for (const CodeBox& box : block->boxes) {
      bool first = &box == &block->boxes.front();
      if (!first && job_.planned && job_.planned->count(box.path)) continue;
      if (job_.handled && !job_.handled->insert(CanonicalPath(box.path)).second) continue;
      plan_.files.push_back(first ? std::move(main) : NewFile(box));
      FilePlan& file = plan_.files.back();
      Judge(file, box);
      refusal.Judge(file);
      planned.push_back(&box);
      if (!first && job_.judged) job_.judged(file);
    }
    if (plan_.files.empty() || job_.planned) return std::move(plan_);
    plan_.saving = SavingOf(planned, job_.catalogue);
    return std::move(plan_);
  }

 private:
  FilePlan NewFile(const CodeBox& box) const {
    FilePlan file;
    file.path = box.path;
    file.shown = RelativePath(box.path, job_.currentFolder);
    Load(file, job_);
    return file;
  }

  const FrameworkBlock* ChooseBlock(const FilePlan& main) {
    const auto& blocks = job_.suggestion.blocks;
    if (job_.templateNumber > 0) {
      if (job_.templateNumber <= blocks.size()) return &blocks[job_.templateNumber - 1];
      plan_.status = HeaderStatus::BadTemplate;
      plan_.askedBlock = job_.templateNumber;
      plan_.blockCount = blocks.size();
      return nullptr;
    }
    const HeaderLine* framework = main.present.FrameworkLine();
    if (!framework) return &blocks.front();
    for (const FrameworkBlock& block : blocks) {
      if (!block.boxes.empty() &&
          Lower(block.boxes.front().Framework()) == Lower(framework->module)) {
        return &block;
      }
    }
    return &blocks.front();
  }

  // The differences and notes of a readable file and, when it differs, the
  // edit. A header the check finds right is left as written (order, case,
  // spacing).
  void Judge(FilePlan& file, const CodeBox& box) const {
    if (!file.Readable()) return;
    std::vector<HeaderDifference> differences =
        CompareHeader(box, file.present, job_.families);
    for (const HeaderDifference& difference : differences) {
      file.findings.push_back({file.shown, difference, ReasonOf(file, difference)});
    }
    for (const HeaderDifference& note : UninstalledNotes(file.present)) {
      file.findings.push_back({file.shown, note, Reason()});
    }
    if (differences.empty()) return;
    file.wanted = WantedHeader(box, file.present, job_.families);
    file.edit = EditHeader(file.lines, file.present, file.wanted, NativeLineEnding());
    if (!file.edit.unencodable.empty()) {
      file.refusal = WriteRefusal::CannotEncode;
      return;
    }
    file.changes = Changes(file.lines, file.edit);
  }

  Reason ReasonOf(const FilePlan& file, const HeaderDifference& difference) const {
    if (difference.kind != HeaderDifferenceKind::Missing || !job_.reasons) return Reason();
    return job_.reasons(file.path, difference.module);
  }

  const HeaderJob& job_;
  HeaderPlan plan_;
};

}  // namespace

FrameworkSaving SavingOf(const std::vector<const CodeBox*>& boxes, const CatalogueState& catalogue) {
  // Many units name the same modules: each one's imports are added once.
  std::unordered_set<Text> named;
  for (const CodeBox* box : boxes) {
    for (const Text& module : box->modules) named.insert(Lower(module));
  }
  std::unordered_set<Text> kept{u"brl.blitz"};
  for (const Text& module : named) {
    kept.insert(module);
    if (const modtype* found = catalogue.FindModule(module)) {
      kept.insert(found->imports.begin(), found->imports.end());
    }
  }
  FrameworkSaving saving;
  for (const auto& module : catalogue.ModList) {
    if (!StartsWith(module->name, u"brl.") && !StartsWith(module->name, u"pub.")) continue;
    ++saving.importedNow;
    if (!kept.count(module->name)) ++saving.dropped;
  }
  return saving;
}

HeaderPlan PlanHeaders(const HeaderJob& job) { return Planner(job).Plan(); }

bool FilePlan::Differs() const {
  for (const HeaderFinding& finding : findings) {
    if (!finding.IsNote()) return true;
  }
  return false;
}

bool HeaderPlan::Differs() const {
  for (const FilePlan& file : files) {
    if (file.Differs()) return true;
  }
  return false;
}

bool HeaderPlan::LeavesDifferences() const {
  for (const FilePlan& file : files) {
    if (file.LeftAlone()) return true;
  }
  return false;
}

const FilePlan* HeaderPlan::Find(TextView shown) const {
  for (const FilePlan& file : files) {
    if (file.shown == shown) return &file;
  }
  return nullptr;
}

}  // namespace vt
