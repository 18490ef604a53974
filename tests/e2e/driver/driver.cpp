#include "tests/e2e/driver/driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace tessarune::e2e {

namespace {

constexpr UINT kGbk = 936;
// A click this long after the previous one at the same spot can no longer join it.
constexpr DWORD kDoubleClickMargin = 150;
// How long a pointer move may take to be replayed by the window beneath (see MoveMouseTo).
constexpr DWORD kReplayMs = 1000;

std::string Convert(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Convert(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), n);
    return out;
}

std::string Number(unsigned long long value) {
    return std::to_string(value);
}

std::string Hex(unsigned long long value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", value);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool IsVisibleWindowOf(HWND window, DWORD pid, const wchar_t* className) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == pid && IsWindowVisible(window) && ClassOf(window) == className;
}

void Send(std::vector<INPUT>& inputs) {
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) {
        Fail("SendInput took " + Number(sent) + " of " + Number(inputs.size()) +
             " input events (error " + Number(GetLastError()) + ")");
    }
}

bool IsExtendedKey(WORD vk) {
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
            return true;
        default:
            return false;
    }
}

INPUT KeyEvent(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags =
        (up ? KEYEVENTF_KEYUP : 0u) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0u);
    return input;
}

constexpr struct {
    Modifier modifier;
    WORD vk;
} kModifierKeys[] = {{kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}};

void AppendModifiers(std::vector<INPUT>& inputs, unsigned modifiers, bool up) {
    if (!up) {
        for (const auto& key : kModifierKeys)
            if (modifiers & key.modifier) inputs.push_back(KeyEvent(key.vk, false));
    } else {
        for (auto it = std::rbegin(kModifierKeys); it != std::rend(kModifierKeys); ++it)
            if (modifiers & it->modifier) inputs.push_back(KeyEvent(it->vk, true));
    }
}

INPUT MouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// The modifier keys that a HeldKeys holds down at the moment.
unsigned heldModifiers = kNoModifier;

bool AreDown(unsigned modifiers, bool down) {
    for (const auto& key : kModifierKeys) {
        if ((modifiers & key.modifier) && (GetAsyncKeyState(key.vk) < 0) != down) return false;
    }
    return true;
}

// Presses the keys until they are seen down: a replay of an earlier pointer move (see
// MoveMouseTo) may bring them up again at once.
void PressModifiers(unsigned modifiers) {
    std::vector<INPUT> inputs;
    AppendModifiers(inputs, modifiers, false);
    for (int attempt = 0; attempt < 5; ++attempt) {
        Send(inputs);
        if (PollUntil([&] { return AreDown(modifiers, true); }, 200)) return;
    }
    Fail("the modifier keys did not stay down");
}

// Where and when the last click went, so that the next one does not become its second half.
struct LastClick {
    POINT at{-1000, -1000};
    ULONGLONG tick = 0;
} lastClick;

void WaitOutDoubleClick(POINT at) {
    const int cx = GetSystemMetrics(SM_CXDOUBLECLK);
    const int cy = GetSystemMetrics(SM_CYDOUBLECLK);
    if (std::abs(at.x - lastClick.at.x) > cx || std::abs(at.y - lastClick.at.y) > cy) return;
    const ULONGLONG safe = lastClick.tick + GetDoubleClickTime() + kDoubleClickMargin;
    const ULONGLONG now = GetTickCount64();
    if (now < safe) Sleep(static_cast<DWORD>(safe - now));
}

POINT ScreenPoint(HWND window, std::optional<POINT> offset) {
    POINT at{};
    if (offset) {
        at = *offset;
    } else {
        RECT client{};
        if (!GetClientRect(window, &client)) Fail("no client area for window " + HexWindow(window));
        at = {(client.right - client.left) / 2, (client.bottom - client.top) / 2};
    }
    if (!ClientToScreen(window, &at)) Fail("cannot map a point of window " + HexWindow(window));
    return at;
}

struct TopWindowSearch {
    DWORD pid;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TopWindowSearch*>(data);
    if (IsVisibleWindowOf(window, search.pid, search.className)) search.found.push_back(window);
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindControlWithId(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<ControlSearch*>(data);
    if (GetDlgCtrlID(window) != search.id) return TRUE;
    search.found = window;
    return FALSE;
}

// Opens the clipboard for `owner` (null: no owner), retrying while another program holds it.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        if (!PollUntil([&] { return OpenClipboard(owner) != FALSE; }))
            Fail("the clipboard stayed busy for " + Number(kWaitMs) + " ms");
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() { CloseClipboard(); }
};

}  // namespace

// ---- Checks

void Fail(const std::string& message) {
    throw CheckFailure{message};
}

void Check(bool condition, const std::string& what) {
    if (!condition) Fail(what);
}

void CheckText(const std::string& what, std::string_view expected, std::string_view seen) {
    if (expected != seen)
        Fail(what + ": expected " + Describe(expected) + ", seen " + Describe(seen));
}

// ---- Texts

std::string ToGbk(std::wstring_view text) {
    return Convert(text, kGbk);
}
std::wstring FromGbk(std::string_view bytes) {
    return Convert(bytes, kGbk);
}
std::string ToUtf8(std::string_view gbk) {
    return Convert(FromGbk(gbk), CP_UTF8);
}

std::string Describe(std::string_view bytes) {
    std::string out = "\"";
    bool plain = true;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
        plain = plain && byte >= 0x20 && byte < 0x7F;
    }
    out += '"';
    if (!plain) {
        out += " [";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(bytes[i]));
            if (i) out += ' ';
            out += hex;
        }
        out += ']';
    }
    return out;
}

std::string Describe(std::wstring_view text) {
    std::string out = Describe(ToGbk(text)) + " {";
    for (std::size_t i = 0; i < text.size(); ++i) {
        char unit[12];
        std::snprintf(unit, sizeof unit, "U+%04X", static_cast<unsigned>(text[i]));
        if (i) out += ' ';
        out += unit;
    }
    return out + "}";
}

std::string HexWindow(HWND window) {
    return Hex(reinterpret_cast<std::uintptr_t>(window)) + " (" + ToGbk(ClassOf(window)) + ")";
}

std::wstring ToWindowsPath(std::wstring_view path) {
    std::wstring out(path);
    if (!out.empty() && out.front() == L'/') {
        std::replace(out.begin(), out.end(), L'/', L'\\');
        out.insert(0, L"Z:");
    }
    return out;
}

// ---- Waiting

bool PollUntil(const std::function<bool()>& condition, DWORD ms) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() - start >= ms) return false;
        Sleep(5);
    }
}

// ---- Processes

Process Process::Start(const std::wstring& exe) {
    std::wstring folder = exe;
    const std::size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? std::wstring(L".") : folder.substr(0, slash);
    std::wstring commandLine = L"\"" + exe + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
        Fail("cannot start " + ToGbk(exe) + " (error " + Number(GetLastError()) + ")");
    }
    CloseHandle(info.hThread);
    Process process;
    process.process_.Reset(info.hProcess);
    process.id_ = info.dwProcessId;
    const DWORD idle = WaitForInputIdle(info.hProcess, 2 * kWaitMs);
    if (idle != 0) {
        Fail(ToGbk(exe) + " did not become idle for input (WaitForInputIdle gave " + Number(idle) +
             ")");
    }
    return process;
}

bool Process::IsRunning() const {
    return process_.Get() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

DWORD Process::WaitForExit(DWORD ms) const {
    if (WaitForSingleObject(process_.Get(), ms) != WAIT_OBJECT_0)
        Fail("the program is still running " + Number(ms) + " ms later");
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

Process::~Process() {
    if (IsRunning()) {
        TerminateProcess(process_.Get(), 0xDEAD);
        WaitForSingleObject(process_.Get(), kWaitMs);
    }
}

// ---- Windows of another process

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* className) {
    TopWindowSearch search{pid, className, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD pid, const wchar_t* className, DWORD ms) {
    HWND found = nullptr;
    PollUntil(
        [&] {
            const auto windows = TopWindows(pid, className);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        ms);
    if (!found) {
        Fail("no visible window of class " + ToGbk(className) + " in process " + Number(pid) +
             " after " + Number(ms) + " ms");
    }
    return found;
}

HWND FindControl(HWND top, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(top, FindControlWithId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ReadTextW(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &length))
        Fail("window " + HexWindow(window) + " did not answer WM_GETTEXTLENGTH");
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kWaitMs, &copied)) {
        Fail("window " + HexWindow(window) + " did not answer WM_GETTEXT");
    }
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

std::string ReadText(HWND window) {
    return ToGbk(ReadTextW(window));
}

bool IsChecked(HWND button) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &state))
        Fail("window " + HexWindow(button) + " did not answer BM_GETCHECK");
    return state == BST_CHECKED;
}

bool IsEnabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// ---- Input

HeldKeys::HeldKeys(unsigned modifiers) : modifiers_(modifiers & ~heldModifiers) {
    PressModifiers(modifiers_);
    heldModifiers |= modifiers_;
}

HeldKeys::~HeldKeys() {
    heldModifiers &= ~modifiers_;
    std::vector<INPUT> inputs;
    AppendModifiers(inputs, modifiers_, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void MoveMouseTo(POINT screen) {
    POINT seen{};
    if (GetCursorPos(&seen) && seen.x == screen.x && seen.y == screen.y) return;
    // Under Wine the window beneath replays a pointer move from the X server some time later,
    // and takes the X server's modifier state with it; the X server never saw the keys that
    // SendInput pressed, so they come up. A late replay of an earlier move would put the pointer
    // back before the next click. So a modifier is held across the move, and the move counts as
    // done once the modifier has come up. Keys held by a HeldKeys are pressed again after it.
    const unsigned probe = heldModifiers != kNoModifier ? heldModifiers : kCtrl;
    if (heldModifiers == kNoModifier) PressModifiers(probe);

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = MouseButton(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    input.mi.dx = screen.x * 65535 / (width - 1);
    input.mi.dy = screen.y * 65535 / (height - 1);
    std::vector<INPUT> inputs{input};
    Send(inputs);
    if (!PollUntil(
            [&] { return GetCursorPos(&seen) && seen.x == screen.x && seen.y == screen.y; })) {
        Fail("the mouse pointer went to " + Number(static_cast<unsigned>(seen.x)) + "," +
             Number(static_cast<unsigned>(seen.y)) + " instead of " +
             Number(static_cast<unsigned>(screen.x)) + "," +
             Number(static_cast<unsigned>(screen.y)));
    }

    // Without the replay (not under Wine) the keys stay down and the wait runs out.
    const bool replayed = PollUntil([&] { return !AreDown(probe, true); }, kReplayMs);
    if (heldModifiers != kNoModifier) {
        if (replayed) PressModifiers(heldModifiers);
    } else {
        inputs.clear();
        AppendModifiers(inputs, probe, true);
        Send(inputs);
    }
}

void ClickAtScreen(POINT screen) {
    WaitOutDoubleClick(screen);
    MoveMouseTo(screen);
    std::vector<INPUT> inputs{MouseButton(MOUSEEVENTF_LEFTDOWN), MouseButton(MOUSEEVENTF_LEFTUP)};
    Send(inputs);
    lastClick = {screen, GetTickCount64()};
}

void Click(HWND window, std::optional<POINT> offset) {
    ClickAtScreen(ScreenPoint(window, offset));
}

void DoubleClick(HWND window, std::optional<POINT> offset) {
    const POINT screen = ScreenPoint(window, offset);
    WaitOutDoubleClick(screen);
    MoveMouseTo(screen);
    std::vector<INPUT> inputs{MouseButton(MOUSEEVENTF_LEFTDOWN), MouseButton(MOUSEEVENTF_LEFTUP),
                              MouseButton(MOUSEEVENTF_LEFTDOWN), MouseButton(MOUSEEVENTF_LEFTUP)};
    Send(inputs);
    lastClick = {screen, GetTickCount64()};
}

void PressKey(WORD vk, unsigned modifiers) {
    std::vector<INPUT> inputs;
    AppendModifiers(inputs, modifiers, false);
    inputs.push_back(KeyEvent(vk, false));
    inputs.push_back(KeyEvent(vk, true));
    AppendModifiers(inputs, modifiers, true);
    Send(inputs);
}

void TypeKeys(std::wstring_view text) {
    for (const wchar_t c : text) {
        const SHORT key = VkKeyScanW(c);
        if (key == -1) Fail("no key types " + Describe(std::wstring_view(&c, 1)));
        const unsigned shiftState = static_cast<unsigned>(key >> 8) & 0xFF;
        unsigned modifiers = kNoModifier;
        if (shiftState & 1) modifiers |= kShift;
        if (shiftState & 2) modifiers |= kCtrl;
        if (shiftState & 4) modifiers |= kAlt;
        PressKey(static_cast<WORD>(key & 0xFF), modifiers);
    }
}

void TypeUnicode(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = static_cast<WORD>(c);
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    Send(inputs);
}

// ---- Clipboard

std::optional<std::string> ClipboardBlock(UINT format) {
    ClipboardSession session(nullptr);
    const HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    const SIZE_T size = GlobalSize(data);
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes) Fail("cannot lock the clipboard block of format " + Number(format));
    std::string block(bytes, size);
    GlobalUnlock(data);
    return block;
}

std::string ClipboardText() {
    const auto block = ClipboardBlock(CF_TEXT);
    if (!block) Fail("the clipboard holds no CF_TEXT");
    const std::size_t end = block->find('\0');
    if (end == std::string::npos)
        Fail("the CF_TEXT block of " + Number(block->size()) + " bytes has no terminating NUL");
    return block->substr(0, end);
}

std::wstring ClipboardUnicode() {
    const auto block = ClipboardBlock(CF_UNICODETEXT);
    if (!block) Fail("the clipboard holds no CF_UNICODETEXT");
    std::wstring text(block->size() / sizeof(wchar_t), L'\0');
    std::copy(block->begin(), block->begin() + static_cast<std::ptrdiff_t>(text.size() * 2),
              reinterpret_cast<char*>(text.data()));
    const std::size_t end = text.find(L'\0');
    if (end == std::wstring::npos)
        Fail("the CF_UNICODETEXT block of " + Number(block->size()) +
             " bytes has no terminating NUL");
    return text.substr(0, end);
}

void SetClipboardUnicode(std::wstring_view text) {
    ClipboardSession session(nullptr);
    if (!EmptyClipboard()) Fail("cannot empty the clipboard");
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueHandle<HGLOBAL, GlobalFree> block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    if (!block.Get()) Fail("cannot allocate " + Number(bytes) + " bytes for the clipboard");
    auto* target = static_cast<wchar_t*>(GlobalLock(block.Get()));
    std::copy(text.begin(), text.end(), target);
    GlobalUnlock(block.Get());
    if (!SetClipboardData(CF_UNICODETEXT, block.Get())) Fail("cannot put text on the clipboard");
    block.Release();
}

ClipboardHolder::ClipboardHolder()
    : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
    if (!window_.Get()) Fail("cannot create a window to hold the clipboard with");
    if (!PollUntil([&] { return OpenClipboard(window_.Get()) != FALSE; }))
        Fail("the clipboard stayed busy for " + Number(kWaitMs) + " ms");
}

ClipboardHolder::~ClipboardHolder() {
    CloseClipboard();
}

// ---- Message boxes

bool SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return false;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != 0;
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up rows, as BMP files store them
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::string pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), '\0');
    const bool read =
        copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read) return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && written;
}

HWND WaitForMessageBox(DWORD pid, DWORD ms) {
    return WaitForTopWindow(pid, L"#32770", ms);
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") != 0) continue;
        const std::string part = ReadText(child);
        if (part.empty()) continue;
        if (!text.empty()) text += '\n';
        text += part;
    }
    return text;
}

std::vector<int> MessageBoxButtons(HWND box) {
    std::vector<int> ids;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassOf(child).c_str(), L"Button") == 0 && IsWindowVisible(child))
            ids.push_back(GetDlgCtrlID(child));
    }
    return ids;
}

// ---- A program of this project

Target::Target(const std::wstring& exe, std::vector<std::string> names)
    : process_(Process::Start(exe)), names_(std::move(names)) {
    window_ = WaitForTopWindow(process_.Id(), L"TessaruneWindow");
    if (!PollUntil([&] { return GetForegroundWindow() == window_; }))
        Fail("the program's window did not come to the foreground");
    Settle();
}

void Target::Settle() const {
    RECT frame{};
    GetWindowRect(window_, &frame);
    const int y =
        frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    // The pointer may already be at one of the two points, never at both.
    MoveMouseTo({frame.left + 40, y});
    MoveMouseTo({frame.left + 60, y});
}

HWND Target::Control(int index) const {
    const HWND control = FindControl(window_, 1000 + index);
    if (!control) {
        const std::string name = index >= 0 && static_cast<std::size_t>(index) < names_.size()
                                     ? names_[static_cast<std::size_t>(index)]
                                     : "?";
        Fail("the window has no control with ID " + Number(static_cast<unsigned>(1000 + index)) +
             " (" + name + ")");
    }
    return control;
}

HWND Target::Control(std::string_view name) const {
    const auto it = std::find(names_.begin(), names_.end(), name);
    if (it == names_.end()) Fail("the driver knows no control named " + std::string(name));
    return Control(static_cast<int>(it - names_.begin()));
}

std::string Target::NameOf(HWND window) const {
    if (!window) return "no window";
    if (window == window_) return "the window itself";
    const int index = GetDlgCtrlID(window) - 1000;
    if (index >= 0 && static_cast<std::size_t>(index) < names_.size() &&
        FindControl(window_, 1000 + index) == window) {
        return names_[static_cast<std::size_t>(index)];
    }
    return "window " + HexWindow(window);
}

void Target::ExpectFocus(std::string_view name) const {
    const HWND expected = Control(name);
    HWND seen = nullptr;
    if (!PollUntil([&] { return (seen = FocusOf(window_)) == expected; }))
        Fail("focus: expected on " + std::string(name) + ", seen on " + NameOf(seen));
}

void Target::ExpectText(std::string_view name, std::string_view expected) const {
    const HWND control = Control(name);
    std::string seen;
    if (!PollUntil([&] { return (seen = ReadText(control)) == expected; }))
        CheckText("text of " + std::string(name), expected, seen);
}

void Target::ExpectChecked(const std::vector<std::string_view>& radios,
                           std::string_view checked) const {
    std::string seen;
    const auto matches = [&] {
        bool ok = true;
        seen.clear();
        for (const auto radio : radios) {
            const bool on = IsChecked(Control(radio));
            ok = ok && on == (radio == checked);
            if (on) seen += (seen.empty() ? "" : ", ") + std::string(radio);
        }
        return ok;
    };
    if (!PollUntil(matches)) {
        Fail("check marks: expected " +
             (checked.empty() ? std::string("none") : std::string(checked)) + " checked, seen " +
             (seen.empty() ? std::string("none") : seen) + " checked");
    }
}

void Target::ExpectEnabled(std::string_view name, bool enabled) const {
    const HWND control = Control(name);
    if (!PollUntil([&] { return IsEnabled(control) == enabled; }))
        Fail(std::string(name) + ": expected " + (enabled ? "enabled" : "disabled") + ", seen " +
             (enabled ? "disabled" : "enabled"));
}

DWORD Target::Close(DWORD ms) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return process_.WaitForExit(ms);
}

// ---- Cases

int RunCases(const std::vector<Case>& cases, std::string_view filter) {
    const auto print = [](const std::string& gbkLine) {
        std::printf("%s\n", ToUtf8(gbkLine).c_str());
        std::fflush(stdout);
    };
    int passed = 0;
    std::vector<std::string> failed;
    for (const Case& c : cases) {
        const std::string name = c.name;
        if (!filter.empty() && name.find(filter) == std::string::npos) continue;
        print("[ RUN ] " + name);
        const ULONGLONG start = GetTickCount64();
        std::string failure;
        try {
            c.run();
        } catch (const CheckFailure& f) {
            failure = f.message;
        } catch (const std::exception& e) {
            failure = std::string("exception: ") + e.what();
        }
        const std::string timing = " (" + std::to_string(GetTickCount64() - start) + " ms)";
        if (failure.empty()) {
            ++passed;
            print("[ OK ] " + name + timing);
        } else {
            failed.push_back(name);
            print("  " + failure);
            print("[ FAILED ] " + name + timing);
        }
    }
    if (passed == 0 && failed.empty()) print("no case matches \"" + std::string(filter) + "\"");
    for (const auto& name : failed) print("failed: " + name);
    print(std::to_string(passed) + " passed, " + std::to_string(failed.size()) + " failed");
    return failed.empty() && passed > 0 ? 0 : 1;
}

}  // namespace tessarune::e2e
