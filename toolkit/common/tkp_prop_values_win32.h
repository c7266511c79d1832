// The property values as the Windows API's OLE types: a BSTR's text as a BSTR and back, a variant as a
// VARIANT and back. A date-time's m_dt is a DATE as it stands.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "toolkit/common/tkp_prop_values.h"

// A new BSTR of the text (zeros inside kept); the caller frees it with SysFreeString. Null when out of
// memory.
BSTR TKPAllocBstr(const std::u16string& text);
// The text of a BSTR, all SysStringLen units; a null BSTR is the empty text.
std::u16string TKPBstrText(BSTR bstr);
// *pvarDest (cleared first) takes the value; FALSE when a BSTR could not be made.
BOOL TKPToVariant(const CTKPVariant& value, VARIANT* pvarDest);
// The value of a VARIANT of a type a variant property holds; FALSE (and *pValue untouched) for any
// other type (arrays, objects, by-reference values, decimals, other integer sizes) and for a date that is
// not a day of the years 100 to 9999.
BOOL TKPFromVariant(const VARIANT& varSrc, CTKPVariant* pValue);
