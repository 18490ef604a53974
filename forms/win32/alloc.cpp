#include "forms/win32/alloc.h"

#include <malloc.h>

#include <cstdlib>
#include <new>
#include <string_view>

#include "forms/win32/fatal.h"

namespace tessarune::forms {

namespace {

std::size_t failFrom = 0;  // 0: no simulated failure

bool SimulatedFailure(std::size_t bytes) {
    return failFrom != 0 && bytes >= failFrom;
}

// Builds the message on the stack: the heap has just failed.
[[noreturn]] void ReportAllocationFailure(std::size_t bytes) noexcept {
    constexpr std::string_view kBefore = "内存不足：无法分配 ";
    constexpr std::string_view kAfter = " 字节的内存。";
    char message[96];
    std::size_t length = 0;
    for (char c : kBefore) message[length++] = c;
    char digits[24];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + bytes % 10);
        bytes /= 10;
    } while (bytes != 0);
    while (count > 0) message[length++] = digits[--count];
    for (char c : kAfter) message[length++] = c;
    win32::ShowFatalError(std::string_view(message, length));
}

void* AlignedAlloc(std::size_t bytes, std::align_val_t alignment) noexcept {
    if (SimulatedFailure(bytes)) return nullptr;
    return _aligned_malloc(bytes == 0 ? 1 : bytes, static_cast<std::size_t>(alignment));
}

}  // namespace

void* LayerAlloc(std::size_t bytes) {
    void* block = SimulatedFailure(bytes) ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) ReportAllocationFailure(bytes);
    return block;
}

void LayerFree(void* block) noexcept {
    std::free(block);
}

void SimulateAllocationFailureFrom(std::size_t bytes) {
    failFrom = bytes;
}

}  // namespace tessarune::forms

// Every C++ allocation of a program that links the layer goes through LayerAlloc, so running
// out of memory anywhere ends in the layer's fatal error.  The nothrow forms keep their
// contract and give null; the library code that uses them copes with that.

using tessarune::forms::LayerAlloc;
using tessarune::forms::LayerFree;

void* operator new(std::size_t bytes) {
    return LayerAlloc(bytes);
}
void* operator new[](std::size_t bytes) {
    return LayerAlloc(bytes);
}

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    if (tessarune::forms::SimulatedFailure(bytes)) return nullptr;
    return std::malloc(bytes == 0 ? 1 : bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept {
    return operator new(bytes, tag);
}

void operator delete(void* block) noexcept {
    LayerFree(block);
}
void operator delete[](void* block) noexcept {
    LayerFree(block);
}
void operator delete(void* block, std::size_t) noexcept {
    LayerFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    LayerFree(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    LayerFree(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    LayerFree(block);
}

void* operator new(std::size_t bytes, std::align_val_t alignment) {
    void* block = tessarune::forms::AlignedAlloc(bytes, alignment);
    if (block == nullptr) tessarune::forms::ReportAllocationFailure(bytes);
    return block;
}
void* operator new[](std::size_t bytes, std::align_val_t alignment) {
    return operator new(bytes, alignment);
}
void* operator new(std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return tessarune::forms::AlignedAlloc(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment,
                     const std::nothrow_t&) noexcept {
    return tessarune::forms::AlignedAlloc(bytes, alignment);
}

void operator delete(void* block, std::align_val_t) noexcept {
    _aligned_free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    _aligned_free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    _aligned_free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    _aligned_free(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(block);
}
