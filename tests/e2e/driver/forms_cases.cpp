// The form layer's rules, checked on the harness program with real input. The harness's
// handlers append a record for every event to the caption of its label 日志; the cases follow
// that log record by record.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/cases.h"

namespace tessarune::e2e {

namespace {

// The harness's controls by layout index.
const std::vector<std::string> kNames = {
    "日志",    "分组框1", "单选框1", "单选框2", "单选框3", "单选框4", "按钮1",   "按钮2",
    "编辑框1", "编辑框2", "编辑框3", "分组框2", "标签1",   "标签2",   "图片框1", "按钮3",
};

// Tab order while 编辑框3 is disabled: equal ranks go in reverse layout order.
const std::vector<std::string_view> kTabOrder = {
    "编辑框2", "编辑框1", "按钮2", "按钮1", "单选框4", "单选框3", "单选框2", "单选框1",
};

const std::vector<std::string_view> kGroup = {"单选框1", "单选框2", "单选框3"};

std::string Code(DWORD code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

// The runs of decimal digits in a text.
std::vector<std::string> Numbers(std::string_view text) {
    std::vector<std::string> numbers;
    std::string run;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            run += c;
        } else if (!run.empty()) {
            numbers.push_back(std::move(run));
            run.clear();
        }
    }
    if (!run.empty()) numbers.push_back(std::move(run));
    return numbers;
}

void CheckExitCode(DWORD expected, DWORD seen) {
    Check(seen == expected, "exit code: expected " + Code(expected) + ", seen " + Code(seen));
}

// A started harness whose event log is followed: every check names the records that the log
// must have gained since the previous one, no more and no fewer.
class Harness : public Target {
public:
    // No handler may run while the window loads, so the log starts with Created alone.
    explicit Harness(const std::wstring& exe) : Target(exe, kNames) { Expect("created;"); }

    // Waits until the log holds exactly what it held before plus `records`.
    void Expect(std::string_view records) {
        const std::string expected = log_ + std::string(records);
        std::string seen;
        // The log only grows, so once it leaves the expected text it never comes back.
        PollUntil([&] {
            seen = ReadText(Control("日志"));
            return seen == expected || !expected.starts_with(seen);
        });
        if (seen != expected) {
            const std::string added = seen.starts_with(log_)
                                          ? Describe(std::string_view(seen).substr(log_.size()))
                                          : "the whole log " + Describe(seen);
            Fail("event log: after " + Describe(log_) + " expected " + Describe(records) +
                 ", seen " + added);
        }
        log_ = expected;
    }

    // Proves that nothing was logged since the last check: a press on 标签1, which records
    // itself and nothing else, must give the very next record. Input is handled in order, so
    // everything sent before it has been handled by then.
    void ExpectNothing() {
        const int x = 10 + 20 * (presses_ % 8);
        const int y = 10 + 20 * (presses_ / 8 % 3);
        ++presses_;
        Click(Control("标签1"), POINT{x, y});
        Expect("label1:" + std::to_string(x) + "," + std::to_string(y) + ",0;");
    }

private:
    std::string log_;
    int presses_ = 0;
};

void LoadShowsTheLayout(const std::wstring& exe) {
    Harness h(exe);
    CheckText("window title", "Forms harness", ReadText(h.Window()));
    RECT frame{};
    GetWindowRect(h.Window(), &frame);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const RECT centred{(width - 480) / 2, (height - 360) / 2, (width - 480) / 2 + 480,
                       (height - 360) / 2 + 360};
    const auto show = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " to " +
               std::to_string(r.right) + "," + std::to_string(r.bottom);
    };
    Check(EqualRect(&frame, &centred),
          "window frame: expected " + show(centred) + ", seen " + show(frame));
    Check(PollUntil([&] { return GetForegroundWindow() == h.Window(); }),
          "the harness window is not in the foreground");
    h.ExpectFocus("编辑框2");
    h.ExpectChecked(kGroup, "单选框1");
    h.ExpectChecked({"单选框4"}, "");
    h.ExpectText("编辑框1", "12");
    h.ExpectText("编辑框2", "");
    h.ExpectText("编辑框3", "keep");
    h.ExpectEnabled("编辑框3", false);
    h.ExpectNothing();
}

void TabFollowsTheOrderAndWraps(const std::wstring& exe) {
    Harness h(exe);
    h.ExpectFocus(kTabOrder[0]);
    for (std::size_t i = 1; i <= kTabOrder.size(); ++i) {
        PressKey(VK_TAB);
        h.ExpectFocus(kTabOrder[i % kTabOrder.size()]);
    }
    for (std::size_t i = kTabOrder.size(); i-- > 0;) {
        PressKey(VK_TAB, kShift);
        h.ExpectFocus(kTabOrder[i]);
    }
    // Passing over the radios, the unchecked ones included, clicked none of them.
    h.ExpectNothing();
    h.ExpectChecked(kGroup, "单选框1");
    h.ExpectChecked({"单选框4"}, "");
}

void DisabledEditBoxIsInert(const std::wstring& exe) {
    Harness h(exe);
    Click(h.Control("编辑框3"));
    h.ExpectNothing();
    h.ExpectFocus("编辑框2");
    h.ExpectText("编辑框3", "keep");

    Click(h.Control("按钮2"));
    h.Expect("button:2;");
    h.ExpectEnabled("编辑框3", true);
    h.ExpectText("编辑框3", "keep");
    h.ExpectFocus("按钮2");
    // Enabled, it comes first in Tab order (the last of the equal ranks in layout order).
    for (const auto name : {"编辑框1", "编辑框2", "编辑框3", "单选框1"}) {
        PressKey(VK_TAB, kShift);
        h.ExpectFocus(name);
    }

    Click(h.Control("按钮2"));
    h.Expect("button:2;");
    h.ExpectEnabled("编辑框3", false);
    h.ExpectText("编辑框3", "keep");
    for (const auto name : {"编辑框1", "编辑框2", "单选框1"}) {
        PressKey(VK_TAB, kShift);
        h.ExpectFocus(name);
    }
    h.ExpectNothing();
}

void RadioClickRaisesClickedOnce(const std::wstring& exe) {
    Harness h(exe);
    Click(h.Control("单选框2"));
    h.Expect("radio:2;");
    h.ExpectChecked(kGroup, "单选框2");
    h.ExpectFocus("单选框2");

    Click(h.Control("单选框2"));
    h.Expect("radio:2;");
    h.ExpectChecked(kGroup, "单选框2");

    DoubleClick(h.Control("单选框3"));
    h.Expect("radio:3;radio:3;");
    h.ExpectChecked(kGroup, "单选框3");

    // 单选框4 is a group of its own: checking it leaves the other group's check alone.
    Click(h.Control("单选框4"));
    h.Expect("radio:4;");
    h.ExpectChecked({"单选框4"}, "单选框4");
    h.ExpectChecked(kGroup, "单选框3");
    h.ExpectNothing();
}

void ArrowsMoveAmongTheGroup(const std::wstring& exe) {
    Harness h(exe);
    Click(h.Control("单选框3"));
    h.Expect("radio:3;");
    // The group in Tab order is 单选框3, 单选框2, 单选框1.
    struct Step {
        WORD key;
        std::string_view to;
        std::string_view record;
    };
    const Step steps[] = {
        {VK_DOWN, "单选框2", "radio:2;"}, {VK_DOWN, "单选框1", "radio:1;"},
        {VK_DOWN, "单选框3", "radio:3;"},  // the last wraps to the first
        {VK_UP, "单选框1", "radio:1;"},    // the first wraps to the last
        {VK_UP, "单选框2", "radio:2;"},   {VK_RIGHT, "单选框1", "radio:1;"},
        {VK_LEFT, "单选框2", "radio:2;"},
    };
    for (const Step& step : steps) {
        PressKey(step.key);
        h.Expect(step.record);
        h.ExpectChecked(kGroup, step.to);
        h.ExpectFocus(step.to);
    }

    for (const auto name : {"单选框3", "单选框4"}) {
        PressKey(VK_TAB, kShift);
        h.ExpectFocus(name);
    }
    // Alone in its group, 单选框4 has nowhere to go.
    for (const WORD key : {WORD{VK_DOWN}, WORD{VK_UP}, WORD{VK_RIGHT}, WORD{VK_LEFT}})
        PressKey(key);
    h.ExpectNothing();
    h.ExpectFocus("单选框4");
    h.ExpectChecked({"单选框4"}, "");
    h.ExpectChecked(kGroup, "单选框2");
}

void KeysClickButtons(const std::wstring& exe) {
    Harness h(exe);
    for (const auto name : {"编辑框1", "按钮2", "按钮1"}) {
        PressKey(VK_TAB);
        h.ExpectFocus(name);
    }
    // 按钮1 is no default button: Enter clicks the default button 按钮2 instead.
    PressKey(VK_RETURN);
    h.Expect("button:2;");
    h.ExpectEnabled("编辑框3", true);
    h.ExpectFocus("按钮1");

    PressKey(VK_SPACE);
    h.Expect("button:1;text:2=ab;");
    h.ExpectText("编辑框2", "ab");

    Click(h.Control("编辑框1"));
    h.ExpectFocus("编辑框1");
    PressKey(VK_RETURN);
    h.Expect("button:2;");
    h.ExpectEnabled("编辑框3", false);

    PressKey('B', kAlt);
    h.Expect("button:1;text:2=ab;");
    PressKey('C', kAlt);
    h.Expect("radio:3;");
    h.ExpectChecked(kGroup, "单选框3");
    h.ExpectNothing();
}

void DoubleClicks(const std::wstring& exe) {
    Harness h(exe);
    DoubleClick(h.Control("标签2"), POINT{20, 8});
    h.Expect("down:20,8,0;copy:1;");
    h.ExpectNothing();

    DoubleClick(h.Control("按钮1"));
    h.Expect("button:1;text:2=ab;button:1;text:2=ab;");
    h.ExpectNothing();
}

void LeftButtonDownArguments(const std::wstring& exe) {
    Harness h(exe);
    struct Press {
        POINT at;
        unsigned keys;
        int keyState;
    };
    const Press presses[] = {
        {{7, 5}, kNoModifier, 0},      {{30, 3}, kCtrl, 1}, {{45, 11}, kShift, 2},
        {{12, 12}, kCtrl | kShift, 3}, {{50, 2}, kAlt, 4},  {{0, 0}, kNoModifier, 0},
    };
    for (const Press& press : presses) {
        HeldKeys held(press.keys);
        Click(h.Control("标签2"), press.at);
        h.Expect("down:" + std::to_string(press.at.x) + "," + std::to_string(press.at.y) + "," +
                 std::to_string(press.keyState) + ";copy:1;");
    }
}

void IntegerTextInput(const std::wstring& exe) {
    Harness h(exe);
    Click(h.Control("编辑框1"));
    h.ExpectFocus("编辑框1");
    PressKey(VK_END);
    TypeKeys(L"a.Z +");
    TypeUnicode(L"中x");
    h.ExpectNothing();
    h.ExpectText("编辑框1", "12");

    TypeKeys(L"5-");
    h.Expect("text:1=125;text:1=125-;");
    PressKey(VK_BACK);
    h.Expect("text:1=125;");

    // Pasted text is not filtered.
    SetClipboardUnicode(L"abc");
    PressKey('V', kCtrl);
    h.Expect("text:1=125abc;");
    h.ExpectText("编辑框1", "125abc");
}

void LengthLimit(const std::wstring& exe) {
    Harness h(exe);
    h.ExpectFocus("编辑框2");
    SetClipboardUnicode(L"abcdef");
    PressKey('V', kCtrl);
    h.Expect("text:2=abcd;");
    TypeKeys(L"x");
    h.ExpectNothing();
    h.ExpectText("编辑框2", "abcd");

    PressKey(VK_BACK);
    h.Expect("text:2=abc;");
    PressKey('V', kCtrl);
    h.Expect("text:2=abca;");
    TypeKeys(L"y");
    h.ExpectNothing();
    h.ExpectText("编辑框2", "abca");
}

void CopyPutsTheBytesOnTheClipboard(const std::wstring& exe) {
    Harness h(exe);
    SetClipboardUnicode(L"old");
    Click(h.Control("标签2"), POINT{5, 5});
    h.Expect("down:5,5,0;copy:1;");
    CheckText("CF_TEXT after copying the empty box", "", ClipboardText());

    TypeUnicode(L"中a");
    h.Expect("text:2=中;text:2=中a;");
    Click(h.Control("标签2"), POINT{25, 5});
    h.Expect("down:25,5,0;copy:1;");
    CheckText("CF_TEXT", "中a", ClipboardText());
    const std::wstring unicode = ClipboardUnicode();
    Check(unicode == L"中a", "CF_UNICODETEXT: expected " + Describe(std::wstring_view(L"中a")) +
                                 ", seen " + Describe(unicode));
}

void CopyFailsWhileTheClipboardIsHeld(const std::wstring& exe) {
    Harness h(exe);
    SetClipboardUnicode(L"before");
    {
        ClipboardHolder held;
        Click(h.Control("标签2"), POINT{5, 5});
        h.Expect("down:5,5,0;copy:0;");
    }
    CheckText("CF_TEXT after the failed copy", "before", ClipboardText());

    Click(h.Control("标签2"), POINT{25, 5});
    h.Expect("down:25,5,0;copy:1;");
    CheckText("CF_TEXT once the clipboard is free", "", ClipboardText());
}

void FailedAllocationIsFatal(const std::wstring& exe) {
    Harness h(exe);
    Click(h.Control("按钮3"));
    const HWND box = WaitForMessageBox(h.Program().Id());
    // The first allocation to fail copies the 65536-byte caption with its terminating NUL.
    const std::string text = MessageBoxText(box);
    const std::vector<std::string> numbers = Numbers(text);
    Check(std::find(numbers.begin(), numbers.end(), "65537") != numbers.end(),
          "the error box should name 65537 bytes: " + Describe(text));
    Check(GetWindow(box, GW_OWNER) == nullptr, "the error box has an owner window");
    const std::vector<int> buttons = MessageBoxButtons(box);
    std::string ids;
    for (const int id : buttons) ids.append(" ").append(std::to_string(id));
    Check(buttons == std::vector<int>{IDOK},
          "error box buttons: expected OK (1) alone, seen" + ids);
    Click(GetDlgItem(box, IDOK));
    CheckExitCode(0xFFFFFFFF, h.Program().WaitForExit());
}

void ClosingExitsWithZero(const std::wstring& exe) {
    {
        Harness h(exe);
        PressKey(VK_F4, kAlt);
        CheckExitCode(0, h.Program().WaitForExit());
    }
    {
        Harness h(exe);
        CheckExitCode(0, h.Close());
    }
}

}  // namespace

std::vector<Case> FormsCases(const std::wstring& exe) {
    const auto with = [&exe](void (*run)(const std::wstring&)) { return [exe, run] { run(exe); }; };
    return {
        {"load: Created comes first, the layout's state is shown", with(LoadShowsTheLayout)},
        {"tab: Tab and Shift+Tab follow the order and wrap", with(TabFollowsTheOrderAndWraps)},
        {"disabled: an edit box keeps its text, ignores clicks, leaves Tab order",
         with(DisabledEditBoxIsInert)},
        {"radio click: one Clicked per click, also on the checked radio",
         with(RadioClickRaisesClickedOnce)},
        {"radio arrows: move within the group in Tab order and wrap",
         with(ArrowsMoveAmongTheGroup)},
        {"buttons: Enter clicks the default button, Space and Alt+letter their own",
         with(KeysClickButtons)},
        {"double click: LeftButtonDown once on a label, Clicked twice on a button",
         with(DoubleClicks)},
        {"left button down: position in the control and held keys", with(LeftButtonDownArguments)},
        {"integer text: typed letters dropped, digits and minus taken, paste unfiltered",
         with(IntegerTextInput)},
        {"length limit: at most 4 characters typed or pasted", with(LengthLimit)},
        {"clipboard: the edit box's bytes as CF_TEXT", with(CopyPutsTheBytesOnTheClipboard)},
        {"clipboard held: copy gives false and the contents stay",
         with(CopyFailsWhileTheClipboardIsHeld)},
        {"fatal: a failed allocation shows an error box and exits with -1",
         with(FailedAllocationIsFatal)},
        {"close: Alt+F4 and WM_CLOSE exit with 0", with(ClosingExitsWithZero)},
    };
}

}  // namespace tessarune::e2e
