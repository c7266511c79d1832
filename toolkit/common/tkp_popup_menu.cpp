#include "toolkit/common/tkp_popup_menu.h"

#include <memory>

#include "toolkit/common/tkp_image_manager.h"

namespace {

ITKPPopupMenuHost* g_pPopupMenuHost = nullptr;

struct ReleaseBar {
  void operator()(ITKPPopupBar* bar) const { bar->Release(); }
};

}  // namespace

void TKPSetPopupMenuHost(ITKPPopupMenuHost* pHost) { g_pPopupMenuHost = pHost; }
ITKPPopupMenuHost* TKPGetPopupMenuHost() { return g_pPopupMenuHost; }

UINT TKPTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner, int nIDToolBar) {
  ITKPPopupMenuHost* host = g_pPopupMenuHost;
  if (host != nullptr && !host->HasPaintManager()) host->SetDefaultTheme();
  if (host == nullptr || !host->HasPaintManager()) {
    return static_cast<UINT>(::TrackPopupMenu(hMenu, nFlags, x, y, 0, hWndOwner, nullptr));
  }
  // The system menu asks the owner for its items' states before it opens; the themed one must too.
  if (hWndOwner != nullptr) ::SendMessageW(hWndOwner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
  std::unique_ptr<ITKPPopupBar, ReleaseBar> bar(host->CreatePopupBar());
  if (!bar) return 0;
  if (nIDToolBar > 0) {
    auto* images = new CTKPImageManager();
    images->SetIconsFromToolBar(static_cast<UINT>(nIDToolBar));
    bar->SetImageManager(images);
  }
  if (!bar->LoadMenu(hMenu, TRUE)) return 0;
  return bar->Track(nFlags | TPM_NONOTIFY, x, y, hWndOwner);
}
