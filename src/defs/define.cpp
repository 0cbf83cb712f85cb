// The definition stage, for the program file and for loaded texts alike:
// bracket check, builtin placeholders (program file only), backtick lines,
// then the main expression and every `name\value` piece.
#include "defs/define.h"

#include <algorithm>
#include <vector>

#include "core/memory.h"
#include "core/work_stack.h"
#include "defs/backtick.h"
#include "defs/check_passes.h"
#include "defs/prelude.h"
#include "front/brackets.h"
#include "front/names.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "front/pieces.h"
#include "program/builtin_table.h"
#include "program/sharing.h"

namespace mox {

namespace {

// The backtick lines of the program last defined, when it was shared as it
// was parsed with its backtick lines kept apart (see DefineText).
BacktickLineLists& ProgramBacktickLines() {
  static auto& lines = *new BacktickLineLists;
  return lines;
}

}  // namespace

BacktickLines CountBacktickLines(std::string_view raw) {
  BacktickLines lines;
  int64_t line = 1, depth = 0;
  for (char c : raw) {
    if (c == '\n') ++line;
    else if (c == '[') ++depth;
    else if (c == ']') --depth;
    else if (c == '`' && depth == 0) lines.lines.push_back(line);
  }
  return lines;
}

namespace {

// Calls at(leaf) for every backtick leaf of a parsed tree, in pre-order.
template <class At>
void ForEachBacktickLeaf(Cell* tree, At&& at) {
  WorkStack<Cell*> stack;
  stack.push_back(tree);
  while (!stack.empty()) {
    Cell* c = stack.back();
    stack.pop_back();
    if (c->IsApp()) {
      stack.push_back(c->a);
      stack.push_back(c->f);  // function part first
    } else if (IsBacktickLeaf(c)) {
      at(c);
    }
  }
}

}  // namespace

void StampBackticks(Cell* tree, BacktickLines& lines) {
  ForEachBacktickLeaf(tree, [&](Cell* c) {
    MOX_ASSERT(!lines.empty());
    c->SetField(static_cast<uint64_t>(lines.lines[lines.next++]));
  });
}

Text ShortenSubject(const Text& name) {
  if (name.size() == 5) return name + Text(" \"");
  if (name.size() < 73) return name;
  return name.Substr(0, 69) + Text("...");
}

void DefineBuiltinPlaceholders() {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";
  for (const auto& [name, entry] : GetBuiltinTable()) {
    CellRef value = MakeLeaf("Z");
    for (int i = entry.arity; i > 0; --i)
      value = MakeApp(MakeApp(MakeLeaf("\\"), MakeLeaf(&kLetters[i - 1], 1)), std::move(value));
    Globals().Set(Text(name), std::move(value));
  }
}

bool DefinePiece(CellRef tree, int64_t start, GlobalTable& table, NameSet& constants,
                 Report& report, const PieceRules& rules, Text* defined) {
  Cell* root = tree.get();
  if (root->IsLeaf() || root->f->IsLeaf() || !IsOneByteLeaf(root->f->f, '\\')) return true;
  Cell* head = root->f->a;
  bool constant = false;
  if (head->IsApp()) {
    if (!(head->f->IsLeaf() && IsOneByteLeaf(head->a, '}'))) return true;
    head = head->f;
    constant = true;
  }
  std::string_view name = LeafView(head);
  if (!IsDefinableName(name)) return true;
  Text key = GlobalKey(name);
  unsigned char k0 = key.First();
  if (key.size() == 1 && k0 >= 'a' && k0 <= 'z') {
    report.title = "lower";
    report.say = Text("Single lowercase letters (") + key + Text(") cannot be defined as global variables.");
  } else if (key == "\\" || key == "{" || FindBuiltin(key.view()) != nullptr) {
    report.title = "built";
    report.say = rules.bracket_builtin_name
                     ? Text("Built in function [") + key + Text("] cannot be re-defined.")
                     : Text("Built in function ") + key + Text(" cannot be re-defined.");
  } else {
    CellRef value = CellRef::Share(root->a);
    if (constant) {
      table.Set(key, MakeApp(MakeLeaf("I"), std::move(value)));
      constants.insert(key);
    } else {
      table.Set(key, std::move(value));
      constants.erase(key);
    }
    if (defined != nullptr) *defined = key;
    return true;
  }
  report.vip = PlaceCode(start);
  report.tip = ShortenSubject(key);
  return false;
}

namespace {

// How a text's pieces are parsed and defined (see DefineText).
struct Parsing {
  LeafMaker make_leaf = nullptr;  // null: every leaf a cell of its own
  bool early = false;             // definitions shared as they are parsed
  bool give_back = false;         // the text's pages given back as it is parsed
};

// A big program's definitions are shared as they are parsed, but not a
// piece larger than this: every walk of the checks remembers each cell held
// more than once, and a shared cell is (the table holds it too), so a
// generated expression of ten million cells would cost each walk a map of
// ten million entries. Many small definitions gain from early sharing;
// one huge one gains little.
constexpr size_t kLargestSharedPiece = size_t{1} << 16;

// The main expression and every piece after it, parsed and defined into
// `table` as `how` says.
bool DefinePieces(std::string_view source, BacktickLines& lines, GlobalTable& table, NameSet& constants,
                  Report& report, TextOrigin origin, const Parsing& how) {
  const bool program = origin == TextOrigin::kProgram;
  std::vector<Piece> pieces = SplitPieces(source);
  if (program) ProgramBacktickLines() = BacktickLineLists();
  // Shared as they are parsed, the backtick leaves are one cell: their
  // lines are kept by definition instead, sealed with the lines themselves
  // by DefineText once the parse stands.
  const bool lines_apart = how.early && !lines.empty();
  size_t first_line = 0;
  auto parse = [&](const Piece& piece) {
    CellRef tree = ParseExpression(piece.Of(source), how.make_leaf);
    first_line = lines.next;
    if (lines.empty()) return tree;  // no backtick leaf is left to meet
    if (lines_apart) {
      ForEachBacktickLeaf(tree.get(), [&](Cell*) { ++lines.next; });
    } else {
      StampBackticks(tree.get(), lines);
    }
    return tree;
  };
  auto keep_lines = [&](const Text& key) {
    if (lines_apart && lines.next != first_line) ProgramBacktickLines().Add(key, first_line, lines.next);
  };
  // Shares the value just defined from a parsed tree (null: none was),
  // rewritten, and lets the tree go.
  auto settle = [&](CellRef* value, CellRef tree, bool share) {
    if (!share) return;
    if (value != nullptr) {
      CellRef rewritten = RewriteAhead(value->get());
      *value = ShareValue(rewritten.get());
    }
    ReleaseShared(std::move(tree));
  };
  auto small = [&](const Piece& piece) { return piece.end - piece.start <= kLargestSharedPiece; };
  const bool share_main = how.early && small(pieces[0]);
  CellRef main_tree = parse(pieces[0]);
  keep_lines(Text());
  CellRef& main_value = table.Set(Text(), main_tree.Copy());
  settle(&main_value, std::move(main_tree), share_main);
  // Each megabyte of a big program's text, as it is parsed: its pages are
  // given back to the system, since no parsed piece is read again, and the
  // text (a tenth of the cells' size) would otherwise be alive at the
  // parse's end, its peak when shared early. And a sharing table filled as
  // the program is parsed is given room for the entries that the rest of
  // the text will bring at the pace of the part parsed: grown step by step
  // instead, and only by an eighth at a time (there are hardly more cells
  // alive than entries), it moved every entry nine times. The first room
  // is given after 64 KB and again each time the part parsed has doubled,
  // up to a megabyte, for at most twice the entries so far: the pace of
  // new entries falls as more of the program is shared.
  constexpr size_t kStep = size_t{1} << 20;
  size_t parsed = 0;
  size_t reserve_at = size_t{1} << 16;
  const PieceRules rules{program};
  for (size_t i = 1; i < pieces.size(); ++i) {
    const bool share = how.early && small(pieces[i]);
    CellRef tree = parse(pieces[i]);
    size_t place = pieces[i].start;
    while (place < source.size() && source[place] == ' ') ++place;
    Text key;
    const bool defined = DefinePiece(tree.Copy(), static_cast<int64_t>(place), table, constants, report, rules, &key);
    settle(key.empty() ? nullptr : table.Find(key.view()), std::move(tree), share);
    if (!key.empty()) keep_lines(key);
    if (!defined) return false;
    const size_t end = pieces[i].end;
    if (how.give_back && end - parsed >= kStep) {
      GiveBackPages(source.data() + parsed, source.data() + end);
      parsed = end;
    }
    if (how.early && end >= reserve_at) {
      const size_t pace = SharingTableSize() * source.size() / end;
      ReserveSharingTable(end < kStep ? std::min(pace, 2 * SharingTableSize()) : pace);
      reserve_at = end + std::min(end, kStep);
    }
  }
  MOX_ASSERT(lines.empty());
  return true;
}

}  // namespace

bool DefineText(Report& report, Text& text, GlobalTable& table, NameSet& constants, TextOrigin origin) {
  const KeepWorkRoom keep;  // for the walks over each definition
  if (!CheckBrackets(text, report)) return false;
  if (origin == TextOrigin::kProgram) DefineBuiltinPlaceholders();
  BacktickLines lines = CountBacktickLines(text.view());
  text = NormalizeSource(text);
  std::string_view source = text.view();
  const bool program = origin == TextOrigin::kProgram;
  // The program file's leaves come from the sharing table, which the checks
  // would fill with them anyway: equal texts are one cell from the start.
  // A loaded text's leaves are its own: shared leaves carry the analysis of
  // the running program's names, which the text may define anew.
  //
  // A big program file's definitions are shared as they are parsed, too:
  // equal sub-trees are one cell from the start, which halves the peak of a
  // program of many similar definitions. Each first gets the rewrites of
  // the checks, where nothing checked in between can tell (RewriteAhead):
  // sharing every rewrite anew, and letting the old tree leave the table,
  // took half of such a start-up. What a piece leaves unused (its name, a
  // place's old name, a refused or malformed piece) is let go with
  // ReleaseShared, so that the table keeps nothing that no definition holds.
  //
  // Not so a smaller program: sharing it early cost a quarter of its
  // start-up (when every rewrite was shared again), and up to a megabyte of
  // text peaks at a few dozen megabytes unshared. The definitions not
  // shared early get their rewrites in the checks.
  constexpr size_t kSmallestSharedProgram = size_t{1} << 20;
  const bool big = program && source.size() > kSmallestSharedProgram;
  const bool give_back = big && text.holders() == 1;
  if (!big || lines.empty()) {
    const LeafMaker leaves = program && lines.empty() ? ShareLeafBytes : nullptr;
    return DefinePieces(source, lines, table, constants, report, origin, Parsing{leaves, big, give_back});
  }
  // Sharing before the checks' own sharing pass is unseen only while no
  // program code runs before it. A backtick's code does: it may write into
  // a literal (the rec and red families), compare cells (raws) or look
  // values up in the sharing table (tern), and each literal of the text
  // must be a cell of its own then, with the table empty of the program.
  // So a big program with backticks is shared as it is parsed on trial,
  // its text kept: when all is parsed, if what its backticks' code can
  // reach can tell nothing (BackticksBlindToSharing), the text is given
  // back and the parse stands; if not, it is undone and done again
  // unshared, each literal a cell of its own and each backtick leaf stamped
  // with its line.
  GlobalTable before;
  before.CopyFrom(table);
  const NameSet constants_before = constants;
  if (!DefinePieces(source, lines, table, constants, report, origin, Parsing{ShareLeafBytes, true, false}))
    return false;
  if (BackticksBlindToSharing(table, PreludeSnapshot())) {
    if (give_back) GiveBackPages(source.data(), source.data() + source.size());
    ProgramBacktickLines().Seal(std::move(lines.lines));
    return true;
  }
  table.Clear();
  table.CopyFrom(before);
  constants = constants_before;
  ClearSharingTable();
  lines.next = 0;
  return DefinePieces(source, lines, table, constants, report, origin, Parsing{nullptr, false, give_back});
}

BacktickLineLists TakeBacktickLineLists() {
  BacktickLineLists taken = std::move(ProgramBacktickLines());
  ProgramBacktickLines() = BacktickLineLists();
  return taken;
}

void DefineProgram(Report& report, Text& program) {
  DefineText(report, program, Globals(), EmptyCallDefinitions(), TextOrigin::kProgram);
}

}  // namespace mox
