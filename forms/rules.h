#pragma once
// The portable rules of the form layer, as plain functions over a window's control table.
// Controls are addressed by their index in layout order.  The Win32 backend asks these
// functions and only translates their answers into window-system calls.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "forms/layout.h"

namespace tessarune::forms {

// Run-time state of one control that the rules depend on.
struct ControlState {
    bool visible = true;
    bool disabled = false;
};

// Controls that take part in Tab order: visible, enabled Tab stops, by ascending tab rank;
// equal ranks in reverse layout order.
std::vector<std::size_t> TabOrder(std::span<const ControlDesc> controls,
                                  std::span<const ControlState> states);

// The control that Tab (step +1) or Shift+Tab (step -1) moves to from `current`, wrapping at
// both ends; from a control outside the order, the first (or last) one.
std::optional<std::size_t> NextInTabOrder(std::span<const ControlDesc> controls,
                                          std::span<const ControlState> states,
                                          std::optional<std::size_t> current, int step);

// Per parent (the window or a group box), the controls from front to back: earlier in layout
// order lies in front.
std::vector<std::size_t> StackingOrder(std::span<const ControlDesc> controls,
                                       std::string_view parent);

// The radio that an arrow key moves to from radio `current`: the previous (step -1) or next
// (step +1) radio of the same container in Tab order, counting only visible, enabled Tab stops,
// wrapping at both ends.  None when no other radio qualifies.
std::optional<std::size_t> NextRadio(std::span<const ControlDesc> controls,
                                     std::span<const ControlState> states, std::size_t current,
                                     int step);

// The radios of the same container as `radio` (its group), `radio` included, in layout order.
std::vector<std::size_t> RadioGroup(std::span<const ControlDesc> controls, std::size_t radio);

// Integer-text input: whether a typed character (a UTF-16 code unit) may enter the box.
// Digits and '-' pass, and so does every character below 0x20 (Backspace, Ctrl combinations).
bool AcceptsTypedChar(std::uint32_t ch);

// Centred start position on a screen of the given size; each division truncates toward zero.
struct Point {
    std::int32_t x = 0, y = 0;
};
Point CentredPosition(std::int32_t screenWidth, std::int32_t screenHeight, std::int32_t width,
                      std::int32_t height);

// The first visible, enabled push button in layout order whose caption holds "&c" for the
// character c (either case of a letter), and likewise radios; "&&" is a literal ampersand.
std::optional<std::size_t> MnemonicTarget(std::span<const ControlDesc> controls,
                                          std::span<const ControlState> states, char32_t ch);

// Event suspension and dispatch.  While the counter is above zero no handler runs.
class EventGate {
public:
    void Suspend() { ++suspended_; }
    void Resume() { --suspended_; }
    bool Suspended() const { return suspended_ > 0; }

    // Runs the handler bound to (control, event), if any and if events are not suspended.
    // Gives whether the control goes on with the input: false only when a LeftButtonDown
    // handler returned false.
    bool Dispatch(std::span<const Binding> bindings, std::string_view control, Event event,
                  const EventArgs& args) const;

private:
    int suspended_ = 0;
};

// Checks a layout: names unique and non-empty, every parent a group box of the window (and
// nested no deeper), every binding naming a control of the window with an event that class
// raises, at most one handler per (control, event).  Gives a description of the first fault.
std::optional<std::string_view> FindLayoutFault(const Layout& layout);

}  // namespace tessarune::forms
