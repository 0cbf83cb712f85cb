// The indexed families: checked reads and writes in texts (rec) and blobs
// (rel), negative indexes from the end; the unchecked ones (red, rem) with
// indexes by magnitude and this interpreter's range guard; memory (ref).
#include <cstring>
#include <string>

#include "support/builtin_calls.h"
#include "support/leak_checked_test.h"

namespace mox::builtin_test {
namespace {

class Indexed : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    LoadPrelude();
  }
};

TEST_F(Indexed, CheckedReads) {
  ExpectAnswers({
      {"rech", {"[AB]", "01"}, "66"}, {"rech", {"[AB]", "2"}, "Z"}, {"rech", {"[AB]", "03"}, "Z"},
      {"reci", {"[AB]", "0"}, "16961"},  // "A" is the low byte
      {"reci", {"[AB]", "1"}, "Z"}, {"recj", {"[xABCD]", "04"}, "1145258561"},
      {"rech", {"[AB]", "09223372036854775808"}, "Z"},
      // wrong kinds: a text of data applications (no bytes of its own),
      // indexes and values no integers
      {"rech", {"([A] [B])", "0"}, "Z"}, {"rech", {"[AB]", "00"}, "Z"}, {"recl", {"[AB]", "0", "[C]"}, "Z"},
  });
  EXPECT_EQ(Ans("reck", L("[" + std::string(8, '\xff') + "]"), L("0")), "18446744073709551615");
  std::string eight("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  EXPECT_EQ(Ans("relk", Blob(eight), L("0")), "578437695752307201");
  EXPECT_EQ(Ans("relk", Blob(eight), L("1")), "Z");
  EXPECT_EQ(Ans("reli", Blob(eight), L("02")), "2055");
  EXPECT_EQ(Ans("relh", Blob(std::string(64, 'q') + "z"), L("01")), "122");  // two length digits
  EXPECT_EQ(Ans("rech", Blob("AB"), L("0")), "Z");  // a blob for rec, a text for rel
  EXPECT_EQ(Ans("relh", L("[AB]"), L("0")), "Z");
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

// Indexes by magnitude, unchecked kinds; but this interpreter adds the guard
// the program leaves out: an access outside the content or payload, or a
// value of another kind, answers "Z". Inside, any byte may be written.
TEST_F(Indexed, UncheckedFamiliesStayInsideTheCell) {
  CellRef t = L("[abcdef]");
  EXPECT_EQ(Ans("redh", t.Copy(), L("05")), "102");                   // the sign is ignored
  EXPECT_EQ(Ans("redh", t.Copy(), L("18446744073709551617")), "98");  // modulo 2^64
  EXPECT_EQ(Ans("redh", t.Copy(), L("[3]")), "97");  // not checked: no digits read as 0
  EXPECT_EQ(Ans("redj", t.Copy(), L("2")), "1717920867");
  EXPECT_EQ(Call("redl", t.Copy(), L("0"), L("0321")).get(), t.get());  // 321 mod 256 = 65
  EXPECT_EQ(Ans("redm", t.Copy(), L("4"), L("65536")), std::string("[Abcd\0\0]", 8));
  EXPECT_EQ(Ans("remm", Blob("wxyz"), L("2"), L("16961")), "cape[wxAB]");
  ExpectAnswers({
      {"redh", {"[abcd]", "4"}, "Z"}, {"redj", {"[abcd]", "1"}, "Z"},
      {"redk", {"[abcd]", "18446744073709551615"}, "Z"}, {"reml", {"123", "0", "0"}, "Z"},
      {"redl", {"[abcd]", "1", "93"}, "[a]cd]"}, {"redl", {"[abcd]", "3", "91"}, "[abc[]"},
  });
  EXPECT_EQ(Ans("remi", Blob("ab"), L("1")), "Z");
  EXPECT_EQ(Ans("redh", Blob("ab"), L("0")), "Z");
}

TEST_F(Indexed, MemoryReadsAndWrites) {
  unsigned char buf[16];
  for (int i = 0; i < 16; ++i) buf[i] = static_cast<unsigned char>(i + 1);
  EXPECT_EQ(Ans("refh", Addr(buf + 2)), "3");
  EXPECT_EQ(Ans("refj", Addr(buf + 1)), "84148994");
  EXPECT_EQ(Ans("refk", Addr(buf + 8)), "1157159078456920585");
  EXPECT_EQ(Ans("refl", Addr(buf), L("0255")), "I");  // -255 is 0x..01
  EXPECT_EQ(Ans("refm", Addr(buf + 1), L("65535")), "I");
  EXPECT_EQ(Ans("refn", Addr(buf + 3), L("0")), "I");
  EXPECT_EQ(Ans("refo", Addr(buf + 8), L("01")), "I");
  unsigned char expected[16] = {1, 255, 255, 0, 0, 0, 0, 8, 255, 255, 255, 255, 255, 255, 255, 255};
  EXPECT_EQ(std::memcmp(buf, expected, 16), 0);
  // Refused: no integer, the first page (null and small offsets from it),
  // the kernel's upper half, an access running past the lower half.
  ExpectAnswers({
      {"refh", {"[1]"}, "Z"}, {"refl", {"0", "1"}, "Z"}, {"refk", {"4088"}, "Z"}, {"refh", {"01"}, "Z"},
      {"refk", {"9223372036854775807"}, "Z"},
  });
  EXPECT_EQ(Ans("refl", Addr(buf), Real(1.0)), "Z");
  EXPECT_EQ(buf[0], 1);
}

}  // namespace
}  // namespace mox::builtin_test
