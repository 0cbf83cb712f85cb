// The prelude text and its loader. The text starts with a comma and every
// definition follows one: NAME\p1\...\pk\BODY, NAME an upper-case letter or
// a bracketed operator name [c], stored under its key (c for [c]).
#include "defs/prelude.h"

#include "core/run_end.h"
#include "front/names.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "front/pieces.h"
#include "program/builtin_table.h"

namespace mox {

const char kPreludeText[] =
    ",A\\a\\aS BKK,B\\a\\b\\c\\a b(c),C\\a\\b\\c\\a c b,D\\a\\b\\c\\d\\a b c(d)"
    ",E\\a\\b\\c\\d\\e\\a b c(d)e,F\\a\\b\\Vb a,G\\a\\b\\Lb VKZ VH(V(Va(Qb)"
    ",Va(Rb))),H\\a\\I,I\\a\\a,J\\a\\b\\c\\Va b,K\\a\\b\\a,L\\a\\aK K(KH),M\\a\\a a"
    ",N\\a\\K,O\\a\\b\\b a(b),P\\a\\a XS I,Q\\a\\aZK,R\\a\\aZH,U\\a\\b\\c\\d\\e\\e(Va b"
    ",Vc d),S\\a\\b\\c\\a c b(c),T\\a\\b\\b a,V\\a\\b\\c\\c a b,W\\a\\b\\a b b,Z\\a\\Z"
    ",X\\a\\b\\c\\d\\Vb a(d)c,Y\\a\\b\\a Ya b,[\\]\\a\\b\\c\\Z,[{]\\a\\b\\c\\Z,[`]\\a\\Z"
    ",[!]\\p\\   p H K,[&]\\q\\r\\q r H,[|]\\q\\r\\q K r,[+]\\plus,[-]\\dash"
    ",[*]\\mult,[/]\\over,[%]\\cent,[^]\\powa,[<]\\less,[>]\\gteq,[=]\\same"
    ",[#]\\diff,[$]\\buck,[~]\\wave,[.]\\T,[@]\\T,[:]\\I,[?]\\I,[;]\\I,[']\\I"
    ",[\"]\\I,[,]\\I";
static_assert(sizeof(kPreludeText) == 574);

GlobalTable& PreludeSnapshot() {
  static auto& snapshot = *new GlobalTable;
  return snapshot;
}

namespace {
const bool kReleased = AtRunEnd([] { PreludeSnapshot().Clear(); });
}  // namespace

void LoadPrelude() {
  EndRun();
  ResetBuiltinTable();
  GetBuiltinTable();

  Text text = NormalizeSource(Text(kPreludeText));
  std::string_view source = text.view();
  std::vector<Piece> pieces = SplitPieces(source);
  for (size_t i = 1; i < pieces.size(); ++i) {  // the first piece is empty
    CellRef root = ParseExpression(pieces[i].Of(source));
    Text key = GlobalKey(LeafView(root->f->a));
    Globals().Set(key, CellRef::Share(root->a));
  }
  PreludeSnapshot().CopyFrom(Globals());
}

}  // namespace mox
