#pragma once
// The one COM pointer type: AddRef on copy, take-over on move, Release on destruction.
#include <wrl/client.h>

namespace inkra::win {
using Microsoft::WRL::ComPtr;

// Takes over a reference the caller already owns (a new object's first reference, an out-param).
// Use this, not ComPtr::Attach: mingw-w64's Attach AddRefs, unlike Microsoft's.
template <typename T>
ComPtr<T> Adopt(T* owned) {
  ComPtr<T> pointer;
  *pointer.GetAddressOf() = owned;
  return pointer;
}
}  // namespace inkra::win
