// What the button image editor does with its image, apart from any window: the current image, the
// tools and their strokes, and the undo and redo lists. The picture window turns the mouse into cells
// and calls Press, Move, Release and CaptureLost; the dialog's commands call the rest.
#pragma once

#include <cstddef>
#include <deque>

#include "toolkit/commandbars/customize/tkp_image_editor_pixels.h"

namespace tkp_image_editor {

enum class Tool { kPencil = 0, kFill = 1, kPickColor = 2, kLine = 3, kRectangle = 4, kEllipse = 5 };

// The oldest undo step goes when a new one would make more than this many.
constexpr size_t kMaxUndoSteps = 16;

class EditorModel {
 public:
  EditorModel(int width = 16, int height = 16);

  const EditorImage& Image() const { return m_image; }
  int Width() const { return m_image.Width(); }
  int Height() const { return m_image.Height(); }
  // A new image from outside (the caller's icon): no undo step.
  void Reset(const EditorImage& image);

  Tool CurrentTool() const { return m_tool; }
  Tool PreviousTool() const { return m_previousTool; }
  // Choosing a tool remembers the one before it, unless that was the colour picker.
  void SelectTool(Tool tool);

  // ---- strokes: a press starts one (the fill and the colour picker finish at once) ----------------
  // Answers what happened: whether the mouse should now be captured, and a picked colour.
  struct PressResult {
    bool capture = false;
    bool picked = false;
    uint32_t pickedColour = 0;
  };
  PressResult Press(Cell cell, uint32_t colour);
  void Move(Cell cell);
  // The button went up: the stroke ends (the capture's loss commits it).
  void Release() { m_drawing = false; }
  // The capture went away: a stroke in progress ends and becomes one undo step.
  void CaptureLost();
  bool Drawing() const { return m_drawing; }
  bool Stroking() const { return m_stroke; }

  // ---- whole-image commands, each one undo step ---------------------------------------------------
  void Clear();
  void Shift(int dx, int dy);
  void Replace(const EditorImage& image);

  bool CanUndo() const { return !m_undo.empty(); }
  bool CanRedo() const { return !m_redo.empty(); }
  void Undo();
  void Redo();
  size_t UndoCount() const { return m_undo.size(); }
  size_t RedoCount() const { return m_redo.size(); }

 private:
  void Commit();
  void DrawShape(Cell to);

  EditorImage m_image;
  EditorImage m_backup;
  std::deque<EditorImage> m_undo;
  std::deque<EditorImage> m_redo;
  Tool m_tool = Tool::kPencil;
  Tool m_previousTool = Tool::kPencil;
  Cell m_start;
  uint32_t m_colour = 0;
  bool m_drawing = false;  // the button is down
  bool m_stroke = false;   // a stroke waits to be committed
};

}  // namespace tkp_image_editor
