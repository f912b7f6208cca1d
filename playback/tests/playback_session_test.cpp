// The session behind the library with its system seam replaced: the renderer choice by system version
// and the Overlay Mixer branch (Wine has no Overlay Mixer, so a stand-in plays it).
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "GraphHelper.h"
#include "PlaybackSession.h"
#include "ReaderClsids.h"
#include "fake_overlay_mixer.h"
#include "fluvant_fixture.h"
#include "qeltest/pump.h"

namespace {

// An older system whose Overlay Mixer is the stand-in.
class OldSystem : public PlaybackPlatform {
public:
    explicit OldSystem(bool offersConfig) : offersConfig_(offersConfig) {}
    HRESULT CreateFilter(REFCLSID clsid, IBaseFilter** filter) override {
        if (clsid == qelclsid::kOverlayMixer) {
            mixer = new FakeOverlayMixer(offersConfig_);
            held = static_cast<IBaseFilter*>(mixer); // the test keeps it alive beyond the graph
            *filter = held.Get();
            (*filter)->AddRef();
            return S_OK;
        }
        return PlaybackPlatform::CreateFilter(clsid, filter);
    }
    int MajorVersion() override { return 4; }
    FakeOverlayMixer* mixer = nullptr;
    qel::ComPtr<IBaseFilter> held;

private:
    bool offersConfig_;
};

class PlaybackSessionTest : public fluvanttest::PlaybackTest {
protected:
    void SetUp() override {
        fluvanttest::PlaybackTest::SetUp();
        ASSERT_TRUE(RegisterNotificationClass());
    }
    void TearDown() override {
        PlaybackSession().Stop(false);
        PlaybackSession().SetPlatform(nullptr);
        fluvanttest::PlaybackTest::TearDown();
    }
    bool GraphHolds(REFCLSID clsid) {
        CGraphHelper helper;
        IBaseFilter* found = helper.FindFilterByClsid(PlaybackSession().Graph(), clsid);
        if (found)
            found->Release();
        return found != nullptr;
    }
};

TEST_F(PlaybackSessionTest, AnOldSystemUsesTheOverlayMixerInLetterBoxMode) {
    OldSystem system(true);
    PlaybackSession().SetPlatform(&system);
    fluvanttest::HostWindow host;
    PlaybackSession().Play(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, 0, nullptr);
    ASSERT_NE(nullptr, system.mixer);
    EXPECT_EQ(1, system.mixer->joins.load());
    EXPECT_EQ(kAspectLetterBox, system.mixer->aspectMode.load());
    EXPECT_TRUE(GraphHolds(qelclsid::kVideoRenderer)) << "the plain renderer on an old system";
    EXPECT_FALSE(GraphHolds(qelclsid::kVideoMixingRenderer));
    EXPECT_TRUE(PlaybackSession().Playing());
}

TEST_F(PlaybackSessionTest, AnOverlayMixerWithoutItsPinConfigurationLeavesTheGraph) {
    OldSystem system(false);
    PlaybackSession().SetPlatform(&system);
    fluvanttest::HostWindow host;
    PlaybackSession().Play(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, 0, nullptr);
    ASSERT_NE(nullptr, system.mixer);
    EXPECT_EQ(1, system.mixer->leaves.load()) << "removed once";
    EXPECT_EQ(-1, system.mixer->aspectMode.load());
    EXPECT_FALSE(GraphHolds(qelclsid::kOverlayMixer));
}

TEST_F(PlaybackSessionTest, ANewSystemPicksTheMixingRenderer) {
    fluvanttest::HostWindow host;
    PlaybackSession().Play(MakeClip("clip.avi", 10).c_str(), host.Handle(), 0, 0, nullptr);
    EXPECT_TRUE(PlaybackSession().Playing());
    EXPECT_FALSE(GraphHolds(qelclsid::kOverlayMixer));
    EXPECT_FALSE(GraphHolds(qelclsid::kVideoRenderer)) << "the plain renderer is only for old systems";
    qel::ComPtr<IVideoWindow> window;
    ASSERT_EQ(S_OK, PlaybackSession().Graph()->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(window.GetAddressOf())));
    OAHWND owner = 0;
    EXPECT_EQ(S_OK, window->get_Owner(&owner));
    EXPECT_EQ(reinterpret_cast<OAHWND>(host.Handle()), owner);
    window.Reset(); // the graph must go with the stop
    PlaybackSession().Stop(false);
    EXPECT_FALSE(PlaybackSession().Playing());
    EXPECT_EQ(nullptr, PlaybackSession().Graph());
    EXPECT_EQ(nullptr, PlaybackSession().NotificationWindow());
}

} // namespace
