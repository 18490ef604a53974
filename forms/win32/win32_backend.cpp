#include "forms/win32/win32_backend.h"

#include <windows.h>
// The headers below need windows.h before them.
#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/backend.h"
#include "forms/rules.h"
#include "forms/win32/clipboard.h"
#include "forms/win32/fatal.h"
#include "forms/win32/handles.h"
#include "forms/win32/text.h"

namespace tessarune::forms::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TessaruneWindow";
constexpr wchar_t kLabelClass[] = L"TessaruneLabel";
constexpr wchar_t kPictureClass[] = L"TessarunePicture";
constexpr int kFirstControlId = 1000;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

using UniquePicture = UniqueHandle<IPicture*, ReleaseCom>;

struct LoadedWindow;

struct ControlWindow {
    LoadedWindow* window = nullptr;
    std::size_t index = 0;
    HWND hwnd = nullptr;
    WNDPROC nativeProc = nullptr;  // the standard control's own procedure, when subclassed
    HFONT font = nullptr;          // borrowed from the window's fonts or the stock font
    std::string caption;           // labels: the caption as last written, GBK
    std::wstring shownCaption;     // labels: the same caption as drawn
    UniquePicture picture;         // picture boxes: decoded once at creation
    int pictureWidth = 0, pictureHeight = 0;
    std::wstring text;            // edit boxes: the text when TextChanged was last due
    bool clickFromInput = false;  // radios: a mouse release or Space is being processed
    int quietChanges = 0;         // edit boxes: a Text write is in progress
};

struct LoadedWindow {
    explicit LoadedWindow(const Layout& l)
        : layout(&l), states(InitialStates(l.controls)), controls(l.controls.size()) {}

    const Layout* layout;
    // Owned drawing resources first: they are released after the windows that use them.
    std::vector<std::pair<const FontDesc*, UniqueFont>> fonts;
    std::vector<std::pair<COLORREF, UniqueBrush>> brushes;
    UniqueIcon largeIcon, smallIcon;
    std::vector<ControlState> states;
    std::vector<ControlWindow> controls;  // parallel to the layout; never resized
    HWND hwnd = nullptr;
    HFONT font = nullptr;
    std::optional<std::size_t> lastFocus;  // the control that held the focus at deactivation
    bool registered = false;  // Created is due: the window's destruction must be reported
};

class Win32Backend final : public Backend {
public:
    bool LoadWindow(const Layout& layout) override;
    ReadText ReadTextProperty(const Layout& window, const ControlDesc& control,
                              Property property) override;
    void WriteTextProperty(const Layout& window, const ControlDesc& control, Property property,
                           std::string_view text) override;
    void WriteDisabled(const Layout& window, const ControlDesc& control, bool disabled) override;
    bool SetClipboardText(std::string_view text) override { return PutTextOnClipboard(text); }
    [[noreturn]] void ReportFatalError(std::string_view message) override {
        ShowFatalError(message);
    }

    LoadedWindow* Adopt(std::unique_ptr<LoadedWindow> window) {
        windows_.push_back(std::move(window));
        return windows_.back().get();
    }
    // Compares pointers only, so it is safe with a window that is already gone.
    void Drop(const LoadedWindow* window) {
        std::erase_if(windows_, [&](const auto& w) { return w.get() == window; });
    }
    bool Holds(const LoadedWindow* window) const {
        return std::any_of(windows_.begin(), windows_.end(),
                           [&](const auto& w) { return w.get() == window; });
    }
    LoadedWindow* FindByHandle(HWND hwnd) const {
        for (const auto& w : windows_) {
            if (hwnd != nullptr && w->hwnd == hwnd) return w.get();
        }
        return nullptr;
    }
    LoadedWindow& Require(const Layout& layout) const {
        for (const auto& w : windows_) {
            if (w->layout == &layout || w->layout->window.name == layout.window.name) return *w;
        }
        ShowFatalError("窗口没有加载");
    }

private:
    std::vector<std::unique_ptr<LoadedWindow>> windows_;
};

Win32Backend& Instance() {
    static Win32Backend backend;
    return backend;
}

bool loopStarted = false;

const ControlDesc& DescOf(const ControlWindow& control) {
    return control.window->layout->controls[control.index];
}

ControlWindow& Control(LoadedWindow& window, const ControlDesc& desc) {
    const std::optional<std::size_t> index = FindControl(window.layout->controls, desc.name);
    if (!index) ShowFatalError("窗口中没有该控件");
    return window.controls[*index];
}

// The control of the window that `hwnd` is, found by its control ID.
std::optional<std::size_t> IndexOfHandle(const LoadedWindow& window, HWND hwnd) {
    if (hwnd == nullptr) return std::nullopt;
    const int id = GetDlgCtrlID(hwnd) - kFirstControlId;
    if (id < 0 || static_cast<std::size_t>(id) >= window.controls.size()) return std::nullopt;
    const auto index = static_cast<std::size_t>(id);
    if (window.controls[index].hwnd != hwnd) return std::nullopt;
    return index;
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

ControlWindow* ControlOfHandle(HWND hwnd) {
    return reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

HFONT DefaultGuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// ---- Colours and fonts

COLORREF ToColorRef(Colour colour) {
    return RGB(colour.r, colour.g, colour.b);
}

COLORREF TextColour(const ControlDesc& desc) {
    return desc.textColour.system ? kBlack : ToColorRef(desc.textColour);
}

COLORREF BackgroundColour(const ControlDesc& desc) {
    if (!desc.background.system) return ToColorRef(desc.background);
    return desc.cls == ControlClass::Edit ? kWhite : GetSysColor(COLOR_BTNFACE);
}

HBRUSH Brush(LoadedWindow& window, COLORREF colour) {
    if (colour == GetSysColor(COLOR_BTNFACE)) return GetSysColorBrush(COLOR_BTNFACE);
    for (const auto& [key, brush] : window.brushes) {
        if (key == colour) return brush.Get();
    }
    UniqueBrush brush(CreateSolidBrush(colour));
    if (!brush) return GetSysColorBrush(COLOR_BTNFACE);
    window.brushes.emplace_back(colour, std::move(brush));
    return window.brushes.back().second.Get();
}

HBRUSH BackgroundBrush(LoadedWindow& window, const ControlDesc& desc) {
    return Brush(window, BackgroundColour(desc));
}

// A stored font with the system's default character set, default precisions, proof quality
// and default pitch; the default GUI font when none is stored or it cannot be made.
HFONT Font(LoadedWindow& window, const FontDesc* desc) {
    if (desc == nullptr) return DefaultGuiFont();
    for (const auto& [key, font] : window.fonts) {
        if (key == desc) return font.Get();
    }
    LOGFONTW logFont{};
    logFont.lfHeight = desc->height;
    logFont.lfWeight = desc->weight;
    logFont.lfItalic = desc->italic ? TRUE : FALSE;
    logFont.lfUnderline = desc->underline ? TRUE : FALSE;
    logFont.lfStrikeOut = desc->strikeOut ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH;
    WideFromGbkInto(desc->face, logFont.lfFaceName, LF_FACESIZE);
    UniqueFont font(CreateFontIndirectW(&logFont));
    if (!font) return DefaultGuiFont();
    window.fonts.emplace_back(desc, std::move(font));
    return window.fonts.back().second.Get();
}

// ---- Pictures and icons

void PictureSize(IPicture* picture, int& width, int& height) {
    short type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    BITMAP bitmap{};
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(picture->get_Handle(&handle)) &&
        GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap,
                   &bitmap) != 0) {
        width = bitmap.bmWidth;
        height = bitmap.bmHeight;
        return;
    }
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);
    const HDC screen = GetDC(nullptr);
    width = MulDiv(hmWidth, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    height = MulDiv(hmHeight, GetDeviceCaps(screen, LOGPIXELSY), 2540);
    ReleaseDC(nullptr, screen);
}

// Decodes an image (GIF, JPEG, BMP, ...) once; none when the bytes cannot be decoded.
void DecodePicture(ControlWindow& control, std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return;
    PrepareOle();
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!memory) return;
    {
        GlobalLockGuard lock(memory.Get());
        if (lock.Data() == nullptr) return;
        std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(lock.Data()));
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.Get(), TRUE, &stream))) return;
    memory.Release();  // the stream frees it
    const UniqueStream ownedStream(stream);
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture))) ||
        picture == nullptr) {
        return;
    }
    control.picture.Reset(picture);
    PictureSize(picture, control.pictureWidth, control.pictureHeight);
}

std::uint32_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t at,
                               std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes[at + i];
    return value;
}

// An icon of the requested size from the bytes of an .ico file: the image of that size with the
// most colours, else the largest image, scaled.  None when the bytes are no usable icon.
HICON IconFromIcoFile(std::span<const std::uint8_t> bytes, int width, int height) {
    constexpr std::size_t kHeader = 6, kEntry = 16;
    if (bytes.size() < kHeader) return nullptr;
    if (ReadLittleEndian(bytes, 0, 2) != 0 || ReadLittleEndian(bytes, 2, 2) != 1) return nullptr;
    const std::size_t count = ReadLittleEndian(bytes, 4, 2);
    if (count == 0 || bytes.size() < kHeader + count * kEntry) return nullptr;

    std::optional<std::size_t> best;
    std::uint32_t bestScore = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeader + i * kEntry;
        const std::uint32_t w = bytes[entry] == 0 ? 256 : bytes[entry];
        const std::uint32_t h = bytes[entry + 1] == 0 ? 256 : bytes[entry + 1];
        const std::uint32_t bits = ReadLittleEndian(bytes, entry + 6, 2);
        const std::uint32_t size = ReadLittleEndian(bytes, entry + 8, 4);
        const std::uint32_t offset = ReadLittleEndian(bytes, entry + 12, 4);
        if (size == 0 || offset > bytes.size() || size > bytes.size() - offset) continue;
        const bool exact = static_cast<int>(w) == width && static_cast<int>(h) == height;
        const std::uint32_t score = (exact ? 1u << 30 : 0u) + (w * h << 6) + (bits & 63u);
        if (!best || score > bestScore) {
            best = entry;
            bestScore = score;
        }
    }
    if (!best) return nullptr;
    const std::uint32_t size = ReadLittleEndian(bytes, *best + 8, 4);
    const std::uint32_t offset = ReadLittleEndian(bytes, *best + 12, 4);
    // CreateIconFromResourceEx only reads the image; its parameter is not const.
    auto* image = const_cast<std::uint8_t*>(bytes.data() + offset);
    return CreateIconFromResourceEx(image, size, TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR);
}

HICON WindowIcon(std::span<const std::uint8_t> bytes, int width, int height) {
    if (HICON icon = IconFromIcoFile(bytes, width, height)) return icon;
    // The program carries the same picture as its own icon.
    return static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(1), IMAGE_ICON, width,
                                         height, LR_DEFAULTCOLOR));
}

void ApplyIcons(LoadedWindow& window) {
    const std::span<const std::uint8_t> bytes = window.layout->window.icon;
    window.largeIcon.Reset(
        WindowIcon(bytes, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    window.smallIcon.Reset(
        WindowIcon(bytes, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    SendMessageW(window.hwnd, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(window.largeIcon.Get()));
    SendMessageW(window.hwnd, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(window.smallIcon.Get()));
}

// ---- Events

bool Alive(const LoadedWindow* window) {
    return Instance().Holds(window);
}

void RaiseClicked(LoadedWindow& window, std::size_t index) {
    RaiseEvent(*window.layout, window.layout->controls[index].name, Event::Clicked);
}

// Checks the radio, unchecks the rest of its group, then raises its Clicked.
void ClickRadio(LoadedWindow& window, std::size_t index) {
    for (const std::size_t member : RadioGroup(window.layout->controls, index)) {
        SendMessageW(window.controls[member].hwnd, BM_SETCHECK,
                     member == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    RaiseClicked(window, index);
}

// Raises LeftButtonDown of the control (none: the window itself); false swallows the press.
bool RaiseLeftButtonDown(LoadedWindow& window, std::optional<std::size_t> index, WPARAM keys,
                         LPARAM position) {
    const std::span<const ControlDesc> controls = window.layout->controls;
    if (index && !IsEnabled(controls, window.states, *index)) return true;
    EventArgs args;
    args.x = static_cast<std::int32_t>(LOWORD(position));
    args.y = static_cast<std::int32_t>(HIWORD(position));
    args.keyState = ((keys & MK_CONTROL) != 0 ? kCtrlHeld : 0) |
                    ((keys & MK_SHIFT) != 0 ? kShiftHeld : 0) |
                    (GetKeyState(VK_MENU) < 0 ? kAltHeld : 0);
    const std::string_view name = index ? controls[*index].name : std::string_view();
    return RaiseEvent(*window.layout, name, Event::LeftButtonDown, args);
}

// Some edit controls report a change also when a typed character was refused at the length
// limit; only a text that really differs is one.
void OnEditChanged(LoadedWindow& window, ControlWindow& control) {
    std::wstring text = WindowText(control.hwnd);
    if (text == control.text) return;
    control.text = std::move(text);
    RaiseEvent(*window.layout, DescOf(control).name, Event::TextChanged);
}

void OnControlCommand(LoadedWindow& window, HWND child, UINT code) {
    const std::optional<std::size_t> index = IndexOfHandle(window, child);
    if (!index) return;
    ControlWindow& control = window.controls[*index];
    switch (window.layout->controls[*index].cls) {
        case ControlClass::Button:
            if (code == BN_CLICKED) RaiseClicked(window, *index);
            break;
        case ControlClass::Radio:
            // A radio also reports a click when it merely gets the focus; only a release of the
            // mouse button or of Space over it is one.
            if (code == BN_CLICKED && control.clickFromInput) ClickRadio(window, *index);
            break;
        case ControlClass::Edit:
            if (code == EN_CHANGE && control.quietChanges == 0) OnEditChanged(window, control);
            break;
        default:
            break;
    }
}

// ---- Focus

void RestoreFocus(LoadedWindow& window) {
    const std::span<const ControlDesc> controls = window.layout->controls;
    std::optional<std::size_t> target;
    if (window.lastFocus && IsVisible(controls, window.states, *window.lastFocus) &&
        IsEnabled(controls, window.states, *window.lastFocus)) {
        target = window.lastFocus;
    } else {
        target = NextInTabOrder(controls, window.states, std::nullopt, +1);
    }
    if (target) SetFocus(window.controls[*target].hwnd);
}

void OnActivate(LoadedWindow& window, WORD state, bool minimised) {
    if (state == WA_INACTIVE) {
        if (const std::optional<std::size_t> focused = IndexOfHandle(window, GetFocus())) {
            window.lastFocus = focused;
        }
    } else if (!minimised) {
        RestoreFocus(window);
    }
}

void MoveFocus(LoadedWindow& window, std::optional<std::size_t> focused, int step) {
    const std::optional<std::size_t> next =
        NextInTabOrder(window.layout->controls, window.states, focused, step);
    if (next) SetFocus(window.controls[*next].hwnd);
}

// ---- Keyboard rules

int StepOfArrow(WPARAM key) {
    switch (key) {
        case VK_LEFT:
        case VK_UP:
            return -1;
        case VK_RIGHT:
        case VK_DOWN:
            return +1;
        default:
            return 0;
    }
}

bool OnArrow(LoadedWindow& window, std::optional<std::size_t> focused, int step) {
    if (!focused || window.layout->controls[*focused].cls != ControlClass::Radio) return false;
    const std::optional<std::size_t> next =
        NextRadio(window.layout->controls, window.states, *focused, step);
    if (next) {
        ClickRadio(window, *next);
        if (Alive(&window)) SetFocus(window.controls[*next].hwnd);
    }
    return true;
}

bool OnEnter(LoadedWindow& window, std::optional<std::size_t> focused) {
    const std::span<const ControlDesc> controls = window.layout->controls;
    if (focused && controls[*focused].cls == ControlClass::Edit) {
        const auto style = GetWindowLongPtrW(window.controls[*focused].hwnd, GWL_STYLE);
        if ((style & ES_MULTILINE) != 0 && (style & ES_READONLY) == 0) return false;
    }
    const EnterAction action =
        ActionForEnter(controls, window.states, window.layout->window.enterMovesFocus, focused);
    switch (action.kind) {
        case EnterAction::Kind::Click:
            RaiseClicked(window, action.control);
            break;
        case EnterAction::Kind::MoveFocus:
            MoveFocus(window, focused, +1);
            break;
        case EnterAction::Kind::None:
            break;
    }
    return true;
}

bool OnKeyDown(LoadedWindow& window, std::optional<std::size_t> focused, WPARAM key) {
    switch (key) {
        case VK_TAB:
            MoveFocus(window, focused, GetKeyState(VK_SHIFT) < 0 ? -1 : +1);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return OnArrow(window, focused, StepOfArrow(key));
        case VK_RETURN:
            return OnEnter(window, focused);
        case VK_ESCAPE:
            if (window.layout->window.escCloses) PostMessageW(window.hwnd, WM_CLOSE, 0, 0);
            return true;
        case VK_F1:
            return true;  // no help to open
        default:
            return false;
    }
}

bool OnMnemonic(LoadedWindow& window, WPARAM key) {
    const UINT mapped = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0xFFFFu;
    if (mapped == 0) return false;
    const std::optional<std::size_t> target =
        MnemonicTarget(window.layout->controls, window.states, static_cast<char32_t>(mapped));
    if (!target) return false;
    if (window.layout->controls[*target].cls == ControlClass::Radio) {
        ClickRadio(window, *target);
        if (Alive(&window)) SetFocus(window.controls[*target].hwnd);
    } else {
        RaiseClicked(window, *target);
    }
    return true;
}

// ---- Window procedures

[[noreturn]] void ReportUnexpectedFailure() {
    ShowFatalError("窗口处理消息时发生意外错误");
}

void OnDestroy(LoadedWindow& window) {
    if (!window.registered) return;  // a failed build: LoadWindow forgets the window itself
    window.registered = false;
    NoteWindowDestroyed(window.layout->window.name);
    if (LoadedWindowCount() == 0 && loopStarted) PostQuitMessage(0);
}

HBRUSH ColourControl(LoadedWindow& window, UINT message, HDC dc, HWND child) {
    const std::optional<std::size_t> index = IndexOfHandle(window, child);
    if (!index) return nullptr;
    const ControlDesc& desc = window.layout->controls[*index];
    // A disabled edit box asks as a static control; it keeps the system's look then.
    if (desc.cls == ControlClass::Edit && message != WM_CTLCOLOREDIT) return nullptr;
    SetTextColor(dc, TextColour(desc));
    SetBkColor(dc, BackgroundColour(desc));
    return BackgroundBrush(window, desc);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto* window = static_cast<LoadedWindow*>(
                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            window->hwnd = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        }
        auto* window = reinterpret_cast<LoadedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
        switch (message) {
            case WM_COMMAND:
                if (lParam == 0) break;
                OnControlCommand(*window, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                return 0;
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLOREDIT:
                if (HBRUSH brush = ColourControl(*window, message, reinterpret_cast<HDC>(wParam),
                                                 reinterpret_cast<HWND>(lParam))) {
                    return reinterpret_cast<LRESULT>(brush);
                }
                break;
            case WM_LBUTTONDOWN:
                if (!RaiseLeftButtonDown(*window, std::nullopt, wParam, lParam)) return 0;
                break;
            case WM_ACTIVATE:
                OnActivate(*window, LOWORD(wParam), HIWORD(wParam) != 0);
                return 0;
            case WM_SETFOCUS:
                RestoreFocus(*window);
                return 0;
            case WM_SETFONT:
                window->font = reinterpret_cast<HFONT>(wParam);
                return 0;
            case WM_GETFONT:
                return reinterpret_cast<LRESULT>(window->font);
            case WM_DESTROY:
                OnDestroy(*window);
                return 0;
            case WM_NCDESTROY: {
                const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
                Instance().Drop(window);
                return result;
            }
            default:
                break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    } catch (...) {
        ReportUnexpectedFailure();
    }
}

// Every control shows the pointer its layout names, the hand or the ordinary arrow; an edit box
// would otherwise show its text pointer.
bool ApplyControlCursor(const ControlDesc& desc, LPARAM hitTest) {
    if (LOWORD(hitTest) != HTCLIENT) return false;
    SetCursor(LoadCursorW(nullptr, desc.cursor == Cursor::Hand ? IDC_HAND : IDC_ARROW));
    return true;
}

void PaintLabel(const ControlWindow& control, HDC dc, const RECT& client) {
    const ControlDesc& desc = DescOf(control);
    FillRect(dc, &client, BackgroundBrush(*control.window, desc));
    const SelectGuard font(dc, control.font);
    SetTextColor(dc,
                 IsWindowEnabled(control.hwnd) ? TextColour(desc) : GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    UINT format = desc.align == HAlign::Centre  ? DT_CENTER
                  : desc.align == HAlign::Right ? DT_RIGHT
                                                : DT_LEFT;
    // Wrapped text runs from the top, breaking at CR LF and where a word does not fit; the
    // rectangle clips whatever is left over.  "&" underlines the next character.
    if (desc.wordWrap) {
        format |= DT_WORDBREAK | DT_TOP;
    } else {
        format |= DT_SINGLELINE | (desc.valign == VAlign::Centre ? DT_VCENTER : DT_TOP);
    }
    RECT area = client;
    const int length = control.shownCaption.size() > 0x7FFFFFFF
                           ? 0x7FFFFFFF
                           : static_cast<int>(control.shownCaption.size());
    DrawTextW(dc, control.shownCaption.c_str(), length, &area, format);
}

void PaintPicture(const ControlWindow& control, HDC dc, const RECT& client) {
    FillRect(dc, &client, BackgroundBrush(*control.window, DescOf(control)));
    IPicture* picture = control.picture.Get();
    if (picture == nullptr) return;
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);
    // At its own size, top-left corner on the client area's; the client area clips the rest.
    picture->Render(dc, 0, 0, control.pictureWidth, control.pictureHeight, 0, hmHeight, hmWidth,
                    -hmHeight, nullptr);
}

// Labels and picture boxes: drawn by the layer itself.
LRESULT CALLBACK DrawnControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            auto* control = static_cast<ControlWindow*>(
                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            control->hwnd = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
        }
        ControlWindow* control = ControlOfHandle(hwnd);
        if (control == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT paint;
                const HDC dc = BeginPaint(hwnd, &paint);
                RECT client;
                GetClientRect(hwnd, &client);
                if (DescOf(*control).cls == ControlClass::Label) {
                    PaintLabel(*control, dc, client);
                } else {
                    PaintPicture(*control, dc, client);
                }
                EndPaint(hwnd, &paint);
                return 0;
            }
            case WM_ERASEBKGND:
                return 1;  // the paint fills the whole client area
            case WM_SETFONT:
                control->font = reinterpret_cast<HFONT>(wParam);
                if (LOWORD(lParam) != 0) InvalidateRect(hwnd, nullptr, FALSE);
                return 0;
            case WM_GETFONT:
                return reinterpret_cast<LRESULT>(control->font);
            case WM_ENABLE:
                InvalidateRect(hwnd, nullptr, FALSE);
                return 0;
            case WM_LBUTTONDOWN:
                RaiseLeftButtonDown(*control->window, control->index, wParam, lParam);
                return 0;
            case WM_SETCURSOR:
                if (ApplyControlCursor(DescOf(*control), lParam)) return TRUE;
                break;
            case WM_NCDESTROY:
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
                break;
            default:
                break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    } catch (...) {
        ReportUnexpectedFailure();
    }
}

// Runs the standard control's own handling of a mouse release or Space release; a BN_CLICKED
// that it sends meanwhile is a real click.
LRESULT PassAsClick(ControlWindow& control, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool outer = control.clickFromInput;
    control.clickFromInput = true;
    const LRESULT result = CallWindowProcW(control.nativeProc, hwnd, message, wParam, lParam);
    control.clickFromInput = outer;
    return result;
}

bool IsForwardedToWindow(UINT message) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            return true;
        default:
            return false;
    }
}

// Group boxes, push buttons, edit boxes and radios: standard controls with the layer's rules
// in front of their own procedure.
LRESULT CALLBACK StandardControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        ControlWindow* control = ControlOfHandle(hwnd);
        const ControlDesc& desc = DescOf(*control);
        LoadedWindow& window = *control->window;
        switch (message) {
            case WM_LBUTTONDOWN:
                if (!RaiseLeftButtonDown(window, control->index, wParam, lParam)) return 0;
                break;
            case WM_LBUTTONDBLCLK:
                // The second press of a double click is a press of its own for buttons and radios
                // (a radio would otherwise only report a double click), and it is no
                // LeftButtonDown.
                if (desc.cls == ControlClass::Button || desc.cls == ControlClass::Radio) {
                    message = WM_LBUTTONDOWN;
                }
                break;
            case WM_LBUTTONUP:
                if (desc.cls == ControlClass::Radio) {
                    return PassAsClick(*control, hwnd, message, wParam, lParam);
                }
                break;
            case WM_KEYUP:
                if (desc.cls == ControlClass::Radio && wParam == VK_SPACE) {
                    return PassAsClick(*control, hwnd, message, wParam, lParam);
                }
                break;
            case WM_CHAR:
            case WM_IME_CHAR:
                if (desc.cls == ControlClass::Edit && desc.integerInput &&
                    !AcceptsTypedChar(static_cast<std::uint32_t>(wParam))) {
                    return 0;  // dropped without a sound
                }
                break;
            case WM_SETCURSOR:
                if (ApplyControlCursor(desc, lParam)) return TRUE;
                break;
            case WM_ERASEBKGND:
                if (desc.cls == ControlClass::GroupBox) {
                    RECT client;
                    GetClientRect(hwnd, &client);
                    FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush(window, desc));
                    return 1;
                }
                break;
            default:
                // A group box is the parent of the controls in it; their notifications belong to
                // the window.
                if (desc.cls == ControlClass::GroupBox && IsForwardedToWindow(message)) {
                    return SendMessageW(window.hwnd, message, wParam, lParam);
                }
                break;
        }
        return CallWindowProcW(control->nativeProc, hwnd, message, wParam, lParam);
    } catch (...) {
        ReportUnexpectedFailure();
    }
}

void RegisterWindowClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.hIcon = LoadIconW(ProgramInstance(), MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    windowClass.lpfnWndProc = DrawnControlProc;
    windowClass.hIcon = nullptr;
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = kLabelClass;
    RegisterClassExW(&windowClass);
    windowClass.lpszClassName = kPictureClass;
    RegisterClassExW(&windowClass);
}

// ---- Building a window

struct NativeClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

NativeClass NativeClassOf(const ControlDesc& desc) {
    switch (desc.cls) {
        case ControlClass::Label:
            return {kLabelClass, 0, 0};
        case ControlClass::GroupBox:
            return {L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
        case ControlClass::Button:
            return {L"BUTTON",
                    static_cast<DWORD>(desc.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                        BS_MULTILINE | BS_CENTER | BS_VCENTER,
                    0};
        case ControlClass::Edit:
            return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlClass::Radio:
            // Not an automatic radio: the layer owns the check marks.
            return {L"BUTTON", BS_RADIOBUTTON | BS_MULTILINE | BS_LEFT | BS_VCENTER, 0};
        case ControlClass::PictureBox:
            return {kPictureClass, desc.border ? static_cast<DWORD>(WS_BORDER) : 0u, 0};
    }
    return {kLabelClass, 0, 0};
}

// A single-line edit box is at least one line of its font ("吴" measured) and its two edges
// tall; left, top and width stay.
void KeepEditTallEnough(HWND edit, HFONT font, const ControlDesc& desc) {
    const HDC dc = GetDC(edit);
    if (dc == nullptr) return;
    SIZE line{};
    {
        const SelectGuard selected(dc, font);
        GetTextExtentPoint32W(dc, L"\u5434", 1, &line);
    }
    ReleaseDC(edit, dc);
    const int needed = line.cy + 2 * GetSystemMetrics(SM_CYEDGE);
    if (desc.height < needed) {
        SetWindowPos(edit, nullptr, 0, 0, desc.width, needed,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A themed group box or radio draws its caption in the theme's colour; a caption colour of
// its own needs the classic look.
void KeepCaptionColour(HWND hwnd, const ControlDesc& desc) {
    if (!desc.textColour.system) SetWindowTheme(hwnd, L" ", L" ");
}

bool CreateControl(LoadedWindow& window, std::size_t index) {
    const ControlDesc& desc = window.layout->controls[index];
    ControlWindow& control = window.controls[index];
    control.window = &window;
    control.index = index;
    const NativeClass native = NativeClassOf(desc);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | native.style;
    if (desc.disabled) style |= WS_DISABLED;
    if (desc.tabStop) style |= WS_TABSTOP;
    const std::string_view text = InitialText(desc);
    if (desc.cls == ControlClass::Label) {
        control.caption = std::string(text);
        control.shownCaption = WideFromGbk(text);
    }
    if (desc.cls == ControlClass::Edit) control.text = WideFromGbk(text);
    const std::wstring wideText = WideFromGbk(text);
    const HWND hwnd =
        CreateWindowExW(native.exStyle, native.name, wideText.c_str(), style, desc.left, desc.top,
                        desc.width, desc.height, window.hwnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstControlId) + index),
                        ProgramInstance(), &control);
    if (hwnd == nullptr) return false;
    control.hwnd = hwnd;
    if (desc.cls != ControlClass::Label && desc.cls != ControlClass::PictureBox) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
        control.nativeProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandardControlProc)));
    }
    control.font = Font(window, desc.font);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), FALSE);

    switch (desc.cls) {
        case ControlClass::Edit:
            if (desc.maxLength > 0) {
                SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(desc.maxLength), 0);
            }
            KeepEditTallEnough(hwnd, control.font, desc);
            break;
        case ControlClass::Radio:
            if (desc.checked) SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
            KeepCaptionColour(hwnd, desc);
            break;
        case ControlClass::GroupBox:
            KeepCaptionColour(hwnd, desc);
            break;
        case ControlClass::PictureBox:
            DecodePicture(control, desc.picture);
            break;
        default:
            break;
    }
    return true;
}

// Within each parent, a control earlier in layout order lies in front of a later one.
void StackControls(LoadedWindow& window, std::string_view parent) {
    HWND previous = HWND_TOP;
    for (const std::size_t index : StackingOrder(window.layout->controls, parent)) {
        const HWND hwnd = window.controls[index].hwnd;
        SetWindowPos(hwnd, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = hwnd;
    }
}

// Steps 1 to 6 of a build: everything exists, in place and stacked; controls shown, the
// window not yet.
bool BuildWindow(LoadedWindow& window) {
    const Layout& layout = *window.layout;
    const WindowDesc& desc = layout.window;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (desc.minimiseBox) style |= WS_MINIMIZEBOX;
    if (desc.maximiseBox) style |= WS_MAXIMIZEBOX;
    const Point position =
        desc.centred ? CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                       desc.width, desc.height)
                     : Point{desc.left, desc.top};
    const std::wstring caption = WideFromGbk(desc.caption);
    const HWND hwnd =
        CreateWindowExW(0, kWindowClass, caption.c_str(), style, position.x, position.y, desc.width,
                        desc.height, nullptr, nullptr, ProgramInstance(), &window);
    if (hwnd == nullptr) return false;
    RECT outer;
    if (GetWindowRect(hwnd, &outer) &&
        (outer.right - outer.left != desc.width || outer.bottom - outer.top != desc.height)) {
        SetWindowPos(hwnd, nullptr, position.x, position.y, desc.width, desc.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    ApplyIcons(window);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font(window, desc.font)), FALSE);

    const std::span<const ControlDesc> controls = layout.controls;
    for (std::size_t index = controls.size(); index-- > 0;) {
        if (!CreateControl(window, index)) return false;
    }
    for (std::size_t index = 0; index < controls.size(); ++index) {
        if (controls[index].parent.empty()) continue;
        const std::optional<std::size_t> group = FindControl(controls, controls[index].parent);
        if (!group) return false;
        const HWND hwndControl = window.controls[index].hwnd;
        if (SetParent(hwndControl, window.controls[*group].hwnd) == nullptr) return false;
        // Left and top keep their values, now counted from the group box's corner.
        SetWindowPos(hwndControl, nullptr, controls[index].left, controls[index].top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    StackControls(window, {});
    for (const ControlDesc& control : controls) {
        if (control.cls == ControlClass::GroupBox) StackControls(window, control.name);
    }
    for (std::size_t index = 0; index < controls.size(); ++index) {
        if (controls[index].visible) ShowWindow(window.controls[index].hwnd, SW_SHOWNA);
    }
    return true;
}

void ShowAndActivate(LoadedWindow& window) {
    if (!window.layout->window.visible) return;
    const HWND hwnd = window.hwnd;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    // The first ShowWindow of a process may take the show state its starter asked for
    // (minimised, say); the window opens in its normal state regardless.
    if (IsIconic(hwnd) || IsZoomed(hwnd) || !IsWindowVisible(hwnd)) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
    }
    SetForegroundWindow(hwnd);
    RestoreFocus(window);
}

bool Win32Backend::LoadWindow(const Layout& layout) {
    RegisterWindowClasses();
    SuspendedEvents suspended(GlobalEventGate());
    LoadedWindow* window = Adopt(std::make_unique<LoadedWindow>(layout));
    if (!BuildWindow(*window)) {
        // A window that did get created frees its state when it is destroyed.
        if (Holds(window) && window->hwnd != nullptr) DestroyWindow(window->hwnd);
        Drop(window);
        return false;
    }
    window->registered = true;
    suspended.Resume();
    RaiseEvent(layout, {}, Event::Created);
    if (Holds(window)) ShowAndActivate(*window);  // unless the handler closed the window
    return true;
}

ReadText Win32Backend::ReadTextProperty(const Layout& layout, const ControlDesc& desc,
                                        Property property) {
    const ControlWindow& control = Control(Require(layout), desc);
    if (property == Property::Caption) return control.caption;
    return GbkFromWide(WindowText(control.hwnd));
}

void Win32Backend::WriteTextProperty(const Layout& layout, const ControlDesc& desc,
                                     Property property, std::string_view text) {
    LoadedWindow& window = Require(layout);
    ControlWindow& control = Control(window, desc);
    if (property == Property::Caption) {
        std::string caption(text);
        std::wstring shown = WideFromGbk(caption);
        control.caption = std::move(caption);
        control.shownCaption = std::move(shown);
        // Also the window text, so that WM_GETTEXT gives the caption.
        SetWindowTextW(control.hwnd, control.shownCaption.c_str());
        InvalidateRect(control.hwnd, nullptr, FALSE);
        UpdateWindow(control.hwnd);
        return;
    }
    const std::wstring wide = WideFromGbk(text);
    // The box reports the new text itself, or not, depending on the platform; the event is
    // raised here exactly once instead.
    ++control.quietChanges;
    SetWindowTextW(control.hwnd, wide.c_str());
    --control.quietChanges;
    control.text = WindowText(control.hwnd);
    RaiseEvent(layout, desc.name, Event::TextChanged);
}

void Win32Backend::WriteDisabled(const Layout& layout, const ControlDesc& desc, bool disabled) {
    LoadedWindow& window = Require(layout);
    ControlWindow& control = Control(window, desc);
    ControlState& state = window.states[control.index];
    if (state.disabled == disabled) return;
    const HWND focus = GetFocus();
    const bool hadFocus = focus == control.hwnd || IsChild(control.hwnd, focus);
    state.disabled = disabled;
    EnableWindow(control.hwnd, disabled ? FALSE : TRUE);
    // A disabled control cannot hold the focus; it goes to the first control in Tab order.
    if (disabled && hadFocus) {
        window.lastFocus.reset();
        RestoreFocus(window);
    }
}

bool oleReady = false;

}  // namespace

Backend& TheBackend() {
    return Instance();
}

bool PreTranslateMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    try {
        LoadedWindow* window = Instance().FindByHandle(GetAncestor(message.hwnd, GA_ROOT));
        if (window == nullptr) return false;
        if (message.message == WM_SYSKEYDOWN) return OnMnemonic(*window, message.wParam);
        return OnKeyDown(*window, IndexOfHandle(*window, message.hwnd), message.wParam);
    } catch (...) {
        ReportUnexpectedFailure();
    }
}

void NoteMessageLoopStarted() {
    loopStarted = true;
}

void PrepareOle() {
    if (oleReady) return;
    oleReady = SUCCEEDED(OleInitialize(nullptr));
}

void ReleaseOle() {
    if (!oleReady) return;
    OleUninitialize();
    oleReady = false;
}

}  // namespace tessarune::forms::win32
