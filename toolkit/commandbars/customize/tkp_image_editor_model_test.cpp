// The button image editor's strokes, tools and undo lists.
#include "toolkit/commandbars/customize/tkp_image_editor_model.h"

#include <gtest/gtest.h>

namespace tkp_image_editor {
namespace model_test {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00;

void Stroke(EditorModel& model, Cell from, Cell to, uint32_t colour = kRed) {
  EXPECT_TRUE(model.Press(from, colour).capture);
  model.Move(to);
  model.Release();
  model.CaptureLost();
}

TEST(ImageEditorModel, PencilDrawsEachCellItPassesAndOneStrokeIsOneUndoStep) {
  EditorModel model(4, 4);
  EXPECT_TRUE(model.Press({0, 0}, kRed).capture);
  model.Move({1, 0});
  model.Move({1, 1});
  model.Release();
  EXPECT_EQ(model.UndoCount(), 0u);  // the capture's loss commits
  model.CaptureLost();
  EXPECT_EQ(model.UndoCount(), 1u);
  EXPECT_EQ(model.Image().At({0, 0}), kRed);
  EXPECT_EQ(model.Image().At({1, 1}), kRed);
  model.Undo();
  EXPECT_EQ(model.Image(), EditorImage(4, 4));
  model.Redo();
  EXPECT_EQ(model.Image().At({1, 0}), kRed);
}

TEST(ImageEditorModel, PressingOnTheDrawingColourRubsOut) {
  EditorModel model(2, 2);
  Stroke(model, {1, 1}, {1, 1});
  EXPECT_EQ(model.Image().At({1, 1}), kRed);
  Stroke(model, {1, 1}, {0, 1});
  EXPECT_EQ(model.Image().At({1, 1}), kTransparent);
  EXPECT_EQ(model.Image().At({0, 1}), kTransparent);
}

TEST(ImageEditorModel, ShapesRedrawFromTheImageBeforeTheStroke) {
  EditorModel model(5, 5);
  model.SelectTool(Tool::kRectangle);
  EXPECT_TRUE(model.Press({0, 0}, kRed).capture);
  model.Move({4, 4});
  model.Move({2, 2});  // the bigger frame is gone again
  model.Release();
  model.CaptureLost();
  EXPECT_EQ(model.Image().At({3, 0}), kTransparent);
  EXPECT_EQ(model.Image().At({1, 0}), kRed);
  EXPECT_EQ(model.Image().At({1, 1}), kRed);
  model.SelectTool(Tool::kLine);
  Stroke(model, {0, 4}, {4, 4}, kGreen);
  EXPECT_EQ(model.Image().At({3, 4}), kGreen);
  EXPECT_EQ(model.Image().At({4, 4}), kTransparent);
  EXPECT_EQ(model.UndoCount(), 2u);
}

TEST(ImageEditorModel, FillAndClearCommitAtOnce) {
  EditorModel model(3, 3);
  model.SelectTool(Tool::kFill);
  EXPECT_FALSE(model.Press({1, 1}, kGreen).capture);
  EXPECT_EQ(model.Image().Pixels(), std::vector<uint32_t>(9, kGreen));
  model.Clear();
  EXPECT_EQ(model.Image(), EditorImage(3, 3));
  EXPECT_EQ(model.UndoCount(), 2u);
  model.Undo();
  EXPECT_EQ(model.Image().At({2, 2}), kGreen);
}

TEST(ImageEditorModel, PickColourSwitchesBackToTheToolBefore) {
  EditorModel model(2, 2);
  model.SelectTool(Tool::kLine);
  Stroke(model, {0, 0}, {1, 1}, kGreen);
  model.SelectTool(Tool::kPickColor);
  model.SelectTool(Tool::kPickColor);  // picking twice forgets nothing
  EditorModel::PressResult picked = model.Press({0, 0}, kRed);
  EXPECT_TRUE(picked.picked);
  EXPECT_FALSE(picked.capture);
  EXPECT_EQ(picked.pickedColour, kGreen);
  EXPECT_EQ(model.CurrentTool(), Tool::kLine);
  EXPECT_EQ(model.UndoCount(), 1u);
}

TEST(ImageEditorModel, KeepsTheLastSixteenStepsAndANewStrokeEmptiesRedo) {
  EditorModel model(17, 1);
  for (int i = 0; i < 17; ++i) Stroke(model, {i, 0}, {i, 0});
  EXPECT_EQ(model.UndoCount(), kMaxUndoSteps);
  while (model.CanUndo()) model.Undo();
  EXPECT_EQ(model.Image().At({0, 0}), kRed);  // the first stroke can no longer be undone
  EXPECT_EQ(model.Image().At({1, 0}), kTransparent);
  EXPECT_EQ(model.RedoCount(), 16u);
  Stroke(model, {5, 0}, {5, 0});
  EXPECT_FALSE(model.CanRedo());
}

TEST(ImageEditorModel, ACaptureLostWithoutAStrokeIsNoUndoStep) {
  EditorModel model(2, 2);
  model.CaptureLost();
  EXPECT_FALSE(model.CanUndo());
  EXPECT_FALSE(model.Press({5, 5}, kRed).capture);  // outside the image
  model.Move({0, 0});
  EXPECT_EQ(model.Image(), EditorImage(2, 2));
}

TEST(ImageEditorModel, MovesAndReplacementsAreUndoable) {
  EditorModel model(3, 3);
  Stroke(model, {0, 0}, {0, 0});
  model.Shift(1, 1);
  EXPECT_EQ(model.Image().At({1, 1}), kRed);
  EditorImage pasted(5, 5);
  pasted.Set({2, 2}, kGreen);
  pasted.Set({4, 4}, kGreen);  // outside the icon: cut off
  model.Replace(pasted);
  EXPECT_EQ(model.Image().Width(), 3);
  EXPECT_EQ(model.Image().At({2, 2}), kGreen);
  model.Undo();
  model.Undo();
  EXPECT_EQ(model.Image().At({0, 0}), kRed);
}

TEST(ImageEditorModel, AlphaImageStrokesBecomeOpaque) {
  EditorModel model(2, 1);
  EditorImage image(2, 1, true);
  image.Set({1, 0}, WithAlpha(kGreen, 0x30));
  model.Reset(image);
  Stroke(model, {0, 0}, {0, 0});
  EXPECT_EQ(model.Image().At({0, 0}), WithAlpha(kRed, 255));
  EXPECT_EQ(model.Image().At({1, 0}), WithAlpha(kGreen, 0x30));
}

}  // namespace
}  // namespace tkp_image_editor
