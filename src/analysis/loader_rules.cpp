#include "analysis/loader_rules.h"

#include "analysis/cause_notes.h"

#include <span>

namespace vt {

namespace {

enum class Flag { None, Images, Audio };

struct Rule {
  // A view, so that the test of every word against every rule needs no
  // length count.
  TextView text;
  const char16_t* module;  // null when the rule only sets a flag
  Flag flag;
  const char16_t* note = nullptr;  // why, for explanations, when the word does not say
};

// Matched against the last four characters of a literal; the first wins.
constexpr Rule kExtensionRules[] = {
    {u".png", u"BRL.PNGLoader", Flag::Images}, {u".bmp", u"BRL.BMPLoader", Flag::Images},
    {u".tga", u"BRL.TGALoader", Flag::Images}, {u".jpg", u"BRL.JPGLoader", Flag::Images},
    {u".wav", u"BRL.WAVLoader", Flag::Audio},  {u".ogg", u"BRL.OGGLoader", Flag::Audio},
    {u".xml", u"Pub.maXML", Flag::None},
};

// Matched against a whole word.
constexpr Rule kWordRules[] = {
    {u"incbin", u"BRL.RamStream", Flag::None, u"incbin data"},
    {u"loadimage", nullptr, Flag::Images},
    {u"loadanimimage", nullptr, Flag::Images},
    {u"loadimagefont", u"BRL.FreeTypeFont", Flag::Images, u"font loading"},
    {u"loadpixmap", nullptr, Flag::Images},
    {u"loadpixmappng", u"BRL.PNGLoader", Flag::Images, u"PNG pixmaps"},
    {u"loadsound", nullptr, Flag::Audio},
    {u"loadaudiosample", nullptr, Flag::Audio},
};

constexpr const char16_t* kImageLoaders[] = {u"BRL.PNGLoader", u"BRL.BMPLoader",
                                             u"BRL.TGALoader", u"BRL.JPGLoader"};
constexpr const char16_t* kAudioLoaders[] = {u"BRL.WAVLoader", u"BRL.OGGLoader"};

// The rules name modules no command declares; a catalogue without one
// has nothing to offer for it. FindModule folds the case of the name.
bool Installed(const CatalogueState& catalogue, TextView module) {
  return catalogue.FindModule(module) != nullptr;
}

void AddInstalled(const CatalogueState& catalogue, sourcemodtype& record, TextView module) {
  if (Installed(catalogue, module)) record.AddModule(catalogue, module);
}

// Offers each installed loader of `loaders`, noting `flag` as the cause.
void OfferInstalled(const CatalogueState& catalogue, sourcemodtype& record,
                    std::span<const char16_t* const> loaders, CauseKind flag) {
  for (const char16_t* loader : loaders) {
    if (!Installed(catalogue, loader)) continue;
    record.AddOptionalModule(loader);
    NoteOptionalCause(record, loader, flag);
  }
}

void Apply(const CatalogueState& catalogue, sourcemodtype& record, const Rule& rule) {
  // The flag stands even when the module is missing: the other loaders
  // may be installed.
  if (rule.module) AddInstalled(catalogue, record, rule.module);
  if (rule.flag == Flag::Images) record.imagesUsed = 1;
  if (rule.flag == Flag::Audio) record.audioUsed = 1;
}

}  // namespace

void ApplyLiteralRules(const CatalogueState& catalogue, sourcemodtype& record,
                       TextView literal) {
  if (Instr(literal, u"http::") != 0) AddInstalled(catalogue, record, u"BRL.HTTPStream");
  if (literal.size() < 4) return;
  TextView lastFour = literal.substr(literal.size() - 4);
  for (const Rule& rule : kExtensionRules) {
    if (lastFour != rule.text) continue;
    Apply(catalogue, record, rule);
    return;
  }
}

void ApplyWordRules(const CatalogueState& catalogue, sourcemodtype& record, TextView word) {
  for (const Rule& rule : kWordRules) {
    if (word != rule.text) continue;
    Apply(catalogue, record, rule);
    return;
  }
}

void SuggestLoaders(AnalysisState& analysis, const CatalogueState& catalogue) {
  for (const auto& owned : analysis.SourceModList) {
    sourcemodtype& record = *owned;
    if (record.imagesUsed) OfferInstalled(catalogue, record, kImageLoaders, CauseKind::ImagesUsed);
    if (record.audioUsed) OfferInstalled(catalogue, record, kAudioLoaders, CauseKind::AudioUsed);
  }
}

Text RuleNote(TextView entry, TextView module) {
  if (StartsWith(entry, u"\"")) {
    // The literal names the file type itself; only the stream needs saying.
    return Lower(module) == u"brl.httpstream" ? u"http stream" : u"";
  }
  for (const Rule& rule : kWordRules) {
    if (entry == rule.text && rule.note) return rule.note;
  }
  return Text();
}

}  // namespace vt
