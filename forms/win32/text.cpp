#include "forms/win32/text.h"

#include <windows.h>

#include <climits>

namespace tessarune::forms::win32 {

namespace {

// Win32 counts characters in int; a layer text never comes near that.
int ClampedLength(std::size_t length) {
    return length > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

}  // namespace

std::wstring WideFromGbk(std::string_view text) {
    if (text.empty()) return {};
    const int length = ClampedLength(text.size());
    const int needed = MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(kGbkCodePage, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string GbkFromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = ClampedLength(text.size());
    const int needed =
        WideCharToMultiByte(kGbkCodePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kGbkCodePage, 0, text.data(), length, bytes.data(), needed, nullptr,
                        nullptr);
    return bytes;
}

std::size_t WideFromGbkInto(std::string_view text, wchar_t* buffer, std::size_t capacity) {
    if (capacity == 0) return 0;
    // A GBK text never has more UTF-16 units than bytes, so cutting the bytes to the room
    // left always fits; a double-byte character cut in half becomes the default character.
    const std::size_t room = capacity - 1;
    const std::size_t bytes = text.size() < room ? text.size() : room;
    int written = 0;
    if (bytes > 0) {
        written = MultiByteToWideChar(kGbkCodePage, 0, text.data(), ClampedLength(bytes), buffer,
                                      ClampedLength(room));
        if (written < 0) written = 0;
    }
    buffer[written] = L'\0';
    return static_cast<std::size_t>(written);
}

}  // namespace tessarune::forms::win32
