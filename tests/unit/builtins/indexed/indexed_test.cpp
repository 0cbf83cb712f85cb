// The indexed families: checked reads and writes in texts (rec) and blobs
// (rel), negative indexes from the end; the unchecked ones (red, rem) with
// indexes by magnitude and this interpreter's range guard; memory (ref).
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

TEST_F(Indexed, CheckedReads) {
  EXPECT_EQ(Ans("rech", L("[AB]"), L("0")), "65");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("01")), "66");  // -1: the last byte
  EXPECT_EQ(Ans("rech", L("[AB]"), L("2")), "Z");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("03")), "Z");
  EXPECT_EQ(Ans("reci", L("[AB]"), L("0")), "16961");  // "A" is the low byte
  EXPECT_EQ(Ans("reci", L("[AB]"), L("1")), "Z");
  EXPECT_EQ(Ans("recj", L("[xABCD]"), L("04")), "1145258561");
  EXPECT_EQ(Ans("reck", L("[" + std::string(8, '\xff') + "]"), L("0")), "18446744073709551615");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("09223372036854775808")), "Z");
  std::string eight("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  EXPECT_EQ(Ans("relk", Blob(eight), L("0")), "578437695752307201");
  EXPECT_EQ(Ans("relk", Blob(eight), L("1")), "Z");
  EXPECT_EQ(Ans("reli", Blob(eight), L("02")), "2055");
  EXPECT_EQ(Ans("relh", Blob(std::string(64, 'q') + "z"), L("01")), "122");  // two length digits
  // Wrong kinds: a blob for rec, a text for rel, a text of data
  // applications (no bytes of its own), indexes and values no integers.
  EXPECT_EQ(Ans("rech", Blob("AB"), L("0")), "Z");
  EXPECT_EQ(Ans("relh", L("[AB]"), L("0")), "Z");
  EXPECT_EQ(Ans("rech", MakeApp(L("[A]"), L("[B]")), L("0")), "Z");
  EXPECT_EQ(Ans("rech", L("[AB]"), L("00")), "Z");
  EXPECT_EQ(Ans("recl", L("[AB]"), L("0"), L("[C]")), "Z");
}

TEST_F(Indexed, CheckedWritesChangeTheCellInPlace) {
  CellRef t = L("[ABD]");
  CellRef held = t.Copy();  // another holder of the same cell
  EXPECT_EQ(Call("recl", t.Copy(), L("0"), L("67")).get(), t.get());
  EXPECT_EQ(LeafView(held.get()), "[CBD]");
  EXPECT_EQ(Ans("recm", t.Copy(), L("02"), L("17475")), "[CCD]");
  EXPECT_EQ(Ans("recl", t.Copy(), L("1"), L("321")), "[CAD]");  // truncated to the width
  EXPECT_EQ(Ans("recm", t.Copy(), L("2"), L("1")), "Z");
  EXPECT_EQ(Ans("reco", L("[abcdefgh]"), L("0"), L("4702394921427289928")), "[HGFEDCBA]");
  CellRef blob = Blob(std::string(8, '\0'));
  EXPECT_EQ(Call("relo", blob.Copy(), L("0"), L("01")).get(), blob.get());  // -1: all bits
  EXPECT_EQ(Call("reln", blob.Copy(), L("4"), L("93")).get(), blob.get());  // blobs take any byte
  EXPECT_EQ(Payload(blob), std::string("\xff\xff\xff\xff]\0\0\0", 8));
  EXPECT_EQ(Ans("reln", blob.Copy(), L("5"), L("0")), "Z");
}

// A text write must keep the number of "]" bytes (the text would end
// elsewhere); a refused write leaves the text untouched.
TEST_F(Indexed, TextWritesKeepTheClosingBrackets) {
  CellRef t = L("[a[b]c]");
  EXPECT_EQ(Ans("recl", t.Copy(), L("0"), L("93")), "Z");
  EXPECT_EQ(Ans("recl", t.Copy(), L("3"), L("120")), "Z");   // over the "]"
  EXPECT_EQ(Ans("recm", t.Copy(), L("3"), L("23901")), "Z");  // "]]" over "]c"
  EXPECT_EQ(LeafView(t.get()), "[a[b]c]");
  EXPECT_EQ(Ans("recl", t.Copy(), L("0"), L("91")), "[[[b]c]");         // "[" is free
  EXPECT_EQ(Ans("recn", t.Copy(), L("1"), L("1666933341")), "[[]b[c]");  // "[b]c" to "]b[c"
}

TEST_F(Indexed, UncheckedFamiliesTakeTheMagnitude) {
  CellRef t = L("[abcdef]");
  EXPECT_EQ(Ans("redh", t.Copy(), L("05")), "102");                   // the sign is ignored
  EXPECT_EQ(Ans("redh", t.Copy(), L("18446744073709551617")), "98");  // modulo 2^64
  EXPECT_EQ(Ans("redh", t.Copy(), L("[3]")), "97");  // not checked: no digits read as 0
  EXPECT_EQ(Ans("redj", t.Copy(), L("2")), "1717920867");
  EXPECT_EQ(Call("redl", t.Copy(), L("0"), L("0321")).get(), t.get());  // 321 mod 256 = 65
  EXPECT_EQ(Ans("redm", t.Copy(), L("4"), L("65536")), std::string("[Abcd\0\0]", 8));
  CellRef blob = Blob("wxyz");
  EXPECT_EQ(Ans("remi", blob.Copy(), L("0")), "30839");
  EXPECT_EQ(Ans("remm", blob.Copy(), L("2"), L("16961")), "cape[wxAB]");
  EXPECT_EQ(Ans("remk", Blob(std::string(8, '\x01')), L("0")), "72340172838076673");
}

// This interpreter adds the guard the program leaves out: an access outside
// the content or payload, or a value of another kind, answers "Z". Inside,
// any byte may be written, brackets included.
TEST_F(Indexed, UncheckedFamiliesStayInsideTheCell) {
  CellRef t = L("[abcd]");
  EXPECT_EQ(Ans("redh", t.Copy(), L("4")), "Z");
  EXPECT_EQ(Ans("redj", t.Copy(), L("1")), "Z");
  EXPECT_EQ(Ans("redk", t.Copy(), L("18446744073709551615")), "Z");
  EXPECT_EQ(Ans("remi", Blob("ab"), L("1")), "Z");
  EXPECT_EQ(Ans("redh", Blob("ab"), L("0")), "Z");
  EXPECT_EQ(Ans("reml", L("123"), L("0"), L("0")), "Z");
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
  EXPECT_EQ(Ans("refm", Address(buf + 1), L("65535")), "I");
  EXPECT_EQ(Ans("refn", Address(buf + 3), L("0")), "I");
  EXPECT_EQ(Ans("refo", Address(buf + 8), L("01")), "I");
  unsigned char expected[16] = {1, 255, 255, 0, 0, 0, 0, 8, 255, 255, 255, 255, 255, 255, 255, 255};
  EXPECT_EQ(std::memcmp(buf, expected, 16), 0);
  // Refused: no integer, the first page (null and small offsets from it),
  // the kernel's upper half, an access running past the lower half.
  EXPECT_EQ(Ans("refh", L("[1]")), "Z");
  EXPECT_EQ(Ans("refl", L("0"), L("1")), "Z");
  EXPECT_EQ(Ans("refk", L("4088")), "Z");
  EXPECT_EQ(Ans("refh", L("01")), "Z");
  EXPECT_EQ(Ans("refk", L("9223372036854775807")), "Z");
  EXPECT_EQ(Ans("refl", Address(buf), Real(1.0)), "Z");
  EXPECT_EQ(buf[0], 1);
}

}  // namespace
}  // namespace mox::builtin_test
