// Checks of a task panel as its window shows it, for the tests that also keep its pictures: a group's
// caption text and an item's text each in the colour the look gives them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/harness/driver.h"
#include "toolkit/taskpanel/tkp_task_panel.h"
#include "toolkit/taskpanel/tkp_task_panel_paint_manager.h"

namespace taskpanel_checks {

inline COLORREF Shown(const CTKPColorValue& v) { return static_cast<COLORREF>(static_cast<tkcolor::Color>(v)); }

// Antialiased text: its stems show the colour itself, give or take a little.
constexpr int kTextTolerance = 24;
constexpr int kLeastTextPixels = 15;

inline void ExpectCaptionText(CTKPTaskPanel& panel, CTKPTaskPanelGroup* group, const std::string& what) {
  ASSERT_NE(group, nullptr) << what;
  const COLORREF colour = Shown(panel.GetPaintManager()->GetGroupColors(group)->clrHeadTextNormal);
  EXPECT_GT(harness::CountPixels(panel.m_hWnd, group->GetCaptionRect(), colour, kTextTolerance), kLeastTextPixels)
      << what << ": the caption's text in its colour";
}

// Where the item stands in the panel's client area (its rectangle is across the panel, down the body).
inline CRect ItemRect(CTKPTaskPanelGroup*, CTKPTaskPanelGroupItem* item) { return item->GetHitTestRect(); }

inline void ExpectItemText(CTKPTaskPanel& panel, CTKPTaskPanelGroup* group, CTKPTaskPanelGroupItem* item,
                           COLORREF colour, const std::string& what) {
  ASSERT_NE(item, nullptr) << what;
  EXPECT_GT(harness::CountPixels(panel.m_hWnd, ItemRect(group, item), colour, kTextTolerance), kLeastTextPixels)
      << what << ": the item's text in its colour";
}

}  // namespace taskpanel_checks
