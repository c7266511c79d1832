#include "preview/viewers/office_automation.h"

#include <windows.h>

#include "platform/classlib/win/coleexception.h"
#include "platform/classlib/win/colevariant.h"
#include "preview/preview_host.h"

static_assert(sizeof(wchar_t) == 2, "UTF-16 text");

namespace {

constexpr long kForceDisable = 3;  // automation security: macros never run
constexpr long kWordRtfFormat = 6;
constexpr long kPowerPointGifFormat = 16;

const BYTE kThreeVariants[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;

// Every plain file of the folder (sub-folders stay); false when one could not be deleted.
bool DeleteFilesOf(const CString& folder) {
  bool all = true;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(folder + _T("\\*"), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        !::DeleteFileW(folder + _T("\\") + found.cFileName)) {
      all = false;
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return all;
}

bool HasFiles(const CString& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(folder + _T("\\*"), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool any = false;
  do {
    any = any || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  } while (!any && ::FindNextFileW(search, &found));
  ::FindClose(search);
  return any;
}

bool FileExists(const CString& path) {
  const DWORD attributes = ::GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Runs a call whose failure changes nothing more: the caller is already giving up.
template <typename Call>
void Quietly(Call call) {
  try {
    call();
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
}

}  // namespace

// ---- Word --------------------------------------------------------------------------------------------

LPDISPATCH WordApplication::GetDocuments() {
  LPDISPATCH result = nullptr;
  InvokeHelper(6, DISPATCH_PROPERTYGET, VT_DISPATCH, &result, nullptr);
  return result;
}

void WordApplication::Quit(VARIANT* saveChanges, VARIANT* originalFormat, VARIANT* routeDocument) {
  InvokeHelper(1105, DISPATCH_METHOD, VT_EMPTY, nullptr, kThreeVariants, saveChanges, originalFormat,
               routeDocument);
}

LPDISPATCH WordDocuments::Add(VARIANT* templateName, VARIANT* newTemplate) {
  static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT;
  LPDISPATCH result = nullptr;
  InvokeHelper(11, DISPATCH_METHOD, VT_DISPATCH, &result, params, templateName, newTemplate);
  return result;
}

LPDISPATCH WordDocuments::Open(VARIANT* fileName, VARIANT* confirmConversions, VARIANT* readOnly,
                               VARIANT* addToRecentFiles, VARIANT* passwordDocument, VARIANT* passwordTemplate,
                               VARIANT* revert, VARIANT* writePasswordDocument, VARIANT* writePasswordTemplate,
                               VARIANT* format) {
  static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT
      VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
  LPDISPATCH result = nullptr;
  InvokeHelper(12, DISPATCH_METHOD, VT_DISPATCH, &result, params, fileName, confirmConversions, readOnly,
               addToRecentFiles, passwordDocument, passwordTemplate, revert, writePasswordDocument,
               writePasswordTemplate, format);
  return result;
}

void WordDocument::Close(VARIANT* saveChanges, VARIANT* originalFormat, VARIANT* routeDocument) {
  InvokeHelper(1105, DISPATCH_METHOD, VT_EMPTY, nullptr, kThreeVariants, saveChanges, originalFormat,
               routeDocument);
}

void WordDocument::SaveAs(VARIANT* fileName, VARIANT* fileFormat, VARIANT* lockComments, VARIANT* password,
                          VARIANT* addToRecentFiles, VARIANT* writePassword, VARIANT* readOnlyRecommended,
                          VARIANT* embedTrueTypeFonts, VARIANT* saveNativePictureFormat, VARIANT* saveFormsData,
                          VARIANT* saveAsAOCELetter) {
  static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT
      VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
  InvokeHelper(102, DISPATCH_METHOD, VT_EMPTY, nullptr, params, fileName, fileFormat, lockComments, password,
               addToRecentFiles, writePassword, readOnlyRecommended, embedTrueTypeFonts, saveNativePictureFormat,
               saveFormsData, saveAsAOCELetter);
}

// ---- PowerPoint --------------------------------------------------------------------------------------

LPDISPATCH PowerPointApplication::GetPresentations() {
  LPDISPATCH result = nullptr;
  InvokeHelper(2001, DISPATCH_PROPERTYGET, VT_DISPATCH, &result, nullptr);
  return result;
}

void PowerPointApplication::Quit() { InvokeHelper(2021, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }

LPDISPATCH PowerPointPresentations::Open(LPCTSTR fileName, long readOnly, long untitled, long withWindow) {
  static const BYTE params[] = VTS_BSTR VTS_I4 VTS_I4 VTS_I4;
  LPDISPATCH result = nullptr;
  InvokeHelper(2004, DISPATCH_METHOD, VT_DISPATCH, &result, params, fileName, readOnly, untitled, withWindow);
  return result;
}

void PowerPointPresentation::SaveAs(LPCTSTR fileName, long fileFormat, long embedTrueTypeFonts) {
  static const BYTE params[] = VTS_BSTR VTS_I4 VTS_I4;
  InvokeHelper(2036, DISPATCH_METHOD, VT_EMPTY, nullptr, params, fileName, fileFormat, embedTrueTypeFonts);
}

// ---- the conversions ---------------------------------------------------------------------------------

bool ForceAutomationSecurityOff(COleDispatchDriver& application) {
  try {
    const DISPID id = application.GetIDOfName(L"AutomationSecurity");
    if (id == DISPID_UNKNOWN) return false;
    application.SetProperty(id, VT_I4, kForceDisable);
    return true;
  } catch (CException* e) {
    e->Delete();
    return false;
  }
}

CString PreviewTempFolder() {
  wchar_t folder[255] = {};
  const DWORD length = ::GetTempPathW(255, folder);
  return length > 0 && length < 255 ? CString(folder) : CString();
}

CString WordRtfPath() { return PreviewTempFolder() + _T("New.rtf"); }

int ConvertWordToRtf(CString path, bool* wordInstalled) {
  if (wordInstalled != nullptr) *wordInstalled = false;
  // Without it "New.rtf" would be the current folder's, which the conversion deletes and overwrites.
  if (PreviewTempFolder().IsEmpty()) return 0;
  WordApplication application;
  const bool installed = application.CreateDispatch(_T("Word.Application")) != FALSE;
  if (wordInstalled != nullptr) *wordInstalled = installed;
  if (!installed) return 0;
  WordDocuments documents;
  WordDocument document;
  const CString rtfPath = WordRtfPath();
  int converted = 0;
  try {
    if (!ForceAutomationSecurityOff(application)) AfxThrowOleException(E_ACCESSDENIED);
    // A stale "New.rtf" must not pass for this file's conversion.
    if (FileExists(rtfPath) && !::DeleteFileW(rtfPath)) AfxThrowOleException(E_ACCESSDENIED);
    documents.AttachDispatch(application.GetDocuments());
    COleVariant omitted = OmittedArgument();
    COleVariant noSave(short{0}, VT_I2);
    {
      WordDocument added;
      added.AttachDispatch(documents.Add(&omitted, &omitted));
      if (added.m_lpDispatch != nullptr) added.Close(&noSave, &omitted, &omitted);
    }
    COleVariant fileName(static_cast<LPCTSTR>(path));
    COleVariant readOnly(short{1}, VT_I2);
    document.AttachDispatch(documents.Open(&fileName, &omitted, &readOnly, &omitted, &omitted, &omitted, &omitted,
                                           &omitted, &omitted, &omitted));
    if (document.m_lpDispatch == nullptr) AfxThrowOleException(E_POINTER);
    COleVariant rtfName(static_cast<LPCTSTR>(rtfPath));
    COleVariant rtfFormat(kWordRtfFormat, VT_I4);
    COleVariant empty(_T(""));
    document.SaveAs(&rtfName, &rtfFormat, &omitted, &empty, &omitted, &empty, &omitted, &omitted, &omitted, &omitted,
                    &omitted);
    application.Quit(&noSave, &omitted, &omitted);
    converted = FileExists(rtfPath) ? 1 : 0;
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  if (converted == 0) {
    COleVariant omitted = OmittedArgument();
    COleVariant noSave(short{0}, VT_I2);
    if (document.m_lpDispatch != nullptr) Quietly([&] { document.Close(&noSave, &omitted, &omitted); });
    document.ReleaseDispatch();
    documents.ReleaseDispatch();
    // Word is left running by nobody: it is asked to quit on this path too.
    Quietly([&] { application.Quit(&noSave, &omitted, &omitted); });
  }
  return converted;
}

int ExportPresentationSlides(const CString& path, CString* slideFolder) {
  // Without it the slide folder would be "ssss" in the current folder, whose files are emptied first.
  const CString temp = PreviewTempFolder();
  if (temp.IsEmpty()) return 0;
  PowerPointApplication application;
  if (!application.CreateDispatch(_T("Powerpoint.Application"))) {
    ReportPreviewComponentMissing();
    return 0;
  }
  try {
    if (!ForceAutomationSecurityOff(application)) AfxThrowOleException(E_ACCESSDENIED);
    PowerPointPresentations presentations;
    presentations.AttachDispatch(application.GetPresentations());
    PowerPointPresentation presentation;
    presentation.AttachDispatch(presentations.Open(path, 1, 1, 0));
    if (presentation.m_lpDispatch == nullptr) AfxThrowOleException(E_POINTER);
    const CString folder = temp + _T("ssss");
    // Pictures of an earlier presentation must not show among this one's slides.
    if (!DeleteFilesOf(folder)) AfxThrowOleException(E_ACCESSDENIED);
    presentation.SaveAs(temp + _T("ssss.gif"), kPowerPointGifFormat, 0);
    application.Quit();
    if (!HasFiles(folder)) return 0;
    if (slideFolder != nullptr) *slideFolder = folder;
    return 1;
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  Quietly([&] { application.Quit(); });
  return 0;
}
