#include "scripted_seams.h"

#include <gtest/gtest.h>

#include <iterator>

namespace harness {
namespace {

seams::MessageBoxRequest Box(const char16_t* text, uint32_t style) {
  seams::MessageBoxRequest request;
  request.text = text;
  request.caption = u"Dorvane";
  request.style = style;
  return request;
}

TEST(ScriptedMessageBoxes, AnswersInOrderAndLogsKindAndText) {
  ScopedSeams scoped;
  scoped.boxes.Answer(seams::kYes);
  scoped.boxes.Answer(seams::kOk);
  EXPECT_EQ(seams::MessageBoxes().Show(Box(u"Stop?", seams::kButtonsYesNo | seams::kIconQuestion)), seams::kYes);
  EXPECT_EQ(seams::MessageBoxes().Show(Box(u"Done.", seams::kIconInformation)), seams::kOk);
  auto log = scoped.boxes.Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].text, u"Stop?");
  EXPECT_EQ(log[0].icon(), seams::kIconQuestion);
  EXPECT_EQ(log[0].buttons(), seams::kButtonsYesNo);
  EXPECT_EQ(log[1].icon(), seams::kIconInformation);
  EXPECT_EQ(scoped.boxes.Pending(), 0u);
  EXPECT_EQ(scoped.boxes.Unscripted(), 0u);
}

// A box nobody scripted is declined the way its buttons allow, and counted.
TEST(ScriptedMessageBoxes, UnscriptedBoxesAreDeclined) {
  struct Case {
    uint32_t style;
    int answer;
  };
  const Case cases[] = {
      {seams::kButtonsOk, seams::kOk},
      {seams::kButtonsOkCancel, seams::kCancel},
      {seams::kButtonsAbortRetryIgnore, seams::kAbort},
      {seams::kButtonsYesNoCancel, seams::kCancel},
      {seams::kButtonsYesNo | seams::kIconQuestion, seams::kNo},
      {seams::kButtonsRetryCancel, seams::kCancel},
  };
  ScriptedMessageBoxes boxes;
  for (const Case& c : cases) EXPECT_EQ(boxes.Show(Box(u"?", c.style)), c.answer) << c.style;
  EXPECT_EQ(boxes.Unscripted(), std::size(cases));
}

TEST(ScriptedFileDialogs, PresetsAnswerInOrderAndRequestsAreKept) {
  ScopedSeams scoped;
  scoped.dialogs.Choose({u"C:\\images\\disk.vhd"});
  scoped.dialogs.CancelFiles();
  scoped.dialogs.ChooseFolderPath(u"C:\\saved");
  seams::FileDialogRequest request;
  request.filter = u"vhd file (.vhd,.vhdx)|*.vhd?||";
  auto first = seams::FileDialogs().ChooseFiles(request);
  EXPECT_TRUE(first.ok);
  ASSERT_EQ(first.paths.size(), 1u);
  EXPECT_EQ(first.paths[0], u"C:\\images\\disk.vhd");
  EXPECT_FALSE(seams::FileDialogs().ChooseFiles(request).ok);
  EXPECT_EQ(seams::FileDialogs().ChooseFolder({}), u"C:\\saved");
  EXPECT_EQ(seams::FileDialogs().ChooseFolder({}), u"");  // nothing preset: cancelled
  EXPECT_EQ(scoped.dialogs.Unscripted(), 1u);
  ASSERT_EQ(scoped.dialogs.FileRequests().size(), 2u);
  EXPECT_EQ(scoped.dialogs.FileRequests()[0].filter, request.filter);
}

TEST(RecordingShell, RecordsInsteadOfRunning) {
  ScopedSeams scoped;
  seams::ShellRequest open;
  open.verb = u"open";
  open.target = u"C:\\Program Files\\Dorvane\\Dorvane.chm";
  EXPECT_GT(seams::Shell().Execute(open), 32);
  scoped.shell.SetStartResult(2);
  EXPECT_EQ(seams::Shell().StartProcess(u"browser.exe page", 5), 2u);
  ASSERT_EQ(scoped.shell.Executed().size(), 1u);
  EXPECT_EQ(scoped.shell.Executed()[0].target, open.target);
  ASSERT_EQ(scoped.shell.Started().size(), 1u);
  EXPECT_EQ(scoped.shell.Started()[0], u"browser.exe page");
}

TEST(ScopedSeams, PutsThePreviousSeamsBack) {
  seams::MessageBoxSeam* before = &seams::MessageBoxes();
  {
    ScopedSeams outer;
    {
      ScopedSeams inner;
      EXPECT_EQ(&seams::MessageBoxes(), &inner.boxes);
    }
    EXPECT_EQ(&seams::MessageBoxes(), &outer.boxes);
  }
  EXPECT_EQ(&seams::MessageBoxes(), before);
  EXPECT_EQ(&seams::MessageBoxes(), &seams::PlatformMessageBoxes());
}

}  // namespace
}  // namespace harness
