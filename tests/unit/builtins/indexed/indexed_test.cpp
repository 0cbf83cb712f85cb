// The indexed families: checked reads and writes in texts (rec) and blobs
// (rel) with negative indexes from the end, the unchecked ones (red, rem)
// with indexes by magnitude and this interpreter's range guard, and memory
// (ref); every width, wrong kinds, and writes seen by every holder.
#include <cstring>
#include <string>

#include "support/builtin_calls.h"
#include "support/leak_checked_test.h"
#include "values/int_convert.h"

namespace mox::builtin_test {
namespace {

class Indexed : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    LoadPrelude();
  }
};

CellRef Address(const void* p) { return MakeInt64(static_cast<int64_t>(reinterpret_cast<uintptr_t>(p))); }

TEST_F(Indexed, CheckedTextReadsInEveryWidth) {
  EXPECT_EQ(Ans("rech", L("[AB]"), L("0")), "65");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("01")), "66");  // -1: the last byte
  EXPECT_EQ(Ans("rech", L("[AB]"), L("02")), "65");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("2")), "Z");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("03")), "Z");
  EXPECT_EQ(Ans("reci", L("[AB]"), L("0")), "16961");  // "A" is the low byte
  EXPECT_EQ(Ans("reci", L("[AB]"), L("1")), "Z");
  EXPECT_EQ(Ans("reci", L("[AB]"), L("02")), "16961");
  EXPECT_EQ(Ans("recj", L("[xABCD]"), L("1")), "1145258561");
  EXPECT_EQ(Ans("recj", L("[xABCD]"), L("04")), "1145258561");
  EXPECT_EQ(Ans("recj", L("[xABCD]"), L("2")), "Z");
  EXPECT_EQ(Ans("reck", L("[" + std::string(8, '\xff') + "]"), L("0")), "18446744073709551615");
  EXPECT_EQ(Ans("reck", L("[1234567]"), L("0")), "Z");
  EXPECT_EQ(Ans("rech", L("[]"), L("0")), "Z");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("9223372036854775807")), "Z");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("09223372036854775808")), "Z");
}

TEST_F(Indexed, CheckedBlobReadsInEveryWidth) {
  std::string eight("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  EXPECT_EQ(Ans("relk", Blob(eight), L("0")), "578437695752307201");
  EXPECT_EQ(Ans("relk", Blob(eight), L("1")), "Z");
  EXPECT_EQ(Ans("relj", Blob(eight), L("4")), "134678021");
  EXPECT_EQ(Ans("reli", Blob(eight), L("02")), "2055");
  EXPECT_EQ(Ans("relh", Blob(std::string("a\0b", 3)), L("1")), "0");
  EXPECT_EQ(Ans("relh", Blob(""), L("0")), "Z");
  // A payload of 64 bytes or more has a two-digit length.
  EXPECT_EQ(Ans("relh", Blob(std::string(64, 'q') + "z"), L("01")), "122");
}

TEST_F(Indexed, CheckedFamiliesRefuseWrongKinds) {
  EXPECT_EQ(Ans("rech", Blob("AB"), L("0")), "Z");
  EXPECT_EQ(Ans("relh", L("[AB]"), L("0")), "Z");
  EXPECT_EQ(Ans("rech", MakeApp(L("[A]"), L("[B]")), L("0")), "Z");  // no bytes of its own
  EXPECT_EQ(Ans("rech", L("12"), L("0")), "Z");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("[0]")), "Z");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("00")), "Z");  // a numb
  EXPECT_EQ(Ans("rech", L("[AB]"), Real(0)), "Z");
  EXPECT_EQ(Ans("recl", L("[AB]"), L("0"), L("[C]")), "Z");
  EXPECT_EQ(Ans("rell", Blob("AB"), L("0"), L("K")), "Z");
}

TEST_F(Indexed, CheckedWritesChangeTheCellInPlace) {
  CellRef t = L("[ABD]");
  CellRef held = t.Copy();  // another holder of the same cell
  CellRef r = Call("recl", t.Copy(), L("0"), L("67"));
  EXPECT_EQ(r.get(), t.get());
  EXPECT_EQ(LeafView(held.get()), "[CBD]");
  EXPECT_EQ(Ans("recm", t.Copy(), L("02"), L("17475")), "[CCD]");  // negative index
  EXPECT_EQ(Ans("recl", t.Copy(), L("1"), L("321")), "[CAD]");     // 321 truncated to 65
  EXPECT_EQ(Ans("recl", t.Copy(), L("0"), L("0191")), "[AAD]");    // -191 is 0x..41
  EXPECT_EQ(Ans("recm", t.Copy(), L("2"), L("1")), "Z");
  EXPECT_EQ(LeafView(t.get()), "[AAD]");
  CellRef text = L("[abcdefgh]");
  EXPECT_EQ(Ans("recn", text.Copy(), L("4"), L("1684234849")), "[abcdabcd]");
  EXPECT_EQ(Ans("reco", text.Copy(), L("0"), L("4702394921427289928")), "[HGFEDCBA]");
  CellRef blob = Blob(std::string(8, '\0'));
  EXPECT_EQ(Call("relo", blob.Copy(), L("0"), L("01")).get(), blob.get());  // -1: all bits set
  EXPECT_EQ(Ans("relk", blob.Copy(), L("0")), "18446744073709551615");
  EXPECT_EQ(Call("rell", blob.Copy(), L("01"), L("0")).get(), blob.get());
  EXPECT_EQ(Call("relm", blob.Copy(), L("3"), L("0")).get(), blob.get());
  EXPECT_EQ(Call("reln", blob.Copy(), L("4"), L("93")).get(), blob.get());  // blobs take any byte
  EXPECT_EQ(Payload(blob), std::string("\xff\xff\xff\0]\0\0\0", 8));
  EXPECT_EQ(Ans("reln", blob.Copy(), L("5"), L("0")), "Z");
}

// A write must not change the number of "]" bytes, which would move the end
// of the text; a refused write leaves the text untouched.
TEST_F(Indexed, TextWritesKeepTheClosingBrackets) {
  CellRef t = L("[a[b]c]");
  EXPECT_EQ(Ans("recl", t.Copy(), L("0"), L("93")), "Z");
  EXPECT_EQ(Ans("recl", t.Copy(), L("3"), L("120")), "Z");  // over the "]"
  EXPECT_EQ(Ans("recm", t.Copy(), L("3"), L("23901")), "Z");  // "]]" over "]c"
  EXPECT_EQ(LeafView(t.get()), "[a[b]c]");
  EXPECT_EQ(Ans("recl", t.Copy(), L("3"), L("93")), "[a[b]c]");  // "]" over "]"
  EXPECT_EQ(Ans("recl", t.Copy(), L("0"), L("91")), "[[[b]c]");   // "[" is free
  // Moving a "]" keeps the count: "[b]" becomes "]b[".
  EXPECT_EQ(Ans("recn", t.Copy(), L("1"), L("1666933341")), "[[]b[c]");
  EXPECT_EQ(Ans("rech", t.Copy(), L("01")), "99");  // the length is kept
}

TEST_F(Indexed, UncheckedFamiliesTakeTheMagnitude) {
  CellRef t = L("[abcdef]");
  EXPECT_EQ(Ans("redh", t.Copy(), L("5")), "102");
  EXPECT_EQ(Ans("redh", t.Copy(), L("05")), "102");  // the sign is ignored
  EXPECT_EQ(Ans("redh", t.Copy(), L("18446744073709551617")), "98");  // modulo 2^64
  EXPECT_EQ(Ans("redh", t.Copy(), L("[3]")), "97");  // not checked: no digits read as 0
  EXPECT_EQ(Ans("redi", t.Copy(), L("4")), "26213");
  EXPECT_EQ(Ans("redj", t.Copy(), L("2")), "1717920867");
  EXPECT_EQ(Ans("redk", L("[abcdefgh]"), L("0")), "7523094288207667809");
  EXPECT_EQ(Call("redl", t.Copy(), L("0"), L("0321")).get(), t.get());  // 321 mod 256 = 65
  EXPECT_EQ(LeafView(t.get()), "[Abcdef]");
  EXPECT_EQ(Ans("redm", t.Copy(), L("4"), L("65536")), std::string("[Abcd\0\0]", 8));
  EXPECT_EQ(Ans("redn", t.Copy(), L("0"), L("0")), std::string("[\0\0\0\0\0\0]", 8));
  EXPECT_EQ(Ans("redo", L("[abcdefgh]"), L("0"), L("18446744073709551615")), "[" + std::string(8, '\xff') + "]");
  CellRef blob = Blob("wxyz");
  EXPECT_EQ(Ans("remh", blob.Copy(), L("03")), "122");
  EXPECT_EQ(Ans("remi", blob.Copy(), L("0")), "30839");
  EXPECT_EQ(Ans("remj", blob.Copy(), L("0")), "2054781047");
  EXPECT_EQ(Call("reml", blob.Copy(), L("0"), L("65")).get(), blob.get());
  EXPECT_EQ(Ans("remm", blob.Copy(), L("2"), L("16961")), "cape[AxAB]");
  EXPECT_EQ(Ans("remn", blob.Copy(), L("0"), L("0")), std::string("cape[\0\0\0\0]", 10));
  EXPECT_EQ(Ans("remo", Blob(std::string(8, 'a')), L("0"), L("5")), std::string("cape[\x05\0\0\0\0\0\0\0]", 14));
  EXPECT_EQ(Ans("remk", Blob(std::string(8, '\x01')), L("0")), "72340172838076673");
}

// This interpreter adds a guard the program does not: an access outside the
// content or payload, or a value of another kind, answers "Z".
TEST_F(Indexed, UncheckedFamiliesStayInsideTheCell) {
  CellRef t = L("[abcd]");
  EXPECT_EQ(Ans("redh", t.Copy(), L("4")), "Z");
  EXPECT_EQ(Ans("redj", t.Copy(), L("1")), "Z");
  EXPECT_EQ(Ans("redk", t.Copy(), L("18446744073709551615")), "Z");
  EXPECT_EQ(Ans("redl", t.Copy(), L("4"), L("1")), "Z");
  EXPECT_EQ(Ans("remh", Blob("ab"), L("2")), "Z");
  EXPECT_EQ(Ans("remi", Blob("ab"), L("1")), "Z");
  EXPECT_EQ(Ans("redh", Blob("ab"), L("0")), "Z");
  EXPECT_EQ(Ans("remh", t.Copy(), L("0")), "Z");
  EXPECT_EQ(Ans("redh", L("123"), L("0")), "Z");
  EXPECT_EQ(Ans("reml", L("123"), L("0"), L("0")), "Z");
  EXPECT_EQ(Ans("redh", MakeApp(L("K"), L("1")), L("0")), "Z");
  EXPECT_EQ(LeafView(t.get()), "[abcd]");
  // Inside, any byte may be written, brackets included.
  EXPECT_EQ(Ans("redl", t.Copy(), L("1"), L("93")), "[a]cd]");
  EXPECT_EQ(Ans("redl", t.Copy(), L("3"), L("91")), "[a]c[]");
}

TEST_F(Indexed, MemoryReadsAndWrites) {
  unsigned char buf[16];
  for (int i = 0; i < 16; ++i) buf[i] = static_cast<unsigned char>(i + 1);
  EXPECT_EQ(Ans("refh", Address(buf + 2)), "3");
  EXPECT_EQ(Ans("refi", Address(buf)), "513");
  EXPECT_EQ(Ans("refj", Address(buf + 1)), "84148994");
  EXPECT_EQ(Ans("refk", Address(buf + 8)), "1157159078456920585");
  EXPECT_EQ(Ans("refl", Address(buf), L("0255")), "I");  // -255 is 0x..01
  EXPECT_EQ(buf[0], 1);
  EXPECT_EQ(Ans("refm", Address(buf + 1), L("65535")), "I");
  EXPECT_EQ(Ans("refn", Address(buf + 3), L("0")), "I");
  EXPECT_EQ(Ans("refo", Address(buf + 8), L("01")), "I");
  unsigned char expected[16] = {1, 255, 255, 0, 0, 0, 0, 8, 255, 255, 255, 255, 255, 255, 255, 255};
  EXPECT_EQ(std::memcmp(buf, expected, 16), 0);
  EXPECT_EQ(Ans("refk", Address(buf + 8)), "18446744073709551615");
}

// Addresses no program can own answer "Z": the first page (null and the
// small offsets from it) and the kernel's upper half.
TEST_F(Indexed, MemoryRefusesWhatNoProgramOwns) {
  unsigned char buf[8] = {};
  EXPECT_EQ(Ans("refh", L("[1]")), "Z");
  EXPECT_EQ(Ans("refh", L("0")), "Z");
  EXPECT_EQ(Ans("refk", L("4088")), "Z");
  EXPECT_EQ(Ans("refl", L("0"), L("1")), "Z");
  EXPECT_EQ(Ans("refh", L("01")), "Z");
  EXPECT_EQ(Ans("refh", L("09223372036854775808")), "Z");
  EXPECT_EQ(Ans("refk", L("9223372036854775807")), "Z");  // would run past the lower half
  EXPECT_EQ(Ans("refl", Address(buf), L("[1]")), "Z");
  EXPECT_EQ(Ans("refl", Address(buf), Real(1.0)), "Z");
  EXPECT_EQ(buf[0], 0);
}

// A program reaches a cell's header and payload through `leak`.
TEST_F(Indexed, MemoryReadsCellsThroughTheirAddress) {
  CellRef text = L("[abc]");
  CellRef at = Call("leak", text.Copy());
  int64_t base = IntegerToInt64(at.get());
  uint64_t header = text->h;
  EXPECT_EQ(Ans("refk", at.Copy()), std::to_string(header));
  EXPECT_EQ(Ans("refh", MakeInt64(base + 9)), "97");
  EXPECT_EQ((header >> 30) & ((1u << 26) - 1), 5u);
  CellRef app = MakeApp(L("f"), text.Copy());
  CellRef app_at = Call("leak", app.Copy());
  int64_t app_base = IntegerToInt64(app_at.get());
  EXPECT_EQ(Ans("refk", MakeInt64(app_base + 16)), Ans("leak", text.Copy()));
}

}  // namespace
}  // namespace mox::builtin_test
