#include "forms/rules.h"

#include <algorithm>
#include <string>

namespace tessarune::forms {

namespace {

bool IsTabStop(std::span<const ControlDesc> controls, std::span<const ControlState> states,
               std::size_t control) {
    return controls[control].tabStop && IsVisible(controls, states, control) &&
           IsEnabled(controls, states, control);
}

// Sorts indices given in layout order into Tab order: ascending rank, equal ranks last-listed
// first.
void SortIntoTabOrder(std::span<const ControlDesc> controls, std::vector<std::size_t>& indices) {
    std::reverse(indices.begin(), indices.end());
    std::stable_sort(indices.begin(), indices.end(), [&](std::size_t a, std::size_t b) {
        return controls[a].tabRank < controls[b].tabRank;
    });
}

// The index `distance` places away from `pos` in a ring of `size` entries.
std::size_t RingStep(std::size_t pos, long long distance, std::size_t size) {
    const auto n = static_cast<long long>(size);
    const long long moved = (static_cast<long long>(pos) + distance % n + n) % n;
    return static_cast<std::size_t>(moved);
}

char32_t FoldAsciiLetter(char32_t ch) {
    return (ch >= U'A' && ch <= U'Z') ? ch - U'A' + U'a' : ch;
}

// Whether the caption marks `ch` (an ASCII letter folded to lower case, or a digit) with a
// single ampersand.  Bytes can be walked one by one: GBK trail bytes are never '&'.
bool CaptionMarks(std::string_view caption, char32_t ch) {
    for (std::size_t k = 0; k + 1 < caption.size(); ++k) {
        if (caption[k] != '&') continue;
        const auto next = static_cast<unsigned char>(caption[k + 1]);
        if (next == '&') {
            ++k;  // "&&" draws one ampersand and marks nothing
            continue;
        }
        if (next < 0x80 && FoldAsciiLetter(next) == ch) return true;
    }
    return false;
}

bool IsDefaultButton(const ControlDesc& control) {
    return control.cls == ControlClass::Button && control.defaultButton;
}

std::string Quoted(std::string_view name) {
    return "“" + std::string(name) + "”";
}

std::string_view EventName(Event event) {
    switch (event) {
        case Event::Created:
            return "Created";
        case Event::Clicked:
            return "Clicked";
        case Event::TextChanged:
            return "TextChanged";
        case Event::LeftButtonDown:
            return "LeftButtonDown";
    }
    return "?";
}

std::optional<std::string> FindControlFault(const Layout& layout) {
    const std::span<const ControlDesc> controls = layout.controls;
    const std::string window = "窗口" + Quoted(layout.window.name);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlDesc& c = controls[i];
        if (c.name.empty()) {
            return window + "的第 " + std::to_string(i + 1) + " 个控件没有名称";
        }
        const std::string control = window + "的控件" + Quoted(c.name);
        if (FindControl(controls, c.name) != i) return window + "有两个控件名为" + Quoted(c.name);
        if (c.width < 0 || c.height < 0) return control + "的宽度或高度为负";
        if (c.maxLength < 0) return control + "的长度限制为负";
        if (c.parent.empty()) continue;
        if (c.cls == ControlClass::GroupBox) return control + "是分组框，只能放在窗口本身中";
        const std::optional<std::size_t> parent = FindControl(controls, c.parent);
        if (!parent || controls[*parent].cls != ControlClass::GroupBox) {
            return control + "的容器" + Quoted(c.parent) + "不是本窗口的分组框";
        }
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].cls != ControlClass::Radio || !controls[i].checked) continue;
        for (std::size_t j : RadioGroup(controls, i)) {
            if (j < i && controls[j].checked) {
                return window + "的单选框" + Quoted(controls[j].name) + "和" +
                       Quoted(controls[i].name) + "在同一组中都被选中";
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindBindingFault(const Layout& layout) {
    const std::string window = "窗口" + Quoted(layout.window.name);
    for (std::size_t i = 0; i < layout.bindings.size(); ++i) {
        const Binding& b = layout.bindings[i];
        const std::string target =
            b.control.empty() ? window : window + "的控件" + Quoted(b.control);
        if (b.control.empty()) {
            if (!WindowRaisesEvent(b.event)) {
                return window + "本身不引发所绑定的事件 " + std::string(EventName(b.event));
            }
        } else {
            const std::optional<std::size_t> control = FindControl(layout.controls, b.control);
            if (!control) return window + "的事件绑定指向不存在的控件" + Quoted(b.control);
            if (!RaisesEvent(layout.controls[*control].cls, b.event)) {
                return target + "不引发所绑定的事件 " + std::string(EventName(b.event));
            }
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (layout.bindings[j].control == b.control && layout.bindings[j].event == b.event) {
                return target + "的事件 " + std::string(EventName(b.event)) + " 绑定了两次";
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<ControlState> InitialStates(std::span<const ControlDesc> controls) {
    std::vector<ControlState> states;
    states.reserve(controls.size());
    for (const ControlDesc& c : controls) states.push_back({c.visible, c.disabled});
    return states;
}

std::optional<std::size_t> FindControl(std::span<const ControlDesc> controls,
                                       std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) return i;
    }
    return std::nullopt;
}

bool IsVisible(std::span<const ControlDesc> controls, std::span<const ControlState> states,
               std::size_t control) {
    if (control >= controls.size() || control >= states.size() || !states[control].visible) {
        return false;
    }
    // Only one level of nesting: group boxes sit in the window itself.
    const std::optional<std::size_t> parent = FindControl(controls, controls[control].parent);
    return !parent || (*parent < states.size() && states[*parent].visible);
}

bool IsEnabled(std::span<const ControlDesc> controls, std::span<const ControlState> states,
               std::size_t control) {
    if (control >= controls.size() || control >= states.size() || states[control].disabled) {
        return false;
    }
    const std::optional<std::size_t> parent = FindControl(controls, controls[control].parent);
    return !parent || (*parent < states.size() && !states[*parent].disabled);
}

bool HasProperty(ControlClass cls, Property property) {
    switch (property) {
        case Property::Text:
            return cls == ControlClass::Edit;
        case Property::Caption:
            return cls == ControlClass::Label;
    }
    return false;
}

bool RaisesEvent(ControlClass cls, Event event) {
    switch (event) {
        case Event::Created:
            return false;
        case Event::Clicked:
            return cls == ControlClass::Button || cls == ControlClass::Radio;
        case Event::TextChanged:
            return cls == ControlClass::Edit;
        case Event::LeftButtonDown:
            return true;
    }
    return false;
}

bool WindowRaisesEvent(Event event) {
    return event == Event::Created || event == Event::LeftButtonDown;
}

std::vector<std::size_t> TabOrder(std::span<const ControlDesc> controls,
                                  std::span<const ControlState> states) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (IsTabStop(controls, states, i)) order.push_back(i);
    }
    SortIntoTabOrder(controls, order);
    return order;
}

std::optional<std::size_t> NextInTabOrder(std::span<const ControlDesc> controls,
                                          std::span<const ControlState> states,
                                          std::optional<std::size_t> current, int step) {
    const std::vector<std::size_t> order = TabOrder(controls, states);
    if (order.empty()) return std::nullopt;
    const auto pos = current ? std::find(order.begin(), order.end(), *current) : order.end();
    if (pos == order.end()) return step < 0 ? order.back() : order.front();
    const auto index = static_cast<std::size_t>(pos - order.begin());
    return order[RingStep(index, step, order.size())];
}

std::vector<std::size_t> StackingOrder(std::span<const ControlDesc> controls,
                                       std::string_view parent) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].parent == parent) order.push_back(i);
    }
    return order;
}

std::optional<std::size_t> NextRadio(std::span<const ControlDesc> controls,
                                     std::span<const ControlState> states, std::size_t current,
                                     int step) {
    if (step == 0) return std::nullopt;
    std::vector<std::size_t> group = RadioGroup(controls, current);
    if (group.empty()) return std::nullopt;
    // The current radio keeps its place in the ring even when it does not qualify itself, so
    // the step starts from where it stands in Tab order.
    SortIntoTabOrder(controls, group);
    const auto pos =
        static_cast<std::size_t>(std::find(group.begin(), group.end(), current) - group.begin());
    const int direction = step > 0 ? 1 : -1;
    for (std::size_t k = 1; k < group.size(); ++k) {
        const std::size_t candidate =
            group[RingStep(pos, direction * static_cast<long long>(k), group.size())];
        if (IsTabStop(controls, states, candidate)) return candidate;
    }
    return std::nullopt;
}

std::vector<std::size_t> RadioGroup(std::span<const ControlDesc> controls, std::size_t radio) {
    std::vector<std::size_t> group;
    if (radio >= controls.size() || controls[radio].cls != ControlClass::Radio) return group;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].cls == ControlClass::Radio &&
            controls[i].parent == controls[radio].parent) {
            group.push_back(i);
        }
    }
    return group;
}

bool AcceptsTypedChar(std::uint32_t ch) {
    return ch < 0x20 || (ch >= '0' && ch <= '9') || ch == '-';
}

Point CentredPosition(std::int32_t screenWidth, std::int32_t screenHeight, std::int32_t width,
                      std::int32_t height) {
    // The difference of two 32-bit values may not fit 32 bits; its half always does.
    const auto half = [](std::int32_t screen, std::int32_t size) {
        return static_cast<std::int32_t>((std::int64_t{screen} - size) / 2);
    };
    return {half(screenWidth, width), half(screenHeight, height)};
}

std::optional<std::size_t> MnemonicTarget(std::span<const ControlDesc> controls,
                                          std::span<const ControlState> states, char32_t ch) {
    const char32_t key = FoldAsciiLetter(ch);
    if (!((key >= U'a' && key <= U'z') || (key >= U'0' && key <= U'9'))) return std::nullopt;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlClass cls = controls[i].cls;
        if (cls != ControlClass::Button && cls != ControlClass::Radio) continue;
        if (!IsVisible(controls, states, i) || !IsEnabled(controls, states, i)) continue;
        if (CaptionMarks(InitialText(controls[i]), key)) return i;
    }
    return std::nullopt;
}

EnterAction ActionForEnter(std::span<const ControlDesc> controls,
                           std::span<const ControlState> states, bool enterMovesFocus,
                           std::optional<std::size_t> focused) {
    using Kind = EnterAction::Kind;
    if (focused && *focused < controls.size() && IsDefaultButton(controls[*focused]) &&
        IsEnabled(controls, states, *focused)) {
        return {Kind::Click, *focused};
    }
    if (enterMovesFocus) return {Kind::MoveFocus, 0};
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (IsDefaultButton(controls[i]) && IsVisible(controls, states, i) &&
            IsEnabled(controls, states, i)) {
            return {Kind::Click, i};
        }
    }
    return {};
}

bool EventGate::Dispatch(std::span<const Binding> bindings, std::string_view control, Event event,
                         const EventArgs& args) const {
    if (Suspended()) return true;
    const auto binding = std::find_if(bindings.begin(), bindings.end(), [&](const Binding& b) {
        return b.control == control && b.event == event;
    });
    if (binding == bindings.end() || binding->handler == nullptr) return true;
    EventArgs bound = args;
    bound.bound = binding->bound;
    const std::optional<bool> result = binding->handler(bound);
    const bool swallowed = event == Event::LeftButtonDown && result.has_value() && !*result;
    return !swallowed;
}

std::optional<std::string> FindLayoutFault(const Layout& layout) {
    if (layout.window.name.empty()) return std::string("窗口没有名称");
    if (layout.window.width < 0 || layout.window.height < 0) {
        return "窗口" + Quoted(layout.window.name) + "的宽度或高度为负";
    }
    if (std::optional<std::string> fault = FindControlFault(layout)) return fault;
    return FindBindingFault(layout);
}

}  // namespace tessarune::forms
