#include "forms/win32/clipboard.h"

#include <climits>
#include <cstring>

#include "forms/win32/handles.h"
#include "forms/win32/text.h"

namespace tessarune::forms::win32 {

namespace {

class ClipboardGuard {
public:
    ClipboardGuard() = default;
    ~ClipboardGuard() { CloseClipboard(); }
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;
};

// Hands a block to the clipboard; the clipboard owns it only when it accepted it.
bool HandOver(UINT format, UniqueGlobal& block) {
    if (ClipboardSeam().setClipboardData(format, block.Get()) == nullptr) return false;
    block.Release();
    return true;
}

UniqueGlobal AnsiBlock(std::string_view text) {
    UniqueGlobal block(ClipboardSeam().globalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
    if (!block) return block;
    GlobalLockGuard lock(block.Get());
    if (lock.Data() == nullptr) return UniqueGlobal();
    std::memcpy(lock.Data(), text.data(), text.size());
    static_cast<char*>(lock.Data())[text.size()] = '\0';
    return block;
}

// Converted straight into the global block: no memory of the layer is needed on the way.
UniqueGlobal UnicodeBlock(std::string_view text) {
    const int length = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
    int units = 0;
    if (length > 0) units = MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, nullptr, 0);
    if (units < 0) units = 0;
    const SIZE_T bytes = (static_cast<SIZE_T>(units) + 1) * sizeof(wchar_t);
    UniqueGlobal block(ClipboardSeam().globalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    if (!block) return block;
    GlobalLockGuard lock(block.Get());
    if (lock.Data() == nullptr) return UniqueGlobal();
    auto* wide = static_cast<wchar_t*>(lock.Data());
    if (units > 0) MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, wide, units);
    wide[units] = L'\0';
    return block;
}

}  // namespace

ClipboardCalls& ClipboardSeam() {
    static ClipboardCalls calls;
    return calls;
}

bool PutTextOnClipboard(std::string_view text) {
    if (!ClipboardSeam().openClipboard(nullptr)) return false;
    ClipboardGuard open;
    EmptyClipboard();
    UniqueGlobal ansi = AnsiBlock(text);
    if (!ansi || !HandOver(CF_TEXT, ansi)) return false;
    // Without this the system would derive the UTF-16 text from the current ANSI code page,
    // which garbles GBK bytes on any system whose code page is not 936.  Should it fail, the
    // derived text is still there, so the result stays true.
    UniqueGlobal unicode = UnicodeBlock(text);
    if (unicode) HandOver(CF_UNICODETEXT, unicode);
    return true;
}

}  // namespace tessarune::forms::win32
