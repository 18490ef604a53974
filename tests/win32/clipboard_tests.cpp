#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "forms/win32/clipboard.h"

namespace tessarune::forms::win32 {
namespace {

// Reads one format back; none when the clipboard does not hold it.
std::optional<std::string> ClipboardBytes(UINT format) {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::string> bytes;
    if (HANDLE data = GetClipboardData(format)) {
        const auto* begin = static_cast<const char*>(GlobalLock(data));
        if (begin != nullptr) {
            bytes = std::string(begin, GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return bytes;
}

std::optional<std::string> ClipboardText() {
    std::optional<std::string> bytes = ClipboardBytes(CF_TEXT);
    if (bytes) bytes->resize(bytes->find('\0'));
    return bytes;
}

std::optional<std::wstring> ClipboardUnicode() {
    const std::optional<std::string> bytes = ClipboardBytes(CF_UNICODETEXT);
    if (!bytes) return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data()),
                      bytes->size() / sizeof(wchar_t));
    text.resize(text.find(L'\0'));
    return text;
}

// Replaces clipboard calls for one test and puts the real ones back afterwards.
class FakeClipboardCalls {
public:
    FakeClipboardCalls() : saved_(ClipboardSeam()) {}
    ~FakeClipboardCalls() { ClipboardSeam() = saved_; }
    FakeClipboardCalls(const FakeClipboardCalls&) = delete;
    FakeClipboardCalls& operator=(const FakeClipboardCalls&) = delete;

private:
    ClipboardCalls saved_;
};

BOOL WINAPI RefuseOpen(HWND) {
    return FALSE;
}
HGLOBAL WINAPI RefuseAlloc(UINT, SIZE_T) {
    return nullptr;
}

HANDLE refusedBlock = nullptr;
HANDLE WINAPI RefuseData(UINT, HANDLE block) {
    refusedBlock = block;
    return nullptr;
}

TEST(PutTextOnClipboard, PutsTheBytesAndTheSameCharactersInUtf16) {
    const struct {
        std::string text;
        std::wstring unicode;
    } cases[] = {
        {"", L""},
        {"中a", L"中a"},
        {"你现在的积分\r\n第二行", L"你现在的积分\r\n第二行"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(PutTextOnClipboard(c.text));
        EXPECT_EQ(ClipboardText(), c.text);
        EXPECT_EQ(ClipboardUnicode(), c.unicode);
    }
    // An empty text is one NUL byte.
    ASSERT_TRUE(PutTextOnClipboard(""));
    const std::optional<std::string> empty = ClipboardBytes(CF_TEXT);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->at(0), '\0');
}

TEST(PutTextOnClipboard, GivesFalseWhenTheClipboardCannotBeOpened) {
    ASSERT_TRUE(PutTextOnClipboard("old"));
    FakeClipboardCalls fake;
    ClipboardSeam().openClipboard = RefuseOpen;
    EXPECT_FALSE(PutTextOnClipboard("new"));
    EXPECT_EQ(ClipboardText(), "old");
}

TEST(PutTextOnClipboard, GivesFalseAndLeavesTheClipboardEmptyWithoutMemory) {
    ASSERT_TRUE(PutTextOnClipboard("old"));
    FakeClipboardCalls fake;
    ClipboardSeam().globalAlloc = RefuseAlloc;
    EXPECT_FALSE(PutTextOnClipboard("new"));
    EXPECT_EQ(ClipboardText(), std::nullopt);  // also proves the clipboard was closed again
}

TEST(PutTextOnClipboard, KeepsAndFreesTheBlockTheClipboardRefuses) {
    FakeClipboardCalls fake;
    ClipboardSeam().setClipboardData = RefuseData;
    refusedBlock = nullptr;
    EXPECT_FALSE(PutTextOnClipboard("new"));
    ASSERT_NE(refusedBlock, nullptr);
    EXPECT_EQ(GlobalSize(refusedBlock), 0u);  // freed, not leaked
    EXPECT_EQ(ClipboardText(), std::nullopt);
}

}  // namespace
}  // namespace tessarune::forms::win32
