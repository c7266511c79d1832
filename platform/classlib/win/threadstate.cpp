#include "platform/classlib/win/threadstate.h"

#include <algorithm>

#include "platform/classlib/win/handlemap.h"

namespace {
// Made on first use and freed by AfxTermThreadState; the main thread's lives until the process ends,
// so that objects destroyed at exit still find it.
thread_local AFX_THREAD_STATE* t_state = nullptr;
}  // namespace

AFX_THREAD_STATE* AfxGetThreadState() {
  if (t_state == nullptr) t_state = new AFX_THREAD_STATE;
  return t_state;
}

void AfxTermThreadState() {
  if (t_state == nullptr) return;
  t_state->m_nTempMapLock = 0;
  AfxDeleteTempMaps();
  if (t_state->m_hHookCbt != nullptr) ::UnhookWindowsHookEx(t_state->m_hHookCbt);
  delete t_state;
  t_state = nullptr;
}

void AfxRegisterTempMap(void (*deleteTemporaries)()) {
  auto& cleaners = AfxGetThreadState()->m_tempMapCleaners;
  if (std::find(cleaners.begin(), cleaners.end(), deleteTemporaries) == cleaners.end()) {
    cleaners.push_back(deleteTemporaries);
  }
}

void AfxDeleteTempMaps() {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  if (state->m_nTempMapLock != 0) return;
  for (auto cleaner : state->m_tempMapCleaners) cleaner();
}

CPushRoutingFrame::CPushRoutingFrame(CWnd* pNewFrame) : m_pState(AfxGetThreadState()) {
  m_pOldFrame = m_pState->m_pRoutingFrame;
  m_pState->m_pRoutingFrame = pNewFrame;
}

CPushRoutingFrame::~CPushRoutingFrame() { m_pState->m_pRoutingFrame = m_pOldFrame; }
