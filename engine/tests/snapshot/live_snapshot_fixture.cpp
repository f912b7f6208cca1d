#include "live_snapshot_fixture.h"

#include <cstdlib>
#include <sstream>

#include "qeltest/pump.h"
#include "test_camera_exports.h"
#include "test_frame_pattern.h"

namespace enginetest {
namespace {

template <typename Function> Function CameraExport(const char* name) {
    HMODULE module = qelcam::CameraModule();
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

} // namespace

void LiveSnapshotTest::SetUp() {
    CameraTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    camera = AddCamera(L"Qel Snapshot Camera", qelcam::kWithPreviewPin);
    PreviewCamera(L"Qel Snapshot Camera");
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(engine->m_bGrabberReady);
}

bool LiveSnapshotTest::WaitForNotifications(size_t count, unsigned milliseconds) {
    return qeltest::PumpUntil([&] { return host.Notifications().size() >= count; }, milliseconds);
}

HRESULT LiveSnapshotTest::RaiseCameraEvent(long code, LONG_PTR param) {
    auto raise = CameraExport<qelcam::RaiseCameraEventFunc>(qelcam::kRaiseCameraEventExport);
    return raise ? raise(&camera, code, param) : E_NOINTERFACE;
}

HRESULT LiveSnapshotTest::SetCameraDelivering(bool on) {
    auto set = CameraExport<qelcam::SetCameraFlagFunc>(qelcam::kSetDeliveringExport);
    return set ? set(&camera, on) : E_NOINTERFACE;
}

void LiveSnapshotTest::PretendCapturing() {
    ASSERT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    engine->m_state = LIVE_CAPTURING;
}

bool HoldsCameraPicture(const uint8_t* rows, int width, int height, ptrdiff_t stride, int tolerance,
                        std::string* why, uint32_t* frameNumber) {
    uint32_t number = 0;
    if (!qelcam::ReadFrameNumber(rows, width, height, stride, &number)) {
        *why = "no frame number in the picture's band";
        return false;
    }
    if (frameNumber)
        *frameNumber = number;
    const int count = std::abs(height);
    for (int y = 0; y < count; ++y) {
        const uint8_t* row = rows + (height > 0 ? count - 1 - y : y) * stride;
        for (int x = 0; x < width; ++x) {
            const qelcam::Bgr want = qelcam::ExpectedPixel(x, y, width, count, number);
            const uint8_t* got = row + x * 3;
            if (std::abs(got[0] - want.b) > tolerance || std::abs(got[1] - want.g) > tolerance ||
                std::abs(got[2] - want.r) > tolerance) {
                std::ostringstream text;
                text << "pixel (" << x << ", " << y << ") of frame " << number << " is " << int(got[2]) << ","
                     << int(got[1]) << "," << int(got[0]) << " instead of " << int(want.r) << ","
                     << int(want.g) << "," << int(want.b);
                *why = text.str();
                return false;
            }
        }
    }
    return true;
}

double MeanDifferenceFromCamera(const DecodedPicture& picture, uint32_t frameNumber) {
    double sum = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const qelcam::Bgr want = qelcam::ExpectedPixel(x, y, picture.width, picture.height, frameNumber);
            const uint8_t* got = picture.At(x, y);
            sum += std::abs(got[0] - want.b) + std::abs(got[1] - want.g) + std::abs(got[2] - want.r);
        }
    return sum / (3.0 * picture.width * picture.height);
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace enginetest
