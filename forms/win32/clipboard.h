#pragma once
// Plain text onto the clipboard.

#include <windows.h>

#include <string_view>

namespace tessarune::forms::win32 {

// The clipboard calls whose failure changes the outcome, replaceable so that tests can make
// them fail.
struct ClipboardCalls {
    BOOL(WINAPI* openClipboard)(HWND) = ::OpenClipboard;
    HGLOBAL(WINAPI* globalAlloc)(UINT, SIZE_T) = ::GlobalAlloc;
    HANDLE(WINAPI* setClipboardData)(UINT, HANDLE) = ::SetClipboardData;
};
ClipboardCalls& ClipboardSeam();

// Opens the clipboard without owner, empties it and puts the bytes with a terminating NUL on it
// as CF_TEXT, unconverted, and the same text converted from code page 936 as CF_UNICODETEXT, so
// that programs reading either format see the same characters.  False when the clipboard
// cannot be opened (nothing changed), or when the memory for the text cannot be had or the
// clipboard refuses it (the clipboard is then left empty).
bool PutTextOnClipboard(std::string_view text);

}  // namespace tessarune::forms::win32
