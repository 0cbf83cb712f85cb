// An operand of the arithmetic builtins, classified once: its class, the
// cell, and for numbers their text form (list-form numbers converted).
#pragma once

#include <string>
#include <string_view>

#include "core/cell.h"
#include "values/int_leaf.h"
#include "values/value_class.h"

namespace mox {

struct Operand {
  ValueClass cls;                // class letter (value_class.h)
  Cell* cell;              // the value itself, borrowed from the redex
  CellRef hold;            // a list-form number's text leaf
  std::string_view text;   // integers and numbs: the number text
};

// Classifies c. A malformed list-form number reads as void.
void ReadOperand(Cell* c, Operand* op);

// The bytes an operand contributes to a text or blob join: a blob's
// payload, a bracketed text's content (a data application written out), a
// number's text, a real's formatted text. `scratch` holds bytes made here.
// False when a data application is too long to write out.
bool JoinBytes(const Operand& op, std::string* scratch, std::string_view* bytes);

// An integer operand taken apart, with the limbs its leaf carries.
IntText OperandInteger(const Operand& op);

// The double of a number operand: a real as stored, an integer through
// strtod of its decimal text, a `numb` exactly rounded.
double OperandDouble(const Operand& op);

// The signed 64-bit count of an integer operand (low 64 bits, wrapping).
int64_t OperandCount(const Operand& op);

// The signed 64-bit value of an integer argument (text or list form, by the
// shared integer conversion); false for any other value.
bool IntegerArgument(Cell* c, int64_t* value);

}  // namespace mox
