#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Texts and numbers: how the tool reads numbers typed into edit boxes, how it shows them, and
// how it compares reals.  Every function is total: it gives a result for every input and keeps
// no state.
//
// A text is a run of code page 936 bytes.  An absent text is the empty text.  A text ends at its
// first NUL byte if it holds one, as a NUL-terminated text would: the bytes after it are ignored
// by every function that takes a text.

namespace tessarune::calc {

// Raw code page 936 bytes; the empty string stands for an absent text.
using GbkText = std::string;

// The margin of IsClearlyGreater and IsClearlyLess: the double nearest to 1e-7.
inline constexpr double kValueTolerance = 1e-7;

// Replaces the full-width forms of ASCII characters (0xA3 0xA1..0xFE, the ideographic space,
// "～", "☆", "★") by their ASCII bytes; every other double-byte character is copied.  A lead byte
// at the very end of the text is dropped.
GbkText FoldFullWidth(std::string_view text);

// Reads the longest decimal number at the start of the folded text: white space, one optional
// sign, digits with at most one ".", an optional exponent ("e", "E", "d" or "D", a sign, digits).
// Rounds to the nearest double; too large gives an infinity of the sign, too small a zero.  A text
// without such a number gives 0.0.  Never NaN.
double ParseNumber(std::string_view text);

// ParseNumber rounded to the nearest float (ties to even); beyond the largest float the result
// is an infinity of the sign.
float ParseSingle(std::string_view text);

// Truncates toward zero and keeps the low 32 bits (so 2^31 gives -2^31).  NaN, infinities and
// values whose truncation lies outside -2^63 .. 2^63-1 give 0.
std::int32_t TruncateToInt32(double value);

// Decimal digits with a leading "-" when negative; no plus sign, padding or grouping.
GbkText FormatInt(std::int32_t value);

// The texts one after another, in order; always a text, empty when every part is empty.
GbkText JoinTexts(std::initializer_list<std::string_view> parts);

// x - y > kValueTolerance, the difference taken in doubles.  False when either is NaN.
bool IsClearlyGreater(double x, double y);

// x - y < -kValueTolerance, the difference taken in doubles.  False when either is NaN.
bool IsClearlyLess(double x, double y);

namespace detail {

// The double rounded to the nearest float, ties to even; what ParseSingle does after
// ParseNumber, so ParseSingle(t) == RoundToSingle(ParseNumber(t)) for every text t.
float RoundToSingle(double value);

}  // namespace detail

}  // namespace tessarune::calc
