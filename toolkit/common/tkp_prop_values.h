// The OLE-shaped values a property can hold, in a form that builds everywhere: a date-time (an OLE date,
// days since 30 December 1899 with the time as the fraction, and a status), a BSTR's text (UTF-16, which
// may hold zeros) and a variant (a tagged value of the types the property exchange knows). Their archive
// forms, little-endian:
// - date-time: the status as a 32-bit integer, then the date as an 8-byte IEEE double;
// - BSTR text: its length in UTF-16 units as an archive count, then the units;
// - variant: its type as a 16-bit word (the OLE variant number), then the value: nothing for empty and
//   null, 2 bytes for a short, 4 for a long and a float, 8 for a double, a currency (the amount times
//   10,000 as a 64-bit integer) and a date, 2 for a BOOL (0 or 0xFFFF), 1 for a byte, and the BSTR form.
// Loading refuses what no writer makes (an unknown status or type, a valid date that is not a number
// or lies outside the years 100 to 9999) with a CArchiveException, as it does for data that ends early.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/classlib/carchive.h"

class CTKPDateTime {
 public:
  enum DateTimeStatus : int { valid = 0, invalid = 1, null = 2 };

  CTKPDateTime() = default;
  // dtSrc is an OLE date (a DATE in the Windows build).
  explicit CTKPDateTime(double dtSrc, DateTimeStatus status = valid) : m_dt(dtSrc), m_status(status) {}

  bool operator==(const CTKPDateTime& other) const { return m_status == other.m_status && m_dt == other.m_dt; }
  bool operator!=(const CTKPDateTime& other) const { return !(*this == other); }

  double m_dt = 0;
  DateTimeStatus m_status = valid;
};

// Whether an OLE date can be a valid date-time: a number within the years 100 to 9999.
bool TKPIsOleDate(double dt);

class CTKPVariant {
 public:
  // The OLE variant numbers of the types a variant property holds.
  enum Type : std::uint16_t {
    vtEmpty = 0, vtNull = 1, vtI2 = 2, vtI4 = 3, vtR4 = 4, vtR8 = 5, vtCy = 6, vtDate = 7, vtBstr = 8,
    vtBool = 11, vtUI1 = 17,
  };
  struct Null {
    bool operator==(const Null&) const { return true; }
  };
  struct Currency {  // the amount times 10,000
    std::int64_t value = 0;
    bool operator==(const Currency& other) const { return value == other.value; }
  };
  struct Date {  // an OLE date
    double value = 0;
    bool operator==(const Date& other) const { return value == other.value; }
  };
  // In the order of kTypes in the source: the alternative's index names its type.
  using Value = std::variant<std::monostate, Null, std::int16_t, std::int32_t, float, double, Currency, Date,
                             std::u16string, bool, std::uint8_t>;

  CTKPVariant() = default;
  // A value of any held type converts.
  template <class T, class = std::enable_if_t<!std::is_same_v<std::decay_t<T>, CTKPVariant> &&
                                              std::is_constructible_v<Value, T>>>
  CTKPVariant(T value) : m_value(std::move(value)) {}  // NOLINT(google-explicit-constructor)

  Type GetType() const;
  const Value& GetValue() const { return m_value; }
  template <class T>
  const T* Get() const { return std::get_if<T>(&m_value); }

  // Same type and same value (texts exactly).
  bool operator==(const CTKPVariant& other) const { return m_value == other.m_value; }
  bool operator!=(const CTKPVariant& other) const { return !(*this == other); }

 private:
  Value m_value;
};

void TKPWriteBstr(CArchive& ar, const std::u16string& text);
std::u16string TKPReadBstr(CArchive& ar);
CArchive& operator<<(CArchive& ar, const CTKPDateTime& dateTime);
CArchive& operator>>(CArchive& ar, CTKPDateTime& dateTime);
CArchive& operator<<(CArchive& ar, const CTKPVariant& variant);
CArchive& operator>>(CArchive& ar, CTKPVariant& variant);

// What the writer stores into an archive, as bytes.
std::vector<BYTE> TKPArchiveStore(const std::function<void(CArchive&)>& write);
// A value's archive form as bytes, and back; reading wants the bytes to hold exactly one value.
template <class T>
std::vector<BYTE> TKPArchiveBytes(const T& value);
template <class T>
bool TKPFromArchiveBytes(const BYTE* pData, size_t nSize, T* pValue);
