// The forty indexed builtins: five families of eight, named by a stem and a
// last letter. rec and red reach a bracketed text's content, rel and rem a
// blob's payload, ref process memory; rec and rel check their index (a
// negative one counts from the end), red and rem take it by magnitude. The
// last letter gives the direction and width: h i j k read 1, 2, 4, 8 bytes,
// l m n o write them. Each row instantiates a one-line forwarder to its
// family's worker (workers.h) with the width.
#include "builtins/families.h"
#include "builtins/indexed/workers.h"
#include "core/fault.h"

namespace mox {

namespace {

constexpr Target kText = Target::kText;
constexpr Target kBlob = Target::kBlob;

template <Target T, int W>
CellRef Checked(const NativeArgs<2>& a) { return CheckedRead(a[0], a[1], T, W); }
template <Target T, int W>
CellRef CheckedPut(const NativeArgs<3>& a) { return CheckedWrite(a[0], a[1], a[2], T, W); }
template <Target T, int W>
CellRef Unchecked(const NativeArgs<2>& a) { return UncheckedRead(a[0], a[1], T, W); }
template <Target T, int W>
CellRef UncheckedPut(const NativeArgs<3>& a) { return UncheckedWrite(a[0], a[1], a[2], T, W); }
template <int W>
CellRef Memory(const NativeArgs<1>& a) {
  RawAccess raw(a.head);  // the address is the program's: a fault is reported
  return MemoryRead(a[0], W);
}
template <int W>
CellRef MemoryPut(const NativeArgs<2>& a) {
  RawAccess raw(a.head);
  return MemoryWrite(a[0], a[1], W);
}

constexpr BuiltinBinding kIndexed[] = {
    ReadingBuiltin<Checked<kText, 1>>("rech"),           ReadingBuiltin<Checked<kText, 2>>("reci"),
    ReadingBuiltin<Checked<kText, 4>>("recj"),           ReadingBuiltin<Checked<kText, 8>>("reck"),
    Builtin<CheckedPut<kText, 1>>("recl"),               Builtin<CheckedPut<kText, 2>>("recm"),
    Builtin<CheckedPut<kText, 4>>("recn"),               Builtin<CheckedPut<kText, 8>>("reco"),

    ReadingBuiltin<Unchecked<kText, 1>>("redh"),         ReadingBuiltin<Unchecked<kText, 2>>("redi"),
    ReadingBuiltin<Unchecked<kText, 4>>("redj"),         ReadingBuiltin<Unchecked<kText, 8>>("redk"),
    Builtin<UncheckedPut<kText, 1>>("redl"),             Builtin<UncheckedPut<kText, 2>>("redm"),
    Builtin<UncheckedPut<kText, 4>>("redn"),             Builtin<UncheckedPut<kText, 8>>("redo"),

    ReadingBuiltin<Memory<1>>("refh"),                   ReadingBuiltin<Memory<2>>("refi"),
    ReadingBuiltin<Memory<4>>("refj"),                   ReadingBuiltin<Memory<8>>("refk"),
    Builtin<MemoryPut<1>>("refl"),                       Builtin<MemoryPut<2>>("refm"),
    Builtin<MemoryPut<4>>("refn"),                       Builtin<MemoryPut<8>>("refo"),

    ReadingBuiltin<Checked<kBlob, 1>>("relh"),           ReadingBuiltin<Checked<kBlob, 2>>("reli"),
    ReadingBuiltin<Checked<kBlob, 4>>("relj"),           ReadingBuiltin<Checked<kBlob, 8>>("relk"),
    Builtin<CheckedPut<kBlob, 1>>("rell"),               Builtin<CheckedPut<kBlob, 2>>("relm"),
    Builtin<CheckedPut<kBlob, 4>>("reln"),               Builtin<CheckedPut<kBlob, 8>>("relo"),

    ReadingBuiltin<Unchecked<kBlob, 1>>("remh"),         ReadingBuiltin<Unchecked<kBlob, 2>>("remi"),
    ReadingBuiltin<Unchecked<kBlob, 4>>("remj"),         ReadingBuiltin<Unchecked<kBlob, 8>>("remk"),
    Builtin<UncheckedPut<kBlob, 1>>("reml"),             Builtin<UncheckedPut<kBlob, 2>>("remm"),
    Builtin<UncheckedPut<kBlob, 4>>("remn"),             Builtin<UncheckedPut<kBlob, 8>>("remo"),
};

}  // namespace

BuiltinFamily IndexedBuiltins() { return kIndexed; }

}  // namespace mox
