// CCmdTarget: an object with a message map that commands are routed to, and the reference count of
// the objects that live as long as someone holds them.
//
// Command routing: a command goes to the window that owns the menu, button or accelerator; that
// window's OnCmdMsg searches its own map. Classes that pass commands on override OnCmdMsg and ask the
// next targets in their order: a frame asks its active view (which asks its document), then itself,
// then the application (see README.md).
#pragma once

#include <windows.h>

#include "platform/classlib/cobject.h"
#include "platform/classlib/win/msgmap.h"

struct IUnknown;

// Filled by OnCmdMsg when the caller only asks whether a handler exists (it is then not called).
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  const AFX_MSGMAP_ENTRY* pEntry;
};

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;
  ~CCmdTarget() override = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;

  // nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra a CCmdUI*), or MAKELONG(notification, message)
  // (pExtra an AFX_NOTIFY* for WM_NOTIFY). With pHandlerInfo the handler is only looked up.
  // TRUE when a handler took it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // The reference count starts at 1 (the creator's); the last release runs OnFinalRelease, which
  // deletes the object.
  DWORD InternalAddRef();
  DWORD InternalRelease();
  virtual void OnFinalRelease();
  LONG m_dwRef = 1;

  // COM: the interfaces an object carries answer from GetInterface (none by default); a client's
  // references are the object's own count, so a held interface keeps the object alive.
  virtual IUnknown* GetInterface(REFIID iid);
  HRESULT ExternalQueryInterface(REFIID iid, void** ppvObj);
  DWORD ExternalAddRef() { return InternalAddRef(); }
  DWORD ExternalRelease() { return InternalRelease(); }

  // The application's wait cursor (counted; RestoreWaitCursor shows it again after something else
  // changed the cursor).
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  static const AFX_MSGMAP* GetThisMessageMap();

 protected:
  virtual const AFX_MSGMAP* GetMessageMap() const;

  // The first row of this object's maps (searched from the class to its bases) for that message,
  // code and id; null when none.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

  friend class CWnd;
};

// Shows the wait cursor for its lifetime.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore();
};
