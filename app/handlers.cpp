#include "app/handlers.h"

#include <string>

#include "app/main_window_layout.h"
#include "calc/level_report.h"
#include "calc/numeric_text.h"
#include "forms/form.h"

namespace tessarune::app {

std::int32_t TargetLevel = 0;

namespace {

using forms::Property;

constexpr std::int32_t kDefaultLevel = 64;

// The text of an edit box of the main window; an empty box gives the empty text.
std::string ReadBoxText(std::string_view box) {
    forms::ReadText text = forms::ReadTextProperty(kMainWindow, box, Property::Text);
    std::string value = text.value_or(std::string());
    forms::FreeText(text);
    return value;
}

// The level that 编辑框2 shows now.
std::int32_t CustomLevel() {
    return calc::TruncateToInt32(calc::ParseNumber(ReadBoxText("编辑框2")));
}

}  // namespace

void InitGlobals() {
    TargetLevel = 0;
}

void ReleaseGlobals() {}

std::optional<bool> ApplyDefaultLevel(const forms::EventArgs&) {
    // The same as a click on 单选框1; the check mark is already set by the layout.
    return SelectPresetLevel(forms::EventArgs{.bound = kDefaultLevel});
}

std::optional<bool> SelectPresetLevel(const forms::EventArgs& args) {
    TargetLevel = args.bound;
    forms::WriteDisabled(kMainWindow, "编辑框2", true);
    return std::nullopt;
}

std::optional<bool> SelectCustomLevel(const forms::EventArgs&) {
    TargetLevel = CustomLevel();
    forms::WriteDisabled(kMainWindow, "编辑框2", false);
    return std::nullopt;
}

std::optional<bool> TrackCustomLevel(const forms::EventArgs&) {
    TargetLevel = CustomLevel();
    return std::nullopt;
}

std::optional<bool> RunCalculation(const forms::EventArgs&) {
    const std::string hours = ReadBoxText("编辑框1");
    const std::string points = ReadBoxText("编辑框3");
    const std::string report = calc::CalculateLevelReport(hours, points, TargetLevel);
    forms::WriteTextProperty(kMainWindow, "标签3", Property::Caption, report);
    return std::nullopt;
}

std::optional<bool> CopyResult(const forms::EventArgs&) {
    forms::ReadText caption = forms::ReadTextProperty(kMainWindow, "标签3", Property::Caption);
    // A full or busy clipboard is not reported: the link then simply does nothing.
    forms::SetClipboardText(caption.value_or(std::string()));
    forms::FreeText(caption);
    return std::nullopt;
}

}  // namespace tessarune::app
