#include "platform/classlib/win/ccmdtarget.h"

#include "platform/classlib/win/ccmdui.h"
#include "platform/classlib/win/cwinapp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

#define CLASSLIB_CALL(sig) AfxHandler<afxsig::sig>::Call

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT nMessage, UINT nCode, UINT nID) {
  UINT message = entry.nMessage;
  if (entry.pnMessage != nullptr) {
    message = *entry.pnMessage;
    if (message == 0) return false;  // not registered (yet)
  }
  // Codes compare as 16 bits: OnCmdMsg carries them in the low word of its code.
  return message == nMessage && LOWORD(entry.nCode) == LOWORD(nCode) && nID >= entry.nID &&
         nID <= entry.nLastID;
}

// Calls a command, state or notification handler; TRUE when it took the command.
BOOL DispatchCommand(CCmdTarget* target, const AFX_MSGMAP_ENTRY& entry, UINT nID, void* pExtra) {
  auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
  auto* cmdUI = static_cast<CCmdUI*>(pExtra);
  switch (entry.nSig) {
    case AfxSig_cmd_v:
      CLASSLIB_CALL(cmd_v)(target, entry.pfn);
      return TRUE;
    case AfxSig_cmd_b:
      return CLASSLIB_CALL(cmd_b)(target, entry.pfn);
    case AfxSig_cmd_ex:
      return CLASSLIB_CALL(cmd_ex)(target, entry.pfn, nID);
    case AfxSig_cmd_range:
      CLASSLIB_CALL(cmd_range)(target, entry.pfn, nID);
      return TRUE;
    case AfxSig_cmd_ui:
      if (cmdUI == nullptr) return FALSE;
      cmdUI->m_bContinueRouting = FALSE;
      CLASSLIB_CALL(cmd_ui)(target, entry.pfn, cmdUI);
      return !cmdUI->m_bContinueRouting;
    case AfxSig_notify:
      if (notify == nullptr) return FALSE;
      CLASSLIB_CALL(notify)(target, entry.pfn, notify->pNMHDR, notify->pResult);
      return TRUE;
    case AfxSig_notify_b:
      return notify != nullptr && CLASSLIB_CALL(notify_b)(target, entry.pfn, notify->pNMHDR, notify->pResult);
    case AfxSig_notify_range:
      if (notify == nullptr) return FALSE;
      CLASSLIB_CALL(notify_range)(target, entry.pfn, nID, notify->pNMHDR, notify->pResult);
      return TRUE;
    case AfxSig_notify_ex:
      return notify != nullptr &&
             CLASSLIB_CALL(notify_ex)(target, entry.pfn, nID, notify->pNMHDR, notify->pResult);
    default:
      return FALSE;  // a window-message row: not a command
  }
}

}  // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
       map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
      if (Matches(*entry, nMessage, nCode, nID)) return entry;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT message = WM_COMMAND;
  UINT code = static_cast<UINT>(nCode);
  if (nCode != CN_UPDATE_COMMAND_UI) {
    if (HIWORD(code) != 0) message = HIWORD(code);
    code = LOWORD(code);
    // A reflected update request, MAKELONG(CN_UPDATE_COMMAND_UI, WM_REFLECT_BASE + WM_COMMAND), finds the
    // rows of ON_UPDATE_COMMAND_UI_REFLECT, which keep the code whole.
    if (code == 0xFFFF && message == WM_REFLECT_BASE + WM_COMMAND) code = static_cast<UINT>(CN_UPDATE_COMMAND_UI);
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, nID);
  if (entry == nullptr) return FALSE;
  if (pHandlerInfo != nullptr) {
    pHandlerInfo->pTarget = this;
    pHandlerInfo->pEntry = entry;
    return TRUE;
  }
  return DispatchCommand(this, *entry, nID, pExtra);
}

DWORD CCmdTarget::InternalAddRef() { return static_cast<DWORD>(::InterlockedIncrement(&m_dwRef)); }

DWORD CCmdTarget::InternalRelease() {
  LONG left = ::InterlockedDecrement(&m_dwRef);
  if (left == 0) OnFinalRelease();
  return static_cast<DWORD>(left);
}

void CCmdTarget::OnFinalRelease() { delete this; }

IUnknown* CCmdTarget::GetInterface(REFIID) { return nullptr; }

HRESULT CCmdTarget::ExternalQueryInterface(REFIID iid, void** ppvObj) {
  if (ppvObj == nullptr) return E_POINTER;
  *ppvObj = GetInterface(iid);
  if (*ppvObj == nullptr) return E_NOINTERFACE;
  ExternalAddRef();
  return S_OK;
}

void CCmdTarget::BeginWaitCursor() { AfxDoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { AfxDoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { AfxDoWaitCursor(0); }

CWaitCursor::CWaitCursor() { AfxDoWaitCursor(1); }
CWaitCursor::~CWaitCursor() { AfxDoWaitCursor(-1); }
void CWaitCursor::Restore() { AfxDoWaitCursor(0); }
