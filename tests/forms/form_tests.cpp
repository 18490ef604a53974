#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "forms/backend.h"
#include "forms/form.h"
#include "tests/forms/hex.h"

namespace tessarune::forms {
namespace {

// ReportFatalError of the fake: unwinds to the test instead of ending the process.
struct FatalError {
    std::string message;
};

// An in-memory window system: keeps texts and disabled flags by control name, records the
// calls it gets, and builds a window the way the real backend must (events suspended during
// the build, Created after resuming).
class FakeBackend final : public Backend {
public:
    std::vector<std::string> calls;
    std::map<std::string, std::string> texts;
    std::map<std::string, bool> disabled;
    std::string clipboard;
    bool failBuild = false;
    bool clipboardResult = true;

    bool LoadWindow(const Layout& layout) override {
        calls.push_back("LoadWindow");
        SuspendedEvents suspended(GlobalEventGate());
        for (const ControlDesc& c : layout.controls) {
            texts[std::string(c.name)] = std::string(InitialText(c));
            disabled[std::string(c.name)] = c.disabled;
            // Setting an initial text makes an edit box report a change; nobody may hear it.
            if (c.cls == ControlClass::Edit) RaiseEvent(layout, c.name, Event::TextChanged);
        }
        if (failBuild) return false;
        suspended.Resume();
        RaiseEvent(layout, "", Event::Created);
        return true;
    }
    ReadText ReadTextProperty(const Layout&, const ControlDesc& control, Property) override {
        calls.push_back("Read");
        return texts[std::string(control.name)];
    }
    void WriteTextProperty(const Layout& window, const ControlDesc& control, Property property,
                           std::string_view text) override {
        calls.push_back("Write");
        texts[std::string(control.name)] = std::string(text);
        if (property == Property::Text) RaiseEvent(window, control.name, Event::TextChanged);
    }
    void WriteDisabled(const Layout&, const ControlDesc& control, bool value) override {
        calls.push_back("WriteDisabled");
        disabled[std::string(control.name)] = value;
    }
    bool SetClipboardText(std::string_view text) override {
        calls.push_back("Clipboard");
        clipboard = std::string(text);
        return clipboardResult;
    }
    [[noreturn]] void ReportFatalError(std::string_view message) override {
        throw FatalError{std::string(message)};
    }
};

constexpr std::string_view kWindow = "测试窗口";

// What the handlers saw.
std::vector<std::string> heard;

std::optional<bool> OnCreated(const EventArgs&) {
    heard.push_back("Created");
    // The window is already addressable: read one box and write the label.
    ReadText hours = ReadTextProperty(kWindow, "编辑框1", Property::Text);
    heard.push_back("hours " + hours.value_or("(absent)"));
    FreeText(hours);
    WriteTextProperty(kWindow, "标签3", Property::Caption, "就绪");
    return std::nullopt;
}

std::optional<bool> OnTextChanged(const EventArgs&) {
    // Raised after the new text is in place.
    heard.push_back("changed " +
                    ReadTextProperty(kWindow, "编辑框1", Property::Text).value_or("(absent)"));
    return std::nullopt;
}

constexpr ControlDesc kControls[] = {
    {.name = "标签3", .cls = ControlClass::Label, .parent = "分组框4", .text = ""},
    {.name = "分组框4", .cls = ControlClass::GroupBox},
    {.name = "按钮1", .cls = ControlClass::Button, .text = "计算等级", .tabStop = true},
    {.name = "编辑框1", .cls = ControlClass::Edit, .text = "2", .tabStop = true},
    {.name = "编辑框2", .cls = ControlClass::Edit, .disabled = true, .tabStop = true},
    {.name = "标签1", .cls = ControlClass::Label},
};
constexpr Binding kBindings[] = {
    {"", Event::Created, OnCreated},
    {"编辑框1", Event::TextChanged, OnTextChanged},
};
const Layout kLayout{.window = {.name = kWindow, .width = 599, .height = 391},
                     .controls = kControls,
                     .bindings = kBindings};

class FormTest : public ::testing::Test {
protected:
    FakeBackend backend;

    void SetUp() override {
        heard.clear();
        InstallBackend(&backend);
    }
    void TearDown() override {
        NoteWindowDestroyed(kWindow);
        InstallBackend(nullptr);
    }

    // Runs `operation`, which must end in ReportFatalError, and gives the message.
    static std::string FatalMessage(const std::function<void()>& operation) {
        try {
            operation();
        } catch (const FatalError& error) {
            return error.message;
        }
        ADD_FAILURE() << "no fatal error";
        return {};
    }
};

TEST_F(FormTest, CreatedIsTheFirstHandlerAndCanAddressTheWindow) {
    ASSERT_TRUE(LoadWindow(kLayout));
    EXPECT_EQ(heard, (std::vector<std::string>{"Created", "hours 2"}));
    EXPECT_EQ(backend.texts["标签3"], "就绪");
    EXPECT_EQ(LoadedWindowCount(), 1u);
    EXPECT_EQ(FindLoadedWindow(kWindow), &kLayout);
    EXPECT_FALSE(GlobalEventGate().Suspended());
}

TEST_F(FormTest, FailedBuildForgetsTheWindowAndResumesEvents) {
    backend.failBuild = true;
    EXPECT_FALSE(LoadWindow(kLayout));
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(LoadedWindowCount(), 0u);
    EXPECT_EQ(FindLoadedWindow(kWindow), nullptr);
    EXPECT_FALSE(GlobalEventGate().Suspended());

    // A later load of the same layout works.
    backend.failBuild = false;
    EXPECT_TRUE(LoadWindow(kLayout));
    EXPECT_EQ(LoadedWindowCount(), 1u);
}

TEST_F(FormTest, FaultyLayoutOrSecondLoadIsFatal) {
    constexpr Binding kBad[] = {{"按钮9", Event::Clicked, OnCreated}};
    const Layout bad{.window = kLayout.window, .controls = kControls, .bindings = kBad};
    const std::string fault = FatalMessage([&] { LoadWindow(bad); });
    EXPECT_NE(fault.find("按钮9"), std::string::npos) << Hex(fault);
    EXPECT_TRUE(backend.calls.empty());
    EXPECT_EQ(LoadedWindowCount(), 0u);

    ASSERT_TRUE(LoadWindow(kLayout));
    backend.calls.clear();
    const std::string twice = FatalMessage([&] { LoadWindow(kLayout); });
    EXPECT_NE(twice.find(kWindow), std::string::npos) << Hex(twice);
    EXPECT_TRUE(backend.calls.empty());
    EXPECT_EQ(LoadedWindowCount(), 1u);
}

TEST_F(FormTest, DestroyedWindowIsForgotten) {
    ASSERT_TRUE(LoadWindow(kLayout));
    NoteWindowDestroyed("别的窗口");
    EXPECT_EQ(LoadedWindowCount(), 1u);
    NoteWindowDestroyed(kWindow);
    EXPECT_EQ(LoadedWindowCount(), 0u);
    const std::string message =
        FatalMessage([] { ReadTextProperty(kWindow, "编辑框1", Property::Text); });
    EXPECT_NE(message.find(kWindow), std::string::npos) << Hex(message);
}

TEST_F(FormTest, EmptyTextsReadAsAbsentAndReadsAreCopies) {
    ASSERT_TRUE(LoadWindow(kLayout));
    // Empty in the layout and never written.
    EXPECT_EQ(ReadTextProperty(kWindow, "编辑框2", Property::Text), std::nullopt);
    // The class default caption of a label.
    EXPECT_EQ(ReadTextProperty(kWindow, "标签1", Property::Caption), ReadText("标签"));

    ReadText caption = ReadTextProperty(kWindow, "标签3", Property::Caption);
    ASSERT_TRUE(caption.has_value());
    EXPECT_EQ(Hex(*caption), Hex("就绪"));
    caption->append("!");  // the caller's copy, not the control's text
    EXPECT_EQ(ReadTextProperty(kWindow, "标签3", Property::Caption), ReadText("就绪"));
    FreeText(caption);
    EXPECT_FALSE(caption.has_value());

    WriteTextProperty(kWindow, "标签3", Property::Caption, "");
    EXPECT_EQ(ReadTextProperty(kWindow, "标签3", Property::Caption), std::nullopt);
}

TEST_F(FormTest, TextWriteRaisesTextChangedWithTheNewTextInPlace) {
    ASSERT_TRUE(LoadWindow(kLayout));
    heard.clear();
    WriteTextProperty(kWindow, "编辑框1", Property::Text, "15");
    WriteTextProperty(kWindow, "编辑框1", Property::Text, "");
    EXPECT_EQ(heard, (std::vector<std::string>{"changed 15", "changed (absent)"}));
}

TEST_F(FormTest, WrongWindowControlOrPropertyIsFatalAndNamesThem) {
    ASSERT_TRUE(LoadWindow(kLayout));
    backend.calls.clear();
    struct Case {
        const char* what;
        std::function<void()> operation;
        std::vector<std::string_view> named;
    };
    const Case cases[] = {
        {"window not loaded",
         [] { ReadTextProperty("别的窗口", "编辑框1", Property::Text); },
         {"别的窗口"}},
        {"unknown control",
         [] { WriteTextProperty(kWindow, "编辑框9", Property::Text, "1"); },
         {kWindow, "编辑框9"}},
        {"the window is no control", [] { WriteDisabled(kWindow, "", true); }, {kWindow}},
        {"disabled of an unknown control",
         [] { WriteDisabled(kWindow, "编辑框3", true); },
         {kWindow, "编辑框3"}},
        {"Text of a label",
         [] { ReadTextProperty(kWindow, "标签3", Property::Text); },
         {kWindow, "标签3", "Text"}},
        {"Caption of an edit box",
         [] { ReadTextProperty(kWindow, "编辑框1", Property::Caption); },
         {kWindow, "编辑框1", "Caption"}},
        {"Caption of a button",
         [] { WriteTextProperty(kWindow, "按钮1", Property::Caption, "x"); },
         {kWindow, "按钮1", "Caption"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string message = FatalMessage(c.operation);
        for (std::string_view name : c.named) {
            EXPECT_NE(message.find(name), std::string::npos)
                << Hex(message) << "\nlacks " << Hex(name);
        }
    }
    EXPECT_TRUE(backend.calls.empty());
}

TEST_F(FormTest, DisabledAndClipboardPassThrough) {
    ASSERT_TRUE(LoadWindow(kLayout));
    WriteDisabled(kWindow, "编辑框2", false);
    WriteDisabled(kWindow, "分组框4", true);  // every control has Disabled
    EXPECT_FALSE(backend.disabled["编辑框2"]);
    EXPECT_TRUE(backend.disabled["分组框4"]);

    EXPECT_TRUE(SetClipboardText("当前等级"));
    EXPECT_EQ(Hex(backend.clipboard), Hex("当前等级"));
    backend.clipboardResult = false;
    EXPECT_FALSE(SetClipboardText(""));
}

TEST(ReportFatalError, WithoutBackendWritesStderrAndExitsWithMinusOne) {
    InstallBackend(nullptr);
    EXPECT_EXIT(ReportFatalError("layout damaged"), ::testing::ExitedWithCode(255),
                "layout damaged");
    EXPECT_EXIT(LoadWindow(kLayout), ::testing::ExitedWithCode(255), "");
}

}  // namespace
}  // namespace tessarune::forms
