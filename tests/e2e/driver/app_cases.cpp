// The app suite of e2e_driver: the main window of Tessarune.exe driven with real input under
// Wine.  The window's state is read back through the window system: texts, check marks, the
// enabled state, the focus, the caption of 标签3 and the clipboard.  The target level is not
// visible by itself; a calculation shows it, so the cases press 计算等级 and compare the report
// with the one the calculation gives for the level expected.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "calc/level_report.h"
#include "tests/e2e/driver/cases.h"
#include "tests/e2e/driver/driver.h"

namespace tessarune::e2e {
namespace {

// The controls by layout index (control ID 1000 + index).
const std::vector<std::string> kNames = {
    "标签4",   "标签3",   "分组框4", "按钮1",   "编辑框3", "标签1",   "分组框3",
    "编辑框2", "单选框7", "单选框6", "单选框5", "单选框4", "单选框3", "单选框2",
    "单选框1", "分组框2", "标签2",   "编辑框1", "分组框1", "图片框1",
};

const std::vector<std::string_view> kRadios = {"单选框1", "单选框2", "单选框3", "单选框4",
                                               "单选框5", "单选框6", "单选框7"};

// Tab order while 编辑框2 is disabled.
const std::vector<std::string_view> kTabOrder = {"编辑框1", "单选框1", "单选框2", "单选框3",
                                                 "单选框4", "单选框5", "单选框6", "单选框7",
                                                 "编辑框3", "按钮1"};

constexpr int kWidth = 599, kHeight = 391;

std::string Code(DWORD code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

void CheckExitCode(DWORD seen) {
    Check(seen == 0, "exit code: expected 0x00000000, seen " + Code(seen));
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

// Clicks 标签4 and waits until the clipboard holds `expected` as CF_TEXT.  The clipboard is
// read only once the program has changed it: while the driver has it open, the program's copy
// would fail.
void CopyAndExpect(HWND copyLink, std::string_view expected) {
    SetClipboardUnicode(L"old");
    const DWORD before = GetClipboardSequenceNumber();
    Click(copyLink, POINT{25, 8});
    Check(PollUntil([&] { return GetClipboardSequenceNumber() != before; }),
          "复制结果 did not change the clipboard");
    std::string seen = "(no CF_TEXT)";
    const bool matched = PollUntil([&] {
        const std::optional<std::string> block = ClipboardBlock(CF_TEXT);
        if (!block) return false;
        seen = block->substr(0, block->find('\0'));
        return seen == expected;
    });
    if (!matched) CheckText("CF_TEXT on the clipboard", expected, seen);
}

// Runs `step`; a failed check names `context` in front of its message.
template <class Step>
void WithContext(const std::string& context, Step step) {
    try {
        step();
    } catch (const CheckFailure& failure) {
        Fail(context + ": " + failure.message);
    }
}

class Tool : public Target {
public:
    explicit Tool(const std::wstring& exe) : Target(exe, kNames) {}

    // Waits until no control of the program holds the mouse capture.  A button keeps it until
    // its click handler has returned, and a click queued before that would go to the button
    // instead of the control under the pointer.
    void Settle() const {
        const DWORD thread = GetWindowThreadProcessId(Window(), nullptr);
        const bool released = PollUntil([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && info.hwndCapture == nullptr;
        });
        Check(released, "the program keeps the mouse captured");
    }

    // Clicks a control and waits until it holds the focus, so that keys typed next reach it.
    void FocusByClick(std::string_view name) {
        Click(Control(name));
        ExpectFocus(name);
    }

    // Replaces the text of an edit box as a user would: Backspace over the old text, then paste
    // the new one (pasted text passes the box's integer-text filter).
    void SetBox(std::string_view box, std::string_view text) {
        FocusByClick(box);
        PressKey(VK_END);
        for (std::size_t i = ReadTextW(Control(box)).size(); i > 0; --i) PressKey(VK_BACK);
        ExpectText(box, "");
        if (text.empty()) return;
        SetClipboardUnicode(FromGbk(text));
        PressKey('V', kCtrl);
        ExpectText(box, text);
    }

    // Presses 计算等级 and waits for the report the calculation gives for the boxes' texts and
    // `level`.
    void ExpectLevel(std::int32_t level) {
        const std::string expected = calc::CalculateLevelReport(
            ReadText(Control("编辑框1")), ReadText(Control("编辑框3")), level);
        Click(Control("按钮1"));
        ExpectText("标签3", expected);
        Settle();
    }

    // Clicks a radio and waits for its check mark and the state of the custom box that follows.
    void Choose(std::string_view radio) {
        Click(Control(radio));
        ExpectChecked(kRadios, radio);
        ExpectEnabled("编辑框2", radio == "单选框7");
        Settle();
    }
};

void StartShowsTheLayoutsState(const std::wstring& exe) {
    Tool t(exe);
    CheckText("window title", "Tessarune", ReadText(t.Window()));
    RECT frame{};
    GetWindowRect(t.Window(), &frame);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    Check(frame.left == left && frame.top == top && frame.right - frame.left == kWidth &&
              frame.bottom - frame.top == kHeight,
          "window frame: expected " + std::to_string(kWidth) + "x" + std::to_string(kHeight) +
              " at " + std::to_string(left) + "," + std::to_string(top) + ", seen " +
              std::to_string(frame.right - frame.left) + "x" +
              std::to_string(frame.bottom - frame.top) + " at " + std::to_string(frame.left) + "," +
              std::to_string(frame.top));
    const LONG style = GetWindowLongW(t.Window(), GWL_STYLE);
    Check((style & WS_MINIMIZEBOX) && (style & WS_SYSMENU), "no minimise box or system menu");
    Check(!(style & WS_MAXIMIZEBOX) && !(style & WS_THICKFRAME),
          "the window can be maximised or resized");
    // Wine answers WM_GETICON from another process with nothing, so only the program file's
    // icon, from which the window's comes, is checked.
    const HMODULE file = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(file != nullptr, "cannot read the resources of the program file");
    const bool hasIcon = FindResourceW(file, MAKEINTRESOURCEW(1), RT_GROUP_ICON) != nullptr;
    FreeLibrary(file);
    Check(hasIcon, "the program file carries no icon 1");
    // The manifest brings in the common controls of version 6, whose button class is global.
    Check((GetClassLongW(t.Control("按钮1"), GCL_STYLE) & CS_GLOBALCLASS) != 0,
          "按钮1 is not a button of the version 6 common controls");
    Check(PollUntil([&] { return GetForegroundWindow() == t.Window(); }),
          "the window is not in the foreground");

    t.ExpectFocus("编辑框1");
    t.ExpectChecked(kRadios, "单选框1");
    t.ExpectEnabled("编辑框2", false);
    t.ExpectText("编辑框2", "100");
    t.ExpectText("编辑框1", "2");
    t.ExpectText("编辑框3", "2");
    t.ExpectText("标签3", "");
    t.ExpectText("标签4", "复制结果");
    // The level is 64 before the user has done anything.
    t.ExpectLevel(64);
}

void TabVisitsTheControlsInOrder(const std::wstring& exe) {
    Tool t(exe);
    t.ExpectFocus(kTabOrder[0]);
    for (std::size_t i = 1; i <= kTabOrder.size(); ++i) {
        PressKey(VK_TAB);
        t.ExpectFocus(kTabOrder[i % kTabOrder.size()]);
    }
    for (std::size_t i = kTabOrder.size(); i-- > 0;) {
        PressKey(VK_TAB, kShift);
        t.ExpectFocus(kTabOrder[i]);
    }
    // Passing over the radios checked none of them.
    t.ExpectChecked(kRadios, "单选框1");
    t.ExpectEnabled("编辑框2", false);

    // Enabled, the custom box comes between 单选框7 and 编辑框3.
    t.Choose("单选框7");
    t.ExpectFocus("单选框7");
    for (const auto name : {"编辑框2", "编辑框3"}) {
        PressKey(VK_TAB);
        t.ExpectFocus(name);
    }
    for (const auto name : {"编辑框2", "单选框7"}) {
        PressKey(VK_TAB, kShift);
        t.ExpectFocus(name);
    }
}

void ArrowKeysChooseTheLevel(const std::wstring& exe) {
    Tool t(exe);
    PressKey(VK_TAB);
    t.ExpectFocus("单选框1");
    // Up on the first radio wraps to the last, the custom level.
    PressKey(VK_UP);
    t.ExpectChecked(kRadios, "单选框7");
    t.ExpectFocus("单选框7");
    t.ExpectEnabled("编辑框2", true);
    t.ExpectLevel(100);

    // Down on the last wraps to the first and greys the box again; then on through the presets.
    t.FocusByClick("单选框7");
    const std::int32_t levels[] = {64, 128, 192, 256, 512, 768};
    for (std::size_t i = 0; i < 6; ++i) {
        PressKey(VK_DOWN);
        t.ExpectChecked(kRadios, kRadios[i]);
        t.ExpectFocus(kRadios[i]);
        t.ExpectEnabled("编辑框2", false);
        if (i == 0 || i == 3) {
            t.ExpectLevel(levels[i]);
            t.FocusByClick(kRadios[i]);
        }
    }
    t.ExpectLevel(768);
    t.FocusByClick("单选框6");
    PressKey(VK_RIGHT);
    t.ExpectChecked(kRadios, "单选框7");
    t.ExpectEnabled("编辑框2", true);
    PressKey(VK_LEFT);
    t.ExpectChecked(kRadios, "单选框6");
    t.ExpectEnabled("编辑框2", false);
}

void CustomBoxSetsTheLevel(const std::wstring& exe) {
    Tool t(exe);
    t.Choose("单选框7");
    t.ExpectLevel(100);

    // Deleting the text leaves level 0.
    t.FocusByClick("编辑框2");
    PressKey(VK_END);
    for (const auto text : {"10", "1", ""}) {
        PressKey(VK_BACK);
        t.ExpectText("编辑框2", text);
    }
    t.ExpectLevel(0);

    // Typed: only digits and the minus sign, and at most four characters.
    t.FocusByClick("编辑框2");
    TypeKeys(L"2a5.6 +");
    t.ExpectText("编辑框2", "256");
    t.ExpectLevel(256);
    t.FocusByClick("编辑框2");
    PressKey(VK_END);
    TypeKeys(L"-9");
    t.ExpectText("编辑框2", "256-");

    // Pasted: anything, up to four characters; full-width digits count as digits.
    const struct {
        const char* paste;
        const char* text;
        std::int32_t level;
    } pastes[] = {{"-5", "-5", -5}, {"1e3", "1e3", 1000}, {"１２３４５", "１２３４", 1234}};
    for (const auto& p : pastes) {
        t.SetBox("编辑框2", "");
        SetClipboardUnicode(FromGbk(p.paste));
        PressKey('V', kCtrl);
        t.ExpectText("编辑框2", p.text);
        t.ExpectLevel(p.level);
    }
    // A paste fills the box up to its limit.
    t.SetBox("编辑框2", "12");
    PressKey(VK_END);
    SetClipboardUnicode(L"999");
    PressKey('V', kCtrl);
    t.ExpectText("编辑框2", "1299");
    t.ExpectLevel(1299);

    // A preset greys the box, which keeps its text; choosing the custom level reads it again.
    t.Choose("单选框2");
    t.ExpectText("编辑框2", "1299");
    t.ExpectLevel(128);
    // The greyed box takes neither the focus nor keys.  The radio's click is queued behind the
    // keys, so once it shows they have been handled.
    Click(t.Control("编辑框2"));
    PressKey(VK_BACK);
    TypeKeys(L"7");
    t.ExpectFocus("按钮1");
    t.Choose("单选框7");
    t.ExpectText("编辑框2", "1299");
    t.ExpectLevel(1299);
}

// Keeps a picture of the window after its first report where TESSARUNE_ARTIFACTS names a
// folder (a Unix path under Wine), for people to look at.
void SavePictureAfterCalculation(HWND window) {
    const wchar_t* folder = _wgetenv(L"TESSARUNE_ARTIFACTS");
    if (folder == nullptr || *folder == L'\0') return;
    const std::wstring path = ToWindowsPath(folder) + L"\\tessarune-after-calculation.bmp";
    Check(SaveWindowPicture(window, path), "a picture of the window could not be saved");
}

void ReportsOfTheWorkedExamples(const std::wstring& exe) {
    const std::string_view head = "经过软件系统的计算：";
    const struct {
        const char* radio;
        const char* hours;
        const char* points;
        std::string report;
    } cases[] = {
        {"单选框1", "8", "500",
         Lines({head, "您当前积分：500", "对应等级：45", "升级所需积分：573", "需要时间：2月11日",
                "具体时间：23天 或者 573小时"})},
        {"单选框6", "24", "0",
         Lines({head, "您当前积分：0", "对应等级：2", "升级所需积分：148033",
                "需要时间：17年3月26日", "具体时间：6168天 或者 148033小时"})},
        {"单选框5", "1", "0",
         Lines({head, "您当前积分：0", "对应等级：2", "升级所需积分：65921",
                "需要时间：185年2月1日", "具体时间：2746天 或者 65921小时"})},
        {"单选框1", "0.5", "1000",
         Lines({head, "您当前积分：1000", "对应等级：63", "升级所需积分：73", "需要时间：",
                "具体时间：3天 或者 73小时"})},
        {"单选框1", "25", "2", Lines({head, "每日挂机的时间不能比24大切不能小于0,请检查"})},
        {"单选框1", "8", "1074", Lines({head, "您的等级已经超过了所选择的积分等级,所以查询失败."})},
    };
    Tool t(exe);
    for (const auto& c : cases) {
        WithContext(std::string(c.radio) + ", hours " + Describe(std::string_view(c.hours)) +
                        ", points " + Describe(std::string_view(c.points)),
                    [&] {
                        t.Choose(c.radio);
                        t.SetBox("编辑框1", c.hours);
                        t.SetBox("编辑框3", c.points);
                        Click(t.Control("按钮1"));
                        t.ExpectText("标签3", c.report);
                        t.Settle();
                        if (&c == &cases[0]) SavePictureAfterCalculation(t.Window());
                    });
    }
}

void EnterAndEscDoNothingSpaceCalculates(const std::wstring& exe) {
    Tool t(exe);
    t.SetBox("编辑框1", "8");
    t.SetBox("编辑框3", "500");
    t.ExpectLevel(64);
    const std::string first = ReadText(t.Control("标签3"));
    t.SetBox("编辑框3", "501");
    PressKey(VK_TAB);
    t.ExpectFocus("按钮1");
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    // Input is handled in order: the copy shows the caption as it stood after Enter and Esc.
    CopyAndExpect(t.Control("标签4"), first);
    Check(t.Program().IsRunning() && IsWindowVisible(t.Window()), "Esc closed the window");
    t.ExpectFocus("按钮1");

    PressKey(VK_SPACE);
    t.ExpectText("标签3", calc::CalculateLevelReport("8", "501", 64));
}

void CopyPutsTheCaptionOnTheClipboard(const std::wstring& exe) {
    Tool t(exe);
    // Before any calculation the caption is empty, and so is the copied text.
    CopyAndExpect(t.Control("标签4"), "");

    // The caption as written, ampersand included, byte for byte.
    t.SetBox("编辑框3", "5&0");
    t.ExpectLevel(64);
    const std::string report = ReadText(t.Control("标签3"));
    Check(report.find("您当前积分：5&0\r\n") != std::string::npos,
          "the report does not show the points as typed: " + Describe(report));
    CopyAndExpect(t.Control("标签4"), report);
    const std::wstring unicode = ClipboardUnicode();
    Check(unicode == FromGbk(report),
          "CF_UNICODETEXT: expected " + Describe(FromGbk(report)) + ", seen " + Describe(unicode));
}

// A point of the window's close button, found by asking the window what lies under the points
// of its caption bar.
POINT CloseButtonOf(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    long sumX = 0, sumY = 0, count = 0;
    for (int y = frame.top; y < frame.top + 40; ++y) {
        for (int x = frame.right - 60; x < frame.right; ++x) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                                kWaitMs, &hit);
            if (hit == HTCLOSE) {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    }
    if (count == 0) Fail("the caption bar has no close button");
    return {sumX / count, sumY / count};
}

struct FileEntry {
    std::wstring name;
    ULONGLONG size;
    FILETIME written;
};

// The files of a folder with their sizes and times of last writing.
std::vector<FileEntry> ListFolder(const std::wstring& folder) {
    std::vector<FileEntry> entries;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        entries.push_back({found.cFileName,
                           (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow,
                           found.ftLastWriteTime});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

bool SameListing(const std::vector<FileEntry>& a, const std::vector<FileEntry>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].size != b[i].size ||
            CompareFileTime(&a[i].written, &b[i].written) != 0) {
            return false;
        }
    }
    return true;
}

void ClosingEndsWithExitCodeZero(const std::wstring& exe) {
    const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    const std::vector<FileEntry> before = ListFolder(folder);
    WithContext("close button", [&] {
        Tool t(exe);
        ClickAtScreen(CloseButtonOf(t.Window()));
        CheckExitCode(t.Program().WaitForExit());
    });
    WithContext("system menu", [&] {
        Tool t(exe);
        PressKey(VK_SPACE, kAlt);
        Check(PollUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }),
              "Alt+Space opened no system menu");
        PressKey('C');
        CheckExitCode(t.Program().WaitForExit());
    });
    WithContext("Alt+F4", [&] {
        Tool t(exe);
        t.SetBox("编辑框1", "8");
        PressKey(VK_F4, kAlt);
        CheckExitCode(t.Program().WaitForExit());
    });
    Check(SameListing(before, ListFolder(folder)), "the program's folder changed");
}

void SecondInstanceIsIndependent(const std::wstring& exe) {
    Tool first(exe);
    Tool second(exe);
    Check(first.Window() != second.Window(), "both starts show the same window");
    second.ExpectFocus("编辑框1");
    second.Choose("单选框7");
    first.ExpectEnabled("编辑框2", false);
    first.ExpectChecked(kRadios, "单选框1");
    PressKey(VK_F4, kAlt);
    CheckExitCode(second.Program().WaitForExit());

    Check(first.Program().IsRunning(), "closing the second window ended the first program");
    first.ExpectLevel(64);
    CheckExitCode(first.Close());
}

}  // namespace

std::vector<Case> AppCases(const std::wstring& exe) {
    const auto with = [&exe](void (*run)(const std::wstring&)) { return [exe, run] { run(exe); }; };
    return {
        {"start: layout, centred window, focus on 编辑框1, level 64",
         with(StartShowsTheLayoutsState)},
        {"tab: the order of the layout, 编辑框2 only while enabled",
         with(TabVisitsTheControlsInOrder)},
        {"arrows: through 单选框1 to 单选框7 and around, each choosing its level",
         with(ArrowKeysChooseTheLevel)},
        {"custom level: typed, deleted and pasted into 编辑框2", with(CustomBoxSetsTheLevel)},
        {"reports: the worked examples through the window", with(ReportsOfTheWorkedExamples)},
        {"keys: Enter and Esc do nothing, Space on 按钮1 calculates",
         with(EnterAndEscDoNothingSpaceCalculates)},
        {"copy: the caption of 标签3 on the clipboard", with(CopyPutsTheCaptionOnTheClipboard)},
        {"close: close button, system menu and Alt+F4 end with 0, nothing written",
         with(ClosingEndsWithExitCodeZero)},
        {"second start: an independent window", with(SecondInstanceIsIndependent)},
    };
}

}  // namespace tessarune::e2e
