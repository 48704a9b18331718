// The report writer on records and a suggestion made straight from the
// input, names full of markup, quotes, control characters and lone
// surrogates included: the page bytes must be well-formed and hold no markup
// from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <utility>

#include "analysis/source_records.h"
#include "analysis/suggestion.h"
#include "fuzz/fuzz_support.h"
#include "report/html_report.h"
#include "report/page_bytes.h"

namespace {

vt::Text TakeText(FuzzedDataProvider& input) {
  vt::Text text;
  size_t length = input.ConsumeIntegralInRange<size_t>(0, 24);
  for (size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
    // Mostly the characters that matter to a page, sometimes anything.
    static constexpr char16_t kSpecial[] = u"<>&\"' \t\x1b\x07/\\:.\xDCE9\xD800";
    if (input.ConsumeBool()) {
      text += kSpecial[input.ConsumeIntegralInRange<size_t>(0, std::size(kSpecial) - 2)];
    } else {
      text += input.ConsumeIntegral<char16_t>();
    }
  }
  return text;
}

vt::TextList TakeList(FuzzedDataProvider& input) {
  vt::TextList list(input.ConsumeIntegralInRange<size_t>(0, 4));
  for (vt::Text& entry : list) entry = TakeText(input);
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  vt::AnalysisState analysis;
  static constexpr vt::EntryKind kKinds[] = {vt::EntryKind::Main, vt::EntryKind::Include,
                                             vt::EntryKind::Imported, vt::EntryKind::Module};
  for (size_t n = input.ConsumeIntegralInRange<size_t>(0, 4); n > 0; --n) {
    analysis.NewScanEntry(TakeText(input), kKinds[input.ConsumeIntegralInRange<size_t>(0, 3)]);
  }
  analysis.TotalLines = input.ConsumeIntegral<int>();
  analysis.CodeLines = input.ConsumeIntegral<int>();

  vt::Suggestion suggestion;
  suggestion.driverChoice = input.ConsumeBool();
  for (size_t b = input.ConsumeIntegralInRange<size_t>(0, 2); b > 0; --b) {
    vt::FrameworkBlock block;
    block.title = u"Programs template:";
    block.note = TakeText(input);
    for (size_t c = input.ConsumeIntegralInRange<size_t>(0, 3); c > 0; --c) {
      vt::CodeBox box;
      box.isMain = block.boxes.empty();
      box.label = box.isMain ? u"Main Source: " : u"Imported Code: ";
      box.path = TakeText(input);
      box.modules = TakeList(input);
      box.optionalModules = TakeList(input);
      box.extraLines = TakeList(input);
      block.boxes.push_back(std::move(box));
    }
    suggestion.blocks.push_back(std::move(block));
  }

  vt::TextList lines;
  vt::htmltype html(lines);
  vt::WriteResultsPage(html, vt::ExaminationOf(analysis, std::move(suggestion)));
  html.AddLine(u"</body>");
  html.AddLine(u"</html>");
  std::string page;
  for (const vt::Text& line : lines) {
    page += vt::PageBytes(vt::DoubleQuoteAttributes(line));
    page += "\r\n";
  }
  vt::fuzz::CheckPage(page);
  return 0;
}
