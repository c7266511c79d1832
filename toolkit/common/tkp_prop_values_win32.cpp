#include "toolkit/common/tkp_prop_values_win32.h"

static_assert(sizeof(OLECHAR) == sizeof(char16_t), "a BSTR holds UTF-16 units");

BSTR TKPAllocBstr(const std::u16string& text) {
  return ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

std::u16string TKPBstrText(BSTR bstr) {
  if (bstr == nullptr) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(bstr), ::SysStringLen(bstr));
}

BOOL TKPToVariant(const CTKPVariant& value, VARIANT* pvarDest) {
  ::VariantClear(pvarDest);
  VARIANT var;
  ::VariantInit(&var);
  var.vt = static_cast<VARTYPE>(value.GetType());
  if (auto p = value.Get<std::int16_t>()) var.iVal = *p;
  if (auto p = value.Get<std::int32_t>()) var.lVal = *p;
  if (auto p = value.Get<float>()) var.fltVal = *p;
  if (auto p = value.Get<double>()) var.dblVal = *p;
  if (auto p = value.Get<CTKPVariant::Currency>()) var.cyVal.int64 = p->value;
  if (auto p = value.Get<CTKPVariant::Date>()) var.date = p->value;
  if (auto p = value.Get<bool>()) var.boolVal = *p ? VARIANT_TRUE : VARIANT_FALSE;
  if (auto p = value.Get<std::uint8_t>()) var.bVal = *p;
  if (auto p = value.Get<std::u16string>()) {
    var.bstrVal = TKPAllocBstr(*p);
    if (var.bstrVal == nullptr) return FALSE;
  }
  *pvarDest = var;
  return TRUE;
}

BOOL TKPFromVariant(const VARIANT& varSrc, CTKPVariant* pValue) {
  switch (varSrc.vt) {
    case VT_EMPTY: *pValue = CTKPVariant(); return TRUE;
    case VT_NULL: *pValue = CTKPVariant::Null{}; return TRUE;
    case VT_I2: *pValue = std::int16_t{varSrc.iVal}; return TRUE;
    case VT_I4: *pValue = std::int32_t{varSrc.lVal}; return TRUE;
    case VT_R4: *pValue = varSrc.fltVal; return TRUE;
    case VT_R8: *pValue = varSrc.dblVal; return TRUE;
    case VT_CY: *pValue = CTKPVariant::Currency{varSrc.cyVal.int64}; return TRUE;
    case VT_DATE:
      if (!TKPIsOleDate(varSrc.date)) return FALSE;  // what an archive would refuse
      *pValue = CTKPVariant::Date{varSrc.date};
      return TRUE;
    case VT_BSTR: *pValue = TKPBstrText(varSrc.bstrVal); return TRUE;
    case VT_BOOL: *pValue = varSrc.boolVal != VARIANT_FALSE; return TRUE;
    case VT_UI1: *pValue = std::uint8_t{varSrc.bVal}; return TRUE;
    default: return FALSE;
  }
}
