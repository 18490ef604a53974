#pragma once
// One owner per handle: UniqueHandle closes what it holds exactly once, with the closing
// function given as a template argument.  It cannot be copied; moving passes the handle on.

#include <utility>

namespace tessarune::forms::win32 {

template <typename H, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    H Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != H{}; }

    // Gives the handle up without closing it.
    H Release() noexcept { return std::exchange(handle_, H{}); }

    // Closes the handle held (if any) and holds `handle` instead.
    void Reset(H handle = H{}) noexcept {
        const H old = std::exchange(handle_, handle);
        if (old != H{}) Close(old);
    }

private:
    H handle_{};
};

}  // namespace tessarune::forms::win32
