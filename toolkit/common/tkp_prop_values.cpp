#include "toolkit/common/tkp_prop_values.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/classlib/cmemfile.h"

namespace {

// The variant numbers in the order of CTKPVariant::Value's alternatives.
constexpr CTKPVariant::Type kTypes[] = {
    CTKPVariant::vtEmpty, CTKPVariant::vtNull, CTKPVariant::vtI2,   CTKPVariant::vtI4,
    CTKPVariant::vtR4,    CTKPVariant::vtR8,   CTKPVariant::vtCy,   CTKPVariant::vtDate,
    CTKPVariant::vtBstr,  CTKPVariant::vtBool, CTKPVariant::vtUI1,
};
static_assert(std::size(kTypes) == std::variant_size_v<CTKPVariant::Value>, "one number per held type");

// Text is read in pieces, so that a huge stored length fails at the end of the data before it costs memory.
constexpr DWORD kBstrChunk = 4096;

[[noreturn]] void Refuse() { AfxThrowArchiveException(CArchiveException::generic); }

// The alternative of a variant number with its value read from the archive.
CTKPVariant ReadValue(CArchive& ar, WORD type) {
  switch (type) {
    case CTKPVariant::vtEmpty: return {};
    case CTKPVariant::vtNull: return CTKPVariant::Null{};
    case CTKPVariant::vtI2: { short n; ar >> n; return static_cast<std::int16_t>(n); }
    case CTKPVariant::vtI4: { int n; ar >> n; return static_cast<std::int32_t>(n); }
    case CTKPVariant::vtR4: { float f; ar >> f; return f; }
    case CTKPVariant::vtR8: { double d; ar >> d; return d; }
    case CTKPVariant::vtCy: { LONGLONG n; ar >> n; return CTKPVariant::Currency{n}; }
    case CTKPVariant::vtDate: {
      double d;
      ar >> d;
      if (!TKPIsOleDate(d)) Refuse();
      return CTKPVariant::Date{d};
    }
    case CTKPVariant::vtBstr: return TKPReadBstr(ar);
    case CTKPVariant::vtBool: { WORD w; ar >> w; return w != 0; }
    case CTKPVariant::vtUI1: { BYTE b; ar >> b; return static_cast<std::uint8_t>(b); }
    default: AfxThrowArchiveException(CArchiveException::badClass);  // a type no writer makes
  }
}

}  // namespace

bool TKPIsOleDate(double dt) {
  // 1 January 100 to the end of 31 December 9999.
  return std::isfinite(dt) && dt >= -657434.0 && dt < 2958466.0;
}

CTKPVariant::Type CTKPVariant::GetType() const { return kTypes[m_value.index()]; }

// ---- archive forms ----

void TKPWriteBstr(CArchive& ar, const std::u16string& text) {
  ar.WriteCount(static_cast<DWORD>(text.size()));
  for (char16_t unit : text) ar << static_cast<WORD>(unit);
}

std::u16string TKPReadBstr(CArchive& ar) {
  const DWORD length = ar.ReadCount();
  std::u16string text;
  std::vector<BYTE> chunk;
  for (DWORD done = 0; done < length;) {
    const DWORD n = std::min(length - done, kBstrChunk);
    chunk.resize(n * 2);
    if (ar.Read(chunk.data(), static_cast<UINT>(chunk.size())) != chunk.size()) {
      AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    for (DWORD i = 0; i < n; ++i) text += static_cast<char16_t>(chunk[2 * i] | chunk[2 * i + 1] << 8);
    done += n;
  }
  return text;
}

CArchive& operator<<(CArchive& ar, const CTKPDateTime& dateTime) {
  return ar << static_cast<int>(dateTime.m_status) << dateTime.m_dt;
}

CArchive& operator>>(CArchive& ar, CTKPDateTime& dateTime) {
  int status;
  double dt;
  ar >> status >> dt;
  if (status < CTKPDateTime::valid || status > CTKPDateTime::null) Refuse();
  if (status == CTKPDateTime::valid && !TKPIsOleDate(dt)) Refuse();
  dateTime = CTKPDateTime(dt, static_cast<CTKPDateTime::DateTimeStatus>(status));
  return ar;
}

CArchive& operator<<(CArchive& ar, const CTKPVariant& variant) {
  ar << static_cast<WORD>(variant.GetType());
  std::visit(
      [&ar](const auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::int16_t>) ar << static_cast<short>(value);
        if constexpr (std::is_same_v<T, std::int32_t>) ar << static_cast<int>(value);
        if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) ar << value;
        if constexpr (std::is_same_v<T, CTKPVariant::Currency>) ar << static_cast<LONGLONG>(value.value);
        if constexpr (std::is_same_v<T, CTKPVariant::Date>) ar << value.value;
        if constexpr (std::is_same_v<T, std::u16string>) TKPWriteBstr(ar, value);
        if constexpr (std::is_same_v<T, bool>) ar << static_cast<WORD>(value ? 0xFFFF : 0);
        if constexpr (std::is_same_v<T, std::uint8_t>) ar << static_cast<BYTE>(value);
      },
      variant.GetValue());
  return ar;
}

CArchive& operator>>(CArchive& ar, CTKPVariant& variant) {
  WORD type;
  ar >> type;
  variant = ReadValue(ar, type);
  return ar;
}

// ---- as bytes ----

std::vector<BYTE> TKPArchiveStore(const std::function<void(CArchive&)>& write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  const auto size = static_cast<size_t>(file.GetLength());
  BYTE* data = file.Detach();
  std::vector<BYTE> bytes(data, data + size);
  std::free(data);
  return bytes;
}

template <class T>
std::vector<BYTE> TKPArchiveBytes(const T& value) {
  return TKPArchiveStore([&value](CArchive& ar) { ar << value; });
}

template <class T>
bool TKPFromArchiveBytes(const BYTE* pData, size_t nSize, T* pValue) {
  if (pData == nullptr || nSize == 0 || nSize > 0x7FFFFFFF) return false;
  std::vector<BYTE> copy(pData, pData + nSize);
  CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
  try {
    CArchive ar(&file, CArchive::load);
    T value;
    ar >> value;
    BYTE extra;
    if (ar.Read(&extra, 1) != 0) return false;  // more than one value
    *pValue = std::move(value);
    return true;
  } catch (CArchiveException* e) {
    e->Delete();
    return false;
  }
}

template std::vector<BYTE> TKPArchiveBytes(const CTKPDateTime&);
template std::vector<BYTE> TKPArchiveBytes(const CTKPVariant&);
template bool TKPFromArchiveBytes(const BYTE*, size_t, CTKPDateTime*);
template bool TKPFromArchiveBytes(const BYTE*, size_t, CTKPVariant*);
