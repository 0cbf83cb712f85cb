// The bridge's kinds and signature templates, on functions of the test's
// own: which values each kind takes, what C receives, the result cells, and
// the program's errno kept apart from the interpreter's.
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "bridge/c_function.h"
#include "support/builtin_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeKinds = InspectTest;

int calls = 0;
int64_t seen_int = 0;
const char* seen_text = nullptr;
double seen_real = 0;

int64_t TakeInt64(int64_t v) {
  ++calls;
  seen_int = v;
  return v;
}
int64_t TakeInt(int v) { return TakeInt64(v); }
int64_t TakeByte(unsigned char v) { return TakeInt64(v); }
size_t TakeText(const char* s) {
  ++calls;
  seen_text = s;
  return std::strlen(s);
}
double TakeReal(double d) {
  ++calls;
  seen_real = d;
  return d * 2;
}
const void* Identity(const void* p) { return p; }
int MinusOne() { return -1; }
size_t Biggest() { return SIZE_MAX; }
void Nothing(int) { ++calls; }
int SetErrno(int e) {
  errno = e;
  return 0;
}
int ReadErrno() { return errno; }

// Calls a row's handler on the given arguments (each gets a count).
template <typename... T>
CellRef CallRow(const BuiltinBinding& row, T... args) {
  EXPECT_EQ(row.arity, sizeof...(args));
  CellRef redex = MakeLeaf(row.name);
  ((redex = MakeApp(std::move(redex), std::move(args))), ...);
  CellRef out;
  row.handler(out, std::move(redex));
  return out;
}
template <typename... T>
std::string AnsRow(const BuiltinBinding& row, T... args) {
  return Show(CallRow(row, std::move(args)...));
}

constexpr BuiltinBinding kInt = CFunction<TakeInt64, Number(Integer)>("int");
constexpr BuiltinBinding kRaw = CFunction<TakeInt64, Number(RawInteger)>("raw");
constexpr BuiltinBinding kText = CFunction<TakeText, Number(Address)>("text");
constexpr BuiltinBinding kReal = CFunction<TakeReal, mox::Real(mox::Real)>("real");

TEST_F(BridgeKinds, IntegerTakesIntegersOnlyAndNarrows) {
  calls = 0;
  EXPECT_EQ(AnsRow(kInt, L("05")), "05");
  EXPECT_EQ(AnsRow(kInt, Tree("(J K 2)")), "5");  // the list form
  EXPECT_EQ(AnsRow(kInt, L("K")), "0");           // passes the integer test
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(AnsRow(kInt, L("00")), "Z");
  EXPECT_EQ(AnsRow(kInt, L("[5]")), "Z");
  EXPECT_EQ(AnsRow(kInt, Real(5)), "Z");
  EXPECT_EQ(AnsRow(kInt, L("plus")), "Z");
  EXPECT_EQ(calls, 3);  // refused values never reach C
  // Narrowed to the C parameter's type: 2^32 + 7 is 7 as an int.
  EXPECT_EQ(AnsRow(CFunction<TakeInt, Number(Integer)>("i"), L("4294967303")), "7");
  EXPECT_EQ(AnsRow(CFunction<TakeByte, Number(Integer)>("b"), L("01")), "255");
}

TEST_F(BridgeKinds, RawIntegerTakesAnything) {
  EXPECT_EQ(AnsRow(kRaw, L("12")), "12");
  EXPECT_EQ(AnsRow(kRaw, L("[12]")), "0");
  EXPECT_EQ(AnsRow(kRaw, L("plus")), "0");
}

TEST_F(BridgeKinds, AddressOfTextsBlobsAndIntegers) {
  CellRef text = L("[abc]");
  EXPECT_EQ(AnsRow(kText, text.Copy()), "5");  // the brackets are the string's
  EXPECT_EQ(seen_text, reinterpret_cast<const char*>(text->Bytes()));
  CellRef blob = Blob("xy");
  EXPECT_EQ(AnsRow(kText, blob.Copy()), "2");
  EXPECT_EQ(seen_text, reinterpret_cast<const char*>(BlobPayload(blob.get()).data));
  const char* c_string = "hello";
  CellRef address = MakeInt64(static_cast<int64_t>(reinterpret_cast<uintptr_t>(c_string)));
  EXPECT_EQ(AnsRow(kText, std::move(address)), "5");
  EXPECT_EQ(seen_text, c_string);
  calls = 0;
  EXPECT_EQ(AnsRow(kText, Tree("([a] [b])")), "Z");  // data without bytes of its own
  EXPECT_EQ(AnsRow(kText, Real(1)), "Z");
  EXPECT_EQ(AnsRow(kText, L("001")), "Z");
  EXPECT_EQ(AnsRow(kText, L("K")), "Z");
  EXPECT_EQ(calls, 0);
}

TEST_F(BridgeKinds, RealTakesRealsOnly) {
  EXPECT_EQ(RealOf(CallRow(kReal, Real(-1.25))), -2.5);
  EXPECT_EQ(AnsRow(kReal, L("2")), "Z");
  EXPECT_EQ(AnsRow(kReal, L("001")), "Z");
}

TEST_F(BridgeKinds, ResultKinds) {
  EXPECT_EQ(AnsRow(CFunction<Identity, Number(Integer)>("p"), L("0")), "0");
  EXPECT_EQ(AnsRow(CFunction<MinusOne, Number()>("m")), "01");
  EXPECT_EQ(AnsRow(CFunction<MinusOne, Unsigned()>("u")), "18446744073709551615");
  EXPECT_EQ(AnsRow(CFunction<Biggest, Number()>("n")), "01");
  EXPECT_EQ(AnsRow(CFunction<Biggest, Unsigned()>("u")), "18446744073709551615");
  EXPECT_EQ(AnsRow(CFunction<TakeInt64, Truth(Integer)>("t"), L("2")), "K");
  EXPECT_EQ(AnsRow(CFunction<TakeInt64, Truth(Integer)>("t"), L("0")), "H");
  calls = 0;
  EXPECT_EQ(AnsRow(CFunction<Nothing, Unit(Integer)>("v"), L("3")), "I");
  EXPECT_EQ(AnsRow(CFunction<Nothing, Unit(Integer)>("v"), L("[3]")), "Z");
  EXPECT_EQ(calls, 1);
}

TEST_F(BridgeKinds, TheProgramsErrnoSurvivesTheInterpretersOwnCalls) {
  constexpr BuiltinBinding set = CFunction<SetErrno, Number(Integer)>("set");
  constexpr BuiltinBinding read = CFunction<ReadErrno, Number()>("read");
  AnsRow(set, L("33"));
  EXPECT_EQ(ProgramErrno(), 33);
  errno = 0;  // the interpreter's own C calls in between
  EXPECT_EQ(AnsRow(read), "33");
  AnsRow(set, L("0"));
  EXPECT_EQ(ProgramErrno(), 0);
}

TEST_F(BridgeKinds, RowsOfOneFunctionAndShapeShareTheirHandler) {
  constexpr BuiltinBinding a = CFunction<TakeInt64, Number(Integer)>("a");
  constexpr BuiltinBinding b = CFunction<TakeInt64, Number(Integer)>("b");
  EXPECT_EQ(a.handler, b.handler);
  EXPECT_NE(a.handler, kRaw.handler);
  EXPECT_EQ(Constant<48>("x").handler, Constant<48>("y").handler);
  EXPECT_EQ(AnsRow(Constant<48>("x")), "48");
  EXPECT_EQ(Constant<48>("x").arity, 0);
}

}  // namespace
}  // namespace mox::builtin_test
