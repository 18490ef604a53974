#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "calc/numeric_text.h"
#include "tests/calc/checks.h"

namespace tessarune::calc {
namespace {

using testing::Hex;
using testing::SameBits;
using testing::SameBytes;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr float kInfF = std::numeric_limits<float>::infinity();

std::string Traced(std::string_view text) {
    return "text [" + Hex(text.substr(0, 80)) + (text.size() > 80 ? " ...]" : "]");
}

// before + piece repeated + after.
std::string Repeat(std::string_view before, std::string_view piece, std::size_t times,
                   std::string_view after = "") {
    std::string out(before);
    out.reserve(before.size() + piece.size() * times + after.size());
    if (piece.size() == 1) {
        out.append(times, piece[0]);
    } else {
        for (std::size_t i = 0; i < times; ++i) out += piece;
    }
    out += after;
    return out;
}

TEST(FoldFullWidth, FoldsOnlyTheListedPairs) {
    using namespace std::string_view_literals;
    struct Case {
        std::string_view text;
        std::string_view folded;
    };
    const Case cases[] = {
        {"", ""},
        {"abc 1.5\t", "abc 1.5\t"},
        {"１２３．５", "123.5"},
        {"＋－ｅＥｄＤ", "+-eEdD"},
        {"！＂ＡＺａｚ", "!\"AZaz"},
        {"￣", "~"},  // the last of the row, 0xA3 0xFE
        {"￥", "$"},
        {"　", " "},
        {"～☆★", "~**"},
        // Other pairs stay two bytes: the ideographic full stop, Chinese text, the ends of the
        // 0xA3 row, and pairs whose trail byte is ASCII.
        {"５。５", "5。5"},
        {"中文", "中文"},
        {"\xA3\xA0\xA3\xFF", "\xA3\xA0\xA3\xFF"},
        {"\x81"
         "@x",
         "\x81"
         "@x"},
        // Pairs are taken from the left: 0x81 0xA3 is one character, so the 0xB5 after it is a
        // lead byte with no trail, which is dropped.
        {"\x81\xA3\xB5", "\x81\xA3"},
        {"7\xA3", "7"},
        // The text ends at its first NUL.
        {"12\0"
         "34"sv,
         "12"},
        {"7\xA3\0"
         "5"sv,
         "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Traced(c.text));
        EXPECT_TRUE(SameBytes(FoldFullWidth(c.text), c.folded));
    }
}

struct ParseCase {
    std::string_view text;
    double value;
};

template <std::size_t N>
void ExpectParses(const ParseCase (&cases)[N]) {
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(Traced(c.text));
        EXPECT_TRUE(SameBits(ParseNumber(c.text), c.value));
    }
}

TEST(ParseNumber, ReadsTheLongestNumberAtTheStart) {
    const ParseCase cases[] = {
        {"", 0.0},      {"abc", 0.0},   {".", 0.0},       {"+", 0.0},          {"-", 0.0},
        {"-.", 0.0},    {"--5", 0.0},   {"- 5", 0.0},     {"+-5", 0.0},        {"   ", 0.0},
        {"x5", 0.0},    {"  42", 42.0}, {"\t-7.5", -7.5}, {"\n\v\f\r 8", 8.0}, {"12abc", 12.0},
        {"1.5.3", 1.5}, {".5", 0.5},    {"-.5", -0.5},    {"5.", 5.0},         {"+3", 3.0},
        {"007", 7.0},   {"-0", -0.0},   {"0x1A", 0.0},    {"1,000", 1.0},      {"1 000", 1.0},
        {"inf", 0.0},   {"nan", 0.0},   {"-inf", 0.0},
    };
    ExpectParses(cases);
}

TEST(ParseNumber, ReadsFullWidthForms) {
    using namespace std::string_view_literals;
    const ParseCase cases[] = {
        {"１２８", 128.0},
        {"３．５", 3.5},
        {"－５", -5.0},
        {"　１２", 12.0},
        {"　 \t１２", 12.0},
        {"５。５", 5.0},
        {"7\xA3", 7.0},
        {"＋１ｅ２", 100.0},
        {"１Ｄ－２", 0.01},
        {"1２3４.５6", 1234.56},
        {"中5", 0.0},
        {"5中", 5.0},
        {"\xA3", 0.0},
        {"12\0"
         "34"sv,
         12.0},
    };
    ExpectParses(cases);
}

TEST(ParseNumber, ReadsExponents) {
    const ParseCase cases[] = {
        {"1e3", 1000.0},
        {"1E3", 1000.0},
        {"1d3", 1000.0},
        {"1D-2", 0.01},
        {"1e+2", 100.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1e-", 1.0},
        {"1ex", 1.0},
        {"2e1.5", 20.0},
        {"1e0000000000000000000005", 1e5},
        {"1e99999999999999999999", kInf},
        {"-1e99999999999999999999", -kInf},
        {"1e-99999999999999999999", 0.0},
        {"0e99999999999999999999", 0.0},
        {".0e999", 0.0},
    };
    ExpectParses(cases);
}

TEST(ParseNumber, RoundsToTheNearestDouble) {
    const ParseCase cases[] = {
        {"0.1", 0x1.999999999999ap-4},
        {"9007199254740993", 9007199254740992.0},  // the tie goes to even
        {"9007199254740995", 9007199254740996.0},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"1.7976931348623158e308", std::numeric_limits<double>::max()},
        {"1.7976931348623159e308", kInf},
        {"1e999", kInf},
        {"-1e999", -kInf},
        {"2.2250738585072011e-308", 0x0.fffffffffffffp-1022},
        {"2.2250738585072012e-308", 0x1p-1022},
        {"4.9406564584124654e-324", 0x0.0000000000001p-1022},
        {"2.4703282292062328e-324", 0x0.0000000000001p-1022},
        {"2.47032822920623272e-324", 0.0},  // just below half the smallest subnormal
        {"1e-999", 0.0},
        {"-1e-999", -0.0},
    };
    ExpectParses(cases);
}

TEST(ParseNumber, RoundsLongMantissasExactly) {
    // Exactly halfway between 1 and the next double: the tie goes to 1.  Any non-zero digit
    // however far behind it tips the rounding up.
    const std::string half = "1.00000000000000011102230246251565404236316680908203125";
    EXPECT_TRUE(SameBits(ParseNumber(half), 1.0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat(half, "0", 1000)), 1.0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat(half, "0", 1000, "1")), 0x1.0000000000001p0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat(half, "0", 1000, "1e-1")), 0x1.999999999999ap-4));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat(half, "０", 1000, "１")), 0x1.0000000000001p0));

    // Digits far beyond those kept still count toward the magnitude.
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("1", "0", 1000, "e-1000")), 1.0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("1", "0", 1000)), kInf));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("0.", "0", 1000, "1e1001")), 1.0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("０．", "０", 1000, "１ｅ１００１")), 1.0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("", "９", 400, "e-400")), 1.0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("0.", "0", 1'000'000, "1e1000000")), 0.1));
}

TEST(ParseNumber, ReadsMegabytesOfDigitsInOnePass) {
    // A mantissa of a million digits, plain and full-width: a scan that copies or refolds the
    // text per digit would not finish.
    const std::size_t count = 1'000'000;
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("0.", "9", count)), 1.0));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("-", "7", count)), -kInf));
    EXPECT_TRUE(SameBits(ParseNumber(Repeat("．", "９", count)), 1.0));
    EXPECT_TRUE(
        SameBits(ParseNumber(Repeat("", "３", count, "ｅ－１００００００")), 0x1.5555555555555p-2));
}

TEST(ParseSingle, RoundsTheDoubleToFloat) {
    struct Case {
        std::string_view text;
        float value;
    };
    const Case cases[] = {
        {"", 0.0f},
        {"16777217", 16777216.0f},  // the tie goes to even
        {"16777219", 16777220.0f},
        {"0.1", 0x1.99999ap-4f},
        {"3.4028235e38", std::numeric_limits<float>::max()},
        {"3.4028236e38", kInfF},
        {"-3.4028236e38", -kInfF},
        {"1e39", kInfF},
        {"1e999", kInfF},
        {"-1e999", -kInfF},
        {"1.4e-45", 0x1p-149f},
        {"1e-46", 0.0f},
        {"-1e-46", -0.0f},
        // Just above the halfway point between 1 and the next float.  Straight to a float this
        // would round up; the double rounds to the halfway point itself, and that tie goes to 1.
        {"1.000000059604644775390625000000000001", 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Traced(c.text));
        EXPECT_TRUE(SameBits(ParseSingle(c.text), c.value));
    }
}

TEST(ParseSingle, RoundsAtTheEdgeOfTheFloatRange) {
    constexpr double kHalfway = 0x1.ffffffp127;  // between the largest float and 2^128
    struct Case {
        double value;
        float single;
    };
    const Case cases[] = {
        {std::nextafter(kHalfway, 0.0), std::numeric_limits<float>::max()},
        {kHalfway, kInfF},
        {-kHalfway, -kInfF},
        {std::numeric_limits<double>::max(), kInfF},
        {-kInf, -kInfF},
        {0x1p-150, 0.0f},  // halfway to the smallest subnormal: ties to even
        {0x1.0000000000001p-150, 0x1p-149f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_TRUE(SameBits(detail::RoundToSingle(c.value), c.single));
    }
}

TEST(TruncateToInt32, TruncatesAndWraps) {
    struct Case {
        double value;
        std::int32_t result;
    };
    const Case cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {3.99, 3},
        {-3.99, -3},
        {-0.5, 0},
        {2147483647.9, 2147483647},
        {-2147483648.9, -2147483647 - 1},
        {2147483648.0, -2147483647 - 1},
        {-2147483649.0, 2147483647},
        {5e9, 705032704},
        {4294967296.0, 0},
        {4294967297.5, 1},
        {0x1.fffffffffffffp62, -1024},  // the largest double below 2^63
        {-0x1p63, 0},
        {0x1p63, 0},
        {1e19, 0},
        {-9.3e18, 0},
        {kInf, 0},
        {-kInf, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(TruncateToInt32(c.value), c.result);
    }
}

TEST(FormatInt, WritesPlainDecimal) {
    struct Case {
        std::int32_t value;
        std::string_view text;
    };
    const Case cases[] = {
        {0, "0"},
        {-5, "-5"},
        {10, "10"},
        {-100, "-100"},
        {2147483647, "2147483647"},
        {-2147483647 - 1, "-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_TRUE(SameBytes(FormatInt(c.value), c.text));
    }
}

TEST(JoinTexts, ConcatenatesInOrder) {
    using namespace std::string_view_literals;
    EXPECT_TRUE(SameBytes(JoinTexts({"a", "", "b"}), "ab"));
    EXPECT_TRUE(SameBytes(JoinTexts({"", ""}), ""));
    EXPECT_TRUE(SameBytes(JoinTexts({"您当前积分：", "５００", "\r\n"}), "您当前积分：５００\r\n"));
    EXPECT_TRUE(SameBytes(JoinTexts({"a\0b"sv, "c"}), "ac"));
}

TEST(Tolerance, IsStrictAndOneTenMillionth) {
    struct Case {
        double x;
        double y;
        bool greater;
        bool less;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {24.00000009, 24.0, false, false},
        {24.0000002, 24.0, true, false},
        {1073.0, 1073.00000005, false, false},
        {1073.0, 1073.0000002, false, true},
        {1e-7, 0.0, false, false},
        {std::nextafter(1e-7, 1.0), 0.0, true, false},
        {0.0, 1e-7, false, false},
        {0.0, std::nextafter(1e-7, 1.0), false, true},
        {kInf, 24.0, true, false},
        {-kInf, 0.0, false, true},
        {nan, 0.0, false, false},
        {0.0, nan, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsClearlyGreater(c.x, c.y), c.greater) << c.x << " vs " << c.y;
        EXPECT_EQ(IsClearlyLess(c.x, c.y), c.less) << c.x << " vs " << c.y;
    }
}

}  // namespace
}  // namespace tessarune::calc
