// COleVariant: a VARIANT that frees what it holds. Built from numbers of a chosen type (VT_I2, VT_I4,
// VT_BOOL, VT_ERROR for an omitted argument) or from text (a BSTR).
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include "platform/classlib/cstring.h"

class COleVariant : public tagVARIANT {
 public:
  COleVariant();
  // vtSrc: VT_I2 or VT_BOOL.
  COleVariant(short nSrc, VARTYPE vtSrc);
  // vtSrc: VT_I4 or VT_ERROR.
  COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
  // A BSTR; an allocation that fails throws CMemoryException.
  COleVariant(LPCTSTR lpszSrc);
  COleVariant(const COleVariant& varSrc);
  COleVariant& operator=(const COleVariant& varSrc);
  ~COleVariant();

  void Clear();
  operator LPVARIANT() { return this; }
  operator const VARIANT*() const { return this; }
};

// An argument left to the server: VT_ERROR holding DISP_E_PARAMNOTFOUND.
COleVariant OmittedArgument();
