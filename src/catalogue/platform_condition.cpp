#include "catalogue/platform_condition.h"

#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

namespace vt {

namespace {

// The operating systems, of which exactly one holds. "osx" is macos.
constexpr TextView kSystems[] = {u"win32", u"macos", u"linux", u"android",
                                 u"ios",   u"haiku", u"nx",    u"emscripten"};
constexpr size_t kSystemCount = std::size(kSystems);
constexpr int kMacOS = 1;
constexpr int kLinux = 2;

// Bounds that keep a garbage condition cheap: the truth table has
// kSystemCount << (free identifiers) rows.
constexpr size_t kMaxFree = 10;
constexpr size_t kMaxTokens = 64;
constexpr int kMaxDepth = 16;

bool IsNameUnit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_';
}

// The system `key` (a lower-cased identifier) names or implies, and
// whether it names it exactly.
struct SystemOf {
  int system = -1;
  bool exact = false;
};

SystemOf SystemNamed(TextView key) {
  if (key == u"osx") return {kMacOS, true};
  for (size_t s = 0; s < kSystemCount; ++s) {
    if (key == kSystems[s]) return {static_cast<int>(s), true};
  }
  if (StartsWith(key, u"osx")) return {kMacOS, false};
  if (StartsWith(key, u"raspberrypi")) return {kLinux, false};
  for (size_t s = 0; s < kSystemCount; ++s) {
    if (StartsWith(key, kSystems[s])) return {static_cast<int>(s), false};
  }
  return {};
}

// One row per assignment: the system in the high part of the row number,
// the free identifiers one bit each in the low part.
using Rows = std::vector<uint64_t>;

struct Node {
  enum class Op : uint8_t { True, False, System, Free, Not, And, Or };
  Op op = Op::True;
  int left = -1;
  int right = -1;
  // System: which; Free: the identifier's number.
  int index = -1;
  // A Free identifier that stands for the opposite of its number (ptr32).
  bool negated = false;
  // An identifier or keyword as written.
  Text spelling;
  // For the whole of an input and for a text that does not read as a
  // condition: the text as written, trimmed, printed as it stands.
  Text written;
  bool unreadable = false;
};

struct Token {
  enum class Kind : uint8_t { Name, Open, Close };
  Kind kind;
  TextView text;
};

// Splits `text` into names and parentheses; nothing when anything else
// stands in it or it is too long to reason about.
std::optional<std::vector<Token>> Tokens(TextView text) {
  std::vector<Token> tokens;
  size_t at = 0;
  while (at < text.size()) {
    char16_t c = text[at];
    if (c <= 32) {
      ++at;
      continue;
    }
    if (tokens.size() == kMaxTokens) return std::nullopt;
    if (c == u'(' || c == u')') {
      tokens.push_back({c == u'(' ? Token::Kind::Open : Token::Kind::Close, text.substr(at, 1)});
      ++at;
      continue;
    }
    if (!IsNameUnit(c)) return std::nullopt;
    size_t end = at;
    while (end < text.size() && IsNameUnit(text[end])) ++end;
    tokens.push_back({Token::Kind::Name, text.substr(at, end - at)});
    at = end;
  }
  return tokens;
}

// The conditions of one question, their identifiers and, once all are
// read, the truth table of every node.
class ConditionSpace {
 public:
  explicit ConditionSpace(bool modern) : modern_(modern) {}

  // The node of `text`; an empty text is True.
  int Read(TextView text);
  int Join(Node::Op op, TextView spelling, int left, int right) {
    Node node;
    node.op = op;
    node.spelling = spelling;
    node.left = left;
    node.right = right;
    return Add(std::move(node));
  }
  KnownCondition Known(int root);

 private:
  int Add(Node node) {
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size()) - 1;
  }
  int Constant(bool value) {
    Node node;
    node.op = value ? Node::Op::True : Node::Op::False;
    return Add(std::move(node));
  }
  int FreeNumber(TextView key, int system);
  int Identifier(TextView written);

  // The parse of tokens_ from next_: Or of Ands of (Not) operands.
  std::optional<int> ParseOr(int depth);
  std::optional<int> ParseAnd(int depth);
  std::optional<int> ParseOperand(int depth);
  bool NextIsKeyword(TextView keyword) const {
    return next_ < tokens_.size() && tokens_[next_].kind == Token::Kind::Name &&
           EqualFolded(tokens_[next_].text, keyword);
  }

  void FillRows();
  Rows RowsOfLeaf(const Node& node) const;
  bool Implies(int a, int b) const;
  bool IsEmpty(const Rows& rows) const;
  int Simplified(int at);
  void Print(Text& out, int at, Node::Op parent) const;

  bool modern_;
  std::vector<Node> nodes_;
  // The free identifiers, lower-cased, and the system each implies (-1: none).
  std::vector<Text> freeKeys_;
  std::vector<int> freeSystems_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
  // The rows that can happen (an identifier that implies a system holds
  // only on it), and each node's rows, all within them.
  Rows possible_;
  std::vector<Rows> rows_;
};

int ConditionSpace::Read(TextView text) {
  TextView trimmed = TrimView(text);
  if (trimmed.empty()) return Constant(true);
  size_t nodes = nodes_.size();
  size_t frees = freeKeys_.size();
  std::optional<int> root;
  if (std::optional<std::vector<Token>> tokens = Tokens(trimmed)) {
    tokens_ = std::move(*tokens);
    next_ = 0;
    root = ParseOr(0);
    if (next_ != tokens_.size()) root.reset();
  }
  if (!root) {
    // What the failed parse made is dropped; the text is one identifier.
    nodes_.resize(nodes);
    freeKeys_.resize(frees);
    freeSystems_.resize(frees);
    Node node;
    node.op = Node::Op::Free;
    node.index = FreeNumber(Lower(trimmed), -1);
    node.unreadable = true;
    root = Add(std::move(node));
  }
  nodes_[*root].written = Text(trimmed);
  return *root;
}

int ConditionSpace::FreeNumber(TextView key, int system) {
  for (size_t i = 0; i < freeKeys_.size(); ++i) {
    if (freeKeys_[i] == key) return static_cast<int>(i);
  }
  freeKeys_.emplace_back(key);
  freeSystems_.push_back(system);
  return static_cast<int>(freeKeys_.size()) - 1;
}

int ConditionSpace::Identifier(TextView written) {
  Text key = Lower(written);
  Node node;
  node.spelling = written;
  SystemOf system = SystemNamed(key);
  if (modern_ && key == u"bmxng") {
    node.op = Node::Op::True;
  } else if (system.exact) {
    node.op = Node::Op::System;
    node.index = system.system;
  } else if (key == u"ptr32") {
    node.op = Node::Op::Free;
    node.index = FreeNumber(u"ptr64", -1);
    node.negated = true;
  } else {
    node.op = Node::Op::Free;
    node.index = FreeNumber(key, system.system);
  }
  return Add(std::move(node));
}

std::optional<int> ConditionSpace::ParseOr(int depth) {
  std::optional<int> left = ParseAnd(depth);
  while (left && NextIsKeyword(u"or")) {
    TextView spelling = tokens_[next_++].text;
    std::optional<int> right = ParseAnd(depth);
    if (!right) return std::nullopt;
    left = Join(Node::Op::Or, spelling, *left, *right);
  }
  return left;
}

std::optional<int> ConditionSpace::ParseAnd(int depth) {
  std::optional<int> left = ParseOperand(depth);
  while (left && NextIsKeyword(u"and")) {
    TextView spelling = tokens_[next_++].text;
    std::optional<int> right = ParseOperand(depth);
    if (!right) return std::nullopt;
    left = Join(Node::Op::And, spelling, *left, *right);
  }
  return left;
}

std::optional<int> ConditionSpace::ParseOperand(int depth) {
  if (depth > kMaxDepth || next_ == tokens_.size()) return std::nullopt;
  const Token& token = tokens_[next_++];
  if (token.kind == Token::Kind::Close) return std::nullopt;
  if (token.kind == Token::Kind::Open) {
    std::optional<int> inner = ParseOr(depth + 1);
    if (!inner || next_ == tokens_.size() || tokens_[next_].kind != Token::Kind::Close) {
      return std::nullopt;
    }
    ++next_;
    return inner;
  }
  if (EqualFolded(token.text, u"not")) {
    std::optional<int> operand = ParseOperand(depth + 1);
    if (!operand) return std::nullopt;
    return Join(Node::Op::Not, token.text, *operand, -1);
  }
  if (EqualFolded(token.text, u"and") || EqualFolded(token.text, u"or")) return std::nullopt;
  return Identifier(token.text);
}

Rows ConditionSpace::RowsOfLeaf(const Node& node) const {
  const size_t freeCount = freeKeys_.size();
  const size_t rowCount = kSystemCount << freeCount;
  Rows rows(possible_.size(), 0);
  for (size_t row = 0; row < rowCount; ++row) {
    bool holds = node.op == Node::Op::True;
    if (node.op == Node::Op::System) holds = static_cast<int>(row >> freeCount) == node.index;
    if (node.op == Node::Op::Free) holds = ((row >> node.index) & 1) != node.negated;
    if (holds) rows[row / 64] |= uint64_t{1} << (row % 64);
  }
  for (size_t w = 0; w < rows.size(); ++w) rows[w] &= possible_[w];
  return rows;
}

void ConditionSpace::FillRows() {
  const size_t freeCount = freeKeys_.size();
  const size_t rowCount = kSystemCount << freeCount;
  possible_.assign((rowCount + 63) / 64, 0);
  for (size_t row = 0; row < rowCount; ++row) {
    int system = static_cast<int>(row >> freeCount);
    bool possible = true;
    for (size_t f = 0; f < freeCount; ++f) {
      if (((row >> f) & 1) && freeSystems_[f] >= 0 && freeSystems_[f] != system) possible = false;
    }
    if (possible) possible_[row / 64] |= uint64_t{1} << (row % 64);
  }
  // Children come before their parents in nodes_.
  rows_.clear();
  for (const Node& node : nodes_) {
    if (node.op != Node::Op::Not && node.op != Node::Op::And && node.op != Node::Op::Or) {
      rows_.push_back(RowsOfLeaf(node));
      continue;
    }
    Rows rows = rows_[node.left];
    for (size_t w = 0; w < rows.size(); ++w) {
      if (node.op == Node::Op::Not) rows[w] = ~rows[w] & possible_[w];
      if (node.op == Node::Op::And) rows[w] &= rows_[node.right][w];
      if (node.op == Node::Op::Or) rows[w] |= rows_[node.right][w];
    }
    rows_.push_back(std::move(rows));
  }
}

bool ConditionSpace::IsEmpty(const Rows& rows) const {
  for (uint64_t word : rows) {
    if (word) return false;
  }
  return true;
}

bool ConditionSpace::Implies(int a, int b) const {
  for (size_t w = 0; w < possible_.size(); ++w) {
    if (rows_[a][w] & ~rows_[b][w]) return false;
  }
  return true;
}

// The node at `at` with what always or never holds taken out; a node made
// here has the rows of the one it replaces.
int ConditionSpace::Simplified(int at) {
  // Every node made here gets its rows, so that rows_ stays parallel.
  auto made = [&](int node, Rows rows) {
    rows_.push_back(std::move(rows));
    return node;
  };
  if (rows_[at] == possible_) return made(Constant(true), possible_);
  if (IsEmpty(rows_[at])) return made(Constant(false), Rows(possible_.size(), 0));
  const Node node = nodes_[at];  // a copy: adding nodes moves them
  if (node.op != Node::Op::Not && node.op != Node::Op::And && node.op != Node::Op::Or) return at;
  int left = Simplified(node.left);
  int right = node.op == Node::Op::Not ? -1 : Simplified(node.right);
  auto same = [&](int joined) { return made(joined, rows_[at]); };
  if (node.op == Node::Op::Not) {
    if (nodes_[left].op == Node::Op::Not) return nodes_[left].left;
    if (left == node.left) return at;
    return same(Join(Node::Op::Not, node.spelling, left, -1));
  }
  // The node is neither always nor never true, so a constant side is the
  // one that leaves the other side as the answer.
  bool isAnd = node.op == Node::Op::And;
  auto constant = [&](int side) {
    return nodes_[side].op == Node::Op::True || nodes_[side].op == Node::Op::False;
  };
  if (constant(left)) return right;
  if (constant(right)) return left;
  // Of two sides where one implies the other, And keeps the narrower and Or
  // the wider.
  if (Implies(left, right)) return isAnd ? left : right;
  if (Implies(right, left)) return isAnd ? right : left;
  if (left == node.left && right == node.right) return at;
  return same(Join(node.op, node.spelling, left, right));
}

// Writes the node at `at`, a side of a `parent` node (True: none), in
// parentheses where that reading needs them.
void ConditionSpace::Print(Text& out, int at, Node::Op parent) const {
  const Node& node = nodes_[at];
  bool nested = parent != Node::Op::True;
  bool wrap = (parent == Node::Op::And && node.op == Node::Op::Or) ||
              (parent == Node::Op::Not && (node.op == Node::Op::And || node.op == Node::Op::Or));
  if (nested && node.unreadable) {
    for (char16_t c : node.written) wrap = wrap || !IsNameUnit(c);
  }
  if (wrap) out += u'(';
  if (!node.written.empty()) {
    out += node.written;
  } else if (node.op == Node::Op::Not) {
    out += node.spelling;
    out += u' ';
    Print(out, node.left, Node::Op::Not);
  } else if (node.op == Node::Op::And || node.op == Node::Op::Or) {
    Print(out, node.left, node.op);
    out += u' ';
    out += node.spelling;
    out += u' ';
    Print(out, node.right, node.op);
  } else {
    out += node.spelling;
  }
  if (wrap) out += u')';
}

KnownCondition ConditionSpace::Known(int root) {
  using Kind = KnownCondition::Kind;
  if (freeKeys_.size() > kMaxFree) {
    KnownCondition unknown{Kind::Sometimes, {}};
    Print(unknown.text, root, Node::Op::True);
    return unknown;
  }
  FillRows();
  int simple = Simplified(root);
  if (nodes_[simple].op == Node::Op::True) return {Kind::Always, {}};
  if (nodes_[simple].op == Node::Op::False) return {Kind::Never, {}};
  KnownCondition known{Kind::Sometimes, {}};
  Print(known.text, simple, Node::Op::True);
  return known;
}

}  // namespace

KnownCondition SimplifyCondition(TextView condition, bool modern) {
  ConditionSpace space(modern);
  return space.Known(space.Read(condition));
}

KnownCondition BothConditions(TextView a, TextView b) {
  ConditionSpace space(false);
  int left = space.Read(a);
  int right = space.Read(b);
  return space.Known(space.Join(Node::Op::And, u"And", left, right));
}

KnownCondition EitherCondition(TextView a, TextView b) {
  ConditionSpace space(false);
  int left = space.Read(a);
  int right = space.Read(b);
  return space.Known(space.Join(Node::Op::Or, u"Or", left, right));
}

}  // namespace vt
