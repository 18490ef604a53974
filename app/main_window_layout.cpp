#include "app/main_window_layout.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "app/handlers.h"

namespace tessarune::app {

constexpr std::string_view kMainWindow = "主窗口";

namespace {

using forms::Binding;
using forms::ControlClass;
using forms::ControlDesc;
using forms::Event;
using forms::Rgb;

// The pictures, generated from app/pictures at build time.
constexpr std::uint8_t kChartGif[] = {
#include "chart_gif.inc"
};
constexpr std::uint8_t kIconIco[] = {
#include "icon_ico.inc"
};

// The bold 宋体 font; 134 is the GB2312 character set.
constexpr forms::FontDesc kBoldSong{.face = "宋体", .height = -14, .weight = 700, .charset = 134};

constexpr forms::Colour kRed = Rgb(255, 0, 0);
constexpr forms::Colour kLinkBlue = Rgb(0, 0, 255);
constexpr forms::Colour kCaptionBlue = Rgb(0, 136, 255);
constexpr forms::Colour kWhite = Rgb(255, 255, 255);

constexpr forms::WindowDesc kWindow{
    .name = kMainWindow,
    .caption = "Tessarune",
    .left = 50,
    .top = 50,
    .width = 599,
    .height = 391,
    .centred = true,
    .minimiseBox = true,
    .maximiseBox = false,
    .escCloses = false,
    .enterMovesFocus = false,
    .icon = kIconIco,
};

// One row per control in layout order: earlier rows lie in front of later ones of the same
// parent, and with equal tab ranks Tab visits later rows first.  Rectangles are relative to the
// parent's client area.  Edit boxes take integer text only; all tab ranks are 0.
// clang-format off
constexpr ControlDesc kControls[] = {
    {.name = "标签4", .cls = ControlClass::Label,
     .left = 529, .top = 251, .width = 50, .height = 16, .text = "复制结果",
     .cursor = forms::Cursor::Hand, .textColour = kLinkBlue,
     .align = forms::HAlign::Centre, .valign = forms::VAlign::Centre},
    {.name = "标签3", .cls = ControlClass::Label, .parent = "分组框4",
     .left = 11, .top = 19, .width = 277, .height = 72, .text = "",
     .textColour = kRed, .valign = forms::VAlign::Top, .wordWrap = true},
    {.name = "分组框4", .cls = ControlClass::GroupBox,
     .left = 288, .top = 252, .width = 296, .height = 100, .text = "系统统计的结果",
     .font = &kBoldSong, .textColour = kCaptionBlue},
    {.name = "按钮1", .cls = ControlClass::Button,
     .left = 462, .top = 191, .width = 100, .height = 32, .text = "计算等级",
     .tabStop = true},
    {.name = "编辑框3", .cls = ControlClass::Edit, .parent = "分组框3",
     .left = 18, .top = 64, .width = 104, .height = 20, .text = "2",
     .tabStop = true, .font = &kBoldSong, .background = kWhite, .integerInput = true},
    {.name = "标签1", .cls = ControlClass::Label, .parent = "分组框3",
     .left = 10, .top = 24, .width = 128, .height = 32, .text = "请输入当前您的积分：",
     .font = &kBoldSong, .valign = forms::VAlign::Top, .wordWrap = true},
    {.name = "分组框3", .cls = ControlClass::GroupBox,
     .left = 440, .top = 65, .width = 144, .height = 103},
    {.name = "编辑框2", .cls = ControlClass::Edit, .parent = "分组框2",
     .left = 9, .top = 207, .width = 95, .height = 20, .text = "100",
     .disabled = true, .tabStop = true, .font = &kBoldSong, .background = kWhite,
     .maxLength = 4, .integerInput = true},
    {.name = "单选框7", .cls = ControlClass::Radio, .parent = "分组框2",
     .left = 8, .top = 180, .width = 112, .height = 24, .text = "自定义等级",
     .tabStop = true, .font = &kBoldSong, .textColour = kRed},
    {.name = "单选框6", .cls = ControlClass::Radio, .parent = "分组框2",
     .left = 8, .top = 152, .width = 88, .height = 24, .text = "三个灯笼",
     .tabStop = true, .font = &kBoldSong},
    {.name = "单选框5", .cls = ControlClass::Radio, .parent = "分组框2",
     .left = 8, .top = 128, .width = 88, .height = 24, .text = "二个灯笼",
     .tabStop = true, .font = &kBoldSong},
    {.name = "单选框4", .cls = ControlClass::Radio, .parent = "分组框2",
     .left = 8, .top = 104, .width = 88, .height = 24, .text = "一个灯笼",
     .tabStop = true, .font = &kBoldSong},
    {.name = "单选框3", .cls = ControlClass::Radio, .parent = "分组框2",
     .left = 8, .top = 72, .width = 88, .height = 24, .text = "三个皇冠",
     .tabStop = true, .font = &kBoldSong},
    {.name = "单选框2", .cls = ControlClass::Radio, .parent = "分组框2",
     .left = 8, .top = 48, .width = 88, .height = 24, .text = "二个皇冠",
     .tabStop = true, .font = &kBoldSong},
    {.name = "单选框1", .cls = ControlClass::Radio, .parent = "分组框2",
     .left = 8, .top = 24, .width = 88, .height = 24, .text = "一个皇冠",
     .tabStop = true, .font = &kBoldSong, .checked = true},
    {.name = "分组框2", .cls = ControlClass::GroupBox,
     .left = 288, .top = 8, .width = 144, .height = 240, .text = "选择YY等级",
     .font = &kBoldSong, .textColour = kCaptionBlue},
    {.name = "标签2", .cls = ControlClass::Label, .parent = "分组框1",
     .left = 98, .top = 21, .width = 40, .height = 16, .text = "小时",
     .font = &kBoldSong},
    {.name = "编辑框1", .cls = ControlClass::Edit, .parent = "分组框1",
     .left = 10, .top = 19, .width = 80, .height = 20, .text = "2",
     .tabStop = true, .font = &kBoldSong, .background = kWhite, .integerInput = true},
    {.name = "分组框1", .cls = ControlClass::GroupBox,
     .left = 440, .top = 8, .width = 144, .height = 49, .text = "每日挂机时间",
     .font = &kBoldSong, .textColour = kCaptionBlue},
    {.name = "图片框1", .cls = ControlClass::PictureBox,
     .left = 8, .top = 8, .width = 270, .height = 344, .border = true,
     .picture = kChartGif},
};
// clang-format on

constexpr Binding kBindings[] = {
    {"", Event::Created, ApplyDefaultLevel},
    {"单选框1", Event::Clicked, SelectPresetLevel, 64},
    {"单选框2", Event::Clicked, SelectPresetLevel, 128},
    {"单选框3", Event::Clicked, SelectPresetLevel, 192},
    {"单选框4", Event::Clicked, SelectPresetLevel, 256},
    {"单选框5", Event::Clicked, SelectPresetLevel, 512},
    {"单选框6", Event::Clicked, SelectPresetLevel, 768},
    {"单选框7", Event::Clicked, SelectCustomLevel},
    {"编辑框2", Event::TextChanged, TrackCustomLevel},
    {"按钮1", Event::Clicked, RunCalculation},
    {"标签4", Event::LeftButtonDown, CopyResult},
};

constexpr const ControlDesc* FindRow(std::string_view name) {
    for (const ControlDesc& control : kControls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

constexpr bool NamesAreUnique() {
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        if (kControls[i].name.empty()) return false;
        for (std::size_t j = i + 1; j < std::size(kControls); ++j) {
            if (kControls[i].name == kControls[j].name) return false;
        }
    }
    return true;
}

// Every parent is a group box that lies in the window itself.
constexpr bool ParentsAreGroupBoxes() {
    for (const ControlDesc& control : kControls) {
        if (control.parent.empty()) continue;
        const ControlDesc* parent = FindRow(control.parent);
        if (parent == nullptr || parent->cls != ControlClass::GroupBox || !parent->parent.empty()) {
            return false;
        }
    }
    return true;
}

constexpr bool BindingsNameControls() {
    for (const Binding& binding : kBindings) {
        if (!binding.control.empty() && FindRow(binding.control) == nullptr) return false;
    }
    return true;
}

static_assert(std::size(kControls) == 20);
static_assert(NamesAreUnique());
static_assert(ParentsAreGroupBoxes());
static_assert(BindingsNameControls());
static_assert(sizeof(kChartGif) > 6 && kChartGif[0] == 'G' && kChartGif[1] == 'I' &&
              kChartGif[2] == 'F');

constexpr forms::Layout kLayout{kWindow, kControls, kBindings};

}  // namespace

const forms::Layout& MainWindowLayout() {
    return kLayout;
}

}  // namespace tessarune::app
