#include "calc/numeric_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace tessarune::calc {

namespace {

// The text as a NUL-terminated reader would see it.
std::string_view BeforeNul(std::string_view text) {
    const std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

bool IsAsciiDigit(std::string_view text, std::size_t at) {
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

// "０" to "９": 0xA3 0xB0 to 0xA3 0xB9.
bool IsFullWidthDigit(std::string_view text, std::size_t at) {
    return at + 1 < text.size() && Byte(text[at]) == 0xA3 && Byte(text[at + 1]) >= 0xB0 &&
           Byte(text[at + 1]) <= 0xB9;
}

// The ASCII byte a double-byte character folds to, or -1 when the pair stays as it is.
int FoldPair(unsigned char lead, unsigned char trail) {
    if (lead == 0xA1) {
        switch (trail) {
            case 0xA1:
                return ' ';
            case 0xAB:
                return '~';
            case 0xEE:
            case 0xEF:
                return '*';
            default:
                return -1;
        }
    }
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return trail - 0x80;
    return -1;
}

// Reads a text as FoldFullWidth would give it, a character or a run of digits at a time, so that
// a number at the start of a long text costs only the characters it spans and no folded copy of
// the text is made.
class FoldedReader {
public:
    static constexpr int kEnd = -1;
    // A double-byte character that does not fold; it can never be part of a number.
    static constexpr int kWide = 0x100;

    explicit FoldedReader(std::string_view source) : text(BeforeNul(source)) { Decode(); }

    int Peek() const { return current; }
    void Next() {
        pos += width;
        Decode();
    }

    // The digits from here on, folded, in one piece: a run of single-byte digits is returned as
    // it stands, a run of full-width digits is folded into `buffer` up to its size.  Empty when
    // the next character is not a digit.
    std::string_view TakeDigits(std::array<char, 256>& buffer) {
        const std::size_t start = pos;
        std::size_t count = 0;
        if (IsAsciiDigit(text, pos)) {
            while (IsAsciiDigit(text, pos)) ++pos;
            count = pos - start;
        } else {
            while (count < buffer.size() && IsFullWidthDigit(text, pos)) {
                buffer[count++] = static_cast<char>(Byte(text[pos + 1]) - 0x80);
                pos += 2;
            }
        }
        if (count == 0) return {};
        Decode();
        return pos - start == count ? text.substr(start, count)
                                    : std::string_view(buffer.data(), count);
    }

private:
    void Decode() {
        if (pos >= text.size()) {
            current = kEnd;
            width = 0;
            return;
        }
        const unsigned char lead = Byte(text[pos]);
        if (lead < 0x80) {
            current = lead;
            width = 1;
        } else if (pos + 1 >= text.size()) {
            // A lead byte without its trail byte is dropped, and the text ends there.
            current = kEnd;
            width = 0;
        } else {
            const int folded = FoldPair(lead, Byte(text[pos + 1]));
            current = folded >= 0 ? folded : kWide;
            width = 2;
        }
    }

    std::string_view text;
    std::size_t pos = 0;
    std::size_t width = 0;
    int current = kEnd;
};

bool IsSpace(int c) {
    return (c >= 0x09 && c <= 0x0D) || c == ' ';
}
bool IsExponentLetter(int c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// Exponents and digit counts saturate here: far beyond any double, far below int64 overflow.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000'000;

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    return std::clamp(a + b, -kExponentLimit, kExponentLimit);
}

// The significant digits of a mantissa, as 0.d1d2d3... x 10^exponent with d1 != 0.  Only the
// first kKept digits are stored; the rest only matter as "some digit beyond is not zero", which is
// kept as one extra digit 1.  No double's rounding boundary has more than 767 significant digits,
// so the stored digits round exactly like the whole mantissa.
class SignificantDigits {
public:
    static constexpr std::size_t kKept = 800;

    // Digits before the point: each one after the leading zeros raises the magnitude.
    void AddIntegerDigits(std::string_view run) {
        if (!started) run = SkipLeadingZeros(run);
        exponent = SaturatingAdd(exponent, SaturatedCount(run.size()));
        Keep(run);
    }
    // Digits after the point: zeros before the first significant digit lower the magnitude.
    void AddFractionDigits(std::string_view run) {
        if (!started) {
            const std::string_view significant = SkipLeadingZeros(run);
            exponent = SaturatingAdd(exponent, -SaturatedCount(run.size() - significant.size()));
            run = significant;
        }
        Keep(run);
    }

    bool IsZero() const { return !started; }
    std::int64_t Exponent() const { return exponent; }

    // Writes the digits as an integer followed by "e" and the power of ten that scales it back.
    // Returns the end of the written text.
    char* Write(char* out, std::int64_t scale) const {
        out = std::copy_n(digits.begin(), count, out);
        std::int64_t written = static_cast<std::int64_t>(count);
        if (nonZeroBeyond) {
            *out++ = '1';
            ++written;
        }
        *out++ = 'e';
        return std::to_chars(out, out + 24, scale - written).ptr;
    }

    static constexpr std::size_t kMaxWritten = kKept + 1 + 1 + 24;

private:
    static std::string_view SkipLeadingZeros(std::string_view run) {
        return run.substr(static_cast<std::size_t>(FirstNonZero(run) - run.begin()));
    }
    static std::string_view::iterator FirstNonZero(std::string_view run) {
        return std::find_if(run.begin(), run.end(), [](char c) { return c != '0'; });
    }
    static std::int64_t SaturatedCount(std::size_t count) {
        return count > static_cast<std::uint64_t>(kExponentLimit)
                   ? kExponentLimit
                   : static_cast<std::int64_t>(count);
    }

    void Keep(std::string_view run) {
        if (run.empty()) return;
        started = true;
        const std::size_t stored = std::min(run.size(), kKept - count);
        std::copy_n(run.begin(), stored, digits.begin() + static_cast<std::ptrdiff_t>(count));
        count += stored;
        if (!nonZeroBeyond) {
            nonZeroBeyond = FirstNonZero(run.substr(stored)) != run.end();
        }
    }

    std::array<char, kKept> digits{};
    std::size_t count = 0;
    bool started = false;
    std::int64_t exponent = 0;
    bool nonZeroBeyond = false;
};

// The value of 0.digits x 10^scale, rounded to the nearest double.
double ToDouble(const SignificantDigits& digits, std::int64_t scale) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    // The value lies in [10^(scale-1), 10^scale): beyond these bounds the outcome is certain.
    if (scale > 310) return kInf;
    if (scale < -330) return 0.0;
    std::array<char, SignificantDigits::kMaxWritten> buffer{};
    const char* end = digits.Write(buffer.data(), scale);
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(buffer.data(), end, value);
    // Out of range leaves the value untouched; the magnitude tells which way it went.
    if (result.ec == std::errc::result_out_of_range) value = scale > 0 ? kInf : 0.0;
    return value;
}

}  // namespace

GbkText FoldFullWidth(std::string_view text) {
    text = BeforeNul(text);
    GbkText folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char lead = Byte(text[i]);
        if (lead < 0x80) {
            folded.push_back(text[i]);
            continue;
        }
        if (i + 1 >= text.size()) break;
        const int ascii = FoldPair(lead, Byte(text[i + 1]));
        if (ascii >= 0) {
            folded.push_back(static_cast<char>(ascii));
        } else {
            folded.append(text.substr(i, 2));
        }
        ++i;
    }
    return folded;
}

double ParseNumber(std::string_view text) {
    FoldedReader in(text);
    while (IsSpace(in.Peek())) in.Next();

    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Next();
    }

    SignificantDigits digits;
    bool anyDigit = false;
    std::array<char, 256> folded{};
    auto readDigits = [&](bool fraction) {
        for (std::string_view run; !(run = in.TakeDigits(folded)).empty();) {
            if (fraction) {
                digits.AddFractionDigits(run);
            } else {
                digits.AddIntegerDigits(run);
            }
            anyDigit = true;
        }
    };
    readDigits(false);
    if (in.Peek() == '.') {
        in.Next();
        readDigits(true);
    }
    if (!anyDigit) return 0.0;

    // The exponent counts only with at least one digit; otherwise the number ends before the
    // letter, and nothing after the mantissa matters any more.
    std::int64_t exponent = 0;
    if (IsExponentLetter(in.Peek())) {
        in.Next();
        bool negativeExponent = false;
        if (in.Peek() == '+' || in.Peek() == '-') {
            negativeExponent = in.Peek() == '-';
            in.Next();
        }
        for (std::string_view run; !(run = in.TakeDigits(folded)).empty();) {
            for (char c : run) exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
        }
        if (negativeExponent) exponent = -exponent;
    }

    const double magnitude =
        digits.IsZero() ? 0.0 : ToDouble(digits, SaturatingAdd(digits.Exponent(), exponent));
    return negative ? -magnitude : magnitude;
}

float ParseSingle(std::string_view text) {
    return detail::RoundToSingle(ParseNumber(text));
}

std::int32_t TruncateToInt32(double value) {
    if (!std::isfinite(value)) return 0;
    const double whole = std::trunc(value);
    constexpr double kTwo63 = 9223372036854775808.0;
    if (whole < -kTwo63 || whole >= kTwo63) return 0;
    // Two's complement wrap: the low 32 bits, read as signed.
    const auto low =
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(whole)));
    return static_cast<std::int32_t>(low);
}

GbkText FormatInt(std::int32_t value) {
    std::array<char, 12> buffer{};
    const std::to_chars_result result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return GbkText(buffer.data(), result.ptr);
}

GbkText JoinTexts(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view part : parts) size += BeforeNul(part).size();
    GbkText joined;
    joined.reserve(size);
    for (std::string_view part : parts) joined.append(BeforeNul(part));
    return joined;
}

bool IsClearlyGreater(double x, double y) {
    return x - y > kValueTolerance;
}

bool IsClearlyLess(double x, double y) {
    return x - y < -kValueTolerance;
}

namespace detail {

float RoundToSingle(double value) {
    constexpr double kMaxFloat = std::numeric_limits<float>::max();
    if (std::isnan(value) || std::fabs(value) <= kMaxFloat) return static_cast<float>(value);
    // Halfway between the largest float and 2^128: from here on the value rounds to infinity
    // (the tie too, since the largest float's last bit is odd).
    constexpr double kOverflowEdge = 0x1.ffffffp127;
    const float beyond = std::fabs(value) >= kOverflowEdge ? std::numeric_limits<float>::infinity()
                                                           : std::numeric_limits<float>::max();
    return value < 0 ? -beyond : beyond;
}

}  // namespace detail

}  // namespace tessarune::calc
