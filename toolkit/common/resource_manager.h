// CTKPResourceManager: loads the toolkit's strings, menus, toolbars, bitmaps, cursors and dialog
// templates, from the toolkit's resource module when one is set (under CTKPResourceSwitch), else from
// the program's own resources. ShowMessageBox shows a string resource in the class library's box.
#pragma once

#include <windows.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cmenu.h"
#include "toolkit/common/toolbar_resource.h"

// The module holding the toolkit's resources (null: the program's), and its instance handle.
void TKPSetResourceModule(HINSTANCE hModule, HINSTANCE hInstance = nullptr);
HINSTANCE TKPGetResourceModule();

// For its lifetime the class library loads from the toolkit's module (and an application without an
// instance handle has the module's companion); nothing when no module is set.
class CTKPResourceSwitch {
 public:
  CTKPResourceSwitch();
  ~CTKPResourceSwitch();
  CTKPResourceSwitch(const CTKPResourceSwitch&) = delete;
  CTKPResourceSwitch& operator=(const CTKPResourceSwitch&) = delete;

 private:
  HINSTANCE m_hPrevious = nullptr;
  bool m_switched = false;
  bool m_instanceSwitched = false;
};

// A toolbar resource and the bitmap of the same id that holds its buttons' images.
class CTKPToolBarResource {
 public:
  TKToolBarData m_data;
  CBitmap m_bitmap;
};

class CTKPResourceManager {
 public:
  CTKPResourceManager() = default;
  virtual ~CTKPResourceManager();
  virtual BOOL LoadString(CString* pString, UINT nIDResource);
  virtual BOOL LoadMenu(CMenu* pMenu, UINT nIDResource);
  virtual BOOL LoadToolBar(CTKPToolBarResource* pToolBar, UINT nIDResource);
  virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nIDResource);
  virtual HCURSOR LoadCursor(UINT nIDResource);
  // The locked template, or null.
  virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nIDResource);
  virtual void FreeResourceDll();

  // The string resource in the class library's message box; its answer.
  int ShowMessageBox(UINT nIDPrompt, UINT nType = MB_OK);

  BOOL m_bValid = TRUE;
  HMODULE m_hResourceFile = nullptr;  // a resource library this manager loaded and frees
};

CTKPResourceManager* TKPResourceManager();
