// The customize menu's button images on the clipboard: a control's image copied as a bitmap (and in the
// image manager's own form), and pasted onto a control as its own custom icon.
#pragma once

#include <windows.h>

class CTKPControl;
class CWnd;

// The id of the image a control shows: its custom icon, else its icon id, else its command.
UINT TKPControlImageId(const CTKPControl* pControl);
BOOL TKPCopyButtonImage(CWnd* pOwner, CTKPControl* pControl);
// The image manager's own form when the clipboard holds it, else the bitmap masked by the button face.
BOOL TKPPasteButtonImage(CWnd* pOwner, CTKPControl* pControl);
BOOL TKPCanPasteButtonImage();
