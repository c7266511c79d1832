#include "toolkit/commandbars/tkp_customize_custom_bars.h"

#include <string>
#include <vector>

#include "platform/classlib/win/cwinapp.h"
#include "toolkit/commandbars/tkp_command_bars.h"
#include "toolkit/commandbars/tkp_control.h"
#include "toolkit/commandbars/tkp_customize_logic.h"
#include "toolkit/commandbars/tkp_tool_bar.h"

namespace {

constexpr size_t kMaxControls = 256;

CString Section(LPCTSTR lpszProfileName) { return CString(lpszProfileName) + _T("-CustomBars"); }

CString Entry(LPCTSTR name, int index) {
  CString entry;
  entry.Format(_T("%s%d"), name, index);
  return entry;
}

CTKPToolBar* CustomBar(CTKPCommandBar* bar) {
  CTKPToolBar* toolbar = dynamic_cast<CTKPToolBar*>(bar);
  return toolbar != nullptr && !toolbar->IsBuiltIn() ? toolbar : nullptr;
}

// A separator is kept as 0 before the control that begins a group.
std::vector<unsigned> CommandIds(CTKPToolBar* bar) {
  std::vector<unsigned> ids;
  for (int i = 0; i < bar->GetControlCount(); ++i) {
    CTKPControl* control = bar->GetControl(i);
    if (control->IsTemporary() || control->GetID() <= 0) continue;
    if (control->GetBeginGroup() && !ids.empty()) ids.push_back(0);
    ids.push_back(static_cast<unsigned>(control->GetID()));
  }
  return ids;
}

bool Taken(CTKPCommandBars* bars, const CString& title, unsigned id) {
  for (int i = 0; i < bars->GetCount(); ++i) {
    if (bars->GetAt(i)->GetTitle() == title || bars->GetAt(i)->GetBarID() == id) return true;
  }
  return false;
}

}  // namespace

void TKPSaveCustomBars(CTKPCommandBars* pCommandBars, LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (pCommandBars == nullptr || app == nullptr) return;
  const CString section = Section(lpszProfileName);
  int count = 0;
  for (int i = 0; i < pCommandBars->GetCount(); ++i) {
    CTKPToolBar* bar = CustomBar(pCommandBars->GetAt(i));
    if (bar == nullptr) continue;
    const std::u16string ids = tkpcust::FormatControlIds(CommandIds(bar));
    app->WriteProfileString(section, Entry(_T("Title"), count), bar->GetTitle());
    app->WriteProfileInt(section, Entry(_T("Id"), count), static_cast<int>(bar->GetBarID()));
    app->WriteProfileInt(section, Entry(_T("Visible"), count), bar->IsVisible() ? 1 : 0);
    app->WriteProfileString(section, Entry(_T("Controls"), count), reinterpret_cast<LPCTSTR>(ids.c_str()));
    ++count;
  }
  app->WriteProfileInt(section, _T("Count"), count);
}

void TKPLoadCustomBars(CTKPCommandBars* pCommandBars, LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (pCommandBars == nullptr || app == nullptr) return;
  const CString section = Section(lpszProfileName);
  const int count = static_cast<int>(app->GetProfileInt(section, _T("Count"), 0));
  const int most = static_cast<int>(tkpcust::kLastCustomToolbarId - tkpcust::kFirstCustomToolbarId);
  for (int i = 0; i < count && i < most; ++i) {
    const CString title = app->GetProfileString(section, Entry(_T("Title"), i));
    const unsigned id = app->GetProfileInt(section, Entry(_T("Id"), i), 0);
    const CString text = app->GetProfileString(section, Entry(_T("Controls"), i));
    std::vector<unsigned> ids;
    const std::u16string utf16(reinterpret_cast<const char16_t*>(text.GetString()), text.GetLength());
    if (title.IsEmpty() || !tkpcust::IsCustomToolbarId(id) || Taken(pCommandBars, title, id) ||
        !tkpcust::ParseControlIds(utf16, kMaxControls, &ids)) {
      continue;
    }
    CTKPToolBar* bar = pCommandBars->Add(title, tkpBarTop);
    if (bar == nullptr) continue;
    bar->SetBarID(id);
    bar->SetBuiltIn(FALSE);
    std::vector<UINT> buttons(ids.begin(), ids.end());
    if (!buttons.empty()) bar->SetButtons(buttons.data(), static_cast<int>(buttons.size()));
    if (app->GetProfileInt(section, Entry(_T("Visible"), i), 1) == 0) bar->SetVisible(FALSE);
  }
  pCommandBars->RecalcFrameLayout();
}
