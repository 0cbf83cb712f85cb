// The mathematical members: the real functions of one and two reals, the
// mixed frexp, ldexp and modf, abs and labs on 64 bits, rand and srand, and
// the byte-order conversions of integers.
//
// rand answers within 0..rand_max (32767): the host's generator reaches
// 2^31 - 1, so its upper fifteen bits are taken. srand seeds that generator.
#include <arpa/inet.h>

#include <cmath>
#include <cstdlib>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

// On 64 bits; the most negative value is its own magnitude there (wrapping).
int64_t Abs64(int64_t v) { return v < 0 ? static_cast<int64_t>(0 - static_cast<uint64_t>(v)) : v; }

int Rand15() { return std::rand() >> 16; }

template <double (*F)(double)>
constexpr BuiltinBinding Real1(const char* name) {
  return PureCFunction<F, Real(Real)>(name);
}

template <double (*F)(double, double)>
constexpr BuiltinBinding Real2(const char* name) {
  return PureCFunction<F, Real(Real, Real)>(name);
}

constexpr BuiltinBinding kMaths[] = {
    Real1<std::acos>("acos"),
    Real1<std::asin>("asin"),
    Real1<std::atan>("atan"),
    Real1<std::ceil>("ceil"),
    Real1<std::cos>("cos"),
    Real1<std::cosh>("cosh"),
    Real1<std::erf>("erf"),
    Real1<std::erfc>("erfc"),
    Real1<std::exp>("exp"),
    Real1<std::fabs>("fabs"),
    Real1<std::floor>("floor"),
    Real1<std::log>("log"),
    Real1<std::sin>("sin"),
    Real1<std::sinh>("sinh"),
    Real1<std::sqrt>("sqrt"),
    Real1<std::tan>("tan"),
    Real1<std::tanh>("tanh"),
    Real2<std::fmod>("fmod"),
    Real2<std::hypot>("hypot"),
    Real2<std::nextafter>("nextafter"),
    Real2<std::pow>("pow"),
    CFunction<As<double(double, int*)>(std::frexp), Real(Real, Integer)>("frexp"),
    PureCFunction<As<double(double, int)>(std::ldexp), Real(Real, Integer)>("ldexp"),
    CFunction<As<double(double, double*)>(std::modf), Real(Real, Integer)>("modf"),
    PureCFunction<Abs64, Number(Integer)>("abs"),
    PureCFunction<Abs64, Number(Integer)>("labs"),
    PureCFunction<Rand15, Number()>("rand"),
    PureCFunction<std::srand, Unit(Integer)>("srand"),
    PureCFunction<As<uint32_t(uint32_t)>(htonl), Number(Integer)>("htonl"),
    PureCFunction<As<uint16_t(uint16_t)>(htons), Number(Integer)>("htons"),
    PureCFunction<As<uint32_t(uint32_t)>(ntohl), Unsigned(Integer)>("ntohl"),
    PureCFunction<As<uint16_t(uint16_t)>(ntohs), Unsigned(Integer)>("ntohs"),
};

}  // namespace

BuiltinFamily MathsBuiltins() { return kMaths; }

}  // namespace mox
