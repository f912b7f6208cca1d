#pragma once
// The one owning COM pointer of the code base (WRL's ComPtr, as mingw ships it), and the one way to
// take over a reference that a call has already handed out.
#include <wrl/client.h>

namespace qel {

using Microsoft::WRL::ComPtr;

// A pointer that owns the reference raw already carries. mingw's ComPtr::Attach adds a reference of
// its own (the platform SDK's does not), so it must never be used to take one over.
template <class T>
ComPtr<T> TakeOver(T* raw) {
    ComPtr<T> owner;
    *owner.ReleaseAndGetAddressOf() = raw;
    return owner;
}

} // namespace qel
