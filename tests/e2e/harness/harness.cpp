// A small window on the form layer for the end-to-end driver.  Every handler appends a record
// of its event to the caption of the label 日志, which the driver reads back through the
// window system (tests/e2e/HARNESS.md lists the records).

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "forms/layout.h"
#include "forms/runtime.h"
#include "forms/win32/alloc.h"
#include "harness_images.h"

namespace {

using namespace tessarune::forms;

constexpr std::string_view kWindow = "测试窗口";
constexpr std::string_view kLog = "日志";

// Indexed by the number bound with the handler.
constexpr std::string_view kEditNames[] = {"", "编辑框1", "编辑框2", "编辑框3"};

void AppendLog(std::string_view record) {
    ReadText log = ReadTextProperty(kWindow, kLog, Property::Caption);
    std::string text = log.value_or(GbkText());
    FreeText(log);
    text += record;
    WriteTextProperty(kWindow, kLog, Property::Caption, text);
}

std::string TextOf(std::string_view control) {
    ReadText text = ReadTextProperty(kWindow, control, Property::Text);
    std::string copy = text.value_or(GbkText());
    FreeText(text);
    return copy;
}

std::string PressRecord(std::string_view tag, const EventArgs& args) {
    return std::string(tag) + ":" + std::to_string(args.x) + "," + std::to_string(args.y) + "," +
           std::to_string(args.keyState) + ";";
}

std::optional<bool> LogCreated(const EventArgs&) {
    AppendLog("created;");
    return std::nullopt;
}

std::optional<bool> LogRadio(const EventArgs& args) {
    AppendLog("radio:" + std::to_string(args.bound) + ";");
    return std::nullopt;
}

std::optional<bool> WriteEditText(const EventArgs&) {
    AppendLog("button:1;");
    WriteTextProperty(kWindow, "编辑框2", Property::Text, "ab");
    return std::nullopt;
}

std::optional<bool> ToggleEdit3(const EventArgs&) {
    static bool disabled = true;  // as the layout starts it
    AppendLog("button:2;");
    disabled = !disabled;
    WriteDisabled(kWindow, "编辑框3", disabled);
    return std::nullopt;
}

std::optional<bool> LogText(const EventArgs& args) {
    const std::string_view name = kEditNames[args.bound];
    AppendLog("text:" + std::to_string(args.bound) + "=" + TextOf(name) + ";");
    return std::nullopt;
}

std::optional<bool> CopyEdit2(const EventArgs& args) {
    AppendLog(PressRecord("down", args));
    const bool copied = SetClipboardText(TextOf("编辑框2"));
    AppendLog(copied ? "copy:1;" : "copy:0;");
    return std::nullopt;
}

std::optional<bool> SwallowPress(const EventArgs& args) {
    AppendLog(PressRecord("label1", args));
    return false;
}

// Copying this caption is the first allocation after every allocation has been made to fail:
// 65536 bytes and the terminating NUL, so the error box names 65537 bytes.
std::optional<bool> FailAllocation(const EventArgs&) {
    AppendLog("fatal;");
    const std::string caption(65536, 'x');
    SimulateAllocationFailureFrom(1);
    WriteTextProperty(kWindow, "标签1", Property::Caption, caption);
    SimulateAllocationFailureFrom(0);
    AppendLog("survived;");
    return std::nullopt;
}

constexpr FontDesc kBoldSong{.face = "宋体", .height = -14, .weight = 700, .charset = 134};

// clang-format off
constexpr ControlDesc kControls[] = {
    {.name = "日志", .cls = ControlClass::Label, .left = 10, .top = 300, .width = 460, .height = 20,
     .text = ""},
    {.name = "分组框1", .cls = ControlClass::GroupBox, .left = 10, .top = 10, .width = 200,
     .height = 150, .text = "选择", .font = &kBoldSong, .textColour = Rgb(0, 136, 255)},
    {.name = "单选框1", .cls = ControlClass::Radio, .parent = "分组框1", .left = 10, .top = 20,
     .width = 120, .height = 24, .text = "一", .tabStop = true, .font = &kBoldSong,
     .checked = true},
    {.name = "单选框2", .cls = ControlClass::Radio, .parent = "分组框1", .left = 10, .top = 50,
     .width = 120, .height = 24, .text = "二", .tabStop = true, .font = &kBoldSong},
    {.name = "单选框3", .cls = ControlClass::Radio, .parent = "分组框1", .left = 10, .top = 80,
     .width = 120, .height = 24, .text = "三&C", .tabStop = true, .font = &kBoldSong,
     .textColour = Rgb(255, 0, 0)},
    {.name = "单选框4", .cls = ControlClass::Radio, .left = 220, .top = 10, .width = 120,
     .height = 24, .text = "外", .tabStop = true},
    {.name = "按钮1", .cls = ControlClass::Button, .left = 220, .top = 40, .width = 100,
     .height = 28, .text = "按钮&B", .tabStop = true},
    {.name = "按钮2", .cls = ControlClass::Button, .left = 330, .top = 40, .width = 100,
     .height = 28, .text = "默认", .tabStop = true, .defaultButton = true},
    {.name = "编辑框1", .cls = ControlClass::Edit, .left = 220, .top = 80, .width = 120,
     .height = 20, .text = "12", .tabStop = true, .font = &kBoldSong, .integerInput = true},
    {.name = "编辑框2", .cls = ControlClass::Edit, .left = 220, .top = 110, .width = 120,
     .height = 20, .text = "", .tabStop = true, .maxLength = 4},
    {.name = "编辑框3", .cls = ControlClass::Edit, .left = 220, .top = 140, .width = 120,
     .height = 20, .text = "keep", .disabled = true, .tabStop = true},
    {.name = "分组框2", .cls = ControlClass::GroupBox, .left = 10, .top = 170, .width = 200,
     .height = 120, .text = "结果"},
    {.name = "标签1", .cls = ControlClass::Label, .parent = "分组框2", .left = 10, .top = 20,
     .width = 180, .height = 60, .text = "", .textColour = Rgb(255, 0, 0), .valign = VAlign::Top,
     .wordWrap = true},
    {.name = "标签2", .cls = ControlClass::Label, .left = 360, .top = 10, .width = 60,
     .height = 16, .text = "复制", .cursor = Cursor::Hand, .textColour = Rgb(0, 0, 255),
     .align = HAlign::Centre},
    {.name = "图片框1", .cls = ControlClass::PictureBox, .left = 220, .top = 170, .width = 100,
     .height = 100, .border = true, .picture = kHarnessGIF},
    {.name = "按钮3", .cls = ControlClass::Button, .left = 350, .top = 240, .width = 100,
     .height = 28, .text = "致命"},
};

constexpr Binding kBindings[] = {
    {"",        Event::Created,        LogCreated},
    {"单选框1", Event::Clicked,        LogRadio,      1},
    {"单选框2", Event::Clicked,        LogRadio,      2},
    {"单选框3", Event::Clicked,        LogRadio,      3},
    {"单选框4", Event::Clicked,        LogRadio,      4},
    {"按钮1",   Event::Clicked,        WriteEditText},
    {"按钮2",   Event::Clicked,        ToggleEdit3},
    {"编辑框1", Event::TextChanged,    LogText,       1},
    {"编辑框2", Event::TextChanged,    LogText,       2},
    {"编辑框3", Event::TextChanged,    LogText,       3},
    {"标签2",   Event::LeftButtonDown, CopyEdit2},
    {"标签1",   Event::LeftButtonDown, SwallowPress},
    {"按钮3",   Event::Clicked,        FailAllocation},
};
// clang-format on

constexpr Layout kLayout{
    .window = {.name = kWindow,
               .caption = "Forms harness",
               .width = 480,
               .height = 360,
               .escCloses = false,
               .icon = kHarnessICO},
    .controls = kControls,
    .bindings = kBindings,
};

constexpr const Layout* kLayouts[] = {&kLayout};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    InitFormLayer(kLayouts);
    if (!LoadWindow(kLayout)) ReportFatalError("无法加载窗口“测试窗口”。");
    RunMessageLoop();
    ShutdownFormLayer(0);
    return 0;
}
