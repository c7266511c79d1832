// What the stream of customized bars is saved and loaded with: the record every exchange of it carries,
// and the list of the bars it holds, each kept alive by one reference of the list.
#pragma once

#include <windows.h>

#include <vector>

class CTKPCommandBar;
class CTKPCommandBars;
class CTKPImageManager;
class CTKPPropExchange;

struct TKPCommandBarsExchangeParam {
  BOOL bOnlyCustomized = FALSE;       // saving: built-in bars only when the user changed them
  BOOL bSilent = FALSE;               // loading: no question about toolbars the program changed
  BOOL bSaveOriginalControls = TRUE;  // the bars' original controls go into the stream too
  CTKPCommandBars* pCommandBars = nullptr;
  // Loading: the controls' own icons are read into this one until the whole stream is taken.
  CTKPImageManager* pImageManager = nullptr;
};

// The record rides in the exchange's word (and so in each of its sections).
void TKPSetExchangeParam(CTKPPropExchange* pPX, TKPCommandBarsExchangeParam* pParam);
// Null for an exchange that carries none.
TKPCommandBarsExchangeParam* TKPGetExchangeParam(CTKPPropExchange* pPX);

class CTKPCommandBarRefList {
 public:
  CTKPCommandBarRefList() = default;
  ~CTKPCommandBarRefList();
  CTKPCommandBarRefList(const CTKPCommandBarRefList&) = delete;
  CTKPCommandBarRefList& operator=(const CTKPCommandBarRefList&) = delete;

  // Takes a reference of its own.
  void Add(CTKPCommandBar* pBar);
  // Takes over the caller's reference.
  void Adopt(CTKPCommandBar* pBar);
  BOOL Contains(const CTKPCommandBar* pBar) const;
  int GetCount() const { return static_cast<int>(m_bars.size()); }
  CTKPCommandBar* GetAt(int nIndex) const { return m_bars[static_cast<size_t>(nIndex)]; }
  // The first bar of the id that is not a toolbar (the bar a popup control names); pExcept is skipped.
  CTKPCommandBar* FindPopupBar(UINT nBarID, const CTKPCommandBar* pExcept = nullptr) const;

 private:
  std::vector<CTKPCommandBar*> m_bars;
};
