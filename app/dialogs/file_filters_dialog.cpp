#include "app/dialogs/file_filters_dialog.h"

#include <algorithm>

#include "app/logic/file_filter_edit.h"
#include "engine/listing/file_filter_table.h"
#include "res/resource.h"
#include "ui/msgbox/message_dialogs.h"

namespace {

// The edit is read up to this many characters; anything as long is refused as too long anyway.
constexpr int kLongestRead = 300;

}  // namespace

BEGIN_MESSAGE_MAP(FileFiltersDialog, app::SkinnedDialog)
  ON_BN_CLICKED(IDC_FILTER_REMOVE, OnRemove)
END_MESSAGE_MAP()

FileFiltersDialog::FileFiltersDialog(CWnd* pParentWnd)
    : SkinnedDialog(IDD_FILE_FILTERS, IDB_SKIN_FILE_FILTERS, pParentWnd) {}

BOOL FileFiltersDialog::OnInitDialog() {
  SkinnedDialog::OnInitDialog();
  m_filter.SubclassDlgItem(IDC_FILTER_EDIT, this);
  m_list.SubclassDlgItem(IDC_FILTER_LIST, this);
  m_labels.Attach(*this);
  m_count = std::min(FileFilterTable.count, kFileFilterRows);
  for (uint32_t row = 0; row < m_count; ++row) m_list.AddString(CString::FromUtf16(std::u16string(FileFilterRow(row))));
  m_filter.SetFocus();
  return FALSE;  // the focus is set
}

std::vector<std::u16string> FileFiltersDialog::Entries() const {
  std::vector<std::u16string> entries;
  for (int i = 0; i < m_list.GetCount(); ++i) {
    CString text;
    m_list.GetText(i, text);
    entries.push_back(text.ToUtf16());
  }
  return entries;
}

void FileFiltersDialog::Refuse(const std::u16string& text) {
  MessageText = text;
  MessageKind = msgbox::kError;
  MessageDialog box(this);
  box.DoModal();
}

void FileFiltersDialog::OnOK() {
  CString text;
  m_filter.GetWindowText(text);
  if (text.GetLength() > kLongestRead) text = text.Left(kLongestRead);
  const app::FilterAddResult result = app::CheckFilterToAdd(m_count, text.ToUtf16(), Entries());
  if (result != app::FilterAddResult::kAdded) Refuse(app::FilterRefusalText(result));
  switch (result) {
    case app::FilterAddResult::kAdded:
      m_list.AddString(text);
      ++m_count;
      m_filter.SetWindowText(_T(""));
      m_filter.SetFocus();
      break;
    case app::FilterAddResult::kTableFull:
      break;
    case app::FilterAddResult::kBlank:
      m_filter.SetFocus();
      break;
    case app::FilterAddResult::kTooLong:
      // What fits is shown selected.
      m_filter.SetSel(0, static_cast<int>(kFileFilterRowUnits) - 1);
      m_filter.SendMessage(EM_SCROLLCARET);
      m_filter.SetFocus();
      break;
    case app::FilterAddResult::kDuplicate:
      m_filter.SetFocus();
      m_filter.SetSel(0, -1);
      break;
  }
}

void FileFiltersDialog::OnRemove() {
  const int selected = m_list.GetCurSel();
  if (selected == LB_ERR) return;
  m_list.DeleteString(static_cast<UINT>(selected));
  if (m_count > 0) --m_count;
}

void FileFiltersDialog::OnCancel() {
  app::StoreFileFilters(Entries());
  EndDialog(IDCANCEL);
}
