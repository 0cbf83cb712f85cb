// Data values applied as functions: vectors, numbers, texts and other
// data, blobs and raw words.
#include <gtest/gtest.h>

#include <string>

#include "core/run_end.h"
#include "eval/apply_data.h"
#include "values/text_elements.h"

namespace mox {
namespace {

CellRef L(const char* s) { return MakeLeaf(s); }

// A compact rendering: leaves by their text, applications in parentheses
// ("(J a K)" for ((J a) K)), empty vector slots as "_". Tests keep values
// small, so recursion is fine here.
std::string Show(const Cell* c) {
  if (c->IsLeaf()) {
    if (c->First() == kVectorByte) return "<vector " + std::to_string(VectorSize(c)) + ">";
    return std::string(LeafView(c));
  }
  std::string args;
  while (c->IsApp()) {
    args = " " + Show(c->a) + args;
    c = c->f;
  }
  return "(" + Show(c) + args + ")";
}
std::string Show(const CellRef& c) { return Show(c.get()); }

CellRef Vec3(bool last_filled) {
  CellRef v = MakeVector(3);
  SetVectorSlot(v.get(), 0, L("a").Leak());
  if (last_filled) SetVectorSlot(v.get(), 2, L("c").Leak());
  return v;
}

TEST(NumbersApplyData, VectorIndexing) {
  CellRef v = Vec3(true);
  EXPECT_EQ(Show(ApplyVector(v.get(), L("01").get())), "K");
  EXPECT_EQ(Show(ApplyVector(v.get(), L("1").get())), "H");
  EXPECT_EQ(Show(ApplyVector(v.get(), L("0").get())), "K");
  EXPECT_EQ(Show(ApplyVector(v.get(), L("3").get())), "Z");
  EXPECT_EQ(Show(ApplyVector(v.get(), L("04").get())), "Z");
  EXPECT_EQ(Show(ApplyVector(v.get(), L("[x]").get())), "Z");
  EXPECT_EQ(Show(ApplyVector(v.get(), L("002").get())), "Z");
  EXPECT_EQ(Show(ApplyVector(Vec3(false).get(), L("01").get())), "H");
  EXPECT_EQ(Show(ApplyVector(v.get(), L("Z").get())), "(J a (J Z (J c K)))");
  // List forms: J K x is an integer when x spells one, else it has no value.
  auto list_form = [](const char* x) { return MakeApp(MakeApp(L("J"), L("K")), L(x)); };
  EXPECT_EQ(Show(ApplyVector(v.get(), list_form("K").get())), "K");  // 0
  EXPECT_EQ(Show(ApplyVector(v.get(), list_form("[abc]").get())), "Z");
}

TEST(NumbersApplyData, EmptyVectorMakesVectors) {
  CellRef empty = MakeVector(0);
  CellRef five = ApplyVector(empty.get(), L("5").get());
  ASSERT_EQ(five->First(), kVectorByte);
  EXPECT_EQ(VectorSize(five.get()), 5u);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(VectorSlot(five.get(), i), nullptr);
  EXPECT_EQ(five->CacheByte(), 0u);
  EXPECT_EQ(VectorSize(ApplyVector(empty.get(), L("0").get()).get()), 0u);
  EXPECT_EQ(Show(ApplyVector(empty.get(), L("67108864").get())), "Z");
  EXPECT_EQ(Show(ApplyVector(empty.get(), L("100000000000000000000").get())), "Z");
  EXPECT_EQ(Show(ApplyVector(empty.get(), L("05").get())), "Z");
  EXPECT_EQ(Show(ApplyVector(empty.get(), L("Z").get())), "K");
}

TEST(NumbersApplyData, NumbersBecomePairs) {
  EXPECT_EQ(Show(ApplyNumber(L("5").get())), "(V K 2)");
  EXPECT_EQ(Show(ApplyNumber(L("2").get())), "(V K 01)");
  EXPECT_EQ(Show(ApplyNumber(L("01").get())), "(V K 00)");
  EXPECT_EQ(Show(ApplyNumber(L("00").get())), "(V H (J K K))");
  EXPECT_EQ(Show(ApplyNumber(L("0").get())), "(V K (J K K))");
  EXPECT_EQ(Show(ApplyNumber(L("001").get())), "(V H 0)");
  EXPECT_EQ(Show(ApplyNumber(L("000").get())), "(V H 00)");
}

TEST(NumbersApplyData, TextsAndData) {
  CellRef f = L("f");
  EXPECT_EQ(Show(ApplyDataValue(L("[]").get(), f.get())), "(f (X J) K)");
  EXPECT_EQ(Show(ApplyDataValue(L("[abc]").get(), f.get())), "(f (X J) (J (J (J K a) b) c))");
  EXPECT_EQ(Show(ApplyDataValue(L("[a[bc]]").get(), f.get())), "(f (X J) (J (J K a) (J (J K b) c)))");
  EXPECT_EQ(Show(ApplyDataValue(L("[abc]").get(), L("G").get())), "(V H (V [ab] c))");
  EXPECT_EQ(Show(ApplyDataValue(L("[a[bc]]").get(), L("G").get())), "(V H (V [a] [bc]))");
  EXPECT_EQ(Show(ApplyDataValue(L("[x]").get(), L("G").get())), "(V H (V [] x))");
  CellRef app = MakeApp(L("[ab]"), L("[]"));
  EXPECT_EQ(Show(ApplyDataValue(app.get(), L("G").get())), "(V H (V [ab] []))");
  EXPECT_EQ(Show(ApplyDataValue(app.get(), f.get())), "(f (X J) (J (J (J K a) b) K))");
  // one-byte elements are shared cells
  CellRef a1 = ApplyDataValue(L("[q]").get(), L("G").get());
  CellRef a2 = ApplyDataValue(L("[zq]").get(), L("G").get());
  EXPECT_EQ(a1->a->a, a2->a->a);
  EXPECT_EQ(a1->a->a, ByteElement('q').get());
}

TEST(NumbersApplyData, DeepAndSharedData) {
  // 100,000 nested brackets and a long text: no recursion on the depth.
  std::string deep = std::string(100001, '[') + std::string(100001, ']');
  CellRef list = ApplyDataValue(L(deep.c_str()).get(), L("f").get());
  EXPECT_TRUE(list->IsApp());
  std::string wide = "[" + std::string(200000, 'x') + "]";
  CellRef wide_list = ApplyDataValue(L(wide.c_str()).get(), L("f").get());
  EXPECT_EQ(wide_list->a->a, ByteElement('x').get());
  // A data value doubling at each of 60 levels: shared parts convert once.
  CellRef d = L("[a]");
  for (int i = 0; i < 60; ++i) d = MakeApp(d.Copy(), d.Copy());
  CellRef shared = ApplyDataValue(d.get(), L("f").get());
  EXPECT_EQ(shared->a->f->a, shared->a->a);
}

TEST(NumbersApplyData, Blobs) {
  EXPECT_EQ(Show(ApplyBlob(MakeBlob("", 0).get())), "Z");
  unsigned char b = 0x35;  // bits 0..7: 1 0 1 0 1 1 0 0
  EXPECT_EQ(Show(ApplyBlob(MakeBlob(&b, 1).get())), "(V (J (J I H) (J I H)) (J (J I I) (J H H)))");
  auto halves = [](const char* s) {
    CellRef r = ApplyBlob(MakeBlob(s, std::strlen(s)).get());
    BlobView p = BlobPayload(r->f->a), q = BlobPayload(r->a);
    return std::string(reinterpret_cast<const char*>(p.data), p.size) + "|" +
           std::string(reinterpret_cast<const char*>(q.data), q.size);
  };
  EXPECT_EQ(halves("ab"), "a|b");
  EXPECT_EQ(halves("abc"), "ab|bc");
  EXPECT_EQ(halves("abcd"), "ab|cd");
  EXPECT_EQ(halves("abcde"), "abcd|bcde");
  EXPECT_EQ(halves("abcdefgh"), "abcd|efgh");
}

TEST(NumbersApplyData, RawWords) {
  CellRef raw = MakeReal(0);  // all bits clear but set bit 0 and bit 63 below
  uint64_t w = 1 | (uint64_t{1} << 63);
  std::memcpy(raw->Bytes() + 1, &w, 8);
  CellRef r = ApplyRaw(raw.get(), L("f").get());
  ASSERT_TRUE(r->IsApp());
  EXPECT_EQ(Show(r->a), "f");
  const Cell* low = r->f;
  const Cell* high = r->f;
  for (int level = 0; level < 5; ++level) low = low->f->a;  // lower halves down to a bit pair
  for (int level = 0; level < 5; ++level) high = high->a;
  EXPECT_EQ(Show(low), "(V K H)");
  EXPECT_EQ(Show(high), "(V H K)");
}

TEST(NumbersApplyData, NothingLeaks) {
  EndRun();
  int64_t before = LiveCells();
  {
    CellRef v = Vec3(true);
    ApplyVector(v.get(), L("Z").get());
    ApplyNumber(L("123456789012345678901234567890").get());
    ApplyDataValue(L("[a[b[c]]d]").get(), L("f").get());
    ApplyBlob(MakeBlob("abcde", 5).get());
    ApplyRaw(MakeReal(1.5).get(), L("f").get());
  }
  EndRun();
  EXPECT_EQ(LiveCells(), before);
}

}  // namespace
}  // namespace mox
