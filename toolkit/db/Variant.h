#pragma once
// The dynamic value: null, empty, integers, floats, currency, date-time, boolean, text,
// wide text and packed decimal.
#include <cstdint>
#include <string>
#include <variant>

#include "toolkit/db/BcdRecord.h"
#include "toolkit/db/DBTypes.h"

namespace db {

enum class TVarType {
  Null, Empty, SmallInt, Integer, Word, Byte, Int64, Single, Double, Currency, Date, Boolean,
  String, WideString, Bcd
};

struct TVarEmpty {
  bool operator==(const TVarEmpty&) const = default;
};
// Currency: a 64-bit integer scaled by 10000.
struct TCurrency {
  int64_t Scaled = 0;
  bool operator==(const TCurrency&) const = default;
};
struct TVarDate {
  TDateTime Value = 0;
  bool operator==(const TVarDate&) const = default;
};

class Variant {
 public:
  // Alternative order matches TVarType.
  using Storage = std::variant<std::monostate, TVarEmpty, int16_t, int32_t, uint16_t, uint8_t,
                               int64_t, float, double, TCurrency, TVarDate, bool, std::string,
                               std::u16string, TBcdRecord>;

  Variant() = default;
  Variant(int16_t v) : value_(v) {}
  Variant(int32_t v) : value_(v) {}
  Variant(uint16_t v) : value_(v) {}
  Variant(uint8_t v) : value_(v) {}
  Variant(int64_t v) : value_(v) {}
  Variant(float v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(TCurrency v) : value_(v) {}
  Variant(TVarDate v) : value_(v) {}
  Variant(bool v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(std::u16string v) : value_(std::move(v)) {}
  Variant(const TBcdRecord& v) : value_(v) {}

  static Variant Null() { return Variant(); }
  static Variant Empty() {
    Variant v;
    v.value_ = TVarEmpty{};
    return v;
  }
  static Variant FromDateTime(TDateTime t) { return Variant(TVarDate{t}); }

  TVarType VarType() const { return static_cast<TVarType>(value_.index()); }
  bool IsNull() const { return VarType() == TVarType::Null; }
  bool IsEmpty() const { return VarType() == TVarType::Empty; }
  bool IsNullOrEmpty() const { return IsNull() || IsEmpty(); }

  template <typename T>
  const T& Get() const { return std::get<T>(value_); }
  const Storage& Raw() const { return value_; }

  bool operator==(const Variant& other) const { return value_ == other.value_; }

 private:
  Storage value_;
};

}  // namespace db
