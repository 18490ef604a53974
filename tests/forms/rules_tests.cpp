#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "forms/rules.h"
#include "tests/forms/hex.h"

namespace tessarune::forms {
namespace {

using enum ControlClass;

// The main window's controls in layout order, with the columns the rules read.
constexpr ControlDesc kMainWindow[] = {
    {.name = "标签4", .cls = Label},
    {.name = "标签3", .cls = Label, .parent = "分组框4"},
    {.name = "分组框4", .cls = GroupBox},
    {.name = "按钮1", .cls = Button, .tabStop = true},
    {.name = "编辑框3", .cls = Edit, .parent = "分组框3", .tabStop = true},
    {.name = "标签1", .cls = Label, .parent = "分组框3"},
    {.name = "分组框3", .cls = GroupBox},
    {.name = "编辑框2", .cls = Edit, .parent = "分组框2", .disabled = true, .tabStop = true},
    {.name = "单选框7", .cls = Radio, .parent = "分组框2", .tabStop = true},
    {.name = "单选框6", .cls = Radio, .parent = "分组框2", .tabStop = true},
    {.name = "单选框5", .cls = Radio, .parent = "分组框2", .tabStop = true},
    {.name = "单选框4", .cls = Radio, .parent = "分组框2", .tabStop = true},
    {.name = "单选框3", .cls = Radio, .parent = "分组框2", .tabStop = true},
    {.name = "单选框2", .cls = Radio, .parent = "分组框2", .tabStop = true},
    {.name = "单选框1", .cls = Radio, .parent = "分组框2", .tabStop = true, .checked = true},
    {.name = "分组框2", .cls = GroupBox},
    {.name = "标签2", .cls = Label, .parent = "分组框1"},
    {.name = "编辑框1", .cls = Edit, .parent = "分组框1", .tabStop = true},
    {.name = "分组框1", .cls = GroupBox},
    {.name = "图片框1", .cls = PictureBox},
};

std::optional<std::size_t> None() {
    return std::nullopt;
}

std::size_t Index(std::span<const ControlDesc> controls, std::string_view name) {
    const std::optional<std::size_t> index = FindControl(controls, name);
    if (!index) ADD_FAILURE() << "no control " << Hex(name);
    return index.value_or(controls.size());
}

// Names instead of indices, so that a failing comparison reads like the layout.
std::vector<std::string> Names(std::span<const ControlDesc> controls,
                               const std::vector<std::size_t>& indices) {
    std::vector<std::string> names;
    for (std::size_t i : indices) names.emplace_back(controls[i].name);
    return names;
}

std::string NameOf(std::span<const ControlDesc> controls, std::optional<std::size_t> index) {
    return index ? std::string(controls[*index].name) : std::string("(none)");
}

TEST(TabOrder, MainWindowSkipsTheDisabledEditBoxUntilItIsEnabled) {
    std::vector<ControlState> states = InitialStates(kMainWindow);
    EXPECT_EQ(Names(kMainWindow, TabOrder(kMainWindow, states)),
              (std::vector<std::string>{"编辑框1", "单选框1", "单选框2", "单选框3", "单选框4",
                                        "单选框5", "单选框6", "单选框7", "编辑框3", "按钮1"}));

    states[Index(kMainWindow, "编辑框2")].disabled = false;
    EXPECT_EQ(
        Names(kMainWindow, TabOrder(kMainWindow, states)),
        (std::vector<std::string>{"编辑框1", "单选框1", "单选框2", "单选框3", "单选框4", "单选框5",
                                  "单选框6", "单选框7", "编辑框2", "编辑框3", "按钮1"}));
}

TEST(TabOrder, AscendingRanksThenReverseLayoutOrder) {
    constexpr ControlDesc controls[] = {
        {.name = "A", .cls = Button, .tabStop = true, .tabRank = 2},
        {.name = "B", .cls = Button, .tabStop = true, .tabRank = 0},
        {.name = "C", .cls = Button, .tabStop = true, .tabRank = 1},
        {.name = "D", .cls = Button, .tabStop = true, .tabRank = 0},
        {.name = "E", .cls = Button, .tabStop = true, .tabRank = -1},
        {.name = "F", .cls = Button, .tabStop = true, .tabRank = 2},
    };
    EXPECT_EQ(Names(controls, TabOrder(controls, InitialStates(controls))),
              (std::vector<std::string>{"E", "D", "B", "C", "F", "A"}));
}

TEST(TabOrder, HiddenDisabledAndNonStopControlsDropOut) {
    constexpr ControlDesc controls[] = {
        {.name = "shown", .cls = Edit, .tabStop = true},
        {.name = "hidden", .cls = Edit, .visible = false, .tabStop = true},
        {.name = "disabled", .cls = Edit, .disabled = true, .tabStop = true},
        {.name = "no stop", .cls = Edit},
        {.name = "in hidden box", .cls = Edit, .parent = "hidden box", .tabStop = true},
        {.name = "in disabled box", .cls = Edit, .parent = "disabled box", .tabStop = true},
        {.name = "in box", .cls = Edit, .parent = "box", .tabStop = true},
        {.name = "hidden box", .cls = GroupBox, .visible = false},
        {.name = "disabled box", .cls = GroupBox, .disabled = true},
        {.name = "box", .cls = GroupBox},
    };
    std::vector<ControlState> states = InitialStates(controls);
    EXPECT_EQ(Names(controls, TabOrder(controls, states)),
              (std::vector<std::string>{"in box", "shown"}));

    // Run-time state decides, not the layout's flags.
    states[Index(controls, "hidden")].visible = true;
    states[Index(controls, "shown")].disabled = true;
    EXPECT_EQ(Names(controls, TabOrder(controls, states)),
              (std::vector<std::string>{"in box", "hidden"}));
}

TEST(NextInTabOrder, StepsAndWrapsThroughTheMainWindow) {
    const std::vector<ControlState> states = InitialStates(kMainWindow);
    struct Case {
        std::optional<std::string_view> from;
        int step;
        std::string_view to;
    };
    const Case cases[] = {
        {"编辑框1", +1, "单选框1"},
        {"单选框7", +1, "编辑框3"},  // the disabled 编辑框2 is skipped
        {"按钮1", +1, "编辑框1"},    // wraps forwards
        {"编辑框1", -1, "按钮1"},    // and backwards
        {"编辑框3", -1, "单选框7"},
        {std::nullopt, +1, "编辑框1"},  // no focus yet: the first control
        {std::nullopt, -1, "按钮1"},
        {"标签3", +1, "编辑框1"},  // from outside the order
        {"编辑框2", -1, "按钮1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from ? Hex(*c.from) : "none");
        const std::optional<std::size_t> from =
            c.from ? std::optional(Index(kMainWindow, *c.from)) : None();
        EXPECT_EQ(NameOf(kMainWindow, NextInTabOrder(kMainWindow, states, from, c.step)),
                  std::string(c.to));
    }
}

TEST(NextInTabOrder, NoneWhenNothingTakesTheFocus) {
    constexpr ControlDesc controls[] = {
        {.name = "标签1", .cls = Label},
        {.name = "编辑框1", .cls = Edit, .disabled = true, .tabStop = true},
    };
    EXPECT_EQ(NextInTabOrder(controls, InitialStates(controls), std::nullopt, +1), None());
    EXPECT_EQ(NextInTabOrder(controls, InitialStates(controls), 1, -1), None());
}

TEST(StackingOrder, EarlierInLayoutOrderLiesInFrontWithinEachParent) {
    struct Case {
        std::string_view parent;
        std::vector<std::string> frontToBack;
    };
    const Case cases[] = {
        {"", {"标签4", "分组框4", "按钮1", "分组框3", "分组框2", "分组框1", "图片框1"}},
        {"分组框3", {"编辑框3", "标签1"}},
        {"分组框1", {"标签2", "编辑框1"}},
        {"分组框2",
         {"编辑框2", "单选框7", "单选框6", "单选框5", "单选框4", "单选框3", "单选框2", "单选框1"}},
        {"分组框4", {"标签3"}},
        {"图片框1", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.parent));
        EXPECT_EQ(Names(kMainWindow, StackingOrder(kMainWindow, c.parent)), c.frontToBack);
    }
}

TEST(NextRadio, MainWindowStepsThroughTheSevenRadiosAndWraps) {
    std::vector<ControlState> states = InitialStates(kMainWindow);
    struct Case {
        std::string_view from;
        int step;
        std::string_view to;
    };
    const Case cases[] = {
        {"单选框1", +1, "单选框2"},
        {"单选框3", -1, "单选框2"},
        {"单选框7", +1, "单选框1"},  // Down on the last wraps to the first
        {"单选框1", -1, "单选框7"},  // Up on the first wraps to the last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.from));
        EXPECT_EQ(
            NameOf(kMainWindow, NextRadio(kMainWindow, states, Index(kMainWindow, c.from), c.step)),
            std::string(c.to));
    }

    states[Index(kMainWindow, "单选框2")].disabled = true;
    states[Index(kMainWindow, "单选框6")].visible = false;
    EXPECT_EQ(
        NameOf(kMainWindow, NextRadio(kMainWindow, states, Index(kMainWindow, "单选框1"), +1)),
        "单选框3");
    EXPECT_EQ(
        NameOf(kMainWindow, NextRadio(kMainWindow, states, Index(kMainWindow, "单选框7"), -1)),
        "单选框5");
}

TEST(NextRadio, StaysInsideTheGroupAndNeedsAnotherQualifyingRadio) {
    constexpr ControlDesc controls[] = {
        {.name = "a1", .cls = Radio, .tabStop = true},
        {.name = "a2", .cls = Radio, .tabStop = true},
        {.name = "b1", .cls = Radio, .parent = "box", .tabStop = true},
        {.name = "b2", .cls = Radio, .parent = "box", .disabled = true, .tabStop = true},
        {.name = "b3", .cls = Radio, .parent = "box"},
        {.name = "box", .cls = GroupBox},
        {.name = "c1", .cls = Radio, .parent = "box2"},
        {.name = "c2", .cls = Radio, .parent = "box2", .tabStop = true},
        {.name = "c3", .cls = Radio, .parent = "box2", .tabStop = true},
        {.name = "box2", .cls = GroupBox},
        {.name = "button", .cls = Button, .tabStop = true},
    };
    const std::vector<ControlState> states = InitialStates(controls);
    struct Case {
        std::string_view from;
        int step;
        std::string_view to;
    };
    const Case cases[] = {
        // Tab order in the window is a2, a1: the radios of "box" are not reached.
        {"a2", +1, "a1"},
        {"a1", +1, "a2"},
        {"a1", -1, "a2"},
        // b1 is the only Tab stop of its group that is enabled.
        {"b1", +1, "(none)"},
        {"b1", -1, "(none)"},
        // A focused radio that is no Tab stop still steps from its own place: c3, c2, c1.
        {"c1", +1, "c3"},
        {"c1", -1, "c2"},
        {"c2", +1, "c3"},  // wraps past c1, which does not qualify
        {"button", +1, "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + std::to_string(c.step));
        EXPECT_EQ(NameOf(controls, NextRadio(controls, states, Index(controls, c.from), c.step)),
                  std::string(c.to));
    }
}

TEST(RadioGroup, RadiosSharingAContainer) {
    EXPECT_EQ(Names(kMainWindow, RadioGroup(kMainWindow, Index(kMainWindow, "单选框4"))),
              (std::vector<std::string>{"单选框7", "单选框6", "单选框5", "单选框4", "单选框3",
                                        "单选框2", "单选框1"}));
    EXPECT_TRUE(RadioGroup(kMainWindow, Index(kMainWindow, "编辑框2")).empty());
    EXPECT_TRUE(RadioGroup(kMainWindow, std::size(kMainWindow)).empty());
}

TEST(AcceptsTypedChar, DigitsMinusAndControlCharactersOnly) {
    struct Case {
        std::uint32_t ch;
        bool accepted;
    };
    const Case cases[] = {
        {0x00, true},     {0x08, true},  // Backspace
        {0x16, true},     {0x1A, true},  // Ctrl+V, Ctrl+Z
        {0x1F, true},     {' ', false},  {'-', true},   {'0', true},   {'9', true},
        {'/', false},     {':', false},  {'.', false},  {'+', false},  {'a', false},
        {'Z', false},     {0x7F, false}, {0x80, false}, {0xB5, false},  // a lead byte
        {0x4E00, false},                                                // a CJK character
        {0xFF10, false},                                                // full-width zero
        {0xFF0D, false},                                                // full-width minus
        {0xD83D, false},                                                // a surrogate half
        {0x10030, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ch);
        EXPECT_EQ(AcceptsTypedChar(c.ch), c.accepted);
    }
}

TEST(CentredPosition, TruncatesTowardZeroAndMayGoNegative) {
    struct Case {
        std::int32_t screenWidth, screenHeight, width, height, x, y;
    };
    const Case cases[] = {
        {1024, 768, 599, 391, 212, 188},
        {590, 768, 599, 391, -4, 188},  // narrower than the window: not moved onto the screen
        {599, 391, 599, 391, 0, 0},
        {600, 392, 599, 391, 0, 0},  // +0.5 truncates to 0
        {598, 390, 599, 391, 0, 0},  // -0.5 truncates to 0, not -1
        {597, 389, 599, 391, -1, -1},
        {INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, -INT32_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.screenWidth) + "x" + std::to_string(c.screenHeight));
        const Point p = CentredPosition(c.screenWidth, c.screenHeight, c.width, c.height);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

TEST(MnemonicTarget, FirstVisibleEnabledButtonOrRadioMarkingTheCharacter) {
    constexpr ControlDesc controls[] = {
        {.name = "label", .cls = Label, .text = "&Label"},
        {.name = "hidden", .cls = Button, .text = "&Save", .visible = false},
        {.name = "save-v", .cls = Button, .text = "Sa&ve"},
        {.name = "alpha", .cls = Radio, .text = "&Alpha"},
        {.name = "literal", .cls = Button, .text = "a&&b"},
        {.name = "after-literal", .cls = Radio, .text = "x&&&c"},
        {.name = "disabled", .cls = Button, .text = "&9", .disabled = true},
        {.name = "save", .cls = Button, .text = "&Save"},
        {.name = "save-again", .cls = Button, .text = "&save"},
        {.name = "trailing", .cls = Button, .text = "End&"},
        {.name = "chinese", .cls = Radio, .text = "自定义&Q等级"},
        {.name = "in-box", .cls = Button, .parent = "box", .text = "&Hidden"},
        {.name = "box", .cls = GroupBox, .visible = false},
    };
    const std::vector<ControlState> states = InitialStates(controls);
    struct Case {
        char32_t ch;
        std::string_view target;
    };
    const Case cases[] = {
        {U's', "save"},          {U'S', "save"},    {U'v', "save-v"},
        {U'V', "save-v"},        {U'a', "alpha"},   {U'b', "(none)"},
        {U'c', "after-literal"}, {U'l', "(none)"},  // labels raise no Clicked
        {U'9', "(none)"},                           // disabled
        {U'd', "(none)"},        {U'&', "(none)"},  {U'q', "chinese"},
        {U'h', "(none)"},        {U'等', "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<std::uint32_t>(c.ch));
        EXPECT_EQ(NameOf(controls, MnemonicTarget(controls, states, c.ch)), std::string(c.target));
    }
}

TEST(ActionForEnter, DefaultButtonsOnlyAndFocusMovesWhenAsked) {
    constexpr ControlDesc controls[] = {
        {.name = "edit", .cls = Edit, .tabStop = true},
        {.name = "plain", .cls = Button, .tabStop = true},
        {.name = "default-off", .cls = Button, .disabled = true, .defaultButton = true},
        {.name = "default", .cls = Button, .tabStop = true, .defaultButton = true},
        {.name = "default2", .cls = Button, .tabStop = true, .defaultButton = true},
    };
    const std::vector<ControlState> states = InitialStates(controls);
    using Kind = EnterAction::Kind;
    struct Case {
        std::optional<std::size_t> focused;
        bool movesFocus;
        Kind kind;
        std::size_t control;
    };
    const Case cases[] = {
        {4, false, Kind::Click, 4},  // the focused default button
        {4, true, Kind::Click, 4},
        {1, false, Kind::Click, 3},  // the first enabled default button, wherever the focus is
        {0, false, Kind::Click, 3},
        {std::nullopt, false, Kind::Click, 3},
        {1, true, Kind::MoveFocus, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NameOf(controls, c.focused) + (c.movesFocus ? " moves" : ""));
        const EnterAction action = ActionForEnter(controls, states, c.movesFocus, c.focused);
        EXPECT_EQ(action.kind, c.kind);
        if (c.kind == Kind::Click) {
            EXPECT_EQ(NameOf(controls, action.control), NameOf(controls, c.control));
        }
    }

    // The main window has no default button: Enter does nothing, also on a push button.
    const std::vector<ControlState> mainStates = InitialStates(kMainWindow);
    EXPECT_EQ(ActionForEnter(kMainWindow, mainStates, false, Index(kMainWindow, "按钮1")).kind,
              Kind::None);
}

// What the handlers below saw, in order.
struct Call {
    std::string handler;
    EventArgs args;
};
std::vector<Call> calls;

std::optional<bool> Record(const EventArgs& args) {
    calls.push_back({"Record", args});
    return std::nullopt;
}
std::optional<bool> Refuse(const EventArgs& args) {
    calls.push_back({"Refuse", args});
    return false;
}
std::optional<bool> Accept(const EventArgs& args) {
    calls.push_back({"Accept", args});
    return true;
}

constexpr Binding kBindings[] = {
    {"标签4", Event::LeftButtonDown, Refuse}, {"标签1", Event::LeftButtonDown, Accept},
    {"标签2", Event::LeftButtonDown, Record}, {"按钮1", Event::Clicked, Refuse},
    {"", Event::Created, Record, 64},         {"单选框3", Event::Clicked, Record, 192},
    {"编辑框1", Event::TextChanged, nullptr},
};

class EventGateTest : public ::testing::Test {
protected:
    void SetUp() override { calls.clear(); }
};

TEST_F(EventGateTest, RunsTheBoundHandlerAndOnlyAFalseLeftButtonDownSwallows) {
    struct Case {
        std::string_view control;
        Event event;
        bool goesOn;
        std::string ran;  // empty: no handler ran
    };
    const Case cases[] = {
        {"标签4", Event::LeftButtonDown, false, "Refuse"},
        {"标签1", Event::LeftButtonDown, true, "Accept"},
        {"标签2", Event::LeftButtonDown, true, "Record"},  // no result
        {"按钮1", Event::Clicked, true, "Refuse"},         // only LeftButtonDown looks at it
        {"按钮1", Event::LeftButtonDown, true, ""},        // not bound
        {"标签4", Event::Clicked, true, ""},
        {"", Event::Created, true, "Record"},
        {"", Event::LeftButtonDown, true, ""},
        {"编辑框1", Event::TextChanged, true, ""},  // bound without a handler
        {"编辑框9", Event::TextChanged, true, ""},
    };
    const EventGate gate;
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.control) + " event " + std::to_string(static_cast<int>(c.event)));
        calls.clear();
        EXPECT_EQ(gate.Dispatch(kBindings, c.control, c.event), c.goesOn);
        if (c.ran.empty()) {
            EXPECT_TRUE(calls.empty());
        } else {
            ASSERT_EQ(calls.size(), 1u);
            EXPECT_EQ(calls[0].handler, c.ran);
        }
    }
}

TEST_F(EventGateTest, HandlerGetsTheArgumentsAndTheBoundValue) {
    const EventGate gate;
    gate.Dispatch(kBindings, "标签2", Event::LeftButtonDown,
                  {.x = 65535, .y = 3, .keyState = kCtrlHeld | kAltHeld, .bound = 99});
    gate.Dispatch(kBindings, "单选框3", Event::Clicked);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args.x, 65535);
    EXPECT_EQ(calls[0].args.y, 3);
    EXPECT_EQ(calls[0].args.keyState, 5);
    EXPECT_EQ(calls[0].args.bound, 0);  // the binding's value, not the caller's
    EXPECT_EQ(calls[1].args.bound, 192);
}

TEST_F(EventGateTest, NoHandlerRunsWhileSuspended) {
    EventGate gate;
    gate.Suspend();
    gate.Suspend();
    // Nothing happens, so nothing is swallowed either.
    EXPECT_TRUE(gate.Dispatch(kBindings, "标签4", Event::LeftButtonDown));
    gate.Resume();
    EXPECT_TRUE(gate.Suspended());
    EXPECT_TRUE(gate.Dispatch(kBindings, "", Event::Created));
    EXPECT_TRUE(calls.empty());

    gate.Resume();
    EXPECT_FALSE(gate.Suspended());
    EXPECT_FALSE(gate.Dispatch(kBindings, "标签4", Event::LeftButtonDown));
    EXPECT_EQ(calls.size(), 1u);

    // A Resume too many does not leave the gate owing one.
    gate.Resume();
    gate.Suspend();
    EXPECT_TRUE(gate.Suspended());
}

TEST_F(EventGateTest, SuspendedEventsResumesOnceEarlyOrAtScopeEnd) {
    EventGate gate;
    {
        SuspendedEvents outer(gate);
        {
            SuspendedEvents inner(gate);
            inner.Resume();
            EXPECT_TRUE(gate.Suspended());
            inner.Resume();  // a second Resume of the same guard does nothing
            EXPECT_TRUE(gate.Suspended());
        }
        EXPECT_TRUE(gate.Suspended());
    }
    EXPECT_FALSE(gate.Suspended());
}

// Bindings of the main window as the program makes them.
constexpr Binding kMainBindings[] = {
    {"", Event::Created, Record},
    {"单选框1", Event::Clicked, Record, 64},
    {"单选框7", Event::Clicked, Record, 0},
    {"按钮1", Event::Clicked, Record},
    {"编辑框2", Event::TextChanged, Record},
    {"标签4", Event::LeftButtonDown, Refuse},
    {"分组框2", Event::LeftButtonDown, nullptr},
};

TEST(FindLayoutFault, AcceptsTheMainWindow) {
    const Layout layout{.window = {.name = "主窗口", .width = 599, .height = 391},
                        .controls = kMainWindow,
                        .bindings = kMainBindings};
    const std::optional<std::string> fault = FindLayoutFault(layout);
    EXPECT_FALSE(fault.has_value()) << Hex(fault.value_or(""));
}

TEST(FindLayoutFault, NamesTheFirstFault) {
    constexpr ControlDesc kGood[] = {
        {.name = "编辑框1", .cls = Edit, .parent = "分组框1"},
        {.name = "单选框1", .cls = Radio, .checked = true},
        {.name = "单选框2", .cls = Radio, .parent = "分组框1", .checked = true},
        {.name = "分组框1", .cls = GroupBox},
    };
    constexpr ControlDesc kUnnamed[] = {{.name = "标签1"}, {.name = ""}};
    constexpr ControlDesc kTwice[] = {
        {.name = "标签1"}, {.name = "按钮1", .cls = Button}, {.name = "标签1", .cls = Edit}};
    constexpr ControlDesc kNegative[] = {{.name = "标签1", .width = -1}};
    constexpr ControlDesc kNegativeLimit[] = {{.name = "编辑框1", .cls = Edit, .maxLength = -4}};
    constexpr ControlDesc kUnknownParent[] = {{.name = "标签1", .parent = "分组框9"}};
    constexpr ControlDesc kLabelParent[] = {{.name = "标签1", .parent = "标签2"},
                                            {.name = "标签2"}};
    constexpr ControlDesc kNestedBox[] = {{.name = "分组框1", .cls = GroupBox, .parent = "分组框2"},
                                          {.name = "分组框2", .cls = GroupBox}};
    constexpr ControlDesc kTwoChecked[] = {
        {.name = "单选框1", .cls = Radio, .parent = "分组框1", .checked = true},
        {.name = "单选框2", .cls = Radio, .parent = "分组框1"},
        {.name = "单选框3", .cls = Radio, .parent = "分组框1", .checked = true},
        {.name = "分组框1", .cls = GroupBox}};
    constexpr Binding kUnknownControl[] = {{"编辑框9", Event::TextChanged, Record}};
    constexpr Binding kClickedEdit[] = {{"编辑框1", Event::Clicked, Record}};
    constexpr Binding kChangedRadio[] = {{"单选框1", Event::TextChanged, Record}};
    constexpr Binding kCreatedControl[] = {{"分组框1", Event::Created, Record}};
    constexpr Binding kWindowClicked[] = {{"", Event::Clicked, Record}};
    constexpr Binding kTwiceBound[] = {{"单选框2", Event::Clicked, Record},
                                       {"单选框1", Event::Clicked, Record},
                                       {"单选框2", Event::Clicked, nullptr}};
    struct Case {
        const char* what;
        Layout layout;
        std::vector<std::string_view> named;  // names the message must hold
    };
    const WindowDesc window{.name = "测试窗口"};
    const Case cases[] = {
        {"window without a name", {.window = {}, .controls = kGood}, {}},
        {"negative window size", {.window = {.name = "测试窗口", .height = -1}}, {"测试窗口"}},
        {"control without a name", {.window = window, .controls = kUnnamed}, {"测试窗口"}},
        {"name twice", {.window = window, .controls = kTwice}, {"测试窗口", "标签1"}},
        {"negative size", {.window = window, .controls = kNegative}, {"标签1"}},
        {"negative length limit", {.window = window, .controls = kNegativeLimit}, {"编辑框1"}},
        {"unknown parent", {.window = window, .controls = kUnknownParent}, {"标签1", "分组框9"}},
        {"label as parent", {.window = window, .controls = kLabelParent}, {"标签1", "标签2"}},
        {"group box in a group box", {.window = window, .controls = kNestedBox}, {"分组框1"}},
        {"two checked radios", {.window = window, .controls = kTwoChecked}, {"单选框1", "单选框3"}},
        {"unknown control bound",
         {.window = window, .controls = kGood, .bindings = kUnknownControl},
         {"测试窗口", "编辑框9"}},
        {"Clicked of an edit box",
         {.window = window, .controls = kGood, .bindings = kClickedEdit},
         {"编辑框1", "Clicked"}},
        {"TextChanged of a radio",
         {.window = window, .controls = kGood, .bindings = kChangedRadio},
         {"单选框1", "TextChanged"}},
        {"Created of a control",
         {.window = window, .controls = kGood, .bindings = kCreatedControl},
         {"分组框1", "Created"}},
        {"Clicked of the window",
         {.window = window, .controls = kGood, .bindings = kWindowClicked},
         {"测试窗口", "Clicked"}},
        {"bound twice",
         {.window = window, .controls = kGood, .bindings = kTwiceBound},
         {"单选框2", "Clicked"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<std::string> fault = FindLayoutFault(c.layout);
        ASSERT_TRUE(fault.has_value());
        for (std::string_view name : c.named) {
            EXPECT_NE(fault->find(name), std::string::npos)
                << Hex(*fault) << "\nlacks " << Hex(name);
        }
    }

    // The same controls and bindings are fine once the fault is gone.
    constexpr Binding kFine[] = {{"单选框2", Event::Clicked, Record},
                                 {"单选框2", Event::LeftButtonDown, Record},
                                 {"编辑框1", Event::TextChanged, Record},
                                 {"", Event::LeftButtonDown, Record}};
    EXPECT_FALSE(FindLayoutFault({.window = window, .controls = kGood, .bindings = kFine}));
}

}  // namespace
}  // namespace tessarune::forms
