// AfxOleSetEditMenu: an embedded object's verbs in a container's menu.
#include <string>
#include <vector>

#include "platform/classlib/win/cmenu.h"
#include "platform/classlib/win/coledocument.h"

namespace {

static_assert(sizeof(wchar_t) == 2, "menu texts are UTF-16");

struct Verb {
  UINT id;
  UINT flags;  // grey, disabled or checked, as the object asks
  std::wstring name;
};

// An object lists its verbs through an enumerator we do not trust to end: so many and no more.
constexpr int kMostVerbsAsked = 256;

// The text of a string the object allocated, which is freed here.
std::wstring TakeText(LPOLESTR text) {
  std::wstring result = text != nullptr ? std::wstring(text) : std::wstring();
  ::CoTaskMemFree(text);
  return result;
}

std::wstring ShortTypeName(IOleObject* object) {
  LPOLESTR type = nullptr;
  if (FAILED(object->GetUserType(USERCLASSTYPE_SHORT, &type))) return std::wstring();
  return TakeText(type);
}

// The verbs for a container's menu whose numbers fit the id range.
std::vector<Verb> MenuVerbs(IOleObject* object, UINT nIDVerbMin, UINT nIDVerbMax) {
  std::vector<Verb> verbs;
  IEnumOLEVERB* list = nullptr;
  if (FAILED(object->EnumVerbs(&list)) || list == nullptr) return verbs;
  for (int asked = 0; asked < kMostVerbsAsked; ++asked) {
    OLEVERB verb = {};
    ULONG fetched = 0;
    if (list->Next(1, &verb, &fetched) != S_OK || fetched != 1) break;
    const std::wstring name = TakeText(verb.lpszVerbName);
    if (verb.lVerb < 0 || static_cast<ULONG>(verb.lVerb) > nIDVerbMax - nIDVerbMin) continue;
    if ((verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU) == 0 || name.empty()) continue;
    verbs.push_back({nIDVerbMin + static_cast<UINT>(verb.lVerb), verb.fuFlags & (MF_GRAYED | MF_DISABLED | MF_CHECKED),
                     name});
  }
  list->Release();
  return verbs;
}

// "&" doubled, so that the text shows as itself.
std::wstring Literal(const std::wstring& text) {
  std::wstring result;
  for (wchar_t c : text) {
    result += c;
    if (c == L'&') result += L'&';
  }
  return result;
}

// The text without its access key: "&&" stays, a single "&" goes.
std::wstring WithoutAccessKey(const std::wstring& text) {
  std::wstring result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'&') {
      result += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == L'&') {
      result += L"&&";
      ++i;
    }
  }
  return result;
}

// "<words> &Object", without a leading blank when there are no words.
std::wstring ObjectEntry(const std::wstring& words) { return words.empty() ? L"&Object" : words + L" &Object"; }

}  // namespace

void AfxOleSetEditMenu(COleClientItem* pClient, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin, UINT nIDVerbMax) {
  if (pMenu == nullptr || pMenu->GetSafeHmenu() == nullptr || nIDVerbMax < nIDVerbMin) return;
  if (iMenuItem < static_cast<UINT>(pMenu->GetMenuItemCount())) pMenu->DeleteMenu(iMenuItem, MF_BYPOSITION);
  IOleObject* object = pClient != nullptr ? pClient->m_lpObject : nullptr;
  const std::wstring type = object != nullptr ? Literal(ShortTypeName(object)) : std::wstring();
  const std::vector<Verb> verbs = object != nullptr ? MenuVerbs(object, nIDVerbMin, nIDVerbMax) : std::vector<Verb>();
  const UINT at = MF_BYPOSITION;
  if (verbs.empty()) {
    pMenu->InsertMenu(iMenuItem, at | MF_STRING | MF_GRAYED, nIDVerbMin, ObjectEntry(type).c_str());
  } else if (verbs.size() == 1) {
    std::wstring words = WithoutAccessKey(verbs[0].name);
    if (!type.empty()) words += L" " + type;
    pMenu->InsertMenu(iMenuItem, at | MF_STRING | verbs[0].flags, verbs[0].id, ObjectEntry(words).c_str());
  } else {
    CMenu popup;
    if (!popup.CreatePopupMenu()) return;
    for (const Verb& verb : verbs) popup.AppendMenu(MF_STRING | verb.flags, verb.id, verb.name.c_str());
    if (pMenu->InsertMenu(iMenuItem, at | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.GetSafeHmenu()),
                          ObjectEntry(type).c_str())) {
      popup.Detach();  // the menu owns it now
    }
  }
}
