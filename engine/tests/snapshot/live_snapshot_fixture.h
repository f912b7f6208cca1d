#pragma once
// An engine previewing a synthetic camera, for snapshot and notification tests: the camera can be
// held still, raise graph events, and its frames are checked against its pattern.
#include <windows.h>

#include <cstdint>
#include <string>

#include "camera_fixture.h"
#include "picture_reader.h"
#include "qeltest/temp_dir.h"

namespace enginetest {

class LiveSnapshotTest : public CameraTest {
protected:
    void SetUp() override;

    // Pumps until the host has received `count` notifications in all; false on time-out.
    bool WaitForNotifications(size_t count, unsigned milliseconds = 5000);
    // Drives the camera's controls on every live instance of it.
    HRESULT RaiseCameraEvent(long code, LONG_PTR param);
    HRESULT SetCameraDelivering(bool on);
    // Stands a capture in for the recording: the running preview graph is taken for the record graph,
    // so that what a capture stop does can be watched.
    void PretendCapturing();

    CLSID camera = CLSID_NULL;
    qeltest::TempDir dir;
};

// Whether rows hold the camera's picture: the frame number read from the band, then every pixel
// against the pattern. `height` positive for bottom-up rows, negative for top-down; `tolerance` is the
// largest channel difference allowed. The reason of a mismatch is written to *why.
bool HoldsCameraPicture(const uint8_t* rows, int width, int height, ptrdiff_t stride, int tolerance,
                        std::string* why, uint32_t* frameNumber = nullptr);

// Mean absolute channel difference between a decoded picture and the camera's frame.
double MeanDifferenceFromCamera(const DecodedPicture& picture, uint32_t frameNumber);

std::wstring Wide(const std::string& text);

} // namespace enginetest
