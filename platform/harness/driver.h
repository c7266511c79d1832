// The in-process driver of the Windows tests: opens windows and dialogs, sends them commands, keys and
// clicks, reads back what their controls show, waits for conditions while pumping messages, and takes
// screenshots. Everything runs on the calling thread, which owns the windows it creates.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace harness {

// ---- messages ---------------------------------------------------------------------------------------
// Dispatches every message waiting on this thread (dialog keys go through their dialog).
void PumpMessages();
// Pumps until the condition holds or the time runs out; answers whether it held. The time is a bound on a
// failure, never a pace: a test that waits for something that comes returns as soon as it comes, so the default
// leaves room for a machine busy with other work.
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = 30000);
// Pumps for the given time, so that timers and posted work run.
void PumpFor(unsigned milliseconds);

// ---- windows ----------------------------------------------------------------------------------------
// A modeless dialog from a template of the test program's resources, shown and painted.
HWND OpenDialog(int templateId, DLGPROC procedure, LPARAM parameter = 0, HWND owner = nullptr);
// A visible top-level window of this thread with exactly this text, or none.
HWND FindThreadWindow(const std::wstring& text);
// The child control with this id. When there is none the test fails at once, naming the id and the window's
// caption, and the thread's dialogs end (a modal loop would otherwise wait for a click that never comes).
HWND Control(HWND parent, int id);
// Where the driver reports a failure of its own (test programs: a test failure; default: standard error).
void SetFailureHandler(std::function<void(const std::string&)> handler);

// ---- input ------------------------------------------------------------------------------------------
// Posts WM_COMMAND as a control or menu would, then pumps.
void PostCommand(HWND target, int id, int notification = 0, HWND control = nullptr);
// Presses and releases a virtual key on the window (translated into characters by the pump).
void PressKey(HWND window, UINT virtualKey);
// Sends each character as WM_CHAR.
void TypeText(HWND window, const std::wstring& text);
// A left click at a point in the control's client coordinates, delivered to the innermost visible
// child under that point; the cursor is moved there first so that hover tracking agrees.
void Click(HWND control, POINT point);
void ClickCentre(HWND control);
// A click on a list view's column header, the list scrolled first to show the column.
void ClickListHeader(HWND listView, int column);

// The user's short date format (LOCALE_SSHORTDATE) for the object's life, put back afterwards: "M/d/yyyy"
// makes the system read dates month first, as English (United States) writes them, "dd/MM/yyyy" day first.
// It writes the user's settings in the registry: a test that uses it holds the registry's lock.
class ScopedUserDateFormat {
 public:
  explicit ScopedUserDateFormat(const wchar_t* format);
  ~ScopedUserDateFormat();
  ScopedUserDateFormat(const ScopedUserDateFormat&) = delete;
  ScopedUserDateFormat& operator=(const ScopedUserDateFormat&) = delete;

 private:
  std::wstring kept_;
};

// ---- reading ----------------------------------------------------------------------------------------
std::wstring Text(HWND window);
struct ControlState {
  bool exists = false;
  bool visible = false;
  bool enabled = false;
  bool focused = false;
  int check = -1;  // buttons: BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE; -1 for other controls
};
ControlState StateOf(HWND window);
// The base class of a control, seen through subclassing and superclassing ("Button", "SysListView32").
std::wstring ControlKind(HWND window);
// List box and combo box: the item texts; list view: the first column of each row; tree view: every
// node's text, depth first.
std::vector<std::wstring> Items(HWND control);
// The selected index of a list box, combo box or list view; -1 for none.
int Selection(HWND control);
std::vector<std::vector<std::wstring>> ListViewRows(HWND listView);
struct TreeNode {
  std::wstring text;
  int depth = 0;
  int stateImage = 0;  // the state image index (for check boxes: 1 unchecked, 2 checked, 3 partly)
  bool expanded = false;
  bool bold = false;
  bool selected = false;
};
std::vector<TreeNode> TreeNodes(HWND treeView);

// ---- pixels -----------------------------------------------------------------------------------------
// The colours the window's client area shows in the rectangle (client coordinates), row by row; empty on
// failure.
std::vector<COLORREF> ClientPixels(HWND window, const RECT& rect);
COLORREF ClientPixel(HWND window, int x, int y);
// Whether each channel of the colour lies between those of a and b, widened by the tolerance.
bool ColourBetween(COLORREF colour, COLORREF a, COLORREF b, int tolerance = 0);
// How many pixels of the rectangle show the colour, within the tolerance on each channel.
int CountPixels(HWND window, const RECT& rect, COLORREF colour, int tolerance = 0);
// The colour most pixels of the rectangle show (a part's background); CLR_INVALID on failure.
COLORREF CommonColour(HWND window, const RECT& rect);

// ---- screenshots ------------------------------------------------------------------------------------
// The path of a screenshot: screenshots\<name>.png under the test's working folder (the build folder); a name
// "group/leaf" is screenshots\group\leaf.png.
std::u16string ScreenshotPath(const std::string& name);
// Captures the window as drawn (its own surface, whatever lies above it); pixels outside its window
// region become transparent. Returns the PNG's path, or empty on failure.
std::u16string CaptureWindow(HWND window, const std::string& name);
// Captures the whole screen.
std::u16string CaptureScreen(const std::string& name);
// The screen rectangle that holds the calling thread's visible top-level windows (a frame with its floating
// bars, open popups, shadows and tips), clipped to the screen; empty when none shows.
RECT ThreadWindowsRect();
// Captures that rectangle from the screen: the test's windows as they stand together, without the rest of
// the screen around them (what lies between them, outside every window, becomes transparent).
std::u16string CaptureThreadWindows(const std::string& name);
// The screen's pixels in this rectangle, top-down RGBA (empty on failure): what another process's window
// shows where it lies.
std::vector<uint8_t> ScreenPixels(int x, int y, int width, int height);

// ---- files ------------------------------------------------------------------------------------------
// The names in this process's temporary folder (a program under test run as the same user writes there).
std::set<std::wstring> TempFolderNames();

}  // namespace harness
