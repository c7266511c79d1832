// The customize menu's button images: a control's image on the clipboard as a bitmap (and in the image
// manager's own form), pasted onto a control as its own custom icon, or edited in the button editor.
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
// The button editor on the control's image; on OK the edited image becomes the control's own icon.
BOOL TKPEditButtonImage(CWnd* pOwner, CTKPControl* pControl);
