#include "header/header_check.h"

#include <memory>
#include <unordered_set>

#include "analysis/unit_header.h"
#include "base/paths.h"
#include "header/header_edit.h"
#include "header/unified_diff.h"
#include "platform/atomic_file.h"
#include "platform/file_bytes.h"
#include "platform/file_system.h"

namespace vt {

namespace {

// One source unit as it stands on disk.
struct Unit {
  const CodeBox* box = nullptr;
  Text path;
  Text shown;
  bool readable = false;
  std::string bytes;
  TextLines text;
  PresentHeader present;
  // Why the file may not be written, or empty.
  Text leftAlone;
};

void Load(Unit& unit, const HeaderJob& job) {
  unit.readable = job.files
                      ? job.files->ReadBytes(unit.path, unit.bytes) == ReadOutcome::Read
                      : ReadFileBytes(unit.path, unit.bytes);
  if (!unit.readable) return;
  unit.text = SplitTextLines(unit.bytes);
  std::vector<Text> decoded;
  decoded.reserve(unit.text.lines.size());
  for (const RawLine& line : unit.text.lines) {
    decoded.push_back(DecodeLine(unit.text.encoding, line.content));
  }
  unit.present = ReadPresentHeader(decoded, job.sections);
  for (HeaderLine& line : unit.present.lines) {
    Text low = Lower(line.module);
    if (line.kind == HeaderLineKind::Import && job.keep.count(low)) line.keep = true;
    bool names =
        line.kind == HeaderLineKind::Import || line.kind == HeaderLineKind::Framework;
    if (names && !job.catalogue.FindModule(low)) line.notInstalled = true;
  }
}

class HeaderRun {
 public:
  explicit HeaderRun(const HeaderJob& job) : job_(job) {}

  // Chooses the block and reads its units; false when there is nothing to
  // work on (the status says why).
  bool Prepare() {
    const auto& blocks = job_.suggestion.blocks;
    if (blocks.empty() || blocks.front().boxes.empty()) {
      result_.status = HeaderStatus::NoUnits;
      return false;
    }
    Unit main = NewUnit(blocks.front().boxes.front());
    const FrameworkBlock* block = ChooseBlock(main);
    if (!block) return false;
    result_.block = static_cast<size_t>(block - blocks.data()) + 1;
    mainPath_ = block->boxes.front().path;
    for (const CodeBox& box : block->boxes) {
      bool first = &box == &block->boxes.front();
      if (job_.handled && !job_.handled->insert(CanonicalPath(box.path)).second) continue;
      if (first) {
        main.box = &box;
        units_.push_back(std::move(main));
      } else {
        units_.push_back(NewUnit(box));
      }
    }
    if (units_.empty()) return false;
    MarkLeftAlone();
    for (const Unit& unit : units_) {
      if (unit.readable) continue;
      result_.unreadable.push_back(unit.shown);
      result_.errors.push_back(unit.shown + u": cannot be read");
    }
    return true;
  }

  void Check() {
    Find();
    for (const HeaderFinding& finding : result_.findings) {
      result_.output += ToUtf8(finding.text) + "\n";
    }
  }

  // The differences of every readable unit, then its notes, as data.
  void Find() {
    for (const Unit& unit : units_) {
      if (!unit.readable) continue;
      for (const HeaderDifference& difference : Compare(unit)) {
        result_.differs = true;
        AddFinding(unit, difference);
      }
      for (const HeaderDifference& note : UninstalledNotes(unit.present))
        AddFinding(unit, note);
    }
  }

  void Diff() {
    Find();
    ForEachEdit([this](const Unit& unit, const HeaderEdit& edit) {
      result_.differs = true;
      result_.output += UnifiedDiff(unit.shown, unit.text, edit);
      result_.edits.push_back({unit.shown, Replacements(unit.text, edit)});
    });
  }

  void Write(bool keepBackup) {
    bool wrote = false;
    ForEachEdit([&](const Unit& unit, const HeaderEdit& edit) {
      wrote = WriteUnit(unit, edit, keepBackup) || wrote;
    });
    bool quiet = wrote || !result_.messages.empty() || !result_.errors.empty();
    if (!quiet) result_.written.push_back(u"Every header matches; nothing written.");
  }

  HeaderResult Take() { return std::move(result_); }

 private:
  // Calls `apply` with each unit whose header needs an edit, and its edit;
  // a unit that must be left alone is named with the reason instead.
  template <typename Apply>
  void ForEachEdit(Apply&& apply) {
    for (const Unit& unit : units_) {
      HeaderEdit edit;
      if (!Plan(unit, edit)) continue;
      if (!unit.leftAlone.empty()) {
        // Its header still differs, whatever the mode.
        result_.differs = true;
        result_.messages.push_back(unit.shown + u": left alone: " + unit.leftAlone);
        continue;
      }
      apply(unit, edit);
    }
  }

  Unit NewUnit(const CodeBox& box) const {
    Unit unit;
    unit.box = &box;
    unit.path = box.path;
    unit.shown = RelativePath(box.path, job_.currentFolder);
    Load(unit, job_);
    return unit;
  }

  std::vector<HeaderDifference> Compare(const Unit& unit) const {
    return CompareHeader(*unit.box, unit.present, job_.families);
  }

  void AddFinding(const Unit& unit, const HeaderDifference& difference) {
    HeaderFinding finding{unit.shown, difference, ReasonOf(unit, difference), Text()};
    finding.text = Describe(unit, finding);
    result_.findings.push_back(std::move(finding));
  }

  const FrameworkBlock* ChooseBlock(const Unit& main) {
    const auto& blocks = job_.suggestion.blocks;
    if (job_.templateNumber > 0) {
      if (job_.templateNumber <= blocks.size()) return &blocks[job_.templateNumber - 1];
      result_.status = HeaderStatus::BadTemplate;
      result_.errors.push_back(u"there is no framework block " +
                               Decimal(job_.templateNumber) + u"; the suggestion has " +
                               Decimal(blocks.size()));
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

  void MarkLeftAlone() {
    Text tree = CanonicalPath(FolderPart(mainPath_));
    Text mod = job_.modFolder.empty() ? Text() : CanonicalPath(job_.modFolder);
    for (Unit& unit : units_) {
      Text path = CanonicalPath(unit.path);
      if (!mod.empty() && IsInFolderTree(path, mod)) {
        unit.leftAlone = u"it lies in the installation's mod folder";
      } else if (!IsInFolderTree(path, tree)) {
        unit.leftAlone = u"it lies outside the main file's folder";
      }
    }
  }

  Reason ReasonOf(const Unit& unit, const HeaderDifference& difference) const {
    if (difference.kind != HeaderDifferenceKind::Missing || !job_.reasons)
      return Reason();
    return job_.reasons(unit.path, difference.module);
  }

  Text Describe(const Unit& unit, const HeaderFinding& finding) const {
    const HeaderDifference& difference = finding.difference;
    Text where = unit.shown + u":" + Decimal(difference.line) + u": ";
    Text line = difference.framework ? u"Framework " : u"Import ";
    line += difference.module;
    if (!difference.condition.empty()) line += u" under ?" + difference.condition;
    switch (difference.kind) {
      case HeaderDifferenceKind::NoFramework:
        return where + u"no Framework line: with " + line + DropCount();
      case HeaderDifferenceKind::Unneeded:
        return where + u"unneeded " + line;
      case HeaderDifferenceKind::NotInstalled:
        return where + line + u": not installed here: kept";
      case HeaderDifferenceKind::Missing:
        break;
    }
    Text reason = finding.reason.Comment();
    return where + u"missing " + line + (reason.empty() ? Text() : u" (" + reason + u")");
  }

  // Without a Framework line a program imports every module of the brl and
  // pub collections; with one, only those the block names and what they
  // import.
  Text DropCount() const {
    std::unordered_set<Text> kept{u"brl.blitz"};
    for (const Unit& unit : units_) {
      for (const Text& module : unit.box->modules) {
        Text low = Lower(module);
        kept.insert(low);
        if (const modtype* found = job_.catalogue.FindModule(low)) {
          kept.insert(found->imports.begin(), found->imports.end());
        }
      }
    }
    size_t all = 0;
    size_t dropped = 0;
    for (const auto& module : job_.catalogue.ModList) {
      if (!StartsWith(module->name, u"brl.") && !StartsWith(module->name, u"pub."))
        continue;
      ++all;
      if (!kept.count(module->name)) ++dropped;
    }
    return u" it could drop " + Decimal(dropped) + u" of the " + Decimal(all) +
           u" modules it imports now";
  }

  // The edit of a readable unit; false when there is none to make. A header
  // the check finds right is left as written (order, case, spacing), so
  // that check, diff and write always agree.
  bool Plan(const Unit& unit, HeaderEdit& edit) {
    if (!unit.readable) return false;
    if (Compare(unit).empty()) return false;
    edit = EditHeader(unit.text, unit.present,
                      WantedHeader(*unit.box, unit.present, job_.families),
                      NativeLineEnding());
    if (!edit.error.empty()) {
      result_.errors.push_back(unit.shown + u": left alone: " + edit.error);
      return false;
    }
    return Changes(unit.text, edit);
  }

  bool WriteUnit(const Unit& unit, const HeaderEdit& edit, bool keepBackup) {
    std::string now;
    if (!ReadFileBytes(unit.path, now) || now != unit.bytes) {
      result_.errors.push_back(unit.shown +
                               u": left alone: it changed on disk since it was read");
      return false;
    }
    Text backup = unit.path + u".bak";
    // A backup made before holds the file before its first edit: it stays.
    bool backupKept = keepBackup && GetFileKind(backup) == FileKind::File;
    if (keepBackup && !backupKept) {
      if (Text error = WriteFileAtomically(backup, unit.bytes); !error.empty()) {
        result_.errors.push_back(unit.shown + u": left alone: the backup " +
                                 RelativePath(backup, job_.currentFolder) +
                                 u" cannot be written: " + error);
        return false;
      }
    }
    std::string bytes = JoinTextLines(edit.Result(unit.text));
    if (Text error = ReplaceFileAtomically(unit.path, bytes, unit.bytes);
        !error.empty()) {
      result_.errors.push_back(unit.shown + u": left alone: " + error);
      return false;
    }
    Text message = u"Wrote " + unit.shown;
    if (keepBackup) {
      message += u" (the original is in " + RelativePath(backup, job_.currentFolder) +
                 (backupKept ? u", kept from before)" : u")");
    }
    result_.written.push_back(message);
    return true;
  }

  const HeaderJob& job_;
  Text mainPath_;
  std::vector<Unit> units_;
  HeaderResult result_;
};

}  // namespace

std::vector<LineReplacement> Replacements(const TextLines& before,
                                          const HeaderEdit& edit) {
  std::vector<LineReplacement> out;
  bool open = false;
  size_t nextOld = 0;  // the old line after the last step seen
  for (const DiffStep& step : DiffSteps(before, edit)) {
    if (step.op == DiffOp::Equal) {
      open = false;
      nextOld = step.oldIndex + 1;
      continue;
    }
    if (!open) out.push_back({nextOld + 1, 0, {}});
    open = true;
    if (step.op == DiffOp::Delete) {
      ++out.back().removed;
      nextOld = step.oldIndex + 1;
    } else {
      out.back().inserted.push_back(
          DecodeLine(before.encoding, edit.after[step.newIndex].line.content));
    }
  }
  return out;
}

HeaderResult CheckHeaders(const HeaderJob& job) {
  HeaderRun run(job);
  if (run.Prepare()) run.Check();
  return run.Take();
}

HeaderResult DiffHeaders(const HeaderJob& job) {
  HeaderRun run(job);
  if (run.Prepare()) run.Diff();
  return run.Take();
}

HeaderResult WriteHeaders(const HeaderJob& job, bool keepBackup) {
  HeaderRun run(job);
  if (run.Prepare()) run.Write(keepBackup);
  return run.Take();
}

}  // namespace vt
