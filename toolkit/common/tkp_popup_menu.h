// TKPTrackPopupMenu: the toolkit controls' context menus. Shown as a command-bar popup in the current
// theme, with the icons of a toolbar resource, when the command bars are present (they register
// themselves as the host below); the plain system menu otherwise.
#pragma once

#include <windows.h>

class CTKPImageManager;

// A popup bar of the command bars, as the tracker uses it.
class ITKPPopupBar {
 public:
  virtual ~ITKPPopupBar() = default;
  // The bar owns the image manager from then on.
  virtual void SetImageManager(CTKPImageManager* pImageManager) = 0;
  virtual BOOL LoadMenu(HMENU hMenu, BOOL bRemoveControls) = 0;
  // The chosen command with TPM_RETURNCMD, else a success flag.
  virtual UINT Track(UINT nFlags, int x, int y, HWND hWndOwner) = 0;
  // Lets go of the bar (it is reference-counted).
  virtual void Release() = 0;
};

class ITKPPopupMenuHost {
 public:
  virtual ~ITKPPopupMenuHost() = default;
  virtual BOOL HasPaintManager() = 0;
  // Installs the default command-bar theme.
  virtual void SetDefaultTheme() = 0;
  virtual ITKPPopupBar* CreatePopupBar() = 0;
};

// The command bars register here; null: the system menu is used.
void TKPSetPopupMenuHost(ITKPPopupMenuHost* pHost);
ITKPPopupMenuHost* TKPGetPopupMenuHost();

// With TPM_RETURNCMD the chosen command (0 for none), otherwise a success flag. nIDToolBar > 0: the
// icons of that toolbar resource go beside the commands of the themed menu.
UINT TKPTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner, int nIDToolBar = 0);
