// The button image editor's strokes and undo lists.
#include "toolkit/commandbars/customize/tkp_image_editor_model.h"

namespace tkp_image_editor {

EditorModel::EditorModel(int width, int height) : m_image(width, height), m_backup(width, height) {}

void EditorModel::Reset(const EditorImage& image) {
  m_image = image;
  m_backup = image;
  m_undo.clear();
  m_redo.clear();
  m_drawing = m_stroke = false;
}

void EditorModel::SelectTool(Tool tool) {
  if (m_tool != Tool::kPickColor) m_previousTool = m_tool;
  m_tool = tool;
}

EditorModel::PressResult EditorModel::Press(Cell cell, uint32_t colour) {
  PressResult result;
  if (!m_image.Contains(cell) || m_drawing) return result;
  if (m_tool == Tool::kPickColor) {
    result.picked = true;
    result.pickedColour = Rgb(m_image.At(cell));
    SelectTool(m_previousTool);
    return result;
  }
  // Pressing on the drawing colour rubs out.
  m_colour = Rgb(m_image.At(cell)) == Rgb(colour) ? kTransparent : Rgb(colour);
  m_backup = m_image;
  if (m_tool == Tool::kFill) {
    FloodFill(m_image, cell, m_colour);
    SettleAlpha(m_backup, m_image);
    Commit();
    return result;
  }
  m_start = cell;
  m_drawing = m_stroke = true;
  Move(cell);
  result.capture = true;
  return result;
}

void EditorModel::Move(Cell cell) {
  if (!m_drawing) return;
  if (m_tool == Tool::kPencil) {
    EditorImage next = m_image;
    DrawPoint(next, cell, m_colour);
    SettleAlpha(m_image, next);
    m_image = std::move(next);
    return;
  }
  DrawShape(cell);
}

void EditorModel::DrawShape(Cell to) {
  EditorImage next = m_backup;
  if (m_tool == Tool::kLine) DrawLine(next, m_start, to, m_colour);
  if (m_tool == Tool::kRectangle) DrawFrame(next, m_start, to, m_colour);
  if (m_tool == Tool::kEllipse) DrawEllipse(next, m_start, to, m_colour);
  SettleAlpha(m_backup, next);
  m_image = std::move(next);
}

void EditorModel::CaptureLost() {
  m_drawing = false;
  // A capture lost with no stroke under way (another window took it) is no step to undo.
  if (m_stroke) Commit();
}

void EditorModel::Commit() {
  m_stroke = false;
  m_redo.clear();
  if (m_undo.size() >= kMaxUndoSteps) m_undo.pop_front();
  m_undo.push_back(m_backup);
}

void EditorModel::Clear() {
  m_backup = m_image;
  m_image = EditorImage(Width(), Height(), m_image.HasAlpha());
  Commit();
}

void EditorModel::Shift(int dx, int dy) {
  m_backup = m_image;
  m_image = Shifted(m_image, dx, dy);
  Commit();
}

void EditorModel::Replace(const EditorImage& image) {
  m_backup = m_image;
  m_image = CopyReplacing(image, Width(), Height(), kTransparent, kTransparent);
  Commit();
}

void EditorModel::Undo() {
  if (m_undo.empty() || m_drawing) return;
  m_redo.push_back(std::move(m_image));
  m_image = std::move(m_undo.back());
  m_undo.pop_back();
}

void EditorModel::Redo() {
  if (m_redo.empty() || m_drawing) return;
  m_undo.push_back(std::move(m_image));
  m_image = std::move(m_redo.back());
  m_redo.pop_back();
}

}  // namespace tkp_image_editor
