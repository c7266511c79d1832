// The text field that a command bar's edit and combo-box controls put on their bar, and what they share:
// the rich-edit loader (a rich-edit window when a rich-edit library loads, else a plain edit), the window
// with its IME and clipboard commands, the shell's auto-complete, and TKPEditField, which keeps the
// field's text, hint and cache while its window comes and goes.
#pragma once

#include <windows.h>
#include <richedit.h>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cwnd.h"
#include "toolkit/commandbars/controls/edit_text_state.h"
#include "toolkit/common/tkp_hook_manager.h"
#include "toolkit/common/tkp_tooltip_context.h"

class CCmdUI;
class CTKPCommandBar;
class CTKPControl;

// Posted to the edit when the shell's suggestion window appeared.
constexpr UINT TKP_WM_SUGGESTIONSHOWN = 0x2872;
// Shell auto-complete flag: Tab moves through the suggestions.
constexpr DWORD TKP_SHACF_USETAB = 0x00000008;

// One per process, loaded on first use: "RICHED20.DLL" (class "RichEdit20W"), else "RICHED32.DLL"
// ("RICHEDIT"), else nothing (plain edits).
class CTKPRichEditLoader {
 public:
  CTKPRichEditLoader();
  ~CTKPRichEditLoader();
  CTKPRichEditLoader(const CTKPRichEditLoader&) = delete;
  CTKPRichEditLoader& operator=(const CTKPRichEditLoader&) = delete;

  HMODULE GetModule() const { return m_hModule; }
  CString GetClassName() const { return m_strClass; }
  BOOL IsVersion2() const { return m_bVersion2; }

 private:
  HMODULE m_hModule = nullptr;
  CString m_strClass;
  BOOL m_bVersion2 = FALSE;
};
CTKPRichEditLoader* TKPRichEditLoader();

// What a field's window reports to the control that owns it.
class CTKPEditOwner {
 public:
  virtual ~CTKPEditOwner() = default;
  virtual CTKPControl* GetEditControl() = 0;
  virtual void OnEditSetFocus(CWnd* pOldWnd) = 0;
  virtual void OnEditKillFocus() = 0;
  virtual void OnEditWindowChanged() = 0;  // the reflected EN_CHANGE
  virtual void OnEditDestroy() = 0;        // the window is going: keep its text
  virtual void OnEditRButtonDown(CPoint point) = 0;
  virtual void OnEditSuggestionShown() {}
  // The field's colours (CFM_COLOR | CFM_BACKCOLOR) applied to the window.
  virtual CHARFORMAT2W GetCharFormat() = 0;
};

class CTKPEdit : public CWnd {
  DECLARE_DYNCREATE(CTKPEdit)

 public:
  CTKPEdit() = default;

  // A rich-edit window of the loader's class (plain text, one undo level, change events), else a plain
  // edit; an empty rectangle, id 0, a child of the bar.
  BOOL Create(DWORD dwStyle, CWnd* pParentBar);
  BOOL IsComposing() const { return m_bComposing; }
  // Back, Page Up to Help (33 to 46) go to the window through the dialog manager; TRUE when it took them.
  BOOL PreTranslateKey(UINT nChar, LPARAM lParam);
  // Paste needs text on the clipboard, Cut and Copy a selection; other commands are enabled.
  BOOL IsCommandEnabled(UINT nID) const;
  // Cut, Copy and Paste at the point (screen) when the Cut string loads and the bar has a manager; TRUE
  // when the menu was shown.
  BOOL ShowContextMenu(CTKPControl* pControl, CPoint point);

  // A command of the frame while the field has the focus: TRUE when the field ran it (Cut, Copy, Paste),
  // so that the frame, its view and document do not run it again.
  BOOL OnFrameCommand(WPARAM wParam, LPARAM lParam) { return OnCommand(wParam, lParam); }

  CTKPEditOwner* m_pOwner = nullptr;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  afx_msg LRESULT OnImeStartComposition(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnImeEndComposition(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnDestroy();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  // In customize mode the bar takes the presses (in its own coordinates); TRUE when it did.
  BOOL PassToBarInCustomize(UINT message, UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg LRESULT OnIsBarChild(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSuggestionShown(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnChange();
  DECLARE_MESSAGE_MAP()

  BOOL m_bComposing = FALSE;
};

// The shell's auto-complete on one edit window. The shell library stays loaded for as long as the
// object lives: the suggestions run code of it inside the edit window. While its suggestion list shows,
// it stands first among the tracking bars' hook clients so that the mouse wheel reaches the list.
class CTKPEditShellAutoComplete : public CTKPHookClient {
 public:
  CTKPEditShellAutoComplete() = default;
  ~CTKPEditShellAutoComplete() override;
  CTKPEditShellAutoComplete(const CTKPEditShellAutoComplete&) = delete;
  CTKPEditShellAutoComplete& operator=(const CTKPEditShellAutoComplete&) = delete;

  // SHAutoComplete on the window; FALSE when the library or the function is missing or it failed.
  BOOL Apply(HWND hEdit, DWORD dwFlags);
  // While the field has the focus: watch for the suggestion window.
  void InstallHook();
  void RemoveHook();
  HWND GetSuggestionWnd() const { return m_hSuggestion; }
  // The shell library this object holds loaded.
  HMODULE GetLibrary() const { return m_hShell; }
  // Up, Down, Page Up and Page Down (without Alt) go to a shown suggestion list; TRUE when taken.
  BOOL PreTranslateKey(UINT nChar, LPARAM lParam);
  // The wheel is left to the shown suggestion list (2); everything else goes on to the bars (0).
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

 private:
  static LRESULT CALLBACK CallWndProc(int nCode, WPARAM wParam, LPARAM lParam);
  void OnWindowPosChanging(HWND hWnd, const WINDOWPOS* pPos);
  void ForgetSuggestionWnd();

  HMODULE m_hShell = nullptr;
  HWND m_hEdit = nullptr;
  HWND m_hSuggestion = nullptr;
};

// A field's text and window, shared by the edit and combo-box controls.
class TKPEditField {
 public:
  TKPEditField() = default;
  ~TKPEditField();
  TKPEditField(const TKPEditField&) = delete;
  TKPEditField& operator=(const TKPEditField&) = delete;

  CTKPEdit* m_pWnd = nullptr;           // the window object (owned); its window may not exist
  TKPEditTextState m_state;
  CString m_strSavedText;               // the text at focus, restored by Escape
  DWORD m_dwShellFlags = 0;
  CTKPEditShellAutoComplete* m_pAutoComplete = nullptr;
  BOOL m_bReadOnly = FALSE;

  BOOL HasWindow() const { return m_pWnd != nullptr && m_pWnd->GetSafeHwnd() != nullptr; }
  HWND GetHwnd() const { return m_pWnd != nullptr ? m_pWnd->GetSafeHwnd() : nullptr; }
  BOOL HasFocus() const { return HasWindow() && ::GetFocus() == GetHwnd(); }
  BOOL IsComposing() const { return HasWindow() && m_pWnd->IsComposing(); }

  // The value (refreshed from the window when stale); never the hint.
  CString GetText();
  void SetText(const CString& strText);
  void SetHint(const CString& strHint);
  // Focus came: a shown hint goes and the text is saved for Escape.
  void OnFocus();
  // Focus went: an empty field shows the hint.
  void OnKillFocus();
  // Escape: the text saved at focus comes back.
  void RestoreSavedText() { SetText(m_strSavedText); }
  // The window's EN_CHANGE; FALSE while the field itself writes the window.
  BOOL OnWindowChanged();
  void OnWindowDestroy();

  // The window's text set to what the field shows (cleared first when it differs).
  void WriteWindow();
  // Grey text for a shown hint; disabled colours; the font, margins and read-only state. The colours come
  // from the window's owner (GetCharFormat), else DefaultCharFormat.
  void ApplyFormat(BOOL bEnabled);
  // Enabled: button text (grey while the hint shows) on the window colour; disabled: grey on the face.
  CHARFORMAT2W DefaultCharFormat(BOOL bEnabled) const;
  void ApplyAutoComplete();
  void InstallAutoCompleteHook();
  void RemoveAutoCompleteHook();
  // The window's share of a key: 2 composing; 1 taken by the suggestions or the window's own keys;
  // 2 otherwise (the window processes it).
  int RouteKey(UINT nChar, LPARAM lParam);
  // Destroys the window (the text stays in the cache).
  void DestroyWindow();
  void DeleteWindowObject();

 private:
  BOOL m_bWriting = FALSE;
};
