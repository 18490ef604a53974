#pragma once
// End-to-end driving of a program of this project: start it, find its windows and controls,
// send real mouse and keyboard input with SendInput, read its state back through the window
// system and the clipboard, and check it. Every check that fails stops the current case with a
// message that says what was expected and what was seen.
//
// Texts compared with the program's texts are code page 936 byte strings, like the narrow
// literals of this project; messages are code page 936 too and printed as UTF-8.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/win32/unique_handle.h"

namespace tessarune::e2e {

// How long a wait for the program under test lasts before its check fails.
inline constexpr DWORD kWaitMs = 5000;

// ---- Checks

// A failed check. The runner catches it, reports the message and goes on with the next case.
struct CheckFailure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message);
void Check(bool condition, const std::string& what);
// Compares texts as bytes; the message shows both, readable and in hex where not plain ASCII.
void CheckText(const std::string& what, std::string_view expected, std::string_view seen);

// ---- Texts

std::string ToGbk(std::wstring_view text);
std::wstring FromGbk(std::string_view bytes);
std::string ToUtf8(std::string_view gbk);
// A text for a failure message: quoted, with CR, LF and control bytes escaped, and its bytes in
// hex when any of them is not printable ASCII.
std::string Describe(std::string_view bytes);
std::string Describe(std::wstring_view text);
std::string HexWindow(HWND window);
// "/a/b.exe" becomes "Z:\a\b.exe", the drive where Wine shows the Unix root; other paths stay.
std::wstring ToWindowsPath(std::wstring_view path);

// ---- Waiting

// Calls `condition` every few milliseconds until it gives true; false after `ms`.
bool PollUntil(const std::function<bool()>& condition, DWORD ms = kWaitMs);

// ---- Owned handles

using forms::win32::UniqueHandle;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueWindow = UniqueHandle<HWND, DestroyWindow>;

// ---- Processes

// A started program. A program still running when this object dies is terminated, so a failed
// case leaves nothing behind.
class Process {
public:
    // Starts `exe` (a Windows path) with its folder as the current directory and waits until it
    // waits for input.
    static Process Start(const std::wstring& exe);

    DWORD Id() const { return id_; }
    bool IsRunning() const;
    // Waits for the end of the process and gives its exit code.
    DWORD WaitForExit(DWORD ms = kWaitMs) const;

    Process(Process&&) = default;
    Process& operator=(Process&&) = default;
    ~Process();

private:
    Process() = default;
    UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// ---- Windows of another process

// The visible top-level windows of process `pid` with window class `className`.
std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className);
HWND WaitForTopWindow(DWORD pid, const wchar_t* className, DWORD ms = kWaitMs);
// The descendant of `top` with control ID `id`, at any depth; null if there is none.
HWND FindControl(HWND top, int id);

std::wstring ReadTextW(HWND window);
// The window's text as code page 936 bytes.
std::string ReadText(HWND window);
bool IsChecked(HWND button);
bool IsEnabled(HWND window);
// The window with the keyboard focus in the GUI thread that owns `top`.
HWND FocusOf(HWND top);

// ---- Input

enum Modifier : unsigned { kNoModifier = 0, kCtrl = 1, kShift = 2, kAlt = 4 };

// Presses the modifier keys and releases them, last first, when it dies. Keep it alive until
// the program has handled the input that needs the keys: Wine reads the modifier state when a
// message is taken from the queue, not when the input is sent. Clicks made meanwhile see the
// keys held (see MoveMouseTo).
class HeldKeys {
public:
    explicit HeldKeys(unsigned modifiers);
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    ~HeldKeys();

private:
    unsigned modifiers_;
};

// Moves the pointer and waits until it is there and, under Wine, until the window beneath has
// taken in the move (it replays the move from the X server with the X server's modifier
// state, which brings up every key that SendInput holds down). Keys that a HeldKeys holds are
// pressed again afterwards. Where no such replay comes, the wait ends after a second.
void MoveMouseTo(POINT screen);
// A left click at a screen point. A click that could join the previous one into a double click
// (same spot, within the double-click time) waits until it no longer can.
void ClickAtScreen(POINT screen);
// A left click at `offset` in the client area of `window`, or at its centre.
void Click(HWND window, std::optional<POINT> offset = std::nullopt);
// Two clicks at the same spot well within the double-click time.
void DoubleClick(HWND window, std::optional<POINT> offset = std::nullopt);
// One key press and release (a virtual-key code) with the given modifiers held.
void PressKey(WORD vk, unsigned modifiers = kNoModifier);
// Types each character through the key that produces it on the keyboard layout, with Shift
// where needed; fails for a character that no key produces.
void TypeKeys(std::wstring_view text);
// Types each character as a Unicode character event, as an input method delivers it.
void TypeUnicode(std::wstring_view text);

// ---- Clipboard

// The whole memory block of `format`, or nothing when the clipboard does not hold it.
std::optional<std::string> ClipboardBlock(UINT format);
// CF_TEXT: the bytes before the terminating NUL; fails when there is none.
std::string ClipboardText();
// CF_UNICODETEXT: the characters before the terminating NUL; fails when there is none.
std::wstring ClipboardUnicode();
// Empties the clipboard and puts `text` on it as CF_UNICODETEXT.
void SetClipboardUnicode(std::wstring_view text);

// Holds the clipboard open with a window of the driver's own for its lifetime, so that no other
// program can open it. An ownerless OpenClipboard would not block others under Wine.
class ClipboardHolder {
public:
    ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    ~ClipboardHolder();

private:
    UniqueWindow window_;
};

// ---- Message boxes

// A message box (window class #32770) shown by process `pid`.
HWND WaitForMessageBox(DWORD pid, DWORD ms = kWaitMs);
// Its message text, as code page 936 bytes.
std::string MessageBoxText(HWND box);
// The control IDs of its push buttons, in window order.
std::vector<int> MessageBoxButtons(HWND box);

// Saves what the screen shows of the window (frame included) as a 24-bit BMP file; false
// when the picture could not be taken or written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

// ---- A program of this project

// A running program with its main window (class TessaruneWindow). Controls have the control
// ID 1000 + their index in layout order; `names` gives their layout names for messages.
class Target {
public:
    Target(const std::wstring& exe, std::vector<std::string> names);

    // Waits until the program has taken in what the window system sent it so far (its
    // activation above all): moves the pointer over the caption bar (see MoveMouseTo). Starting
    // does this, so keys sent first do not lose their modifiers to a late activation.
    void Settle() const;

    Process& Program() { return process_; }
    HWND Window() const { return window_; }
    HWND Control(int index) const;
    HWND Control(std::string_view name) const;
    // The layout name of a window of the program, or a description of any other window.
    std::string NameOf(HWND window) const;

    // Wait until the control holds the keyboard focus.
    void ExpectFocus(std::string_view name) const;
    void ExpectText(std::string_view name, std::string_view expected) const;
    // Checks the check marks of the named radios: exactly `checked` of them are checked.
    void ExpectChecked(const std::vector<std::string_view>& radios, std::string_view checked) const;
    void ExpectEnabled(std::string_view name, bool enabled) const;

    // Ends the program from outside and waits for its exit code.
    DWORD Close(DWORD ms = kWaitMs);

private:
    Process process_;
    HWND window_ = nullptr;
    std::vector<std::string> names_;
};

// ---- Cases

struct Case {
    const char* name;
    std::function<void()> run;
};

// Runs the cases whose names contain `filter` (all for an empty filter), one after another,
// printing "[ RUN ] name", then "[ OK ] name" or the failure and "[ FAILED ] name", and at the
// end "N passed, M failed". Gives the process exit code: 0 when every case passed.
int RunCases(const std::vector<Case>& cases, std::string_view filter);

}  // namespace tessarune::e2e
