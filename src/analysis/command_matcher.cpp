#include "analysis/command_matcher.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "analysis/loader_rules.h"
#include "analysis/source_records.h"
#include "analysis/source_walker.h"
#include "catalogue/text_file_reader.h"

namespace vt {

namespace {

bool IsWordChar(char16_t c) { return TextView(WordChars).find(c) != TextView::npos; }

// Shortest literal text (between the quotes) worth keeping.
constexpr size_t kMinLiteral = 3;

bool IsFileKind(TextView kind) {
  return kind == u"Main" || kind == u"Imported" || kind == u"Include";
}

// For each command or type name, the modules that declare it, in catalogue
// order. Looking a word up here finds the same modules in the same order as
// walking every module's command and type lists, without the cost of doing so
// for every word.
using CommandIndex = std::unordered_map<Text, std::vector<modtype*>>;

CommandIndex IndexCommands() {
  CommandIndex index;
  for (const auto& module : Catalogue.ModList) {
    for (const TextList* names : {&module->commands, &module->types}) {
      for (const Text& name : *names) {
        std::vector<modtype*>& declaring = index[name];
        if (declaring.empty() || declaring.back() != module.get()) {
          declaring.push_back(module.get());
        }
      }
    }
  }
  return index;
}

void MatchWord(sourcemodtype& record, const Text& word, const CommandIndex& index) {
  auto found = index.find(word);
  if (found == index.end()) return;
  for (modtype* module : found->second) {
    if (module->matched) continue;
    module->matched = 1;
    record.AddModule(module->declaredName);
  }
}

}  // namespace

TextList CutWords(TextView low) {
  TextList words;
  size_t pos = 0;
  while (pos < low.size()) {
    char16_t c = low[pos];
    if (c == u'\'') break;
    if (c == u'"') {
      size_t close = low.find(u'"', pos + 1);
      // An unclosed literal runs to the end of the line.
      size_t end = close == TextView::npos ? low.size() : close;
      if (end - pos - 1 >= kMinLiteral) words.emplace_back(low.substr(pos, end - pos));
      if (close == TextView::npos) break;
      // The character after the closing quote is skipped unseen.
      pos = close + 2;
      continue;
    }
    if (IsWordChar(c)) {
      size_t end = pos;
      while (end < low.size() && IsWordChar(low[end])) ++end;
      words.emplace_back(low.substr(pos, end - pos));
      // So is the character that ends the word.
      pos = end + 1;
      continue;
    }
    ++pos;
  }
  return words;
}

void ScanFileCommands(TextView path, TextView kind) {
  if (!IsFileKind(kind)) return;
  // The walk stored full paths, so no change of folder is needed.
  std::unique_ptr<TextStream> stream = TextFileReader::OpenTextFile(path, true, 0);
  if (!stream) return;
  if (kind != u"Include") {
    sourcemodtype* record = NewSourceRecord();
    Analysis.CurrentSource = record;
    record->path = path;
    record->folder = FolderPart(path);
  }
  while (!stream->AtEnd()) ScanCommandLine(ReadTextLine(*stream));
  stream->Close();
}

void ScanCommandLine(TextView line) {
  ++Analysis.TotalLines;
  Text low = Lower(Trim(line));
  if (ClassifyLine(low, Analysis.InRemCommands) != LineKind::Code) return;
  ++Analysis.CodeLines;
  sourcemodtype* record = Analysis.CurrentSource;
  for (const Text& word : CutWords(low)) {
    if (record) record->AddWord(word);
  }
}

void MatchCommands() {
  const CommandIndex index = IndexCommands();
  for (const auto& owned : Analysis.SourceModList) {
    sourcemodtype& record = *owned;
    Analysis.CurrentSource = &record;
    for (const auto& module : Catalogue.ModList) module->matched = 0;
    for (size_t i = 0; i < record.words.size(); ++i) {
      const Text word = record.words[i];
      if (StartsWith(word, u"\"")) {
        ApplyLiteralRules(record, word);
        continue;
      }
      ApplyWordRules(record, word);
      MatchWord(record, word, index);
    }
  }
}

}  // namespace vt
