#include "app/pages/panel_updates.h"

#include <utility>

bool PanelUpdates::MarkPending() {
  if (m_posted) return false;
  m_posted = true;
  return true;
}

bool PanelUpdates::SetPosition(uint32_t position) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_batch.position = position;
  return MarkPending();
}

bool PanelUpdates::SetStatus(const std::u16string& text) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_batch.status = text;
  return MarkPending();
}

bool PanelUpdates::SetRow(uint32_t row, const std::u16string& text) {
  if (row < 1 || row > static_cast<uint32_t>(scanpage::kPanelRows)) return false;
  std::lock_guard<std::mutex> hold(m_lock);
  m_batch.rows[row - 1] = text;
  return MarkPending();
}

PanelUpdates::Batch PanelUpdates::Take() {
  std::lock_guard<std::mutex> hold(m_lock);
  Batch taken = std::exchange(m_batch, Batch{});
  m_posted = false;
  return taken;
}

void PanelUpdates::DropRows() {
  std::lock_guard<std::mutex> hold(m_lock);
  m_batch.rows = {};
}

void PanelUpdates::PostFailed() {
  std::lock_guard<std::mutex> hold(m_lock);
  m_posted = false;
}
