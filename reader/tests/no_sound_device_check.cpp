// The no-sound-device program runs with the sound driver switched off: make sure it really is, or the
// splitter fallback would not be what its tests exercise.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "qeldshow/com_ptr.h"
#include "ReaderClsids.h"
#include "qeltest/com_test.h"

namespace {

class NoSoundDevice : public qeltest::ComTest {};

TEST_F(NoSoundDevice, TheSoundRendererCannotBeMade) {
    qel::ComPtr<IBaseFilter> renderer;
    const HRESULT hr = CoCreateInstance(qelclsid::kDirectSoundRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                        reinterpret_cast<void**>(renderer.GetAddressOf()));
    EXPECT_TRUE(FAILED(hr)) << "the sound driver is still on for this program: the fallback is not tested";
}

} // namespace
