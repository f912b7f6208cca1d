// Device lists and device choice on a machine without cameras or audio inputs.
#include <string>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"

namespace enginetest {
namespace {

class DevicesTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ASSERT_EQ(static_cast<HRESULT>(1167),
                  engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0));
    }
    HostWindow host;
    EngineProbe engine;
};

TEST_F(DevicesTest, AnEmptyCategoryGives1167AndNoDevices) {
    EXPECT_EQ(static_cast<HRESULT>(1167), engine.EnumVideoDevice());
    EXPECT_EQ(0, engine.GetDeviceNum(DEVICE_VIDEO));
    // Wine lists an audio input when its sound driver has one.
    const HRESULT audio = engine.EnumAudioDevice();
    if (engine.GetDeviceNum(DEVICE_AUDIO) == 0)
        EXPECT_EQ(static_cast<HRESULT>(1167), audio);
    else
        EXPECT_EQ(0, audio);
    EXPECT_LE(engine.GetDeviceNum(DEVICE_AUDIO), 4);
    EXPECT_EQ(-1, engine.GetDeviceNum(static_cast<DeviceType>(3)));
}

TEST_F(DevicesTest, GetDeviceNameRefusesBadArgumentsWithoutWriting) {
    WCHAR name[16] = L"untouched";
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(DEVICE_VIDEO, 0, nullptr, 16));
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(DEVICE_VIDEO, -2, name, 16));
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(DEVICE_VIDEO, -1, name, 16));
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(DEVICE_VIDEO, 0, name, 16)); // nothing listed
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(DEVICE_AUDIO, 0, name, 16));
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(static_cast<DeviceType>(7), 0, name, 16));
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(DEVICE_VIDEO, 0, name, 0));
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceName(DEVICE_VIDEO, 0, name, -5));
    EXPECT_STREQ(L"untouched", name);
}

TEST_F(DevicesTest, DeviceNameOfAMonikerIsCutToTheBufferWithATerminator) {
    // A moniker of a registered filter category that every Wine prefix fills: the video compressors.
    ASSERT_EQ(0, engine.EnumVideoCprFilter());
    WCHAR name[10];
    IMoniker* moniker = nullptr;
    {
        ICreateDevEnum* devices = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_ICreateDevEnum, reinterpret_cast<void**>(&devices)));
        IEnumMoniker* list = nullptr;
        ASSERT_EQ(S_OK, devices->CreateClassEnumerator(CLSID_VideoCompressorCategory, &list, 0));
        ASSERT_EQ(S_OK, list->Next(1, &moniker, nullptr));
        list->Release();
        devices->Release();
    }
    WCHAR full[260];
    ASSERT_EQ(S_OK, engine.GetDeviceNameByMoniker(moniker, full, 260));
    ASSERT_GT(wcslen(full), 9u);
    wmemset(name, L'#', 10);
    EXPECT_EQ(S_OK, engine.GetDeviceNameByMoniker(moniker, name, 10));
    EXPECT_EQ(std::wstring(full, 9), std::wstring(name));
    EXPECT_EQ(E_INVALIDARG, engine.GetDeviceNameByMoniker(moniker, name, 0));
    moniker->Release();
}

TEST_F(DevicesTest, ChoosingDevicesChecksTypeAndIndex) {
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByIndex(DEVICE_VIDEO, -1));
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByIndex(DEVICE_VIDEO, 0));
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByIndex(DEVICE_VIDEO, -2));
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByIndex(DEVICE_AUDIO, 0));
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByIndex(DEVICE_AUDIO, -2));
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByIndex(static_cast<DeviceType>(3), 0));
    // Removing the microphone always works, also when none was chosen.
    EXPECT_EQ(0, engine.SetUsedDeviceByIndex(DEVICE_AUDIO, -1));
    EXPECT_EQ(-1, engine.m_nCurAudioDevice);
    EXPECT_EQ(-1, engine.m_nCurVideoDevice);
}

TEST_F(DevicesTest, ChoosingByNameChecksTheNameAndReports1200ForAnUnlistedOne) {
    UINT index = 77;
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByName(DEVICE_VIDEO, L"cam", nullptr));
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByName(DEVICE_VIDEO, nullptr, &index));
    const std::wstring longest(259, L'n');
    const std::wstring tooLong(260, L'n');
    EXPECT_EQ(E_INVALIDARG, engine.SetUsedDeviceByName(DEVICE_VIDEO, tooLong.c_str(), &index));
    EXPECT_EQ(static_cast<HRESULT>(1200), engine.SetUsedDeviceByName(DEVICE_VIDEO, longest.c_str(), &index));
    EXPECT_EQ(static_cast<HRESULT>(1200), engine.SetUsedDeviceByName(DEVICE_VIDEO, L"USB Camera", &index));
    EXPECT_EQ(static_cast<HRESULT>(1200), engine.SetUsedDeviceByName(DEVICE_AUDIO, L"Microphone", &index));
    EXPECT_EQ(static_cast<HRESULT>(1200),
              engine.SetUsedDeviceByName(static_cast<DeviceType>(5), L"x", &index));
    EXPECT_EQ(77u, index);
    EXPECT_TRUE(engine.IsValidNameStr(longest.c_str()));
    EXPECT_FALSE(engine.IsValidNameStr(tooLong.c_str()));
    EXPECT_FALSE(engine.IsValidNameStr(nullptr));
}

TEST_F(DevicesTest, CompatibilityFlipFollowsTheSettingOrTheCameraModel) {
    EXPECT_EQ(0, engine.bIsCompatibilityFlip()); // decided by the model: no camera in use
    EXPECT_EQ(0, engine.IsR8TCamera());
    engine.SetFlipCompatibility(0);
    EXPECT_EQ(0, engine.bIsCompatibilityFlip());
    engine.SetFlipCompatibility(5);
    EXPECT_EQ(1, engine.bIsCompatibilityFlip());
    // The host's name for the camera is kept; the model test reads the engine's own list.
    engine.SetUsedVideoDeviceName(CString("DREM Notebook Camera R8-T01"));
    engine.SetFlipCompatibility(0xFFFFFFFF);
    EXPECT_EQ(0, engine.bIsCompatibilityFlip());
}

} // namespace
} // namespace enginetest
