// What the fuzz targets share: a private folder of files made from the input,
// a screen that shows nothing, and the check that a written page is
// well-formed and holds no markup of its own from the input.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/screen.h"

namespace vt::fuzz {

// Parts of one input, split at the marker that the dictionary also holds.
inline std::vector<std::string> SplitInput(const uint8_t* data, size_t size, size_t parts) {
  static constexpr std::string_view kMarker = "\n--8<--\n";
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> out;
  while (out.size() + 1 < parts) {
    size_t at = rest.find(kMarker);
    if (at == std::string_view::npos) break;
    out.emplace_back(rest.substr(0, at));
    rest.remove_prefix(at + kMarker.size());
  }
  out.emplace_back(rest);
  out.resize(parts);
  return out;
}

// A folder of this process, emptied for every input.
class FuzzFolder {
 public:
  FuzzFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("veltrane-fuzz-" + std::to_string(getpid()))) {}
  ~FuzzFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  void Reset() {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  void Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  Text Path() const { return FromUtf8(path_.string()); }
  Text operator/(const std::string& relative) const { return FromUtf8((path_ / relative).string()); }

 private:
  std::filesystem::path path_;
};

class QuietScreen : public Screen {
 public:
  void InformationBox(const Text&) override {}
  void SetStatusText(const Text&) override {}
  void Navigate(const Text&) override {}
  void ClearView() override {}
  bool ShowsPages() const override { return true; }
};

inline void Fail() { __builtin_trap(); }

// A character reference or one of the named ones the writer uses.
inline size_t ReferenceLength(std::string_view page, size_t at) {
  for (std::string_view named : {"&lt;", "&gt;", "&amp;", "&quot;"}) {
    if (page.substr(at, named.size()) == named) return named.size();
  }
  if (page.substr(at, 2) != "&#") return 0;
  size_t end = at + 2;
  while (end < page.size() && page[end] >= '0' && page[end] <= '9') ++end;
  if (end == at + 2 || end >= page.size() || page[end] != ';') return 0;
  return end + 1 - at;
}

inline bool IsNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// One tag at `at` ("<"): a known name, then only known attributes with
// double-quoted values free of quotes and "<". Its length, or 0.
inline size_t TagLength(std::string_view page, size_t at) {
  static const std::set<std::string_view> kTags = {
      "html", "head", "title", "body", "hr",    "p",  "h4",   "ul",       "li",
      "strong", "a",  "font",  "table", "tr",   "td", "form", "textarea", "br"};
  static const std::set<std::string_view> kAttributes = {
      "background", "border", "width",  "cellpadding", "size",   "color",
      "href",       "method", "name",   "rows",        "cols",   "valign",
      "bgcolor",    "cellspacing", "bordercolor", "bordercolordark", "bordercolorlight"};
  size_t pos = at + 1;
  if (pos < page.size() && page[pos] == '/') ++pos;
  size_t nameStart = pos;
  while (pos < page.size() && IsNameChar(page[pos])) ++pos;
  if (!kTags.count(page.substr(nameStart, pos - nameStart))) return 0;
  while (pos < page.size() && page[pos] != '>') {
    while (pos < page.size() && (page[pos] == ' ' || page[pos] == '\r' || page[pos] == '\n')) ++pos;
    if (pos < page.size() && page[pos] == '>') break;
    size_t attributeStart = pos;
    while (pos < page.size() && IsNameChar(page[pos])) ++pos;
    if (!kAttributes.count(page.substr(attributeStart, pos - attributeStart))) return 0;
    if (page.substr(pos, 2) != "=\"") return 0;
    size_t close = page.find('"', pos + 2);
    if (close == std::string_view::npos) return 0;
    if (page.substr(pos + 2, close - pos - 2).find('<') != std::string_view::npos) return 0;
    pos = close + 1;
  }
  return pos < page.size() ? pos + 1 - at : 0;
}

// Traps unless every line ends in CR LF, no other control character but tab
// appears, every "&" starts a reference and every "<" a tag the writer makes.
inline void CheckPage(std::string_view page) {
  if (page.substr(0, 8) != "<html>\r\n") Fail();
  if (page.size() < 9 || page.substr(page.size() - 9) != "</html>\r\n") Fail();
  size_t textareas = 0;
  for (size_t at = 0; at < page.size();) {
    unsigned char c = static_cast<unsigned char>(page[at]);
    if (c == '\r') {
      if (at + 1 >= page.size() || page[at + 1] != '\n') Fail();
      at += 2;
    } else if (c == '\n' || (c < 0x20 && c != '\t')) {
      Fail();
    } else if (c == '&') {
      size_t length = ReferenceLength(page, at);
      if (length == 0) Fail();
      at += length;
    } else if (c == '<') {
      size_t length = TagLength(page, at);
      if (length == 0) Fail();
      if (page.substr(at, 9) == "<textarea") ++textareas;
      if (page.substr(at, 10) == "</textarea" && textareas-- == 0) Fail();
      at += length;
    } else if (c == '>' || c == '"') {
      Fail();  // only ever inside a tag
    } else {
      ++at;
    }
  }
  if (textareas != 0) Fail();
}

inline std::string ReadBytes(const Text& path) {
  std::ifstream in(ToUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vt::fuzz
