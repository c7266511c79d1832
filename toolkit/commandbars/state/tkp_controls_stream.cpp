// The stream of customized bars kept between runs: gathered, written to the profile or to a hidden file
// in the application's own folder, read back, checked whole and merged into the live bars. Anyone can
// edit the profile and the file, so a stream is taken only when every part of it reads and is sound;
// otherwise the bars stay exactly as the frame built them.
#include <shlobj.h>

#include <memory>
#include <vector>

#include "platform/classlib/cmemfile.h"
#include "platform/classlib/win/cwinapp.h"
#include "res/toolkit_resource.h"
#include "toolkit/commandbars/state/controls_stream_rules.h"
#include "toolkit/commandbars/state/tkp_command_bar_list.h"
#include "toolkit/commandbars/frame/tkp_command_bars.h"
#include "toolkit/commandbars/controls/tkp_control.h"
#include "toolkit/commandbars/controls/tkp_control_button.h"
#include "toolkit/commandbars/controls/tkp_control_combo_box.h"
#include "toolkit/commandbars/controls/tkp_control_custom.h"
#include "toolkit/commandbars/controls/tkp_control_edit.h"
#include "toolkit/commandbars/controls/tkp_control_popup.h"
#include "toolkit/commandbars/controls/tkp_control_special_lists.h"
#include "toolkit/commandbars/controls/tkp_controls.h"
#include "toolkit/commandbars/customize/tkp_customize_sheet.h"
#include "toolkit/commandbars/bars/tkp_menu_bar.h"
#include "toolkit/commandbars/bars/tkp_popup_bar.h"
#include "toolkit/commandbars/bars/tkp_tool_bar.h"
#include "toolkit/common/tkp_image_manager.h"
#include "toolkit/common/tkp_prop_exchange.h"

static_assert(CTKPImageManager::kLastCommandImageId + 1 == tkpstream::kFirstCustomImageId,
              "the stream takes the ids the image manager gives the user's images");

namespace {

const TCHAR kStreamValue[] = _T("Controls");
const TCHAR kFromFileValue[] = _T("LoadFromFile");

CString ControlsSection(LPCTSTR lpszProfileName) { return CString(lpszProfileName) + _T("-Controls"); }

// ---- the file ----------------------------------------------------------------------------------------

// Written beside its final name and moved over it, so that a failed write leaves the old file whole.
bool WriteStreamFile(const CString& path, const std::vector<BYTE>& bytes) {
  const CString temporary = path + _T(".new");
  HANDLE file = ::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && ::FlushFileBuffers(file);
  ::CloseHandle(file);
  // A hidden file is not replaced by name on every system: it is made plain first.
  ::SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  if (!ok || !::MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary);
    ::SetFileAttributesW(path, FILE_ATTRIBUTE_HIDDEN);
    return false;
  }
  ::SetFileAttributesW(path, FILE_ATTRIBUTE_HIDDEN);
  return true;
}

// The whole file, when it opens and is no larger than a stream can be.
bool ReadStreamFile(const CString& path, std::vector<BYTE>* bytes) {
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
            static_cast<ULONGLONG>(size.QuadPart) <= tkpstream::kMostStreamBytes;
  if (ok) {
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = ::ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) && read == bytes->size();
  }
  ::CloseHandle(file);
  return ok;
}

// ---- what a loaded stream must be ----------------------------------------------------------------------

// The bar's stored type is the one its class is made with (code elsewhere goes by the type).
bool BarTypeFits(CTKPCommandBar* bar) {
  int expected = tkpBarTypeNormal;
  if (bar->IsKindOf(RUNTIME_CLASS(CTKPMenuBar))) {
    expected = tkpBarTypeMenuBar;
  } else if (bar->IsKindOf(RUNTIME_CLASS(CTKPPopupBar)) && !bar->IsKindOf(RUNTIME_CLASS(CTKPPopupToolBar))) {
    expected = tkpBarTypePopup;
  }
  if (auto* popup = dynamic_cast<CTKPPopupBar*>(bar)) {
    const CRect margins = popup->GetMargins();
    if (!tkpstream::IsExtent(margins.left) || !tkpstream::IsExtent(margins.top) ||
        !tkpstream::IsExtent(margins.right) || !tkpstream::IsExtent(margins.bottom) ||
        !tkpstream::IsExtent(popup->GetTearOffWidth())) {
      return false;
    }
  }
  const CSize icons = bar->GetIconSize();
  return tkpstream::IsExtent(bar->GetMRUWidth()) && bar->GetType() == expected && bar->GetPosition() >= tkpBarTop && bar->GetPosition() <= tkpBarNone &&
         icons.cx >= 0 && icons.cy >= 0 && icons.cx <= tkpstream::kMostIconSize && icons.cy <= tkpstream::kMostIconSize;
}

// Likewise for a control: a popup's type is a popup type, an edit's the edit type, and so on.
bool ControlTypeFits(CTKPControl* control) {
  const int type = control->GetType();
  if (control->IsKindOf(RUNTIME_CLASS(CTKPControlComboBox))) return type == tkpControlComboBox;  // a popup too
  if (control->IsKindOf(RUNTIME_CLASS(CTKPControlPopup))) {
    return type == tkpControlPopup || type == tkpControlButtonPopup || type == tkpControlSplitButtonPopup;
  }
  if (control->IsKindOf(RUNTIME_CLASS(CTKPControlEdit))) return type == tkpControlEdit;
  if (control->IsKindOf(RUNTIME_CLASS(CTKPControlCustom))) return type == tkpControlCustom;
  if (control->IsKindOf(RUNTIME_CLASS(CTKPControlLabel))) return type == tkpControlLabel;
  if (control->IsKindOf(RUNTIME_CLASS(CTKPControlButton))) return type == tkpControlButton;
  return type < tkpControlPopup || type > tkpControlLabel;
}

// A grid selector is drawn cell by cell and a hosted window's size is summed into the bar's layout.
bool SizesFit(CTKPControl* control) {
  const auto extent = [](CSize size) { return tkpstream::Extent{size.cx, size.cy}; };
  if (auto* selector = dynamic_cast<CTKPControlSelector*>(control)) {
    return tkpstream::SelectorFits(extent(selector->GetItemsCount()), extent(selector->GetItemsMax()),
                                   extent(selector->GetItemSize()));
  }
  if (auto* custom = dynamic_cast<CTKPControlCustom*>(control)) {
    const CRect borders = custom->GetBorders();
    return tkpstream::HostedWindowFits(borders.left, borders.top, borders.right, borders.bottom,
                                       extent(custom->GetControlSize()));
  }
  return true;
}

// The controls fit their types; the bar ids of the popups among them are added to *ids, their own icons
// to *icons.
bool CheckControls(CTKPControls* controls, std::vector<uint32_t>* ids, std::vector<UINT>* icons) {
  for (CTKPControls* set : {controls, controls != nullptr ? controls->GetOriginalControls() : nullptr}) {
    if (set == nullptr) continue;
    for (int i = 0; i < set->GetCount(); ++i) {
      CTKPControl* control = set->GetAt(i);
      if (!ControlTypeFits(control)) return false;
      if (auto* edit = dynamic_cast<CTKPControlEdit*>(control); edit != nullptr && !tkpstream::IsExtent(edit->GetWidth())) {
        return false;
      }
      if (auto* combo = dynamic_cast<CTKPControlComboBox*>(control); combo != nullptr && !tkpstream::IsExtent(combo->GetWidth())) {
        return false;
      }
      if (!SizesFit(control)) return false;
      if (auto* popup = dynamic_cast<CTKPControlPopup*>(control)) ids->push_back(popup->GetCommandBarId());
      // An image id names the icons read with the stream: only the user's own images may be named.
      const int image = control->GetCustomIconId();
      if (image == 0) continue;
      if (image < 0 || static_cast<uint32_t>(image) < tkpstream::kFirstCustomImageId ||
          static_cast<uint32_t>(image) > tkpstream::kMostCustomImageId) {
        return false;
      }
      icons->push_back(static_cast<UINT>(image));
    }
  }
  return true;
}

bool IsSoundStream(const CTKPCommandBarRefList& list, std::vector<UINT>* icons) {
  std::vector<tkpstream::StreamBar> records;
  for (int i = 0; i < list.GetCount(); ++i) {
    CTKPCommandBar* bar = list.GetAt(i);
    if (!BarTypeFits(bar)) return false;
    tkpstream::StreamBar record;
    record.id = bar->GetBarID();
    record.toolbar = bar->IsKindOf(RUNTIME_CLASS(CTKPToolBar)) != FALSE;
    std::vector<CTKPControls*> sets{bar->GetControls()};
    if (auto* menuBar = dynamic_cast<CTKPMenuBar*>(bar)) {
      for (CTKPControls* menu : menuBar->GetMdiMenus()) sets.push_back(menu);
    }
    for (CTKPControls* set : sets) {
      if (!CheckControls(set, &record.popupIds, icons)) return false;
      CTKPControls* originals = set != nullptr ? set->GetOriginalControls() : nullptr;
      record.controls += (set != nullptr ? set->GetCount() : 0) + (originals != nullptr ? originals->GetCount() : 0);
    }
    records.push_back(std::move(record));
  }
  std::string why;
  return tkpstream::CheckLinks(records, &why);
}

// The icons read with a stream that was taken join the manager's images.
void TakeCustomIcons(CTKPImageManager* from, CTKPImageManager* to, const std::vector<UINT>& icons) {
  for (UINT id : icons) {
    if (from->GetIconSet(id) == nullptr) continue;
    try {
      CMemFile file(1024);
      CArchive store(&file, CArchive::store);
      from->SerializeIcons(id, store);
      store.Close();
      file.SeekToBegin();
      CArchive load(&file, CArchive::load);
      to->SerializeIcons(id, load);
      load.Close();
    } catch (CException* e) {
      e->Delete();
    }
  }
}

// The existing bar takes the loaded one's controls; without loaded originals it keeps its own.
void CopyLoadedBar(CTKPToolBar* existing, CTKPToolBar* loaded) {
  CTKPControls* own = existing->GetControls()->GetOriginalControls();
  if (own != nullptr) own->InternalAddRef();
  const bool keepOwn = loaded->GetControls()->GetOriginalControls() == nullptr;
  existing->Copy(loaded, FALSE);
  if (keepOwn && own != nullptr) existing->GetControls()->SetOriginalControls(own);
  if (own != nullptr) own->InternalRelease();
  existing->OnRecalcLayout();
}

using ScratchImages = std::unique_ptr<CTKPImageManager, void (*)(CTKPImageManager*)>;

// The stream read into the list as the loader takes it: every part of it read, the bars and controls
// sound. Its icons go to images; those the stream names are added to *icons.
bool ReadStream(CTKPCommandBars* bars, const BYTE* pData, UINT nBytes, BOOL bSilent, CTKPImageManager* images,
                CTKPCommandBarRefList& list, std::vector<UINT>* icons) {
  if (pData == nullptr || nBytes == 0 || nBytes > tkpstream::kMostStreamBytes) return false;
  TKPCommandBarsExchangeParam param;
  param.bOnlyCustomized = TRUE;
  param.bSilent = bSilent;
  param.pCommandBars = bars;
  param.pImageManager = images;
  std::vector<BYTE> bytes(pData, pData + nBytes);
  BOOL loaded = FALSE;
  try {
    CMemFile file(bytes.data(), nBytes);
    CArchive ar(&file, CArchive::load, 4096);
    CTKPPropExchangeArchive px(ar);
    TKPSetExchangeParam(&px, &param);
    loaded = bars->LoadBarList(&px, list);
    // The stream ends where its bars end: anything after them is damage too.
    BYTE extra = 0;
    loaded = loaded && ar.Read(&extra, 1) == 0;
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    loaded = FALSE;
  } catch (const std::exception&) {
    loaded = FALSE;
  }
  return loaded && IsSoundStream(list, icons);
}

// Whether the loader takes the stream: a stream it would refuse is never written.
bool IsReadable(CTKPCommandBars* bars, const std::vector<BYTE>& stream) {
  ScratchImages scratch(new CTKPImageManager, [](CTKPImageManager* images) { images->InternalRelease(); });
  CTKPCommandBarRefList list;
  std::vector<UINT> icons;
  return ReadStream(bars, stream.data(), static_cast<UINT>(stream.size()), TRUE, scratch.get(), list, &icons);
}

}  // namespace

// ---- where the stream goes -------------------------------------------------------------------------------

CString GetAppDataFileName(LPCTSTR lpszFileName) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr || app->m_pszAppName == nullptr || lpszFileName == nullptr) return CString();
  LPITEMIDLIST items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &items)) || items == nullptr) return CString();
  wchar_t root[MAX_PATH] = {};
  const BOOL found = ::SHGetPathFromIDListW(items, root);
  ::CoTaskMemFree(items);
  if (!found || root[0] == 0) return CString();
  // The application's name makes one folder, whatever characters it holds.
  const CString folder = CString(root) + _T("\\") + CString::FromUtf16(tkpstream::SafeFileName(CString(app->m_pszAppName).ToUtf16()));
  ::CreateDirectoryW(folder, nullptr);
  const DWORD attributes = ::GetFileAttributesW(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return CString();
  const CString path = folder + _T("\\") + lpszFileName;
  return tkpstream::IsFileInFolder(folder.ToUtf16(), path.ToUtf16()) ? path : CString();
}

BOOL CTKPCommandBars::GetControlsFileName(CString& strFileName, LPCTSTR lpszProfileName) const {
  if (!m_strControlsFileName.IsEmpty()) {
    strFileName = m_strControlsFileName;
    return TRUE;
  }
  // The profile name is the file's name, kept to one name inside the folder.
  strFileName = GetAppDataFileName(CString::FromUtf16(tkpstream::SafeFileName(CString(lpszProfileName).ToUtf16())));
  return !strFileName.IsEmpty();
}

// ---- saving ----------------------------------------------------------------------------------------------

void CTKPCommandBars::CollectBarsToSave(UINT& nNextId, CTKPCommandBarRefList& list,
                                        const TKPCommandBarsExchangeParam& param) {
  for (int i = 0; i < GetCount(); ++i) {
    auto* bar = dynamic_cast<CTKPToolBar*>(m_arrBars[i]);
    // A toolbar without an id could not be told from the others when the stream is read back.
    if (bar == nullptr || bar->GetBarID() == 0) continue;
    if (param.bOnlyCustomized && bar->IsBuiltIn()) {
      if (!bar->IsCustomizable()) continue;
      auto* menuBar = dynamic_cast<CTKPMenuBar*>(bar);
      if (menuBar != nullptr) menuBar->RestoreCache();
      const bool mdiMenus = menuBar != nullptr && menuBar->GetCachedMenuCount() > 0;
      CTKPControls* controls = bar->GetControls();
      if (!mdiMenus && controls->GetOriginalControls() != nullptr && !controls->IsChanged()) continue;
    }
    bar->CollectBarsToSave(nNextId, list, param);
  }
}

BOOL CTKPCommandBars::SaveBarList(CTKPPropExchange* pPX, CTKPCommandBarRefList& list) {
  std::unique_ptr<CTKPPropExchange> section(pPX->GetSection(_T("CommandBars")));
  std::unique_ptr<CTKPSectionEnumerator> items(section->GetEnumerator(_T("CommandBar")));
  POSITION pos = items->GetPosition(static_cast<DWORD>(list.GetCount()));
  for (int i = 0; i < list.GetCount() && pos != nullptr; ++i) {
    std::unique_ptr<CTKPPropExchange> item(items->GetNext(pos));
    CObject* object = list.GetAt(i);
    item->ExchangeObjectInstance(&object, RUNTIME_CLASS(CTKPCommandBar));
    list.GetAt(i)->DoPropExchange(item.get());
  }
  return TRUE;
}

void CTKPCommandBars::SaveCustomizedBars(LPCTSTR lpszProfileName, BOOL bOnlyCustomized) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  TKPCommandBarsExchangeParam param;
  param.bOnlyCustomized = bOnlyCustomized;
  param.pCommandBars = this;
  CTKPCommandBarRefList list;
  UINT nextId = tkpstream::kFirstPopupBarId;
  CollectBarsToSave(nextId, list, param);
  std::vector<BYTE> stream;
  BOOL saved = FALSE;
  try {
    CMemFile file(1024);
    CArchive ar(&file, CArchive::store, 4096);
    CTKPPropExchangeArchive px(ar);
    TKPSetExchangeParam(&px, &param);
    saved = SaveBarList(&px, list);
    ar.Close();
    const size_t size = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    if (data != nullptr) stream.assign(data, data + size);
    std::free(data);
  } catch (CException* e) {
    e->Delete();
    saved = FALSE;
  }
  const CString section = ControlsSection(lpszProfileName);
  CString path;
  const BOOL haveFile = GetControlsFileName(path, lpszProfileName);
  // A stream that could not be made, or that the loader would not take back (beyond the most bars or
  // controls one may hold), leaves the one saved before: the user's older customizing is kept.
  if (!saved || !IsReadable(this, stream)) return;
  // Without a file to go to, a large stream stays in the profile rather than being lost.
  if (tkpstream::StorageFor(stream.size()) == tkpstream::Storage::kProfile || !haveFile) {
    app->WriteProfileBinary(section, kStreamValue, stream.data(), static_cast<UINT>(stream.size()));
    app->WriteProfileInt(section, kFromFileValue, 0);
    if (haveFile) {
      ::SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(path);
    }
  } else if (WriteStreamFile(path, stream)) {
    app->WriteProfileString(section, kStreamValue, path);
    app->WriteProfileInt(section, kFromFileValue, 1);
  }
  // A file that could not be written leaves the stream saved before where it was.
}

// ---- loading ---------------------------------------------------------------------------------------------

BOOL CTKPCommandBars::LoadBarList(CTKPPropExchange* pPX, CTKPCommandBarRefList& list) {
  std::unique_ptr<CTKPPropExchange> section(pPX->GetSection(_T("CommandBars")));
  std::unique_ptr<CTKPSectionEnumerator> items(section->GetEnumerator(_T("CommandBar")));
  POSITION pos = items->GetPosition();
  while (pos != nullptr) {
    if (static_cast<size_t>(list.GetCount()) >= tkpstream::kMostBars) return FALSE;
    std::unique_ptr<CTKPPropExchange> item(items->GetNext(pos));
    CObject* object = nullptr;
    if (!item->ExchangeObjectInstance(&object, RUNTIME_CLASS(CTKPCommandBar)) || object == nullptr) return FALSE;
    auto* bar = static_cast<CTKPCommandBar*>(object);
    list.Adopt(bar);  // freed with the list should the rest fail
    if (const TKPCommandBarsExchangeParam* param = TKPGetExchangeParam(pPX); param != nullptr && param->pImageManager) {
      param->pImageManager->InternalAddRef();
      bar->SetImageManager(param->pImageManager);
    }
    bar->DoPropExchange(item.get());
    bar->GetControls()->RefreshIndexes();
  }
  return TRUE;
}

BOOL CTKPCommandBars::LoadCustomizedBars(const BYTE* pData, UINT nBytes, BOOL bSilent) {
  // Icons go to a scratch manager first: a stream refused later must not have touched ours.
  ScratchImages scratch(new CTKPImageManager, [](CTKPImageManager* images) { images->InternalRelease(); });
  CTKPCommandBarRefList list;
  std::vector<UINT> icons;
  if (!ReadStream(this, pData, nBytes, bSilent, scratch.get(), list, &icons)) return FALSE;
  TakeCustomIcons(scratch.get(), GetImageManager(), icons);
  for (int i = 0; i < list.GetCount(); ++i) list.GetAt(i)->SetImageManager(nullptr);
  MergeLoadedBars(list, bSilent);
  if (auto* menuBar = dynamic_cast<CTKPMenuBar*>(GetToolBar(1))) m_pMenuBar = menuBar;
  RecalcFrameLayout(TRUE);
  return TRUE;
}

void CTKPCommandBars::LoadCustomizedBars(LPCTSTR lpszProfileName, BOOL bSilent) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  const CString section = ControlsSection(lpszProfileName);
  std::vector<BYTE> stream;
  if (app->GetProfileInt(section, kFromFileValue, 0) != 0) {
    // Only the file this program writes is read, whatever path the profile names.
    const CString stored = app->GetProfileString(section, kStreamValue);
    CString expected;
    if (stored.IsEmpty() || !GetControlsFileName(expected, lpszProfileName) || stored.CompareNoCase(expected) != 0 ||
        !ReadStreamFile(expected, &stream)) {
      return;
    }
  } else {
    BYTE* data = nullptr;
    UINT size = 0;
    if (!app->GetProfileBinary(section, kStreamValue, &data, &size)) return;
    stream.assign(data, data + size);
    delete[] data;
  }
  if (!stream.empty()) LoadCustomizedBars(stream.data(), static_cast<UINT>(stream.size()), bSilent);
}

void CTKPCommandBars::MergeLoadedBars(CTKPCommandBarRefList& list, BOOL bSilent) {
  for (int i = 0; i < list.GetCount(); ++i) {
    auto* loaded = dynamic_cast<CTKPToolBar*>(list.GetAt(i));
    if (loaded == nullptr) continue;
    loaded->LinkPopupBars(list);
    CTKPToolBar* existing = GetToolBar(loaded->GetBarID());
    if (existing == nullptr) {
      // Only the user's own toolbars are made from the stream; other kinds need the program's code.
      if (loaded->GetRuntimeClass() != RUNTIME_CLASS(CTKPToolBar) || m_pFrame == nullptr) continue;
      const int position = loaded->GetPosition() <= tkpBarFloating ? loaded->GetPosition() : tkpBarTop;
      loaded->SetCommandBars(this);
      loaded->EnableDocking(loaded->GetFlags());
      if (!loaded->Create(m_pFrame, position)) continue;
      loaded->InternalAddRef();
      m_arrBars.Add(loaded);
      AddToReBar(loaded);
      continue;
    }
    if (existing->GetRuntimeClass() != loaded->GetRuntimeClass()) continue;
    CTKPControls* ours = existing->GetControls()->GetOriginalControls();
    CTKPControls* theirs = loaded->GetControls()->GetOriginalControls();
    if (ours != nullptr && theirs != nullptr && !ours->Compare(theirs)) {
      // The program's own definition of the bar changed since the stream was saved.
      if (bSilent || loaded->GetControls()->Compare(theirs)) continue;
      CString text;
      text.Format(TKPCustomizeText(IDS_TK_TOOLBAR_CHANGED), existing->GetTitle().GetString());
      if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES) continue;
      ours->InternalAddRef();
      CopyLoadedBar(existing, loaded);
      existing->GetControls()->SetOriginalControls(ours);  // its own originals stay
      ours->InternalRelease();
      continue;
    }
    CopyLoadedBar(existing, loaded);
  }
}
