// The viewer's form controls: real child windows of the view, one row each in m_controls, and the
// submission of a form's values.
#include <string>
#include <vector>

#include "platform/os/os.h"
#include "platform/os/win32.h"
#include "preview/html/html_browser_logic.h"
#include "preview/html/html_browser_win32.h"
#include "preview/html/html_fetch_win32.h"
#include "preview/html/html_page_load.h"
#include "preview/html/html_parse_pass.h"
#include "preview/html/html_parse_scan.h"
#include "preview/html/html_url.h"
#include "preview/html/scroll_manager.h"
#include "preview/html/scroll_manager_win32.h"

namespace htmlview {
namespace {

enum ControlType { kEdit = 0, kPushButton = 1, kRadio = 2, kCheck = 3, kDropDown = 4 };

// A missing cell is empty text.
const wchar_t* WideOrEmpty(const char16_t* s) { return os::Wide(s ? s : u""); }

HWND RowWindow(const StringTable& controls, int row) {
  uintptr_t handle = 0;
  for (const char16_t* c = controls.GetCell(row, 0); *c >= u'0' && *c <= u'9'; ++c) handle = handle * 10 + (*c - u'0');
  return reinterpret_cast<HWND>(handle);
}

// Form data goes out one byte per character: it is ASCII after encoding, but a field's name is sent as
// the page wrote it, so anything else becomes "?".
std::string Bytes(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::u16string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<size_t>(length > 0 ? length : 0) + 1, u'\0');
  const int got = GetWindowTextW(window, reinterpret_cast<wchar_t*>(&text[0]), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

}  // namespace

int HtmlBrowser::AddForm(const char16_t* action, const char16_t* method) {
  const int row = m_forms.AddRow() - 1;
  m_forms.AddCell(row, action ? action : u"");
  m_forms.AddCell(row, method ? method : u"");
  return row;
}

HWND HtmlBrowser::AddControl(const wchar_t* cls, DWORD exStyle, DWORD style, int width, int height,
                             const char16_t* text, const char16_t* name, int form, int type, const char16_t* caption,
                             bool fixedFont) {
  if (m_controls.RowCount() >= kMaxFormControls) return nullptr;
  const int id = m_controls.RowCount() + 1;
  HWND window = CreateWindowExW(exStyle, cls, WideOrEmpty(text), style, 0, 0, width, height, m_hwndView,
                                reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  const int row = m_controls.AddRow() - 1;
  m_controls.AddCell(row, os::SignedDecimal(static_cast<long long>(reinterpret_cast<uintptr_t>(window))).c_str());
  m_controls.AddCell(row, name ? name : u"");
  m_controls.AddCell(row, os::SignedDecimal(form).c_str());
  m_controls.AddCell(row, os::SignedDecimal(type).c_str());
  if (caption) m_controls.AddCell(row, caption);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(fixedFont ? ANSI_FIXED_FONT : ANSI_VAR_FONT)),
               FALSE);
  return window;
}

HtmlWindowHandle HtmlBrowser::CreateEdit(int hasLimit, int limit, int width, int height, const char16_t* text,
                                         int multiLine, const char16_t* name, int form, int password) {
  DWORD style = WS_CHILD | WS_TABSTOP | (multiLine ? ES_MULTILINE | WS_VSCROLL : ES_AUTOHSCROLL);
  if (password) style |= ES_PASSWORD;
  HWND edit = AddControl(L"edit", WS_EX_CLIENTEDGE, style, width, height, text, name, form, kEdit, nullptr,
                         multiLine != 0);
  if (edit && hasLimit) SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit > 0 ? limit : 0), 0);
  return edit ? reinterpret_cast<HtmlWindowHandle>(edit) : kNoControl;
}

HtmlWindowHandle HtmlBrowser::CreatePushButton(int width, int height, const char16_t* caption, const char16_t* name,
                                               int form) {
  HWND b = AddControl(L"button", 0, WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, width, height, caption, name, form,
                      kPushButton, nullptr, false);
  return b ? reinterpret_cast<HtmlWindowHandle>(b) : kNoControl;
}

HtmlWindowHandle HtmlBrowser::CreateRadioButton(int width, int height, const char16_t* caption, const char16_t* name,
                                                int form) {
  HWND b = AddControl(L"button", 0, WS_CHILD | WS_TABSTOP | BS_AUTORADIOBUTTON, width, height, caption, name, form,
                      kRadio, caption ? caption : u"", false);
  return b ? reinterpret_cast<HtmlWindowHandle>(b) : kNoControl;
}

HtmlWindowHandle HtmlBrowser::CreateCheckBox(int width, int height, const char16_t* caption, const char16_t* name,
                                             int form) {
  HWND b = AddControl(L"button", 0, WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, width, height, caption, name, form,
                      kCheck, caption ? caption : u"", false);
  return b ? reinterpret_cast<HtmlWindowHandle>(b) : kNoControl;
}

HtmlWindowHandle HtmlBrowser::CreateDropDownList(int width, int height, const StringTable& options, int selected,
                                                 const char16_t* name, int form) {
  HWND list = AddControl(L"combobox", 0, WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, width, height + 200,
                         u"", name, form, kDropDown, nullptr, false);
  if (!list) return kNoControl;
  for (int r = 0; r < options.RowCount(); ++r) {
    const LRESULT item = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideOrEmpty(options.GetCell(r, 0))));
    if (item < 0) continue;
    const std::u16string value = options.GetCell(r, 1);
    auto* copy = new char16_t[value.size() + 1];
    value.copy(copy, value.size());
    copy[value.size()] = 0;
    SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(copy));
  }
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return reinterpret_cast<HtmlWindowHandle>(list);
}

void HtmlBrowser::PlaceControl(HtmlWindowHandle handle, int x, int y) {
  HWND window = reinterpret_cast<HWND>(handle);
  if (!IsWindow(window)) return;
  const int sx = ScrollPos(scrollmsg::kGetHPos), sy = ScrollPos(scrollmsg::kGetVPos);
  // Painted with the page, once every control has its place (Relayout).
  SetWindowPos(window, nullptr, x - sx, y - sy, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOREDRAW);
}

void HtmlBrowser::DestroyControls() {
  for (int r = 0; r < m_controls.RowCount(); ++r) {
    HWND window = RowWindow(m_controls, r);
    if (!IsWindow(window)) continue;
    if (ParseInteger(m_controls.GetCell(r, 3)) == kDropDown) {
      const LRESULT count = SendMessageW(window, CB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        const LRESULT data = SendMessageW(window, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (data != CB_ERR && data != 0) delete[] reinterpret_cast<char16_t*>(data);
      }
    }
    DestroyWindow(window);
  }
  m_controls.Clear();
  m_forms.Clear();
}

std::u16string HtmlBrowser::ControlValue(int row) const {
  HWND window = RowWindow(m_controls, row);
  if (ParseInteger(m_controls.GetCell(row, 3)) == kDropDown) {
    const LRESULT sel = SendMessageW(window, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR) return {};
    const LRESULT data = SendMessageW(window, CB_GETITEMDATA, static_cast<WPARAM>(sel), 0);
    if (data != CB_ERR && data != 0) return reinterpret_cast<const char16_t*>(data);
    const LRESULT length = SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
    if (length <= 0) return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
  }
  return WindowText(window);
}

void HtmlBrowser::SubmitForm(int formIndex, HWND button, int buttonId) {
  if (m_inNavigation) return;
  const NavigationScope scope(m_inNavigation);
  Submit(formIndex, button, buttonId);
}

void HtmlBrowser::Submit(int formIndex, HWND button, int buttonId) {
  if (formIndex == -1) {
    for (int r = 0; r < m_controls.RowCount(); ++r) {
      if (ParseInteger(m_controls.GetCell(r, 3)) != kPushButton || RowWindow(m_controls, r) != button) continue;
      if (GetDlgCtrlID(button) != buttonId) continue;
      formIndex = ParseInteger(m_controls.GetCell(r, 2));
      break;
    }
  }
  if (formIndex < 0 || formIndex >= m_forms.RowCount()) return;
  std::vector<FormField> fields;
  for (int r = 0; r < m_controls.RowCount(); ++r) {
    if (ParseInteger(m_controls.GetCell(r, 2)) != formIndex) continue;
    const int type = ParseInteger(m_controls.GetCell(r, 3));
    if (type == kPushButton) continue;
    if ((type == kRadio || type == kCheck) &&
        SendMessageW(RowWindow(m_controls, r), BM_GETCHECK, 0, 0) != BST_CHECKED)
      continue;
    fields.push_back({m_controls.GetCell(r, 1), ControlValue(r)});
  }
  const std::u16string action = m_forms.GetCell(formIndex, 0);
  const std::u16string method = m_forms.GetCell(formIndex, 1);
  const std::u16string query = FormQuery(fields);
  if (EqualsNoCase(method, u"get")) {
    const std::u16string target = GetFormUrl(action, query);
    // An action that is itself a "Submit(" address would submit a form again, and that one again.
    int again = -1;
    if (IsSubmitUrl(target, again)) return;
    ShowWaiting();
    Open(target);
    return;
  }
  m_statusText[0] = 0;
  const std::u16string body = query.empty() ? query : query.substr(1);
  FetchResult reply;
  const auto progress = [this](long long bytes, long long total) { ShowReadProgress(bytes, total); };
  if (!PostForm(action.substr(0, kMaxUrlLength), Bytes(body), progress, reply)) return;
  const std::u16string page = ReplyText(reply.bytes, reply.size, false);
  delete[] reply.bytes;
  // The reply is shown in place: the address, the Back button and the scroll position stay as they were.
  AddHistory(action, page);
  ShowPage(page, action, action);
  Relayout();
  InvalidateRect(m_hwndView, nullptr, FALSE);
}

}  // namespace htmlview
