#include "analysis/present_header.h"

#include <algorithm>
#include <optional>

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
  out.keep = out.trailingComment &&
             Lower(line.substr(rest)).find(kKeepMarker) != TextView::npos;
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

// The condition of a "?condition ' comment" line as written.
Text ConditionOf(TextView line) {
  TextView rest = TrimView(line).substr(1);
  return Trim(rest.substr(0, rest.find(u'\'')));
}

// A platform section being read: its lines join the header only if it
// holds nothing but module imports and blank lines.
struct Section {
  HeaderLine start;
  std::vector<HeaderLine> imports;
  bool onlyImports = true;
};

class HeaderReader {
 public:
  HeaderReader(const std::vector<Text>& lines, SectionImports sections)
      : lines_(lines), readSections_(sections == SectionImports::Read) {}

  PresentHeader Read() {
    for (size_t i = 0; i < lines_.size(); ++i) i = Visit(i);
    // A section the file never closes is code, not header.
    if (section_) KeepSectionImports();
    std::stable_sort(header_.lines.begin(), header_.lines.end(),
                     [](const HeaderLine& a, const HeaderLine& b) { return a.index < b.index; });
    header_.insertAt = header_.Empty() ? OpeningEnd() : header_.lines.front().index;
    return std::move(header_);
  }

 private:
  void EndSection(size_t index, bool closedByItself) {
    if (!section_) return;
    if (!section_->onlyImports || section_->imports.empty()) {
      KeepSectionImports();
      return;
    }
    header_.lines.push_back(section_->start);
    for (const HeaderLine& line : section_->imports) header_.lines.push_back(line);
    if (closedByItself) {
      HeaderLine end;
      end.index = index;
      end.kind = HeaderLineKind::SectionEnd;
      header_.lines.push_back(end);
    }
    section_.reset();
  }

  void KeepSectionImports() {
    for (const HeaderLine& line : section_->imports) header_.keptImports.push_back(line);
    section_.reset();
  }

  // A "?" line: ends the section before it and may start one.
  size_t VisitConditional(size_t i, TextView low) {
    bool opens = OpensConditional(low);
    inConditional_ = opens;
    if (!readSections_) return i;
    EndSection(i, !opens);
    if (!opens) return i;
    section_.emplace();
    section_->start.index = i;
    section_->start.kind = HeaderLineKind::SectionStart;
    section_->start.condition = ConditionOf(lines_[i]);
    // A comment after the condition stays when the line is written again.
    const Text& raw = lines_[i];
    size_t comment = raw.find(u'\'', raw.find(u'?'));
    if (comment != Text::npos) {
      size_t end = comment;
      while (end > 0 && IsBlankUnit(raw[end - 1])) --end;
      section_->start.afterName = end;
      section_->start.trailingComment = true;
    }
    return i;
  }

  void VisitSectionLine(size_t i, TextView low) {
    if (!section_) return;
    HeaderLine line;
    line.index = i;
    line.condition = section_->start.condition;
    if (ParseModuleLine(lines_[i], u"import", line)) {
      section_->imports.push_back(line);
    } else if (!low.empty()) {
      section_->onlyImports = false;
    }
  }

  // Looks at line `i`; returns the last line it took.
  size_t Visit(size_t i) {
    Text low = Lower(Trim(lines_[i]));
    bool inRem = rem_;
    LineKind kind = ClassifyLine(low, rem_);
    if (inRem || kind == LineKind::RemStart || kind == LineKind::RemEnd) {
      if (section_) section_->onlyImports = false;
      return i;
    }
    if (!low.empty() && low[0] == u'?') return VisitConditional(i, low);
    if (inConditional_) {
      VisitSectionLine(i, low);
      return i;
    }
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
    bool rem = false;
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
  bool readSections_;
  PresentHeader header_;
  bool rem_ = false;
  bool inConditional_ = false;
  std::optional<Section> section_;
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
    if (line.kind == HeaderLineKind::Framework || line.kind == HeaderLineKind::Import) {
      return line.index + 1;
    }
  }
  // Where the new header goes.
  return insertAt + 1;
}

PresentHeader ReadPresentHeader(const std::vector<Text>& lines, SectionImports sections) {
  return HeaderReader(lines, sections).Read();
}

Text ConditionKey(TextView condition) {
  Text key;
  bool blank = false;
  for (char16_t c : Trim(condition)) {
    if (c <= 32) {
      blank = true;
      continue;
    }
    if (blank) key += u' ';
    blank = false;
    key += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  }
  return key;
}

}  // namespace vt
