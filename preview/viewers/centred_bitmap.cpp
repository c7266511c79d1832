#include "preview/viewers/centred_bitmap.h"

#include "platform/classlib/win/cdc.h"
#include "platform/classlib/win/cgdiobject.h"
#include "platform/classlib/win/cwnd.h"
#include "preview/placeholder_picture.h"

bool DrawCentredBitmap(CDC* pDC, CWnd* pWnd, UINT nIDBitmap) {
  CRect client;
  pWnd->GetClientRect(client);
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(nIDBitmap)) return false;
  BITMAP info{};
  bitmap.GetObject(sizeof info, &info);
  CDC memory;
  if (!memory.CreateCompatibleDC(pDC)) return false;
  CBitmap* old = memory.SelectObject(&bitmap);
  const PlaceholderOrigin at = CentredPlaceholder(client.Width(), client.Height(), info.bmWidth, info.bmHeight);
  pDC->BitBlt(at.x, at.y, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  return true;
}
