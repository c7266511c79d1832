#include "platform/classlib/win/colevariant.h"

#include "platform/classlib/win/coleexception.h"

COleVariant::COleVariant() { ::VariantInit(this); }

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc) {
  ::VariantInit(this);
  if (vtSrc == VT_BOOL) {
    vt = VT_BOOL;
    boolVal = nSrc != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    vt = VT_I2;
    iVal = nSrc;
  }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc) {
  ::VariantInit(this);
  if (vtSrc == VT_ERROR) {
    vt = VT_ERROR;
    scode = lSrc;
  } else {
    vt = VT_I4;
    lVal = lSrc;
  }
}

COleVariant::COleVariant(LPCTSTR lpszSrc) {
  ::VariantInit(this);
  vt = VT_BSTR;
  bstrVal = ::SysAllocString(lpszSrc != nullptr ? lpszSrc : L"");
  if (bstrVal == nullptr) {
    vt = VT_EMPTY;
    AfxThrowMemoryException();
  }
}

COleVariant::COleVariant(const COleVariant& varSrc) : tagVARIANT() {
  ::VariantInit(this);
  if (FAILED(::VariantCopy(this, const_cast<COleVariant*>(&varSrc)))) AfxThrowMemoryException();
}

COleVariant& COleVariant::operator=(const COleVariant& varSrc) {
  if (this != &varSrc && FAILED(::VariantCopy(this, const_cast<COleVariant*>(&varSrc)))) AfxThrowMemoryException();
  return *this;
}

COleVariant::~COleVariant() { ::VariantClear(this); }

void COleVariant::Clear() { ::VariantClear(this); }

COleVariant OmittedArgument() { return COleVariant(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR); }
