#include "app/pages/file_dialog_ex.h"

#include <commdlg.h>

#include "platform/seams/seams.h"

CFileDialogEx::CFileDialogEx(BOOL openFileDialog, LPCTSTR defaultExtension, LPCTSTR fileName, DWORD flags,
                             LPCTSTR filter, CWnd* parent)
    : m_open(openFileDialog),
      m_defaultExtension(defaultExtension != nullptr ? defaultExtension : _T("")),
      m_initialName(fileName != nullptr ? fileName : _T("")),
      m_filter(filter != nullptr ? filter : _T("")),
      m_flags(flags | OFN_EXPLORER),
      m_owner(parent != nullptr ? parent->GetSafeHwnd() : nullptr) {}

INT_PTR CFileDialogEx::DoModal() {
  seams::FileDialogRequest request;
  request.owner = m_owner;
  request.open = m_open != FALSE;
  request.title = m_title.ToUtf16();
  request.filter = m_filter.ToUtf16();
  request.defaultExtension = m_defaultExtension.ToUtf16();
  request.initialName = m_initialName.ToUtf16();
  request.flags = m_flags;
  const seams::FileDialogResult result = seams::FileDialogs().ChooseFiles(request);
  m_paths = result.ok ? result.paths : std::vector<std::u16string>{};
  return result.ok && !m_paths.empty() ? IDOK : IDCANCEL;
}

CString CFileDialogEx::GetPathName() const {
  return m_paths.empty() ? CString() : CString::FromUtf16(m_paths.front());
}

POSITION CFileDialogEx::GetStartPosition() const {
  return m_paths.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1));
}

CString CFileDialogEx::GetNextPathName(POSITION& position) const {
  const size_t index = static_cast<size_t>(reinterpret_cast<UINT_PTR>(position)) - 1;
  if (position == nullptr || index >= m_paths.size()) {
    position = nullptr;
    return CString();
  }
  position = index + 1 < m_paths.size() ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(index + 2)) : nullptr;
  return CString::FromUtf16(m_paths[index]);
}
