// CTKPCustomizeSheet: the customize dialog. While it is open the command bars are in customize mode: the
// user shows, hides, creates, renames, deletes and resets toolbars, drags commands from its lists onto
// bars, edits keyboard shortcuts and sets the display options; a right click on a control of a bar opens
// the customize context menu, whose commands the sheet carries out on the selected control.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/classlib/cstring.h"
#include "platform/classlib/win/cpropertysheet.h"
#include "toolkit/commandbars/customize/tkp_customize_pages.h"

class CCmdUI;
class CTKPCommandBars;
class CTKPControl;
class CTKPControls;
class CTKPImageManager;
class CTKPPopupBar;

// A category of commands that the commands and keyboard pages offer.
struct TKPCustomizeCategory {
  CString strName;
  CTKPControls* pControls = nullptr;  // one reference held by the sheet
};

class CTKPCustomizeSheet : public CPropertySheet {
  DECLARE_DYNAMIC(CTKPCustomizeSheet)

 public:
  explicit CTKPCustomizeSheet(CTKPCommandBars* pCommandBars);
  ~CTKPCustomizeSheet() override;

  CTKPCommandBars* GetCommandBars() const { return m_pCommandBars; }
  // Adds a category (the sheet takes a reference on the controls); before the sheet opens.
  void AddCategory(LPCTSTR lpszName, CTKPControls* pControls);
  const std::vector<TKPCustomizeCategory>& GetCategories() const { return m_categories; }
  CTKPCustomizeToolbarsPage& GetToolbarsPage() { return m_pageToolbars; }
  CTKPCustomizeCommandsPage& GetCommandsPage() { return m_pageCommands; }
  CTKPCustomizeKeyboardPage& GetKeyboardPage() { return m_pageKeyboard; }
  CTKPCustomizeOptionsPage& GetOptionsPage() { return m_pageOptions; }

  BOOL OnInitDialog() override;
  // The context menu of the selected control at a screen point, tracked until it closes; its name field
  // shows the control's caption, and a changed text becomes the control's own caption.
  void ContextMenu(CPoint ptScreen);
  // The context menu while it is open, else null.
  CTKPPopupBar* GetContextPopup() const { return m_pContextPopup; }
  // A context-menu command carried out on the selected control; FALSE when it did not apply.
  BOOL ExecuteControlCommand(UINT nID);
  // Enabled and checked states of a context-menu command for the selected control.
  void UpdateControlCommand(CCmdUI* pCmdUI) const;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // The predefined images that "Change Button Image" offers (image n is command n of the manager) and their
  // count, loaded on first use; null when the images cannot be loaded.
  CTKPImageManager* GetPredefinedImages(int* pCount);
  // The selected control shows predefined image n (1 to N) as its own icon; FALSE when it did not apply.
  BOOL SetPredefinedImage(int nImage);

 protected:
  afx_msg void OnDestroy();
  // A chosen picker of "Change Button Image" (the control notification, code 100).
  afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CTKPControl* Selected() const;

  CTKPCommandBars* m_pCommandBars;
  CTKPPopupBar* m_pContextPopup = nullptr;
  CTKPImageManager* m_pPredefinedImages = nullptr;
  int m_nPredefinedImages = 0;
  HIMAGELIST m_hPredefinedImages = nullptr;  // the manager's image list
  std::vector<TKPCustomizeCategory> m_categories;
  CTKPCustomizeToolbarsPage m_pageToolbars;
  CTKPCustomizeCommandsPage m_pageCommands;
  CTKPCustomizeKeyboardPage m_pageKeyboard;
  CTKPCustomizeOptionsPage m_pageOptions;
};

// The open customize sheet of the command bars, or null.
CTKPCustomizeSheet* TKPCustomizeSheetOf(const CTKPCommandBars* pCommandBars);
// Shows the open sheet's context menu for the selected control; nothing when no sheet is open.
void TKPCustomizeContextMenu(CTKPCommandBars* pCommandBars, CPoint ptScreen);
// A string of the toolkit's resources (empty when missing).
CString TKPCustomizeText(UINT nID);
