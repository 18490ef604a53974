#pragma once
// An in-memory backend for the handler tests: controls hold their text and disabled state,
// and every write of Disabled and every clipboard text is recorded.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/backend.h"
#include "forms/rules.h"

namespace tessarune::app::testing {

class FakeBackend : public forms::Backend {
public:
    struct ControlState {
        std::string text;
        bool disabled = false;
    };

    // Builds the window as the real backend does: events suspended while the controls take
    // their layout values, then Created.
    bool LoadWindow(const forms::Layout& layout) override {
        forms::SuspendedEvents suspended(forms::GlobalEventGate());
        for (const forms::ControlDesc& control : layout.controls) {
            controls[std::string(control.name)] = {std::string(forms::InitialText(control)),
                                                   control.disabled};
        }
        suspended.Resume();
        forms::RaiseEvent(layout, "", forms::Event::Created);
        return true;
    }

    forms::ReadText ReadTextProperty(const forms::Layout&, const forms::ControlDesc& control,
                                     forms::Property) override {
        return controls.at(std::string(control.name)).text;
    }

    void WriteTextProperty(const forms::Layout& layout, const forms::ControlDesc& control,
                           forms::Property property, std::string_view text) override {
        controls.at(std::string(control.name)).text = std::string(text);
        if (property == forms::Property::Text) {
            forms::RaiseEvent(layout, control.name, forms::Event::TextChanged);
        }
    }

    void WriteDisabled(const forms::Layout&, const forms::ControlDesc& control,
                       bool disabled) override {
        disabledWrites.emplace_back(control.name, disabled);
        controls.at(std::string(control.name)).disabled = disabled;
    }

    bool SetClipboardText(std::string_view text) override {
        clipboard.emplace_back(text);
        return clipboardWorks;
    }

    [[noreturn]] void ReportFatalError(std::string_view message) override {
        throw std::logic_error("fatal error: " + std::string(message));
    }

    std::map<std::string, ControlState> controls;
    std::vector<std::pair<std::string, bool>> disabledWrites;
    std::vector<std::string> clipboard;
    bool clipboardWorks = true;
};

}  // namespace tessarune::app::testing
