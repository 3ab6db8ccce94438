// SPDX-License-Identifier: MIT
// Allocation failure injection for tests of out-of-memory paths.
#pragma once

// Fault injection for tests: replaces the global operator new of the test executable that
// includes this header. Include it in exactly one source file of an executable, and only where
// allocation failures are wanted. After FailAllocationsAfter(n) the first n allocations succeed
// and every later one throws std::bad_alloc, until StopFailingAllocations().

#include <cstdint>
#include <cstdlib>
#include <new>

namespace alloc_failure {
inline bool g_Armed = false;
inline int64_t g_Left = 0;
inline bool g_Refused = false;

inline void* Allocate(std::size_t size) {
  if (g_Armed) {
    if (g_Left == 0) {
      g_Refused = true;
      throw std::bad_alloc();
    }
    --g_Left;
  }
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  return p;
}
}  // namespace alloc_failure

inline void FailAllocationsAfter(int64_t n) {
  alloc_failure::g_Left = n;
  alloc_failure::g_Refused = false;
  alloc_failure::g_Armed = true;
}
inline void StopFailingAllocations() {
  alloc_failure::g_Armed = false;
}
// True when an allocation was refused since the last FailAllocationsAfter.
inline bool AllocationRefused() {
  return alloc_failure::g_Refused;
}

void* operator new(std::size_t size) {
  return alloc_failure::Allocate(size);
}
void* operator new[](std::size_t size) {
  return alloc_failure::Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return alloc_failure::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return alloc_failure::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
