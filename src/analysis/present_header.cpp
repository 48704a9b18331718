#include "analysis/present_header.h"

#include "analysis/source_walker.h"

namespace vt {

namespace {

bool IsBlankUnit(char16_t unit) { return unit <= 32; }

bool IsNameUnit(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
         (unit >= u'0' && unit <= u'9') || unit == u'_' || unit == u'.';
}

// A module name: two words joined by a dot, such as BRL.Max2D.
bool IsModuleName(TextView name) {
  size_t dot = name.find(u'.');
  return dot != TextView::npos && dot > 0 && dot + 1 < name.size() &&
         name.find(u'.', dot + 1) == TextView::npos;
}

// `keyword` (lower case), blanks, a module name and then nothing but blanks
// or a comment: fills `out` with the name and where it ends.
bool ParseModuleLine(TextView line, TextView keyword, HeaderLine& out) {
  size_t start = 0;
  while (start < line.size() && IsBlankUnit(line[start])) ++start;
  size_t at = start + keyword.size();
  if (at >= line.size() || !IsBlankUnit(line[at])) return false;
  if (Lower(line.substr(start, keyword.size())) != keyword) return false;
  while (at < line.size() && IsBlankUnit(line[at])) ++at;
  size_t nameStart = at;
  while (at < line.size() && IsNameUnit(line[at])) ++at;
  TextView name = line.substr(nameStart, at - nameStart);
  if (!IsModuleName(name)) return false;
  size_t rest = at;
  while (rest < line.size() && IsBlankUnit(line[rest])) ++rest;
  if (rest < line.size() && line[rest] != u'\'') return false;
  out.module = Text(name);
  out.afterName = at;
  out.trailingComment = rest < line.size();
  return true;
}

bool IsStrictLine(TextView low) {
  for (TextView word : {TextView(u"strict"), TextView(u"superstrict")}) {
    if (!StartsWith(low, word)) continue;
    if (low.size() == word.size() || IsBlankUnit(low[word.size()]) || low[word.size()] == u'\'') {
      return true;
    }
  }
  return false;
}

// "?" alone (or with a comment) ends a conditional section; "?Win32" and
// the like start one.
bool OpensConditional(TextView low) {
  TextView rest = low.substr(1);
  size_t comment = rest.find(u'\'');
  return !Trim(rest.substr(0, comment)).empty();
}

bool IsSuggestedImportComment(TextView line) {
  Text trimmed = Trim(line);
  if (!StartsWith(trimmed, u"'")) return false;
  HeaderLine ignored;
  return ParseModuleLine(TextView(trimmed).substr(1), u"import", ignored) &&
         !ignored.trailingComment;
}

class HeaderReader {
 public:
  explicit HeaderReader(const std::vector<Text>& lines) : lines_(lines) {}

  PresentHeader Read() {
    for (size_t i = 0; i < lines_.size(); ++i) i = Visit(i);
    header_.insertAt = header_.Empty() ? OpeningEnd() : header_.lines.front().index;
    return std::move(header_);
  }

 private:
  // Looks at line `i`; returns the last line it took.
  size_t Visit(size_t i) {
    Text low = Lower(Trim(lines_[i]));
    bool inRem = rem_ != 0;
    LineKind kind = ClassifyLine(low, rem_);
    if (inRem || kind == LineKind::RemStart || kind == LineKind::RemEnd) return i;
    if (!low.empty() && low[0] == u'?') {
      inConditional_ = OpensConditional(low);
      return i;
    }
    if (inConditional_) return i;
    HeaderLine line;
    line.index = i;
    if (ParseModuleLine(lines_[i], u"framework", line)) {
      line.kind = HeaderLineKind::Framework;
      header_.lines.push_back(line);
    } else if (ParseModuleLine(lines_[i], u"import", line)) {
      header_.lines.push_back(line);
    } else if (low == kMayBeRequiredLine) {
      return TakeSuggestionComment(i);
    }
    return i;
  }

  // The list of modules which may be required, with the blank line the
  // suggestion puts before it.
  size_t TakeSuggestionComment(size_t i) {
    bool blankBefore = i > 0 && Trim(lines_[i - 1]).empty();
    bool taken = !header_.Empty() && header_.lines.back().index == i - 1;
    if (blankBefore && !taken) AddComment(i - 1);
    AddComment(i);
    while (i + 1 < lines_.size() && IsSuggestedImportComment(lines_[i + 1])) AddComment(++i);
    return i;
  }

  void AddComment(size_t index) {
    HeaderLine line;
    line.index = index;
    line.kind = HeaderLineKind::SuggestionComment;
    header_.lines.push_back(line);
  }

  // After a Strict or SuperStrict line among the comments and blank lines
  // that start the file; else after the comment lines that open it.
  size_t OpeningEnd() const {
    int rem = 0;
    size_t opening = 0;
    bool inOpening = true;
    for (size_t i = 0; i < lines_.size(); ++i) {
      Text low = Lower(Trim(lines_[i]));
      bool inRem = rem != 0;
      LineKind kind = ClassifyLine(low, rem);
      bool remark = inRem || kind == LineKind::RemStart || kind == LineKind::RemEnd ||
                    kind == LineKind::Comment;
      if (IsStrictLine(low) && !inRem) return i + 1;
      if (kind == LineKind::Blank && !inRem) {
        inOpening = false;
        continue;
      }
      if (!remark) break;
      if (inOpening) opening = i + 1;
    }
    return opening;
  }

  const std::vector<Text>& lines_;
  PresentHeader header_;
  int rem_ = 0;
  bool inConditional_ = false;
};

}  // namespace

const HeaderLine* PresentHeader::FrameworkLine() const {
  for (const HeaderLine& line : lines) {
    if (line.kind == HeaderLineKind::Framework) return &line;
  }
  return nullptr;
}

size_t PresentHeader::FirstModuleLine() const {
  for (const HeaderLine& line : lines) {
    if (line.kind != HeaderLineKind::SuggestionComment) return line.index + 1;
  }
  return 1;
}

PresentHeader ReadPresentHeader(const std::vector<Text>& lines) {
  return HeaderReader(lines).Read();
}

}  // namespace vt
