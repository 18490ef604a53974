#pragma once
// The portable rules of the form layer, as plain functions over a window's control table.
// Controls are addressed by their index in layout order.  The Win32 backend asks these
// functions and only translates their answers into window-system calls.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/layout.h"

namespace tessarune::forms {

// Run-time state of one control that the rules depend on.
struct ControlState {
    bool visible = true;
    bool disabled = false;
};

// The states a window's controls start with: the visible and disabled flags of the layout.
std::vector<ControlState> InitialStates(std::span<const ControlDesc> controls);

// The index of the control with that name; none for an unknown or empty name.
std::optional<std::size_t> FindControl(std::span<const ControlDesc> controls,
                                       std::string_view name);

// Whether the control can take input: it and the group box holding it are visible and enabled
// (a hidden or disabled group box takes its controls with it).  `states` runs parallel to
// `controls`; a control without a state entry counts as neither visible nor enabled.
bool IsVisible(std::span<const ControlDesc> controls, std::span<const ControlState> states,
               std::size_t control);
bool IsEnabled(std::span<const ControlDesc> controls, std::span<const ControlState> states,
               std::size_t control);

// Which properties a class has: Text for edit boxes, Caption for labels.  Disabled belongs to
// every control.
bool HasProperty(ControlClass cls, Property property);

// Which events a class raises: Clicked for push buttons and radios, TextChanged for edit boxes,
// LeftButtonDown for every control; Created only for the window.
bool RaisesEvent(ControlClass cls, Event event);
bool WindowRaisesEvent(Event event);

// Controls that take part in Tab order: visible, enabled Tab stops, by ascending tab rank;
// equal ranks in reverse layout order.
std::vector<std::size_t> TabOrder(std::span<const ControlDesc> controls,
                                  std::span<const ControlState> states);

// The control that Tab (step +1) or Shift+Tab (step -1) moves to from `current`, wrapping at
// both ends; from no control or a control outside the order, the first (or last) one.  None
// when no control takes part in Tab order.
std::optional<std::size_t> NextInTabOrder(std::span<const ControlDesc> controls,
                                          std::span<const ControlState> states,
                                          std::optional<std::size_t> current, int step);

// The controls of one parent (empty: the window; otherwise a group box's name) from front to
// back: earlier in layout order lies in front.
std::vector<std::size_t> StackingOrder(std::span<const ControlDesc> controls,
                                       std::string_view parent);

// The radio that an arrow key moves to from radio `current`: the previous (step -1) or next
// (step +1) radio of the same container in Tab order, counting only visible, enabled Tab stops,
// wrapping at both ends.  None when no other radio qualifies or `current` is no radio.
std::optional<std::size_t> NextRadio(std::span<const ControlDesc> controls,
                                     std::span<const ControlState> states, std::size_t current,
                                     int step);

// The radios of the same container as `radio` (its group), `radio` included, in layout order;
// empty when `radio` is no radio.
std::vector<std::size_t> RadioGroup(std::span<const ControlDesc> controls, std::size_t radio);

// Integer-text input: whether a typed character (a UTF-16 code unit) may enter the box.
// Digits and '-' pass, and so does every character below 0x20 (Backspace, Ctrl combinations);
// every other unit is dropped, each half of a double-byte character included.
bool AcceptsTypedChar(std::uint32_t ch);

// Centred start position on a screen of the given size; each division truncates toward zero,
// so a window larger than the screen gets a negative position.
struct Point {
    std::int32_t x = 0, y = 0;
};
Point CentredPosition(std::int32_t screenWidth, std::int32_t screenHeight, std::int32_t width,
                      std::int32_t height);

// The first visible, enabled push button or radio in layout order whose caption holds "&c" for
// the letter or digit c (either case of a letter); "&&" is a literal ampersand.  None for any
// other character.
std::optional<std::size_t> MnemonicTarget(std::span<const ControlDesc> controls,
                                          std::span<const ControlState> states, char32_t ch);

// What Enter does in a window: click the focused control when it is a default button; else move
// the focus like Tab when the window asks for that; else click the first visible, enabled
// default button in layout order; else nothing.
struct EnterAction {
    enum class Kind : std::uint8_t { None, Click, MoveFocus };
    Kind kind = Kind::None;
    std::size_t control = 0;  // the button to click
};
EnterAction ActionForEnter(std::span<const ControlDesc> controls,
                           std::span<const ControlState> states, bool enterMovesFocus,
                           std::optional<std::size_t> focused);

// Event suspension and dispatch.  While the counter is above zero no handler runs.
class EventGate {
public:
    void Suspend() { ++suspended_; }
    // An unmatched Resume leaves the counter at zero.
    void Resume() {
        if (suspended_ > 0) --suspended_;
    }
    bool Suspended() const { return suspended_ > 0; }

    // Runs the handler bound to (control, event), if any and if events are not suspended; an
    // empty control name stands for the window.  The handler gets `args` with the binding's
    // bound value.  Gives whether the control goes on with the input: false only when a
    // LeftButtonDown handler returned false.
    bool Dispatch(std::span<const Binding> bindings, std::string_view control, Event event,
                  const EventArgs& args = {}) const;

private:
    int suspended_ = 0;
};

// Suspends events for its lifetime or until Resume(), whichever comes first, so that a build
// that fails half-way still resumes them.
class SuspendedEvents {
public:
    explicit SuspendedEvents(EventGate& gate) : gate_(&gate) { gate_->Suspend(); }
    ~SuspendedEvents() { Resume(); }
    SuspendedEvents(const SuspendedEvents&) = delete;
    SuspendedEvents& operator=(const SuspendedEvents&) = delete;

    void Resume() {
        if (gate_ != nullptr) gate_->Resume();
        gate_ = nullptr;
    }

private:
    EventGate* gate_;
};

// Checks a layout: the window named; control names unique and non-empty; sizes and length
// limits not negative; every parent a group box of the window, and group boxes in the window
// itself; at most one checked radio per group; every binding naming the window or a control of
// it with an event that it raises, and at most one binding per (control, event).  Gives a
// description of the first fault, naming the window and control.
std::optional<std::string> FindLayoutFault(const Layout& layout);

}  // namespace tessarune::forms
