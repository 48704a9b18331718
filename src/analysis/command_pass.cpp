#include "analysis/command_pass.h"

#include <utility>

#include "analysis/cause_notes.h"
#include "analysis/present_header.h"
#include "analysis/source_walker.h"
#include "base/paths.h"
#include "catalogue/platform_condition.h"

namespace vt {

namespace {

// WordChars as a table: every character of every line is tested.
struct WordCharTable {
  bool is[128] = {};
  constexpr WordCharTable() {
    for (char16_t c : TextView(WordChars)) is[c] = true;
  }
};
constexpr WordCharTable kWordChars;

bool IsWordChar(char16_t c) { return c < 128 && kWordChars.is[c]; }

// Shortest literal text (between the quotes) worth keeping.
constexpr size_t kMinLiteral = 3;

bool IsFileKind(EntryKind kind) { return kind != EntryKind::Module; }

// Under the modern rules a word that names what the program declares in
// scope there is no module's: the line's declarations are noted, a name its
// Locals or parameters hide is passed over, and each other word keeps the
// type block it is used in, to be judged once the whole program is read.
void AddScopedWords(const AnalysisState& analysis, CommandPassState& pass, sourcemodtype& record,
                    TextView trimmed) {
  LineScratch& scratch = pass.scratch;
  const Text& low = scratch.low;
  pass.scopes.ReadLine(low, scratch.spans, scratch.uses);
  bool keepNotes = analysis.Notes == CauseNotes::Keep;
  for (size_t i = 0; i < scratch.spans.size(); ++i) {
    uint32_t use = scratch.uses[i];
    if (use == kDeclaredHere || use == kHiddenHere) continue;
    const WordSpan& span = scratch.spans[i];
    auto added = record.AddScopedWord(TextView(low).substr(span.start, span.length), use);
    if (!keepNotes) continue;
    TextView spelling = trimmed.substr(span.start, span.length);
    if (added == sourcemodtype::WordAdded::New) NoteWordSite(record, pass.Here(analysis), spelling);
    if (added == sourcemodtype::WordAdded::NewContext) {
      record.furtherUses.back().site = {pass.Here(analysis), Text(spelling)};
    }
  }
}

// Under the modern rules a section that always holds is no section, and one
// that never holds is code no build compiles; any other stands for what is
// left of its condition.
void EnterSection(CommandPassState& pass, TextView condition) {
  KnownCondition known = SimplifyCondition(condition, true);
  pass.sectionNeverHolds = known.kind == KnownCondition::Kind::Never;
  pass.section = std::move(known.text);
  pass.sectionKey = ConditionKey(pass.section);
}

}  // namespace

Text SectionCondition(TextView trimmed) {
  TextView condition = trimmed.substr(1);
  condition = condition.substr(0, condition.find(u'\''));
  return Trim(condition);
}

TextList CutWords(TextView low) {
  TextList words;
  for (const WordSpan& span : CutWordSpans(low))
    words.emplace_back(low.substr(span.start, span.length));
  return words;
}

std::vector<WordSpan> CutWordSpans(TextView low) {
  std::vector<WordSpan> words;
  CutWordSpans(low, words);
  return words;
}

void CutWordSpans(TextView low, std::vector<WordSpan>& words) {
  words.clear();
  size_t pos = 0;
  while (pos < low.size()) {
    char16_t c = low[pos];
    if (c == u'\'') break;
    if (c == u'"') {
      size_t close = low.find(u'"', pos + 1);
      // An unclosed literal runs to the end of the line.
      size_t end = close == TextView::npos ? low.size() : close;
      if (end - pos - 1 >= kMinLiteral) words.push_back({pos, end - pos});
      if (close == TextView::npos) break;
      // The character after the closing quote is skipped unseen.
      pos = close + 2;
      continue;
    }
    if (IsWordChar(c)) {
      size_t end = pos;
      while (end < low.size() && IsWordChar(low[end])) ++end;
      words.push_back({pos, end - pos});
      // So is the character that ends the word.
      pos = end + 1;
      continue;
    }
    ++pos;
  }
}

sourcemodtype* ScanFileCommands(AnalysisState& analysis, TextView path, EntryKind kind,
                                sourcemodtype* current) {
  CommandPassState pass;
  TextFileLines file;
  return ScanFileCommands(analysis, pass, DiskFileTree(), path, kind, current, file);
}

sourcemodtype* ScanFileCommands(AnalysisState& analysis, CommandPassState& pass,
                                const FileTree& files, TextView path, EntryKind kind,
                                sourcemodtype* current, TextFileLines& file) {
  if (!IsFileKind(kind)) return current;
  // The walk stored full paths.
  ReadTextFileLines(files, path, file);
  if (file.outcome == ReadOutcome::OutOfHandles && !Contains(analysis.FilesNotRead, path)) {
    analysis.FilesNotRead.emplace_back(path);
  }
  if (file.outcome != ReadOutcome::Read) return current;
  return ScanFileLines(analysis, pass, path, kind, current, file);
}

sourcemodtype* ScanFileLines(AnalysisState& analysis, CommandPassState& pass, TextView path,
                             EntryKind kind, sourcemodtype* current, const TextFileLines& file) {
  if (!IsFileKind(kind)) return current;
  if (kind != EntryKind::Include) {
    current = analysis.NewSourceRecord();
    current->path = path;
    current->folder = FolderPart(path);
  }
  // Platform sections end with the file that opens them.
  pass.section.clear();
  pass.sectionKey.clear();
  pass.sectionNeverHolds = false;
  pass.scopes.StartFile();
  for (size_t i = 0; i < file.LineCount(); ++i) {
    ScanCommandLine(analysis, pass, current, file.Line(i));
  }
  return current;
}

void ScanCommandLine(AnalysisState& analysis, CommandPassState& pass, sourcemodtype* record,
                     TextView line) {
  ++analysis.TotalLines;
  TextView trimmed = TrimView(line);
  // Blank and comment lines say so by their first unit, whatever the Rem
  // state: no need to lower them.
  if (trimmed.empty() || trimmed[0] == u'\'') return;
  LineScratch& scratch = pass.scratch;
  LowerInto(scratch.low, trimmed);
  const Text& low = scratch.low;
  if (ClassifyLine(low, pass.inRem) != LineKind::Code) return;
  ++analysis.CodeLines;
  if (analysis.ruleSet == RuleSetKind::Modern && low[0] == u'?') {
    EnterSection(pass, SectionCondition(trimmed));
    return;
  }
  if (pass.sectionNeverHolds) return;
  if (!record) return;
  if (!pass.section.empty()) record = &record->Section(pass.section, pass.sectionKey);
  CutWordSpans(low, scratch.spans);
  if (analysis.ruleSet == RuleSetKind::Modern) {
    AddScopedWords(analysis, pass, *record, trimmed);
    return;
  }
  for (const WordSpan& span : scratch.spans) {
    size_t known = record->words.size();
    record->AddWord(TextView(low).substr(span.start, span.length));
    if (record->words.size() > known && analysis.Notes == CauseNotes::Keep) {
      NoteWordSite(*record, pass.Here(analysis), trimmed.substr(span.start, span.length));
    }
  }
}

}  // namespace vt
