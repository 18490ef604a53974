#include "forms/layout.h"

namespace tessarune::forms {

std::string_view ClassDefaultText(ControlClass cls) {
    switch (cls) {
        case ControlClass::Label:
            return "标签";
        case ControlClass::Button:
            return "按钮";
        case ControlClass::Radio:
            return "单选框";
        case ControlClass::GroupBox:
        case ControlClass::Edit:
        case ControlClass::PictureBox:
            break;
    }
    return {};
}

std::string_view InitialText(const ControlDesc& control) {
    return control.text.value_or(ClassDefaultText(control.cls));
}

}  // namespace tessarune::forms
