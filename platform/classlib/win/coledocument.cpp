#include "platform/classlib/win/coledocument.h"

#include "platform/classlib/win/cframewnd.h"
#include "platform/classlib/win/cview.h"
#include "platform/classlib/win/threadstate.h"

// ---- the item ----------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleClientItem, CCmdTarget)

COleClientItem::COleClientItem(COleDocument* pContainerDoc) {
  if (pContainerDoc != nullptr) pContainerDoc->AddItem(this);
}

COleClientItem::~COleClientItem() {
  if (m_pDocument != nullptr) m_pDocument->RemoveItem(this);
  SetOleObject(nullptr);
}

void COleClientItem::SetOleObject(IOleObject* pObject) {
  if (pObject != nullptr) pObject->AddRef();
  if (m_lpObject != nullptr) m_lpObject->Release();
  m_lpObject = pObject;
  m_nItemState = pObject != nullptr ? loadedState : emptyState;
}

BOOL COleClientItem::DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg) {
  if (m_lpObject == nullptr) return FALSE;
  HWND hwnd = pView != nullptr ? pView->GetSafeHwnd() : nullptr;
  RECT place = {0, 0, 0, 0};
  if (hwnd != nullptr) ::GetClientRect(hwnd, &place);
  return SUCCEEDED(m_lpObject->DoVerb(nVerb, lpMsg, nullptr, 0, hwnd, &place));
}

// ---- the document ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleDocument, CDocument)

BEGIN_MESSAGE_MAP(COleDocument, CDocument)
  ON_COMMAND_EX_RANGE(ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST, OnExecuteVerb)
END_MESSAGE_MAP()

COleDocument::~COleDocument() { COleDocument::DeleteContents(); }

void COleDocument::AddItem(COleClientItem* pItem) {
  if (pItem == nullptr || pItem->m_pDocument == this) return;
  if (pItem->m_pDocument != nullptr) pItem->m_pDocument->RemoveItem(pItem);
  m_items.AddTail(pItem);
  pItem->m_pDocument = this;
}

void COleDocument::RemoveItem(COleClientItem* pItem) {
  if (POSITION pos = m_items.Find(pItem)) {
    m_items.RemoveAt(pos);
    pItem->m_pDocument = nullptr;
  }
}

COleClientItem* COleDocument::GetNextClientItem(POSITION& pos) const {
  return static_cast<COleClientItem*>(m_items.GetNext(pos));
}

COleClientItem* COleDocument::GetPrimarySelectedItem(CView* pView) {
  if (pView == nullptr) return nullptr;
  COleClientItem* selected = nullptr;
  for (POSITION pos = GetStartPosition(); pos != nullptr;) {
    COleClientItem* item = GetNextClientItem(pos);
    if (!pView->IsSelected(item)) continue;
    if (selected != nullptr) return nullptr;  // more than one: none is the primary
    selected = item;
  }
  return selected;
}

void COleDocument::DeleteContents() {
  while (!m_items.IsEmpty()) delete static_cast<COleClientItem*>(m_items.GetHead());  // it leaves the list
  CDocument::DeleteContents();
}

BOOL COleDocument::OnExecuteVerb(UINT nID) {
  CWnd* frame = AfxGetThreadState()->m_pRoutingFrame;
  CView* view = frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(frame)->GetActiveView()
                                                                             : nullptr;
  if (view == nullptr || view->GetDocument() != this) return FALSE;
  COleClientItem* item = GetPrimarySelectedItem(view);
  if (item == nullptr) return FALSE;
  item->DoVerb(static_cast<LONG>(nID - ID_OLE_VERB_FIRST), view);
  return TRUE;
}
