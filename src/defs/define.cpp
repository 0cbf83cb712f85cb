// The definition stage, for the program file and for loaded texts alike:
// bracket check, builtin placeholders (program file only), backtick lines,
// then the main expression and every `name\value` piece.
#include "defs/define.h"

#include <vector>

#include "core/memory.h"
#include "defs/check_passes.h"
#include "front/brackets.h"
#include "front/names.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "front/pieces.h"
#include "program/builtin_table.h"
#include "program/sharing.h"

namespace mox {

namespace {

// Which of the program's definitions were shared as they were parsed (see
// DefineText): none in a small program; in a big one, all but those of
// large pieces.
struct EarlySharing {
  bool on = false;
  NameSet large;
};

EarlySharing& ProgramSharing() {
  static auto& sharing = *new EarlySharing;
  return sharing;
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

void StampBackticks(Cell* tree, BacktickLines& lines) {
  std::vector<Cell*> stack{tree};
  while (!stack.empty()) {
    Cell* c = stack.back();
    stack.pop_back();
    if (c->IsApp()) {
      stack.push_back(c->a);
      stack.push_back(c->f);  // function part first
    } else if (c->Bytes()[0] == '`' && c->Bytes()[1] == 0) {
      MOX_ASSERT(!lines.empty());
      c->SetField(static_cast<uint64_t>(lines.lines[lines.next++]));
    }
  }
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
    Globals().Set(name, std::move(value));
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

bool DefineText(Report& report, Text& text, GlobalTable& table, NameSet& constants, TextOrigin origin) {
  if (!CheckBrackets(text, report)) return false;
  if (origin == TextOrigin::kProgram) DefineBuiltinPlaceholders();
  BacktickLines lines = CountBacktickLines(text.view());
  text = NormalizeSource(text);
  std::string_view source = text.view();
  std::vector<Piece> pieces = SplitPieces(source);
  // Sharing before the checks' own sharing pass is unseen only while no
  // program code runs before it. A backtick's code does: it may write into a
  // literal (the rec and red families), compare cells (raws) or look values
  // up in the sharing table (tern), and each literal of the text must be a
  // cell of its own then, with the table empty of the program. So a program
  // with a backtick is shared by the checks alone.
  const bool program = origin == TextOrigin::kProgram;
  const bool share_before_checks = program && lines.empty();
  // The program file's leaves come from the sharing table, which the checks
  // would fill with them anyway: equal texts are one cell from the start.
  // A loaded text's leaves are its own: shared leaves carry the analysis of
  // the running program's names, which the text may define anew.
  const LeafMaker make_leaf = share_before_checks ? ShareLeafBytes : nullptr;
  // A big program file's definitions (if it has no backtick) are shared as
  // they are parsed: equal sub-trees are one cell from the start, which
  // halves the peak of a program of many similar definitions. Each first
  // gets the rewrites of the checks, where nothing checked in between can
  // tell (RewriteAhead): sharing every rewrite anew, and letting the old
  // tree leave the table, took half of such a start-up. What a piece leaves
  // unused (its name, a place's old name, a refused or malformed piece) is
  // let go with ReleaseShared, so that the table keeps nothing that no
  // definition holds.
  //
  // Not so a smaller program: sharing it early cost a quarter of its
  // start-up (when every rewrite was shared again), and up to a megabyte of
  // text peaks at a few dozen megabytes unshared. Nor a piece larger than
  // kLargestSharedPiece: every walk of the checks remembers each cell held
  // more than once, and a shared cell is (the table holds it too), so a
  // generated expression of ten million cells would cost each walk a map of
  // ten million entries. Many small definitions gain from early sharing;
  // one huge one gains little. The definitions not shared early get their
  // rewrites in the checks: made as a program with backticks was parsed,
  // they took 6% off its peak but slowed the walks of the checks by more
  // than a fifth of its start-up.
  constexpr size_t kSmallestSharedProgram = size_t{1} << 20;
  constexpr size_t kLargestSharedPiece = size_t{1} << 16;
  const bool early = share_before_checks && source.size() > kSmallestSharedProgram;
  if (program) ProgramSharing() = EarlySharing{early, {}};
  auto parse = [&](const Piece& piece) {
    CellRef tree = ParseExpression(piece.Of(source), make_leaf);
    StampBackticks(tree.get(), lines);
    return tree;
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
  const bool share_main = early && small(pieces[0]);
  CellRef main_tree = parse(pieces[0]);
  CellRef& main_value = table.Set(Text(), main_tree.Copy());
  settle(&main_value, std::move(main_tree), share_main);
  if (early && !share_main) ProgramSharing().large.insert(Text());
  // Each megabyte of a big program's text, as it is parsed: its pages are
  // given back to the system, since no parsed piece is read again, and the
  // text (a tenth of the cells' size) would otherwise be alive at the
  // parse's end, its peak when shared early. And a sharing table filled as
  // the program is parsed is given room for the entries that the rest of
  // the text will bring at the pace of the part parsed: grown step by step
  // instead, and only by an eighth at a time (there are hardly more cells
  // alive than entries), it moved every entry nine times.
  const bool big = program && source.size() > kSmallestSharedProgram;
  const bool give_back = big && text.holders() == 1;
  constexpr size_t kStep = size_t{1} << 20;
  size_t parsed = 0;
  const PieceRules rules{program};
  for (size_t i = 1; i < pieces.size(); ++i) {
    const bool share = early && small(pieces[i]);
    CellRef tree = parse(pieces[i]);
    size_t place = pieces[i].start;
    while (place < source.size() && source[place] == ' ') ++place;
    Text key;
    const bool defined = DefinePiece(tree.Copy(), static_cast<int64_t>(place), table, constants, report, rules, &key);
    settle(key.empty() ? nullptr : table.Find(key.view()), std::move(tree), share);
    if (!key.empty() && early && !share) ProgramSharing().large.insert(key);
    else if (!key.empty() && early) ProgramSharing().large.erase(key);
    if (!defined) return false;
    if (big && pieces[i].end - parsed >= kStep) {
      if (give_back) GiveBackPages(source.data() + parsed, source.data() + pieces[i].end);
      parsed = pieces[i].end;
      if (early) ReserveSharingTable(SharingTableSize() * source.size() / parsed);
    }
  }
  MOX_ASSERT(lines.empty());
  return true;
}

bool SharedEarly(const Text& key) {
  const EarlySharing& sharing = ProgramSharing();
  return sharing.on && sharing.large.count(key) == 0;
}

void DefineProgram(Report& report, Text& program) {
  DefineText(report, program, Globals(), EmptyCallDefinitions(), TextOrigin::kProgram);
}

}  // namespace mox
