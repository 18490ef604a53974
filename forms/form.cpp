#include "forms/form.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/backend.h"
#include "forms/rules.h"

namespace tessarune::forms {

namespace {

struct LayerState {
    Backend* backend = nullptr;
    std::vector<const Layout*> loaded;  // in the order of loading
    EventGate gate;
};

LayerState& Layer() {
    static LayerState state;
    return state;
}

std::string Quoted(std::string_view name) {
    return "“" + std::string(name) + "”";
}

std::string_view PropertyName(Property property) {
    switch (property) {
        case Property::Text:
            return "Text";
        case Property::Caption:
            return "Caption";
    }
    return "?";
}

Backend& RequireBackend() {
    if (Layer().backend == nullptr) ReportFatalError("窗体层没有安装后端");
    return *Layer().backend;
}

const Layout& RequireWindow(std::string_view window) {
    const Layout* layout = FindLoadedWindow(window);
    if (layout == nullptr) ReportFatalError("窗口" + Quoted(window) + "没有加载");
    return *layout;
}

const ControlDesc& RequireControl(const Layout& layout, std::string_view control) {
    const std::optional<std::size_t> index = FindControl(layout.controls, control);
    if (!index) {
        ReportFatalError("窗口" + Quoted(layout.window.name) + "没有控件" + Quoted(control));
    }
    return layout.controls[*index];
}

const ControlDesc& RequireProperty(const Layout& layout, std::string_view control,
                                   Property property) {
    const ControlDesc& desc = RequireControl(layout, control);
    if (!HasProperty(desc.cls, property)) {
        ReportFatalError("窗口" + Quoted(layout.window.name) + "的控件" + Quoted(control) +
                         "没有属性 " + std::string(PropertyName(property)));
    }
    return desc;
}

void Forget(const Layout* layout) {
    std::vector<const Layout*>& loaded = Layer().loaded;
    loaded.erase(std::remove(loaded.begin(), loaded.end(), layout), loaded.end());
}

// Unregisters a window whose build did not succeed, also when the build unwinds.
class PendingLoad {
public:
    explicit PendingLoad(const Layout& layout) : layout_(&layout) {
        Layer().loaded.push_back(layout_);
    }
    ~PendingLoad() {
        if (!succeeded_) Forget(layout_);
    }
    PendingLoad(const PendingLoad&) = delete;
    PendingLoad& operator=(const PendingLoad&) = delete;

    void Succeed() { succeeded_ = true; }

private:
    const Layout* layout_;
    bool succeeded_ = false;
};

}  // namespace

void InstallBackend(Backend* backend) {
    Layer().backend = backend;
}

void NoteWindowDestroyed(std::string_view window) {
    if (const Layout* layout = FindLoadedWindow(window)) Forget(layout);
}

std::size_t LoadedWindowCount() {
    return Layer().loaded.size();
}

const Layout* FindLoadedWindow(std::string_view window) {
    for (const Layout* layout : Layer().loaded) {
        if (layout->window.name == window) return layout;
    }
    return nullptr;
}

EventGate& GlobalEventGate() {
    return Layer().gate;
}

bool RaiseEvent(const Layout& window, std::string_view control, Event event,
                const EventArgs& args) {
    return GlobalEventGate().Dispatch(window.bindings, control, event, args);
}

bool LoadWindow(const Layout& layout) {
    if (std::optional<std::string> fault = FindLayoutFault(layout)) ReportFatalError(*fault);
    if (FindLoadedWindow(layout.window.name) != nullptr) {
        ReportFatalError("窗口" + Quoted(layout.window.name) + "已经加载");
    }
    Backend& backend = RequireBackend();
    // Registered first, so that the Created handler, which runs inside the build, can address
    // the window.
    PendingLoad pending(layout);
    if (!backend.LoadWindow(layout)) return false;
    pending.Succeed();
    return true;
}

ReadText ReadTextProperty(std::string_view window, std::string_view control, Property property) {
    const Layout& layout = RequireWindow(window);
    const ControlDesc& desc = RequireProperty(layout, control, property);
    ReadText text = RequireBackend().ReadTextProperty(layout, desc, property);
    if (text && text->empty()) text.reset();
    return text;
}

void WriteTextProperty(std::string_view window, std::string_view control, Property property,
                       std::string_view text) {
    const Layout& layout = RequireWindow(window);
    const ControlDesc& desc = RequireProperty(layout, control, property);
    RequireBackend().WriteTextProperty(layout, desc, property, text);
}

void WriteDisabled(std::string_view window, std::string_view control, bool disabled) {
    const Layout& layout = RequireWindow(window);
    const ControlDesc& desc = RequireControl(layout, control);
    RequireBackend().WriteDisabled(layout, desc, disabled);
}

void FreeText(ReadText& text) {
    text.reset();
}

bool SetClipboardText(std::string_view text) {
    return RequireBackend().SetClipboardText(text);
}

void ReportFatalError(std::string_view message) {
    if (Backend* backend = Layer().backend) backend->ReportFatalError(message);
    // Without a window system there is nobody to show the message to but stderr.
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
    std::_Exit(-1);
}

}  // namespace tessarune::forms
