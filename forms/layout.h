#pragma once
// Window layouts as constant data: one window description, the control descriptions in layout
// order, and the event bindings.  Member initialisers hold the class defaults that apply to every
// class; the per-class defaults that differ (a label's text "标签", a button's caption "按钮", ...)
// are filled in by ClassDefaultText.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessarune::forms {

enum class ControlClass : std::uint8_t { Label, GroupBox, Button, Edit, Radio, PictureBox };

enum class Event : std::uint8_t { Created, Clicked, TextChanged, LeftButtonDown };

enum class Property : std::uint8_t { Text, Caption };

// A colour as red, green, blue; kSystemColour stands for the system's button-face colour (or the
// system's default for the role in question).
struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool system = true;
};
inline constexpr Colour kSystemColour{};
constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {r, g, b, false};
}

// A stored font.  The face is a GBK literal; height is the requested (negative) cell height.
struct FontDesc {
    std::string_view face{};
    std::int32_t height = 0;
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charset = 1;  // stored value; realised with the system default charset
};

enum class Cursor : std::uint8_t { Arrow, Hand };
enum class HAlign : std::uint8_t { Left, Centre, Right };
enum class VAlign : std::uint8_t { Top, Centre };

struct ControlDesc {
    std::string_view name{};
    ControlClass cls = ControlClass::Label;
    std::string_view parent{};  // empty: the window itself; otherwise a group box's name
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::optional<std::string_view> text{};  // absent: the class default text
    bool visible = true;
    bool disabled = false;
    bool tabStop = false;
    std::int32_t tabRank = 0;
    Cursor cursor = Cursor::Arrow;
    const FontDesc* font = nullptr;     // null: the platform's default GUI font
    Colour textColour = kSystemColour;  // system: black text
    Colour background = kSystemColour;  // system: button face (white for edit boxes)
    // Label
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Centre;
    bool wordWrap = false;
    // Edit box
    std::int32_t maxLength = 0;  // 0: no limit beyond the platform's
    bool integerInput = false;
    // Radio button
    bool checked = false;
    // Push button
    bool defaultButton = false;
    // Picture box
    bool border = false;
    std::span<const std::uint8_t> picture{};  // encoded image bytes (GIF, ...), empty for none
};

struct WindowDesc {
    std::string_view name{};  // how handlers name the window
    std::string_view caption{};
    std::int32_t left = 50, top = 50, width = 0, height = 0;  // outer size
    bool centred = true;
    bool minimiseBox = true;
    bool maximiseBox = false;
    bool visible = true;
    bool escCloses = true;
    bool enterMovesFocus = false;
    const FontDesc* font = nullptr;
    std::span<const std::uint8_t> icon{};  // .ico bytes; empty: the program's own icon
};

// Handlers get the event's arguments and the value bound with them.  Only LeftButtonDown looks
// at the result: false swallows the press, true or none lets the control process it.
struct EventArgs {
    std::int32_t x = 0, y = 0, keyState = 0;
    std::int32_t bound = 0;
};
using Handler = std::optional<bool> (*)(const EventArgs&);

struct Binding {
    std::string_view control{};  // empty: the window itself
    Event event = Event::Created;
    Handler handler = nullptr;
    std::int32_t bound = 0;
};

struct Layout {
    WindowDesc window{};
    std::span<const ControlDesc> controls{};
    std::span<const Binding> bindings{};
};

// Key state bits of LeftButtonDown.
inline constexpr std::int32_t kCtrlHeld = 1, kShiftHeld = 2, kAltHeld = 4;

// The text a control of the class shows when its description gives none: "标签", "按钮",
// "单选框", and empty for group boxes, edit boxes and picture boxes.
std::string_view ClassDefaultText(ControlClass cls);

// The text (caption) a control starts with: its description's text, or the class default.
std::string_view InitialText(const ControlDesc& control);

}  // namespace tessarune::forms
