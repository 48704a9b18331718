#include "analysis/source_records.h"

#include <cstdlib>
#include <string>

namespace vt {

AnalysisState Analysis;

void ResetAnalysisState() { Analysis = AnalysisState(); }

sourcemodtype* NewSourceRecord() {
  Analysis.SourceModList.push_back(std::make_unique<sourcemodtype>());
  return Analysis.SourceModList.back().get();
}

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool ContainsLowered(const TextList& list, const Text& key) {
  for (const Text& entry : list) {
    if (Lower(entry) == key) return true;
  }
  return false;
}

}  // namespace

float LeadingNumber(TextView word) {
  size_t i = 0;
  size_t digits = 0;
  while (i < word.size() && IsDigit(word[i])) ++i, ++digits;
  if (i < word.size() && word[i] == u'.') {
    ++i;
    while (i < word.size() && IsDigit(word[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  size_t end = i;
  if (i < word.size() && (word[i] == u'e' || word[i] == u'E')) {
    size_t j = i + 1;
    if (j < word.size() && (word[j] == u'+' || word[j] == u'-')) ++j;
    if (j < word.size() && IsDigit(word[j])) {
      while (j < word.size() && IsDigit(word[j])) ++j;
      end = j;
    }
  }
  std::string ascii(word.begin(), word.begin() + static_cast<long>(end));
  return std::strtof(ascii.c_str(), nullptr);
}

void sourcemodtype::AddWord(TextView word) {
  if (LeadingNumber(word) > 0) return;
  if (word.size() < 2) return;
  if (Contains(words, word)) return;
  if (TextView(KeywordText).find(word) != TextView::npos) return;
  words.emplace_back(word);
}

void sourcemodtype::AddModule(TextView name) {
  Text key = Lower(name);
  Text toAppend(name);
  if (key == u"brl.blitz") return;
  if (key == u"brl.audio" || key == u"brl.audiosample") toAppend = u"BRL.FreeAudioAudio";
  if (key == u"brl.maxgui") toAppend = u"BRL.Win32MaxGUI";
  // The renamed form counts too: brl.audio and brl.audiosample would
  // otherwise both list BRL.FreeAudioAudio.
  if (ContainsLowered(modules, key) || ContainsLowered(modules, Lower(toAppend))) return;
  for (const Text& entry : modules) {
    modtype* listed = modtype::FindModule(entry);
    if (listed && Contains(listed->imports, key)) return;
  }
  modules.push_back(toAppend);
}

void sourcemodtype::AddOptionalModule(TextView name) {
  if (Contains(optionalModules, name)) return;
  if (ContainsLowered(modules, Lower(name))) return;
  optionalModules.emplace_back(name);
}

sourcemodtype* sourcemodtype::FindSourceByModule(TextView name) {
  for (const auto& record : Analysis.SourceModList) {
    for (const Text& entry : record->modules) {
      if (Lower(entry) == name) return record.get();
    }
  }
  return nullptr;
}

}  // namespace vt
