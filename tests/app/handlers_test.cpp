#include "app/handlers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/main_window_layout.h"
#include "fake_backend.h"
#include "forms/backend.h"
#include "forms/form.h"

namespace tessarune::app {
namespace {

using forms::Event;

// The main window loaded on the fake backend; input is simulated by raising the events that
// the real controls would raise.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        forms::InstallBackend(&fake);
        InitGlobals();
        ASSERT_TRUE(forms::LoadWindow(MainWindowLayout()));
    }
    void TearDown() override {
        forms::NoteWindowDestroyed(kMainWindow);
        forms::InstallBackend(nullptr);
    }

    bool Raise(std::string_view control, Event event) {
        return forms::RaiseEvent(MainWindowLayout(), control, event);
    }
    void Click(std::string_view control) { Raise(control, Event::Clicked); }

    // What the user's typing does: the box's text changes, then TextChanged.
    void Type(std::string_view box, std::string_view text) {
        forms::WriteTextProperty(kMainWindow, box, forms::Property::Text, text);
    }
    // A text already in the box, put there without any event (as the layout's text is).
    void Preset(std::string_view box, std::string_view text) {
        fake.controls.at(std::string(box)).text = std::string(text);
    }
    std::string Caption3() { return fake.controls.at("标签3").text; }
    bool CustomBoxDisabled() { return fake.controls.at("编辑框2").disabled; }

    testing::FakeBackend fake;
};

TEST_F(MainWindow, CreatedChoosesLevel64AndGreysCustomBox) {
    EXPECT_EQ(TargetLevel, 64);
    const std::vector<std::pair<std::string, bool>> expected = {{"编辑框2", true}};
    EXPECT_EQ(fake.disabledWrites, expected);
    EXPECT_EQ(fake.controls.at("编辑框2").text, "100");
}

TEST_F(MainWindow, PresetRadiosSetTheirLevelAndGreyCustomBox) {
    const struct {
        const char* radio;
        std::int32_t level;
    } cases[] = {{"单选框1", 64},  {"单选框2", 128}, {"单选框3", 192},
                 {"单选框4", 256}, {"单选框5", 512}, {"单选框6", 768}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        Click("单选框7");
        ASSERT_FALSE(CustomBoxDisabled());
        Click(c.radio);
        EXPECT_EQ(TargetLevel, c.level);
        EXPECT_TRUE(CustomBoxDisabled());
    }
}

TEST_F(MainWindow, CustomRadioReadsLevelFromBoxAndEnablesIt) {
    const struct {
        const char* text;
        std::int32_t level;
    } cases[] = {
        {"100", 100},    {"", 0},       {"abc", 0},
        {"-5", -5},      {"1e3", 1000}, {"９９９９", 9999},
        {"－１２", -12}, {"12abc", 12}, {"3000000000", -1294967296},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Click("单选框1");
        Preset("编辑框2", c.text);
        Click("单选框7");
        EXPECT_EQ(TargetLevel, c.level);
        EXPECT_FALSE(CustomBoxDisabled());
    }
}

TEST_F(MainWindow, CustomLevelFollowsEveryChangeOfTheBox) {
    Click("单选框7");
    EXPECT_EQ(TargetLevel, 100);
    const std::size_t disabledWrites = fake.disabledWrites.size();
    const struct {
        const char* text;
        std::int32_t level;
    } keystrokes[] = {{"10", 10}, {"1", 1}, {"", 0}, {"2", 2}, {"25", 25}, {"256", 256}};
    for (const auto& k : keystrokes) {
        SCOPED_TRACE(k.text);
        Type("编辑框2", k.text);
        EXPECT_EQ(TargetLevel, k.level);
    }
    // Tracking never touches the box's state.
    EXPECT_EQ(fake.disabledWrites.size(), disabledWrites);
}

TEST_F(MainWindow, PresetKeepsCustomTextAndCustomRadioRereadsIt) {
    Click("单选框7");
    Type("编辑框2", "256");
    Click("单选框2");
    EXPECT_EQ(TargetLevel, 128);
    EXPECT_EQ(fake.controls.at("编辑框2").text, "256");
    Click("单选框7");
    EXPECT_EQ(TargetLevel, 256);
}

TEST_F(MainWindow, CalculateShowsReportForBoxesAndTargetLevel) {
    Preset("编辑框1", "8");
    Preset("编辑框3", "500");
    Click("按钮1");
    EXPECT_EQ(Caption3(),
              "经过软件系统的计算：\r\n"
              "您当前积分：500\r\n"
              "对应等级：45\r\n"
              "升级所需积分：573\r\n"
              "需要时间：2月11日\r\n"
              "具体时间：23天 或者 573小时");

    // The level chosen now is the one calculated for.
    Click("单选框6");
    Preset("编辑框1", "24");
    Preset("编辑框3", "0");
    Click("按钮1");
    const std::string caption = Caption3();
    const std::string lastLine = "具体时间：6168天 或者 148033小时";
    ASSERT_GE(caption.size(), lastLine.size());
    EXPECT_EQ(caption.substr(caption.size() - lastLine.size()), lastLine);
}

TEST_F(MainWindow, CalculateWithEmptyHoursShowsHoursFailure) {
    Preset("编辑框1", "");
    Click("按钮1");
    EXPECT_EQ(Caption3(), "经过软件系统的计算：\r\n每日挂机的时间不能比24大切不能小于0,请检查");
}

TEST_F(MainWindow, CopyPutsCaptionOnClipboardAndLetsLabelGoOn) {
    // Before any calculation the caption is empty, and so is the copied text.
    EXPECT_TRUE(Raise("标签4", Event::LeftButtonDown));
    ASSERT_EQ(fake.clipboard.size(), 1u);
    EXPECT_EQ(fake.clipboard[0], "");

    Preset("编辑框3", "5&0");
    Click("按钮1");
    fake.clipboardWorks = false;  // a busy clipboard changes nothing for the window
    EXPECT_TRUE(Raise("标签4", Event::LeftButtonDown));
    ASSERT_EQ(fake.clipboard.size(), 2u);
    EXPECT_EQ(fake.clipboard[1], Caption3());
    EXPECT_NE(Caption3().find("您当前积分：5&0"), std::string::npos);
}

}  // namespace
}  // namespace tessarune::app
