// CAsfBuilder: argument checks, the Windows Media runtime as this machine has it, the frame size of
// a profile's video streams, and the classification of the running Windows.
#include <Vostrel.h>

#include "CaptureLimits.h"
#include "fake_profile.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

namespace {

using recordtest::FakeProfile;

class AsfBuilderTest : public qeltest::ComTest {};

// What the machine's runtime offers, found out directly (not through the builder under test).
struct WmRuntimeFacts {
    bool managerCreated = false;
    bool hasManager2 = false;
    HRESULT setVersion8 = E_FAIL;   // SetSystemProfileVersion(WMT_VER_8_0)
    HRESULT profileCount = E_FAIL;
};

WmRuntimeFacts ProbeRuntime() {
    WmRuntimeFacts facts;
    HMODULE runtime = LoadLibraryA("wmvcore.dll");
    if (!runtime)
        return facts;
    typedef HRESULT(STDMETHODCALLTYPE * Create)(IWMProfileManager**);
    const auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(runtime, "WMCreateProfileManager")));
    IWMProfileManager* manager = nullptr;
    if (create && SUCCEEDED(create(&manager)) && manager) {
        facts.managerCreated = true;
        IWMProfileManager2* manager2 = nullptr;
        facts.hasManager2 = SUCCEEDED(manager->QueryInterface(__uuidof(IWMProfileManager2), reinterpret_cast<void**>(&manager2)));
        if (manager2) {
            facts.setVersion8 = manager2->SetSystemProfileVersion(WMT_VER_8_0);
            manager2->Release();
        }
        DWORD count = 0;
        facts.profileCount = manager->GetSystemProfileCount(&count);
        manager->Release();
    }
    return facts;
}

TEST_F(AsfBuilderTest, VersionsOutsideTheRangeAreRefusedBeforeTheRuntimeIsAsked) {
    CAsfBuilder builder;
    EXPECT_EQ(E_INVALIDARG, builder.SetUseWMFVersion(0x3FF));
    EXPECT_EQ(E_INVALIDARG, builder.SetUseWMFVersion(0x901));
    EXPECT_EQ(E_INVALIDARG, builder.SetUseWMFVersion(0));
    EXPECT_EQ(1, builder.CheckWMFVersion());
}

TEST_F(AsfBuilderTest, VersionWithoutANameChangesNothingAndNamedVersionsAreSet) {
    const WmRuntimeFacts facts = ProbeRuntime();
    if (!facts.managerCreated || !facts.hasManager2)
        GTEST_SKIP() << "this machine's Windows Media runtime makes no profile manager with version selection";
    CAsfBuilder builder;
    EXPECT_EQ(S_FALSE, builder.SetUseWMFVersion(0x500));
    // The runtime's own answer comes back unchanged (Wine's is E_NOTIMPL).
    EXPECT_EQ(facts.setVersion8, builder.SetUseWMFVersion(0x800));
    EXPECT_EQ(facts.setVersion8, builder.SetUseWMFVersion(0x400));
    // A copy shares the manager and keeps working after the original is gone.
    CAsfBuilder* original = new CAsfBuilder(builder);
    CAsfBuilder copy(*original);
    delete original;
    EXPECT_EQ(S_FALSE, copy.SetUseWMFVersion(0x600));
}

TEST_F(AsfBuilderTest, SystemProfilesReportTheRuntimesAnswer) {
    const WmRuntimeFacts facts = ProbeRuntime();
    if (!facts.managerCreated)
        GTEST_SKIP() << "no Windows Media profile manager on this machine";
    CAsfBuilder builder;
    unsigned long count = 12345;
    EXPECT_EQ(E_POINTER, builder.GetProfileCount(nullptr));
    const HRESULT counted = builder.GetProfileCount(&count);
    EXPECT_EQ(facts.profileCount, counted);
    IWMProfile* profile = reinterpret_cast<IWMProfile*>(1);
    EXPECT_EQ(E_POINTER, builder.SetProfileNum(0, nullptr));
    if (FAILED(counted)) {
        // Where the runtime lists no system profiles (Wine answers E_NOTIMPL) the failure comes back
        // unchanged and no profile is handed out.
        EXPECT_EQ(counted, builder.SetProfileNum(0, &profile));
        EXPECT_EQ(nullptr, profile);
        return;
    }
    EXPECT_EQ(E_INVALIDARG, builder.SetProfileNum(count, &profile));
    EXPECT_EQ(nullptr, profile);
    if (count > 0 && SUCCEEDED(builder.SetProfileNum(0, &profile)) && profile)
        profile->Release();
}

TEST_F(AsfBuilderTest, OnlyTheVideoStreamTakesTheFrameSize) {
    FakeProfile profile;
    auto audio = FakeProfile::AudioStream();
    auto video = FakeProfile::VideoStream(320, 240);
    const std::vector<BYTE> audioBefore = audio->format;
    profile.streams = {audio, video};
    CAsfBuilder builder;
    EXPECT_EQ(S_OK, builder.SetASFFormat(&profile, 641, -479, 100));
    const VIDEOINFOHEADER* header = reinterpret_cast<const VIDEOINFOHEADER*>(video->format.data());
    EXPECT_EQ(641, header->bmiHeader.biWidth);
    EXPECT_EQ(-479, header->bmiHeader.biHeight);
    EXPECT_EQ(24, header->bmiHeader.biBitCount);           // the rest stays
    EXPECT_EQ(666666, header->AvgTimePerFrame);
    EXPECT_EQ(1, video->setMediaTypeCalls);
    EXPECT_EQ(1, video->reconfigCalls);
    EXPECT_EQ(0, audio->setMediaTypeCalls);
    EXPECT_EQ(0, audio->reconfigCalls);
    EXPECT_EQ(audioBefore, audio->format);
    EXPECT_EQ(0, profile.LiveStreamObjects());              // every stream given back
}

TEST_F(AsfBuilderTest, AFailingStreamIsReportedAndTheOthersAreStillSet) {
    CAsfBuilder builder;
    {
        FakeProfile profile;
        auto broken = FakeProfile::VideoStream(10, 10);
        broken->failGetMediaType = true;
        auto video = FakeProfile::VideoStream(10, 10);
        profile.streams = {broken, video};
        EXPECT_EQ(E_FAIL, builder.SetASFFormat(&profile, 64, 48, 1));
        EXPECT_EQ(64, reinterpret_cast<const VIDEOINFOHEADER*>(video->format.data())->bmiHeader.biWidth);
        EXPECT_EQ(1, video->reconfigCalls);
        EXPECT_EQ(0, broken->reconfigCalls);
    }
    {
        // The failure of the first stream is not hidden by a last stream that works.
        FakeProfile profile;
        auto noProps = FakeProfile::VideoStream(10, 10);
        noProps->noMediaProps = true;
        profile.streams = {noProps, FakeProfile::AudioStream(), FakeProfile::VideoStream(1, 1)};
        EXPECT_EQ(E_NOINTERFACE, builder.SetASFFormat(&profile, 64, 48, 1));
        profile.failGetStreamAt = 1;
        profile.streams[0]->noMediaProps = false;
        EXPECT_EQ(E_INVALIDARG, builder.SetASFFormat(&profile, 64, 48, 1));
        EXPECT_EQ(0, profile.LiveStreamObjects());
    }
}

TEST_F(AsfBuilderTest, FormatBlocksTooShortForAVideoHeaderAreLeftAlone) {
    FakeProfile profile;
    auto cut = FakeProfile::VideoStream(10, 10);
    cut->format.resize(sizeof(VIDEOINFOHEADER) - 1);
    profile.streams = {cut};
    CAsfBuilder builder;
    EXPECT_EQ(S_OK, builder.SetASFFormat(&profile, 64, 48, 1));
    EXPECT_EQ(0, cut->setMediaTypeCalls);
}

TEST_F(AsfBuilderTest, ProfilesWithoutStreamsOrWithoutCountAndNullProfiles) {
    CAsfBuilder builder;
    EXPECT_EQ(E_INVALIDARG, builder.SetASFFormat(nullptr, 1, 1, 1));
    FakeProfile empty;
    EXPECT_EQ(S_FALSE, builder.SetASFFormat(&empty, 1, 1, 1));
    empty.failStreamCount = true;
    EXPECT_EQ(E_UNEXPECTED, builder.SetASFFormat(&empty, 1, 1, 1));
}

TEST_F(AsfBuilderTest, RunningWindowsIsClassifiedByItsVersion) {
    CAsfBuilder builder;
    builder.GetOSVersion(nullptr);   // nothing to write to: no crash
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    int kind = -1;
    builder.GetOSVersion(&kind);
    EXPECT_EQ(qelrec::ClassifyOsVersion(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion,
                                        version.dwBuildNumber),
              kind);
    EXPECT_GE(kind, 1);
    EXPECT_LE(kind, 4);
}

} // namespace
