#pragma once
// The handlers of the main window and the tool's one piece of state, the target level.  They
// talk to the window only through the operations of forms/form.h.

#include <cstdint>
#include <optional>

#include "forms/layout.h"

namespace tessarune::app {

// The chosen target level: 0 when the process starts, 64 once the window has been created.
// Written by the level-choice handlers below, read by RunCalculation.
extern std::int32_t TargetLevel;

// Sets up and releases the program's global state.  TargetLevel is its only global and holds
// nothing to release.
void InitGlobals();
void ReleaseGlobals();

// Window Created: the level of 单选框1, which the layout checks.
std::optional<bool> ApplyDefaultLevel(const forms::EventArgs& args);

// 单选框1..6 Clicked: the level bound with the radio; greys 编辑框2.
std::optional<bool> SelectPresetLevel(const forms::EventArgs& args);

// 单选框7 Clicked: the level typed into 编辑框2; enables the box.
std::optional<bool> SelectCustomLevel(const forms::EventArgs& args);

// 编辑框2 TextChanged: the level follows the box's text.
std::optional<bool> TrackCustomLevel(const forms::EventArgs& args);

// 按钮1 Clicked: shows the report for the hours of 编辑框1 and the points of 编辑框3 in 标签3.
std::optional<bool> RunCalculation(const forms::EventArgs& args);

// 标签4 LeftButtonDown: puts the caption of 标签3 on the clipboard.  Gives no result, so the
// label goes on with the press.
std::optional<bool> CopyResult(const forms::EventArgs& args);

}  // namespace tessarune::app
