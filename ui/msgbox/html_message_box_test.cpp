// The HTML message box in real windows under Wine: keys per button set, countdowns, stored answers, the
// details, a worker's question asked of the main window's thread, and screenshots of the three kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/harness/driver.h"
#include "platform/harness/modal_script.h"
#include "platform/harness/scripted_seams.h"
#include "ui/msgbox/box_dialog.h"
#include "ui/msgbox/box_layout.h"
#include "ui/msgbox/box_store.h"
#include "ui/msgbox/html_message_box.h"
#include "platform/os/markup_escape.h"
#include "ui/msgbox/message_box_style.h"
#include "ui/msgbox/message_dialogs.h"
#include "app/message_host.h"

namespace msgbox {
namespace {

using harness::ModalScript;

// Shows a box whose caption names it, runs the script's steps meanwhile, and answers the box's result.
int ShowWith(ModalScript& script, const std::u16string& caption, UINT style, const MessageBoxParams* params = nullptr,
             const std::u16string& text = u"Continue with the next file?") {
  script.Start();
  const int result = HtmlMessageBox(nullptr, text, caption, style, params);
  EXPECT_TRUE(script.Finished()) << script.Failure();
  return result;
}

std::wstring W(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

// Pumps for a while inside the box's loop, then tells whether the box is still there.
std::function<bool()> After(unsigned ms) {
  auto since = std::make_shared<DWORD>(0);
  return [since, ms] {
    if (*since == 0) *since = ::GetTickCount();
    return ::GetTickCount() - *since >= ms;
  };
}

TEST(HtmlMessageBox, EscEndsOnlyBoxesThatHaveACancel) {
  struct Case {
    UINT set;
    int escResult;     // 0: Esc is ignored
    int otherButton;   // clicked when Esc was ignored
  };
  const Case cases[] = {{0, 2, 0}, {1, 2, 0}, {3, 2, 0}, {5, 2, 0}, {2, 0, kRetry}, {4, 0, kNo}, {7, 0, kAbort}};
  for (const Case& c : cases) {
    const std::u16string caption = u"Esc set " + std::u16string(1, static_cast<char16_t>(u'0' + c.set));
    HWND box = nullptr;
    ModalScript script;
    script.OnWindow(W(caption), [&box](HWND found) {
      box = found;
      harness::PressKey(::GetFocus(), VK_ESCAPE);
    });
    if (c.escResult == 0) {
      script.Step("box still open", After(300), [&box, &c] {
        EXPECT_TRUE(::IsWindowVisible(box));
        harness::ClickCentre(harness::Control(box, c.otherButton));
      });
    }
    const int result = ShowWith(script, caption, c.set | kIconQuestion);
    EXPECT_EQ(result, c.escResult != 0 ? c.escResult : c.otherButton) << "set " << c.set;
  }
}

TEST(HtmlMessageBox, YesNoWithBothToAllButtonsInRowOrder) {
  ModalScript script;
  std::vector<std::wstring> texts;
  script.OnWindow(L"All four", [&texts](HWND box) {
    for (int id : {kYes, kYesToAllButton, kNo, kNoToAllButton}) texts.push_back(harness::Text(harness::Control(box, id)));
    RECT yes, all;
    ::GetWindowRect(harness::Control(box, kYes), &yes);
    ::GetWindowRect(harness::Control(box, kYesToAllButton), &all);
    EXPECT_LT(yes.left, all.left);
    harness::ClickCentre(harness::Control(box, kNoToAllButton));
  });
  EXPECT_EQ(ShowWith(script, u"All four", 4 | kYesToAll | kNoToAll), kNoToAllButton);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Yes", L"Yes to all", L"No", L"No to all"}));
}

TEST(HtmlMessageBox, TimeoutPressesTheDefaultButton) {
  MessageBoxParams params;
  params.timeout = 2;
  std::wstring counting;
  ModalScript script;
  script.OnWindow(L"Time-out", [&counting](HWND box) { counting = harness::Text(harness::Control(box, kCancel)); });
  // Default index 1 of OK, Cancel: Cancel is pressed, and the answer is its plain number.
  EXPECT_EQ(ShowWith(script, u"Time-out", 1 | 0x100, &params), kCancel);
  EXPECT_EQ(counting, L"Cancel = 2");
}

TEST(HtmlMessageBox, DisabledTimeEnablesTheButtonsAgain) {
  MessageBoxParams params;
  params.disabledTime = 1;
  ModalScript script;
  HWND box = nullptr;
  script.OnWindow(L"Wait", [&box](HWND found) {
    box = found;
    EXPECT_FALSE(harness::StateOf(harness::Control(box, kYes)).enabled);
    EXPECT_EQ(harness::Text(harness::Control(box, kYes)), L"Yes = 1");
    harness::PressKey(::GetFocus(), VK_RETURN);  // nothing: the default button waits
  });
  script.Step("enabled", [&box] { return harness::StateOf(harness::Control(box, kYes)).enabled; }, [&box] {
    EXPECT_EQ(harness::Text(harness::Control(box, kYes)), L"Yes");
    harness::ClickCentre(harness::Control(box, kYes));
  });
  EXPECT_EQ(ShowWith(script, u"Wait", 4, &params), kYes);
}

TEST(HtmlMessageBox, DisabledTimeCountsInTheCaption) {
  MessageBoxParams params;
  params.disabledTime = 2;
  params.countdownInCaption = true;
  ModalScript script;
  HWND box = nullptr;
  script.OnWindow(L"Read this (2 seconds remaining)", [&box](HWND found) {
    box = found;
    EXPECT_FALSE(harness::StateOf(harness::Control(box, kOk)).enabled);
    EXPECT_FALSE(harness::StateOf(harness::Control(box, kCancel)).enabled);
    harness::PressKey(::GetFocus(), VK_ESCAPE);  // nothing while the buttons wait
  });
  script.Step("enabled", [&box] { return harness::StateOf(harness::Control(box, kCancel)).enabled; }, [&box] {
    EXPECT_EQ(harness::Text(box), L"Read this");
    harness::ClickCentre(harness::Control(box, kOk));
  });
  EXPECT_EQ(ShowWith(script, u"Read this", 1, &params), kOk);
}

TEST(HtmlMessageBox, MoreTogglesTheDetails) {
  MessageBoxParams params;
  params.detailsText = u"Sector 2048 could not be read.\r\nThe file was saved with zeros in its place.";
  RECT closed{}, open{};
  ModalScript script;
  HWND box = nullptr;
  script.OnWindow(L"Details", [&](HWND found) {
    box = found;
    ::GetWindowRect(box, &closed);
    EXPECT_EQ(harness::Text(harness::Control(box, kMoreButton)), L"More >>");
    harness::ClickCentre(harness::Control(box, kMoreButton));
    ::GetWindowRect(box, &open);
    EXPECT_EQ(harness::Text(harness::Control(box, kMoreButton)), L"<< More");
    harness::CaptureWindow(box, "msgbox_details");
    harness::ClickCentre(harness::Control(box, kMoreButton));
    RECT again;
    ::GetWindowRect(box, &again);
    EXPECT_EQ(again.bottom - again.top, closed.bottom - closed.top);
    harness::ClickCentre(harness::Control(box, kOk));
  });
  EXPECT_EQ(ShowWith(script, u"Details", kIconError, &params, u"Some files could not be read whole."), kOk);
  EXPECT_GT(open.bottom - open.top, closed.bottom - closed.top + 30);
}

class StoredAnswerTest : public testing::Test {
 protected:
  void SetUp() override {
    params.answerName = u"MsgboxTestAnswer";
    params.company = u"DorvaneTests";
    params.messageNumber = 7;
  }
  void TearDown() override {
    const std::wstring key = L"Software\\DorvaneTests";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  }
  MessageBoxParams params;
};

TEST_F(StoredAnswerTest, ATickedAnswerIsStoredAndReturnedAtOnce) {
  ModalScript script;
  script.OnWindow(L"Ask once", [](HWND box) {
    HWND check = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if ((::GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX && harness::ControlKind(child) == L"Button") {
        check = child;
      }
    }
    ASSERT_NE(check, nullptr);
    harness::ClickCentre(check);
    harness::ClickCentre(harness::Control(box, kNo));
  });
  const UINT style = 4 | kCheckbox | kCheckboxTicked;
  // Ticked from the start, clicked once: unticked, so nothing is stored.
  EXPECT_EQ(ShowWith(script, u"Ask once", style, &params), kNo);
  EXPECT_EQ(StoredAnswer(params), 0);

  ModalScript second;
  second.OnWindow(L"Ask once", [](HWND box) { harness::ClickCentre(harness::Control(box, kNo)); });
  EXPECT_EQ(ShowWith(second, u"Ask once", style, &params), kNo | static_cast<int>(kCheckboxTicked));
  EXPECT_EQ(StoredAnswer(params), kNo | static_cast<int>(kCheckboxTicked));

  // The next box is not shown at all (a box that came would be answered Yes, and noted).
  bool shown = false;
  ModalScript none;
  none.OnWindow(L"Ask once", [&shown](HWND box) {
    shown = true;
    harness::ClickCentre(harness::Control(box, kYes));
  });
  none.Start();
  EXPECT_EQ(HtmlMessageBox(nullptr, u"Again?", u"Ask once", style, &params), kNo | static_cast<int>(kCheckboxTicked));
  EXPECT_FALSE(shown);
}

TEST_F(StoredAnswerTest, AValueOfAnotherTypeIsNoAnswer) {
  HKEY key = nullptr;
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program(path);
  program = program.substr(program.find_last_of(L"\\/") + 1);
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (L"Software\\DorvaneTests\\" + program + L"\\HtmlMessageBox").c_str(),
                              0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t text[] = L"6";
  ::RegSetValueExW(key, L"MsgboxTestAnswer7", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  ::RegCloseKey(key);
  EXPECT_EQ(StoredAnswer(params), 0);
}

// ---- the protocol ---------------------------------------------------------------------------------

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static std::atomic<int>* pings = nullptr;
  if (message == WM_CREATE) pings = static_cast<std::atomic<int>*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  if (message == WM_APP + 5 && pings != nullptr) ++*pings;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// A main window on this thread with the boxes attached to it.
class ProtocolTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW cls{};
    cls.lpfnWndProc = MainProc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"MsgboxTestMain";
    cls.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
    ::RegisterClassW(&cls);
    main = ::CreateWindowExW(0, L"MsgboxTestMain", L"Dorvane main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 640,
                             420, nullptr, nullptr, cls.hInstance, &pings);
    AttachToMainWindow(main);
    harness::PumpMessages();
  }
  void TearDown() override {
    DetachFromMainWindow();
    ::DestroyWindow(main);
  }
  HWND main = nullptr;
  std::atomic<int> pings{0};
};

TEST_F(ProtocolTest, AWorkersQuestionIsShownOwnedByTheMainWindowWhileTheWorkerWaits) {
  std::atomic<int> answer{0};
  std::atomic<bool> done{false};
  ModalScript script;
  HWND box = nullptr;
  script.OnWindow(L"Dorvane", [&](HWND found) {
    box = found;
    EXPECT_EQ(::GetWindow(box, GW_OWNER), main);
    EXPECT_FALSE(done.load());
    ::PostMessageW(main, WM_APP + 5, 0, 0);
  });
  script.Step("main window answers", [&] { return pings.load() == 1; }, [&] {
    harness::ClickCentre(harness::Control(box, kYes));
  });
  script.Start();
  std::thread worker([&] {
    MessageText = u"Stop the scan?";
    ConfirmDialog dialog;
    MessageKind = 3;
    answer = static_cast<int>(dialog.DoModal());
    done = true;
  });
  EXPECT_TRUE(harness::WaitUntil([&] { return done.load(); }, 20000));
  worker.join();
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(answer.load(), 1);
}

// The seam that records on which thread, for which owner, a scripted box was asked.
class ThreadRecordingBoxes : public harness::ScriptedMessageBoxes {
 public:
  int Show(const seams::MessageBoxRequest& request) override {
    thread = ::GetCurrentThreadId();
    owner = static_cast<HWND>(request.owner);
    return ScriptedMessageBoxes::Show(request);
  }
  std::atomic<DWORD> thread{0};
  std::atomic<HWND> owner{nullptr};
};

TEST_F(ProtocolTest, AWorkersBoxesAreAnsweredFromTheScriptOnTheInterfaceThread) {
  ThreadRecordingBoxes boxes;
  seams::MessageBoxSeam* previous = seams::InstallMessageBoxes(&boxes);
  boxes.Answer(seams::kYes);
  boxes.Answer(seams::kNo);
  std::atomic<int> stage{0};
  uint32_t first = 0, second = 0;
  std::thread worker([&] {
    first = ProgramMessageHost().ConfirmDialog(u"Replace " + EscapeMarkup(u"C:\\R&D\\<b>x.vsnp") + u"?", 3);
    second = ProgramMessageHost().ConfirmDialog(u"Continue?", 2);
    ProgramMessageHost().MessageDialog(u"Saved.", 1);
    stage = 1;
  });
  EXPECT_TRUE(harness::WaitUntil([&] { return stage.load() == 1; }, 20000));
  worker.join();
  seams::InstallMessageBoxes(previous);
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(second, 2u);
  EXPECT_EQ(boxes.thread.load(), ::GetCurrentThreadId());
  EXPECT_EQ(boxes.owner.load(), main);
  const auto log = boxes.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].kind(), 3u);
  EXPECT_EQ(log[0].buttons(), 4u);
  EXPECT_TRUE(log[0].html);
  EXPECT_EQ(log[0].caption, u"Dorvane");
  EXPECT_EQ(log[0].text, u"Replace C:\\R&<>D\\<<b>x.vsnp?");
  EXPECT_EQ(log[1].kind(), 2u);
  EXPECT_EQ(log[2].kind(), 1u);
  EXPECT_EQ(log[2].buttons(), 0u);
  EXPECT_FALSE(log[2].scripted);  // declined: OK
}

// ---- how the boxes look ---------------------------------------------------------------------------

void Capture(const std::u16string& text, uint32_t kind, bool confirm, const char* name, int button) {
  ModalScript script;
  script.OnWindow(L"Dorvane", [name, button](HWND box) {
    harness::PumpFor(300);
    EXPECT_FALSE(harness::CaptureWindow(box, name).empty());
    harness::ClickCentre(harness::Control(box, button));
  });
  script.Start();
  MessageText = text;
  MessageKind = kind;
  const INT_PTR result = confirm ? ConfirmDialog().DoModal() : MessageDialog().DoModal();
  EXPECT_TRUE(script.Finished()) << script.Failure();
  EXPECT_EQ(result, 1);
}

TEST(MessageBoxLook, InformationErrorAndQuestion) {
  Capture(u" Files Saved successfully.", 1, false, "msgbox_info", kOk);
  Capture(u"The file " + EscapeMarkup(u"<b>Budget & Plans.xlsx") +
              u" could not be saved.\r\nThe destination folder may be full or read-only.",
          2, false, "msgbox_error", kOk);
  Capture(u"Do you really want to exit ?", 3, true, "msgbox_question", kYes);
}

// Every area in use: a header with its separator caption, custom buttons in a filled button area with a
// separator, the checkbox below the buttons, Help and More.
TEST(MessageBoxLook, EveryArea) {
  const MessageBoxCaptionTable captions{{kHelp, u"Help me"}};
  MessageBoxParams params;
  params.headerHeight = 40;
  params.headerText = u"<b>Saving the recovered files</b>";
  params.headerStyle.fill = 2;
  params.headerStyle.colour1 = 0xFFFFFF;
  params.headerStyle.colour3 = 0xC5EDFA;
  params.headerStyle.colour2 = 0xC5EDFA;
  params.headerStyle.separator = MessageBoxAreaStyle::kEtched;
  params.buttonStyle.fill = 0;
  params.buttonStyle.colour1 = 0xF4F8FB;
  params.buttonStyle.separator = MessageBoxAreaStyle::kEtched;
  params.buttonStyle.caption = u"Choose";
  params.buttonStyle.captionAlign = MessageBoxAreaStyle::kCentre;
  params.customButtons = u"Rename\nReplace\nSkip";
  params.detailsText = u"Destination: D:\\Recovered";
  params.captionTable = &captions;
  params.answerName = u"";
  std::vector<std::wstring> texts;
  ModalScript script;
  script.OnWindow(L"Every area", [&texts](HWND box) {
    for (int id : {23, 24, 25, int{kHelp}, int{kMoreButton}}) texts.push_back(harness::Text(harness::Control(box, id)));
    harness::PumpFor(300);
    harness::CaptureWindow(box, "msgbox_every_area");
    harness::PressKey(::GetFocus(), VK_ESCAPE);  // custom buttons have no cancel
    harness::PumpFor(200);
    harness::ClickCentre(harness::Control(box, 24));
  });
  EXPECT_EQ(ShowWith(script, u"Every area", kIconWarning | kHelpButton | kCheckbox | kCheckboxBelow | 0x100, &params,
                     u"A file named <<i>notes.txt</i> exists already."),
            24);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"Rename", L"Replace", L"Skip", L"Help me", L"More >>"}));
}

// The icon's pixels, drawn on black and on white: where both agree the icon is opaque, and that is its colour.
struct IconPixels {
  int size = 0;
  std::vector<COLORREF> colour;
  std::vector<bool> opaque;
};

IconPixels DrawnIcon(HICON icon) {
  IconPixels drawn;
  drawn.size = ::GetSystemMetrics(SM_CXICON);
  const int n = drawn.size;
  std::vector<COLORREF> on[2];
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, n, n);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  for (int pass = 0; pass < 2; ++pass) {
    RECT all{0, 0, n, n};
    HBRUSH brush = ::CreateSolidBrush(pass == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    ::FillRect(dc, &all, brush);
    ::DeleteObject(brush);
    ::DrawIconEx(dc, 0, 0, icon, n, n, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < n; ++x) on[pass].push_back(::GetPixel(dc, x, y));
    }
  }
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  for (size_t i = 0; i < on[0].size(); ++i) {
    drawn.opaque.push_back(on[0][i] == on[1][i]);
    drawn.colour.push_back(on[0][i]);
  }
  return drawn;
}

// Whether the box's client area shows the icon's opaque pixels somewhere, exactly.
bool ShowsIcon(HWND box, const IconPixels& icon) {
  RECT client;
  ::GetClientRect(box, &client);
  const std::vector<COLORREF> pixels = harness::ClientPixels(box, client);
  const int width = client.right;
  const int height = client.bottom;
  if (pixels.size() != static_cast<size_t>(width) * height) return false;
  for (int top = 0; top + icon.size <= height; ++top) {
    for (int left = 0; left + icon.size <= width; ++left) {
      bool all = true;
      for (int i = 0; all && i < icon.size * icon.size; ++i) {
        if (!icon.opaque[i]) continue;
        all = pixels[(top + i / icon.size) * width + left + i % icon.size] == icon.colour[i];
      }
      if (all) return true;
    }
  }
  return false;
}

TEST(MessageBoxLook, EachKindShowsTheSystemsIcon) {
  const std::pair<uint32_t, const wchar_t*> kinds[] = {{1, IDI_ASTERISK}, {2, IDI_HAND}, {3, IDI_QUESTION}};
  for (const auto& kind : kinds) {
    const IconPixels system = DrawnIcon(::LoadIconW(nullptr, kind.second));
    int opaque = 0;
    for (bool o : system.opaque) opaque += o;
    ASSERT_GT(opaque, 100) << kind.first;
    bool shown = false;
    ModalScript script;
    script.OnWindow(L"Dorvane", [&](HWND box) {
      harness::PumpFor(300);
      shown = ShowsIcon(box, system);
      harness::ClickCentre(harness::Control(box, kind.first == 3 ? kNo : kOk));
    });
    script.Start();
    MessageText = u"Files Saved successfully.";
    MessageKind = kind.first;
    if (kind.first == 3) {
      ConfirmDialog().DoModal();
    } else {
      MessageDialog().DoModal();
    }
    EXPECT_TRUE(script.Finished()) << script.Failure();
    EXPECT_TRUE(shown) << kind.first;
  }
}

// A line longer than the box may grow (two thirds of the screen) wraps beside the icon: every word is drawn
// inside the message area, and each run's rectangle holds the text's dark pixels.
TEST(MessageBoxLook, ALongLineWrapsInsideTheBox) {
  std::u16string path = u"C:\\Recovered files\\Documents\\Reports\\2019\\Quarterly figures of the northern branch offices, 2019";
  const std::u16string text = u"Error creating file : " + path + u".  Continue Recovery ?";
  ASSERT_EQ(text.size(), 140u);
  std::vector<html::HtmlDrawer::DrawnRun> runs;
  RECT client{}, area{};
  std::vector<COLORREF> pixels;
  ModalScript script;
  script.OnWindow(L"Dorvane", [&](HWND box) {
    harness::PumpFor(300);
    const auto* dialog = dynamic_cast<BoxDialog*>(CWnd::FromHandlePermanent(box));
    ASSERT_NE(dialog, nullptr);
    runs = dialog->MessageDrawer().DrawnRuns();
    area = dialog->MessageArea();
    ::GetClientRect(box, &client);
    pixels = harness::ClientPixels(box, client);
    EXPECT_FALSE(harness::CaptureWindow(box, "msgbox_long_line").empty());
    harness::ClickCentre(harness::Control(box, kOk));
  });
  script.Start();
  MessageText = text;
  MessageKind = 2;
  EXPECT_EQ(MessageDialog().DoModal(), 1);
  ASSERT_TRUE(script.Finished()) << script.Failure();

  EXPECT_LE(client.right, ::GetSystemMetrics(SM_CXSCREEN) * 2 / 3 + 2 * kTextMargin);
  ::InflateRect(&area, -kTextMargin, -kTextMargin);
  std::u16string shown, expected;
  std::vector<LONG> tops;
  for (const html::HtmlDrawer::DrawnRun& run : runs) {
    for (char16_t c : run.text) shown += c == u' ' ? u"" : std::u16string(1, c);
    if (tops.empty() || tops.back() != run.rect.top) tops.push_back(run.rect.top);
    RECT inside{};
    EXPECT_TRUE(::IntersectRect(&inside, &run.rect, &area) && ::EqualRect(&inside, &run.rect))
        << W(run.text) << " at " << run.rect.left << "," << run.rect.top << "-" << run.rect.right << "," << run.rect.bottom;
    int dark = 0;
    for (LONG y = std::max(run.rect.top, 0L); y < std::min(run.rect.bottom, client.bottom); ++y) {
      for (LONG x = std::max(run.rect.left, 0L); x < std::min(run.rect.right, client.right); ++x) {
        const COLORREF p = pixels[static_cast<size_t>(y * client.right + x)];
        dark += GetRValue(p) + GetGValue(p) + GetBValue(p) < 200 ? 1 : 0;
      }
    }
    EXPECT_GT(dark, static_cast<int>(run.text.size())) << W(run.text);
  }
  for (char16_t c : text) expected += c == u' ' ? u"" : std::u16string(1, c);
  EXPECT_EQ(W(shown), W(expected));
  EXPECT_GE(tops.size(), 2u);
}

TEST(MessageBoxLook, AnEmptyMessageShowsTheIconAndTheButton) {
  ModalScript script;
  script.OnWindow(L"Dorvane", [](HWND box) {
    RECT client;
    ::GetClientRect(box, &client);
    EXPECT_GT(client.bottom, ::GetSystemMetrics(SM_CYICON) + 23);
    harness::PressKey(::GetFocus(), VK_ESCAPE);
  });
  script.Start();
  MessageText = u"";
  MessageKind = 2;
  EXPECT_EQ(MessageDialog().DoModal(), 2);
  EXPECT_TRUE(script.Finished()) << script.Failure();
}

}  // namespace
}  // namespace msgbox
