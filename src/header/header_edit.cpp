#include "header/header_edit.h"

namespace vt {

namespace {

// The new header lines in the file's encoding; the first that does not fit
// it, when one does not.
Text EncodeWanted(const TextLines& before, const std::vector<WantedLine>& wanted,
                  const std::string& ending, std::vector<EditedLine>& out) {
  for (const WantedLine& line : wanted) {
    std::optional<std::string> bytes = EncodeText(before.encoding, line.text);
    if (!bytes) return line.text;
    if (line.keepFromLine && *line.keepFromLine < before.lines.size()) {
      *bytes += BytesFromUnit(before.encoding, before.lines[*line.keepFromLine].content,
                              line.keepFromUnit);
    }
    out.push_back({{std::move(*bytes), ending}, std::nullopt});
  }
  return Text();
}

bool IsBlankBytes(TextEncoding encoding, const std::string& content) {
  return Trim(DecodeLine(encoding, content)).empty();
}

// Every line but the last ends; the last ends only if the old file's did.
void MendEndings(const TextLines& before, const std::string& ending,
                 std::vector<EditedLine>& after) {
  bool endedBefore = before.lines.empty() || !before.lines.back().ending.empty();
  for (size_t i = 0; i + 1 < after.size(); ++i) {
    if (!after[i].line.ending.empty()) continue;
    after[i].line.ending = ending;
    after[i].from.reset();
  }
  if (after.empty() || endedBefore) return;
  EditedLine& last = after.back();
  if (last.line.ending.empty()) return;
  last.line.ending.clear();
  last.from.reset();
}

}  // namespace

TextLines HeaderEdit::Result(const TextLines& before) const {
  TextLines text;
  text.encoding = before.encoding;
  // A UTF-8 mark goes with the first line, as a diff shows it: a file left
  // with no line keeps none (a UTF-16 one keeps its encoding's mark).
  if (!after.empty() || before.encoding != TextEncoding::Utf8) {
    text.byteOrderMark = before.byteOrderMark;
  }
  for (const EditedLine& line : after) text.lines.push_back(line.line);
  return text;
}

HeaderEdit EditHeader(const TextLines& before, const PresentHeader& present,
                      const std::vector<WantedLine>& wanted, TextView fallbackEnding) {
  HeaderEdit edit;
  std::string ending = MostCommonEnding(before, fallbackEnding);
  std::vector<EditedLine> inserted;
  edit.unencodable = EncodeWanted(before, wanted, ending, inserted);
  if (!edit.unencodable.empty()) return edit;

  std::vector<bool> removed(before.lines.size(), false);
  for (const HeaderLine& line : present.lines) removed[line.index] = true;
  size_t at = std::min(present.insertAt, before.lines.size());
  bool separate = present.Empty() && !inserted.empty() && at < before.lines.size() &&
                  !IsBlankBytes(before.encoding, before.lines[at].content);
  if (separate) {
    std::optional<std::string> blank = EncodeText(before.encoding, u"");
    inserted.push_back({{*blank, ending}, std::nullopt});
  }
  for (size_t i = 0; i <= before.lines.size(); ++i) {
    if (i == at) edit.after.insert(edit.after.end(), inserted.begin(), inserted.end());
    if (i < before.lines.size() && !removed[i]) edit.after.push_back({before.lines[i], i});
  }
  MendEndings(before, ending, edit.after);
  return edit;
}

bool Changes(const TextLines& before, const HeaderEdit& edit) {
  if (!edit.unencodable.empty()) return false;
  if (edit.after.size() != before.lines.size()) return true;
  for (size_t i = 0; i < edit.after.size(); ++i) {
    const RawLine& now = edit.after[i].line;
    const RawLine& was = before.lines[i];
    if (now.content != was.content || now.ending != was.ending) return true;
  }
  return false;
}

}  // namespace vt
