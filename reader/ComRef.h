#pragma once
// The owning COM pointer of the reader and the playback library. WRL's ComPtr, with one rule: take
// over an existing reference only through TakeOver (mingw's ComPtr::Attach adds a reference of its
// own, the SDK's does not).
#include <wrl/client.h>

template <typename T>
using ComRef = Microsoft::WRL::ComPtr<T>;

template <typename T>
ComRef<T> TakeOver(T* pointer) {
    ComRef<T> owner;
    *owner.ReleaseAndGetAddressOf() = pointer;
    return owner;
}
