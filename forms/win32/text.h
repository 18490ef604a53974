#pragma once
// Texts cross into the window system here: the layer's texts are code page 936 bytes and the
// window system is spoken to in UTF-16, so the conversion names code page 936 explicitly and
// does not depend on the system's ANSI code page.

#include <cstddef>
#include <string>
#include <string_view>

namespace tessarune::forms::win32 {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring WideFromGbk(std::string_view text);

// Characters that code page 936 cannot hold become its default character.
std::string GbkFromWide(std::wstring_view text);

// Converts into a caller's buffer without touching the heap (for the fatal-error path); cuts
// the text to fit and always terminates it.  Gives the number of characters written.
std::size_t WideFromGbkInto(std::string_view text, wchar_t* buffer, std::size_t capacity);

}  // namespace tessarune::forms::win32
