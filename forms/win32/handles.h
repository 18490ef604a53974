#pragma once
// The owned Win32 handles of the layer.  Borrowed handles (the stock GUI font, child windows,
// which their parent destroys) stay plain.

#include <windows.h>
// The headers below need windows.h before them.
#include <objidl.h>

#include "forms/win32/unique_handle.h"

namespace tessarune::forms::win32 {

inline void ReleaseCom(IUnknown* object) {
    object->Release();
}

using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalFree>;
using UniqueStream = UniqueHandle<IStream*, ReleaseCom>;

// Selects an object into a device context for the guard's lifetime.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Locks a global memory block for the guard's lifetime; Data() is null when the lock failed.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~GlobalLockGuard() {
        if (data_ != nullptr) GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* Data() const { return data_; }

private:
    HGLOBAL block_;
    void* data_;
};

}  // namespace tessarune::forms::win32
