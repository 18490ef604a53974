#include "app/main_window_layout.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/rules.h"

namespace tessarune::app {
namespace {

std::span<const forms::ControlDesc> Controls() {
    return MainWindowLayout().controls;
}

std::vector<std::string> Names(const std::vector<std::size_t>& indices) {
    std::vector<std::string> names;
    for (std::size_t i : indices) names.emplace_back(Controls()[i].name);
    return names;
}

std::size_t IndexOf(std::string_view name) {
    const std::optional<std::size_t> index = forms::FindControl(Controls(), name);
    EXPECT_TRUE(index.has_value()) << name;
    return index.value_or(0);
}

TEST(MainWindowLayout, PassesTheFormLayerChecks) {
    EXPECT_EQ(forms::FindLayoutFault(MainWindowLayout()), std::nullopt);
}

TEST(MainWindowLayout, TabOrderSkipsCustomBoxWhileDisabled) {
    std::vector<forms::ControlState> states = forms::InitialStates(Controls());
    EXPECT_EQ(Names(forms::TabOrder(Controls(), states)),
              (std::vector<std::string>{"编辑框1", "单选框1", "单选框2", "单选框3", "单选框4",
                                        "单选框5", "单选框6", "单选框7", "编辑框3", "按钮1"}));

    states[IndexOf("编辑框2")].disabled = false;
    EXPECT_EQ(
        Names(forms::TabOrder(Controls(), states)),
        (std::vector<std::string>{"编辑框1", "单选框1", "单选框2", "单选框3", "单选框4", "单选框5",
                                  "单选框6", "单选框7", "编辑框2", "编辑框3", "按钮1"}));
}

TEST(MainWindowLayout, ArrowKeysRunThroughRadiosAndWrap) {
    const std::vector<forms::ControlState> states = forms::InitialStates(Controls());
    const struct {
        const char* from;
        int step;
        const char* to;
    } cases[] = {{"单选框1", +1, "单选框2"},
                 {"单选框6", +1, "单选框7"},
                 {"单选框7", +1, "单选框1"},
                 {"单选框1", -1, "单选框7"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + (c.step > 0 ? " next" : " previous"));
        const std::optional<std::size_t> to =
            forms::NextRadio(Controls(), states, IndexOf(c.from), c.step);
        ASSERT_TRUE(to.has_value());
        EXPECT_EQ(Controls()[*to].name, c.to);
    }
}

TEST(MainWindowLayout, StacksEarlierControlsInFront) {
    const struct {
        const char* parent;
        std::vector<std::string> frontToBack;
    } cases[] = {
        {"", {"标签4", "分组框4", "按钮1", "分组框3", "分组框2", "分组框1", "图片框1"}},
        {"分组框2",
         {"编辑框2", "单选框7", "单选框6", "单选框5", "单选框4", "单选框3", "单选框2", "单选框1"}},
        {"分组框3", {"编辑框3", "标签1"}},
        {"分组框1", {"标签2", "编辑框1"}},
        {"分组框4", {"标签3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parent);
        EXPECT_EQ(Names(forms::StackingOrder(Controls(), c.parent)), c.frontToBack);
    }
}

std::uint32_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MainWindowLayout, CarriesThePictureFilesWhole) {
    const std::span<const std::uint8_t> chart = Controls()[IndexOf("图片框1")].picture;
    const std::span<const std::uint8_t> icon = MainWindowLayout().window.icon;
    EXPECT_EQ(std::vector<std::uint8_t>(chart.begin(), chart.end()),
              ReadFile(TESSARUNE_PICTURE_DIR "/chart.gif"));
    EXPECT_EQ(std::vector<std::uint8_t>(icon.begin(), icon.end()),
              ReadFile(TESSARUNE_PICTURE_DIR "/icon.ico"));

    // GIF89a, 267 x 343, global colour table of 64 entries.
    ASSERT_GE(chart.size(), 13u);
    EXPECT_EQ(std::string(chart.begin(), chart.begin() + 6), "GIF89a");
    EXPECT_EQ(Le16(chart, 6), 267u);
    EXPECT_EQ(Le16(chart, 8), 343u);
    EXPECT_EQ(chart[10] & 0x87, 0x85);

    // One 32 x 32 image of 32 bits per pixel.
    ASSERT_GE(icon.size(), 22u);
    EXPECT_EQ(Le16(icon, 2), 1u);
    EXPECT_EQ(Le16(icon, 4), 1u);
    EXPECT_EQ(icon[6], 32);
    EXPECT_EQ(icon[7], 32);
    EXPECT_EQ(Le16(icon, 12), 32u);
}

}  // namespace
}  // namespace tessarune::app
