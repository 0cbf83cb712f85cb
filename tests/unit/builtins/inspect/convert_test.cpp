// real, init and lits: the class rules, the special reals, and the round
// trips through lots.
#include <cfloat>
#include <cmath>
#include <limits>

#include "support/builtin_calls.h"

namespace mox::builtin_test {
namespace {

using Convert = InspectTest;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST_F(Convert, RealOfNumbersAndTexts) {
  CellRef r = Real(2.5);
  Cell* same = r.get();
  EXPECT_EQ(Call("real", std::move(r)).get(), same);
  EXPECT_EQ(RealOf(Call("real", L("05"))), -5.0);
  EXPECT_EQ(RealOf(Call("real", L("123456789012345678901234567890"))), 1.2345678901234568e29);
  EXPECT_EQ(RealOf(Call("real", Tree("(J K 2)"))), 5.0);
  EXPECT_EQ(RealOf(Call("real", L("002"))), 0.5);
  EXPECT_EQ(RealOf(Call("real", Blob("2.5xyz"))), 2.5);
  EXPECT_EQ(RealOf(Call("real", Blob("abc"))), 0.0);
  EXPECT_EQ(RealOf(Call("real", Blob(std::string_view("1\0" "9", 3)))), 1.0);
  EXPECT_EQ(RealOf(Call("real", L("[1e3]"))), 1000.0);
  EXPECT_EQ(RealOf(Call("real", MakeApp(L("[7]"), L("[2]")))), 7.0);  // "7[2]"
  EXPECT_EQ(Ans("real", Vec(L("1"))), "Z");
  EXPECT_EQ(Ans("real", L("plus")), "Z");
}

TEST_F(Convert, InitMakesBlobs) {
  CellRef b = Blob("xy");
  Cell* same = b.get();
  EXPECT_EQ(Call("init", std::move(b)).get(), same);
  EXPECT_EQ(Payload(Call("init", Real(1.0))), std::string("\0\0\0\0\0\0\xf0\x3f", 8));
  EXPECT_EQ(Payload(Call("init", L("65"))), "A");
  EXPECT_EQ(Payload(Call("init", L("0300"))), "\xd4");  // -300, low 8 bits
  EXPECT_EQ(Payload(Call("init", L("256"))), std::string(1, '\0'));
  EXPECT_EQ(Payload(Call("init", L("[a[b]]"))), "a[b]");
  EXPECT_EQ(Ans("init", L("001")), "Z");
  EXPECT_EQ(Ans("init", Vec()), "Z");
  EXPECT_EQ(Ans("init", Tree("(K 1)")), "Z");
}

TEST_F(Convert, InitReadsAListOfByteValues) {
  EXPECT_EQ(Payload(Call("init", Tree("(J 104 (J 105 K))"))), "hi");
  EXPECT_EQ(Payload(Call("init", L("K"))), "");
  EXPECT_EQ(Ans("init", Tree("(J 104 (J 256 K))")), "Z");  // not a byte
  EXPECT_EQ(Ans("init", Tree("(J 104 (J 05 K))")), "Z");
  EXPECT_EQ(Ans("init", Tree("(J 104 H)")), "Z");  // not ended by K
}

TEST_F(Convert, LitsOfRealsIsExact) {
  EXPECT_EQ(Ans("lits", Real(1.0)), "001");
  EXPECT_EQ(Ans("lits", Real(-5.0)), "0008");
  EXPECT_EQ(Ans("lits", Real(0.75)), "0010");
  EXPECT_EQ(Ans("lits", Real(0.0)), "00");
  EXPECT_EQ(Ans("lits", Real(-0.0)), "00");
  EXPECT_EQ(Ans("lits", Real(std::nan(""))), "00");
  for (double d : {1.0 / 3, -DBL_MAX, DBL_MIN, 5e-324, -1e300, 123456.789, 0x1p-1074 * 3}) {
    CellRef n = Call("lits", Real(d));
    EXPECT_EQ(ClassifyValue(n.get()), ValueClass::kNumb) << d;
    EXPECT_EQ(RealOf(Call("real", std::move(n))), d) << d;
  }
}

TEST_F(Convert, LitsOfInfinitiesConvertsBack) {
  EXPECT_EQ(RealOf(Call("real", Call("lits", Real(kInf)))), kInf);
  EXPECT_EQ(RealOf(Call("real", Call("lits", Real(-kInf)))), -kInf);
  // the two infinities give numbs of opposite sign
  EXPECT_EQ(Ans("wave", Call("lits", Real(-kInf))), Ans("lits", Real(kInf)));
}

TEST_F(Convert, LitsOfBytesReadsALittleEndianWord) {
  EXPECT_EQ(Ans("lits", L("[A]")), "65");
  EXPECT_EQ(Ans("lits", L("[]")), "0");
  EXPECT_EQ(Ans("lits", Blob("\xff\xff\xff\xff\xff\xff\xff\xff")), "01");
  EXPECT_EQ(Ans("lits", Blob("ABCDEFGH-ignored")), Ans("lits", Blob("ABCDEFGH")));
  EXPECT_EQ(Ans("lits", MakeApp(L("[A]"), L("[]"))), Ans("lits", L("[A[]]")));
}

TEST_F(Convert, LitsTogglesTheFormOfNumbers) {
  EXPECT_EQ(Ans("lits", L("5")), "JK2");
  EXPECT_EQ(Ans("lits", Tree("(J K 2)")), "5");
  EXPECT_EQ(Ans("lits", Tree("(J K (J K (J H (J K K))))")), "2");
  for (const char* text : {"0", "5", "05", "98765432109876543210987654321", "00", "001", "0008", "0010"}) {
    EXPECT_EQ(Ans("lits", Call("lits", L(text))), text) << text;
  }
  EXPECT_EQ(Ans("lits", Tree("(J K I)")), "Z");
  EXPECT_EQ(Ans("lits", Vec()), "Z");
  EXPECT_EQ(Ans("lits", L("plus")), "Z");
}

TEST_F(Convert, RoundTripsThroughLots) {
  for (double d : {0.0, -0.0, 1.5, -kInf, std::nan("7"), 5e-324}) {
    EXPECT_EQ(BitsOf(RealOf(Call("real", Call("lots", Real(d))))), BitsOf(d)) << d;
  }
  std::string bytes("a\0[]\xff", 5);
  EXPECT_EQ(Payload(Call("init", Call("lots", Blob(bytes)))), bytes);
  EXPECT_EQ(Payload(Call("init", Call("lots", L("[x[y]]")))), "x[y]");
  EXPECT_EQ(Payload(Call("init", Call("lots", Blob("")))), "");
  EXPECT_EQ(Ans("lits", Call("lots", L("012345678901234567890"))), "012345678901234567890");
}

}  // namespace
}  // namespace mox::builtin_test
