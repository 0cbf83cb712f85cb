// The bridge's kinds and signature templates, on functions of the test's
// own: which values each kind takes (the function is not called for the
// others), what C receives, the result cells, and the program's errno kept
// apart from the interpreter's.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "bridge/c_function.h"
#include "core/value_word.h"
#include "core/write_epoch.h"
#include "support/builtin_calls.h"
#include "values/bigint.h"
#include "values/int_convert.h"

namespace mox::builtin_test {
namespace {

using BridgeKinds = InspectTest;

int calls = 0;
const char* seen_text = nullptr;

int64_t TakeInt64(int64_t v) { return ++calls, v; }
int64_t TakeInt(int v) { return v; }
int64_t TakeByte(unsigned char v) { return v; }
size_t TakeText(const char* s) { return ++calls, seen_text = s, std::strlen(s); }
double TakeReal(double d) { return d * 2; }
int MinusOne() { return -1; }
size_t Biggest() { return SIZE_MAX; }
void Nothing(int) { ++calls; }
int SetErrno(int e) { return errno = e, 0; }
int ReadErrno() { return errno; }

// A row's answer for the given arguments, as text.
template <typename... T>
std::string AnsRow(const BuiltinBinding& row, T... args) {
  return Show(CallRow(row.name, row, Cells(std::move(args)...)));
}

constexpr BuiltinBinding kInt = CFunction<TakeInt64, Number(Integer)>("int");
constexpr BuiltinBinding kText = CFunction<TakeText, Number(Address)>("text");

TEST_F(BridgeKinds, IntegerTakesIntegersOnlyAndNarrows) {
  calls = 0;
  EXPECT_EQ(AnsRow(kInt, L("05")), "05");
  EXPECT_EQ(AnsRow(kInt, Tree("(J K 2)")), "5");  // the list form
  EXPECT_EQ(AnsRow(kInt, L("K")), "0");           // passes the integer test
  for (const char* other : {"00", "[5]", "plus", " 12345678"}) EXPECT_EQ(AnsRow(kInt, L(other)), "Z") << other;
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(AnsRow(CFunction<TakeInt, Number(Integer)>("i"), L("4294967303")), "7");  // 2^32 + 7
  EXPECT_EQ(AnsRow(CFunction<TakeByte, Number(Integer)>("b"), L("01")), "255");
  EXPECT_EQ(AnsRow(CFunction<TakeInt64, Number(RawInteger)>("raw"), L("[12]")), "0");
}

TEST_F(BridgeKinds, AddressOfTextsBlobsAndIntegers) {
  CellRef text = L("[abc]");
  EXPECT_EQ(AnsRow(kText, text.Copy()), "5");  // the brackets are the string's
  EXPECT_EQ(seen_text, reinterpret_cast<const char*>(text->Bytes()));
  CellRef blob = Blob("xy");
  EXPECT_EQ(AnsRow(kText, blob.Copy()), "2");
  EXPECT_EQ(seen_text, reinterpret_cast<const char*>(BlobPayload(blob.get()).data));
  const char* c_string = "hello";
  EXPECT_EQ(AnsRow(kText, Addr(c_string)), "5");
  EXPECT_EQ(seen_text, c_string);
  calls = 0;
  for (const char* other : {"001", "K", " 12345678"}) EXPECT_EQ(AnsRow(kText, L(other)), "Z") << other;
  EXPECT_EQ(AnsRow(kText, Tree("([a] [b])")), "Z");  // data without bytes of its own
  EXPECT_EQ(calls, 0);
}

TEST_F(BridgeKinds, RealKindAndResultKinds) {
  constexpr BuiltinBinding real = CFunction<TakeReal, mox::Real(mox::Real)>("real");
  EXPECT_EQ(RealOf(CallRow("real", real, Cells(Real(-1.25)))), -2.5);
  EXPECT_EQ(AnsRow(real, L("2")), "Z");
  EXPECT_EQ(AnsRow(CFunction<MinusOne, Number()>("m")), "01");
  EXPECT_EQ(AnsRow(CFunction<MinusOne, Unsigned()>("u")), "18446744073709551615");
  EXPECT_EQ(AnsRow(CFunction<Biggest, Number()>("n")), "01");
  EXPECT_EQ(AnsRow(CFunction<TakeInt64, Truth(Integer)>("t"), L("2")), "K");
  EXPECT_EQ(AnsRow(CFunction<TakeInt64, Truth(Integer)>("t"), L("0")), "H");
  EXPECT_EQ(AnsRow(CFunction<Nothing, Unit(Integer)>("v"), L("3")), "I");
}

TEST_F(BridgeKinds, TheProgramsErrnoSurvivesTheInterpretersOwnCalls) {
  AnsRow(CFunction<SetErrno, Number(Integer)>("set"), L("33"));
  errno = 0;  // the interpreter's own C calls in between
  EXPECT_EQ(AnsRow(CFunction<ReadErrno, Number()>("read")), "33");
  EXPECT_EQ(ProgramErrno(), 33);
}

// A row keeps the write epoch, and with it the values numbers keep, unless
// it may write memory: the pure and reading members keep it, the reading
// ones after writing every deferred text, so that a byte read by address is
// the number's own; a write by address moves it, and the number is read
// again from its rewritten text.
TEST_F(BridgeKinds, OnlyWritingRowsMoveTheWriteEpoch) {
  CellRef x = MakeInt64(12345);
  CellRef big = IntegerSum(ReadIntText(std::string(40, '7')), ReadIntText(std::string(40, '1')));
  ASSERT_TRUE(big->TextDeferred());
  uint64_t epoch = WriteEpoch();
  Ans("sqrt", Real(4));
  Ans("isalpha", L("65"));
  Ans("strlen", L("[abc]"));
  EXPECT_FALSE(big->TextDeferred());  // written on entry to a reader
  EXPECT_EQ(Ans("refh", Addr(big->Bytes() + 30)), "56");  // '8'
  EXPECT_EQ(WriteEpoch(), epoch);
  int64_t v = 0;
  EXPECT_TRUE(TrustedValue(x.get(), &v));

  Ans("refl", Addr(x->Bytes() + 1), L("57"));  // '9'
  EXPECT_NE(WriteEpoch(), epoch);
  EXPECT_FALSE(TrustedValue(x.get(), &v));
  ASSERT_TRUE(SmallIntegerValue(x.get(), &v));
  EXPECT_EQ(v, 19345);

  // Once a stream has a buffer of the program's, which stdio writes on any
  // later call, a reading row moves the epoch too.
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  static char buffer[BUFSIZ];
  Ans("setbuf", Addr(stream), Addr(buffer));
  epoch = WriteEpoch();
  Ans("strlen", L("[abc]"));
  EXPECT_NE(WriteEpoch(), epoch);
  std::fclose(stream);
  g_memory_lent = false;
}

}  // namespace
}  // namespace mox::builtin_test
