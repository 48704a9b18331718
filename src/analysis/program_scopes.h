// The program's own names and where they are in scope. A program that
// declares `result`, `map` or a method `SetColor` means its own name where
// that declaration is in scope, not the module command or type of the same
// name: such a word needs no module there.
//
// BlitzMax's scopes, as far as they decide this:
// - what the top level of any walked file declares (Function, Global, Const,
//   Type, Struct, Interface, Enum) is seen in every file of the program;
// - a Type's Fields, Methods and own Functions, Consts and Globals are seen
//   inside that type's block and the blocks of the program's types that
//   extend it;
// - Locals and parameters are seen inside their function or method body;
//   Locals of a file's main code inside that main code.
// Locals are declared before they are used, so they are known as the line is
// read; the others may be declared later or in another file, so a word seen
// inside a type block is judged only once every file has been read.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analysis/word_span.h"
#include "base/text.h"

namespace vt {

class sourcemodtype;

// Names asked about as views, with no copy: every word of a function's body
// asks its Locals.
struct NameHash {
  using is_transparent = void;
  size_t operator()(TextView name) const { return std::hash<TextView>{}(name); }
};
using NameSet = std::unordered_set<Text, NameHash, std::equal_to<>>;

// How a word of a line stands in the program's scopes. Any other value is
// the program type block the word stands in (its number, from 1), or 0
// outside every type block.
inline constexpr uint32_t kDeclaredHere = UINT32_MAX;  // the line declares the name
inline constexpr uint32_t kHiddenHere = UINT32_MAX - 1;  // a Local or parameter hides it

class ProgramScopes {
 public:
  struct TypeBlock {
    Text name;
    Text base;  // the type it extends, or empty
    bool isInterface = false;
    bool isEnum = false;
    std::unordered_set<Text> members;

    bool operator==(const TypeBlock&) const = default;
  };
  // What some files declared for every file: their types, numbered on from
  // the types before them, and their top-level names. An examination that
  // reuses those files' words declares it again without reading them.
  struct Declarations {
    std::vector<TypeBlock> types;
    std::vector<Text> globals;
  };

  // Keeps only the declared names for which `named` holds: a name no module
  // declares hides nothing, and a program declares thousands. Without it
  // every name is kept.
  void KeepOnly(std::function<bool(TextView)> named) { named_ = std::move(named); }
  // A new file starts outside every block.
  void StartFile();
  // Reads one trimmed, lower-cased code line cut into `spans`, notes what it
  // declares, and gives each span its use in `uses`.
  void ReadLine(TextView low, std::span<const WordSpan> spans, std::vector<uint32_t>& uses);
  // Once every file is read: marks in `record.hiddenWords` (and in those of
  // its sections) the words that a declaration of the program hides
  // wherever the record uses them.
  void MarkHidden(sourcemodtype& record) const;

  // The name a word asks about: a dotted word "map.insert" uses "map".
  static TextView ScopeKey(TextView word);

  // From now on notes each top-level name declared into `into` (none: no
  // longer).
  void NoteGlobalsInto(std::vector<Text>* into) { notedGlobals_ = into; }
  size_t TypeCount() const { return types_.size(); }
  // The types declared since there were `count`, with their members.
  std::vector<TypeBlock> TypesSince(size_t count) const;
  // Declares again what some files declared, as reading them did.
  void DeclareAgain(const Declarations& declared);
  // Changes whenever what the program declares changes in a way that could
  // change which words are hidden; the same for the same declarations,
  // whatever their order within a scope.
  uint64_t Fingerprint() const;

 private:

  // Whether `key`, used inside type block `context` (0: none), names
  // something the program declares there.
  bool Hides(const Text& key, uint32_t context) const;
  uint32_t CurrentType() const { return openTypes_.empty() ? 0 : openTypes_.back(); }
  TypeBlock* TopType() { return openTypes_.empty() ? nullptr : &types_[openTypes_.back() - 1]; }
  // Where a Global or Const of the current place goes.
  void DeclareShared(TextView name);
  // Where a Local of the current place goes.
  void DeclareLocal(TextView name);
  void OpenType(TextView low, size_t keywordEnd, TextView keyword);
  void OpenFunction(TextView low, size_t keywordEnd);
  void CloseFunction();
  // Notes what the line declares and the blocks it opens or closes. True
  // when a function it opens ends on the same line.
  bool ReadDeclarations(TextView low);
  void ReadForLocal(TextView low, size_t keywordEnd);
  void ReadBlockEnd(TextView low, size_t keywordEnd, TextView keyword);
  // Declares the names of a list "a:Int = 1, b, c%" from `at` up to `stop`
  // (a ")" closing the list, or none) with `declare`.
  template <typename Declare>
  void ReadNameList(TextView low, size_t at, char16_t stop, Declare&& declare);

  // The program's types, numbered from 1, and by name.
  std::vector<TypeBlock> types_;
  std::unordered_map<Text, uint32_t> typeByName_;
  // Names declared at any file's top level.
  std::unordered_set<Text> globals_;
  // Every name a type declares: a word that is neither here nor among the
  // globals is hidden nowhere.
  std::unordered_set<Text> anyMember_;

  // Whether a declared name is worth keeping.
  bool Kept(TextView name) const { return !named_ || named_(name); }
  std::function<bool(TextView)> named_;
  std::vector<Text>* notedGlobals_ = nullptr;

  // Where the line being read stands in its file.
  std::vector<uint32_t> openTypes_;
  bool inFunction_ = false;
  bool inExtern_ = false;
  NameSet locals_;      // of the function or method being read
  NameSet mainLocals_;  // of the file's main code
  // Where in the line the names it declares start.
  std::vector<size_t> declaredAt_;
};

}  // namespace vt
