// The caller-owned records: their starting values and the track-type rule.
#include <cstring>

#include <gtest/gtest.h>

#include "Vostrel.h"

namespace {

TEST(TrimRecords, NewClipHasTextDefaultsButAZeroLowLightLevel) {
    CTrimSource source;
    EXPECT_STREQ("Tahoma", source.TextMixInfo().m_Font.lfFaceName);
    EXPECT_EQ(-12, source.TextMixInfo().m_Font.lfHeight);
    EXPECT_EQ(-1, source.TextMixInfo().m_llEnd);
    EXPECT_EQ(0, source.MavixMixInfo().m_nLevel);
    EXPECT_EQ(0, source.MavixMixInfo().m_llEnd);
    EXPECT_EQ(nullptr, source.GetThisObj());
    EXPECT_EQ(0, source.GetMediaDuration());
    // A free-standing low-light record starts at half strength over the whole clip.
    const CMavixMixInfo mix;
    EXPECT_EQ(50, mix.m_nLevel);
    EXPECT_EQ(-1, mix.m_llEnd);
}

TEST(TrimRecords, CopiesCarryEveryField) {
    CTrimSource source;
    source.SetMediaRange(10, 40);
    std::strcpy(source.TextMixInfo().m_szText, "caption");
    const CTrimSource copy(source);
    EXPECT_EQ(30, copy.GetMediaDuration());
    CTrimSource assigned;
    assigned = copy;
    EXPECT_EQ(40, assigned.GetMediaStop());
    EXPECT_STREQ("caption", const_cast<CTrimSource&>(copy).TextMixInfo().m_szText);
    CTrimTrans trans;
    EXPECT_EQ(-1, trans.GetTransType());
    trans.SetTransType(13);
    trans.SetTransDuration(5);
    CTrimTrans other;
    other = trans;
    EXPECT_EQ(13, other.GetTransType());
    EXPECT_EQ(5, other.GetTransDuration());
}

TEST(TrimRecords, TrackTakesOnlyVideoOrAudio) {
    CTrimTrack track;
    const GUID* type = nullptr;
    EXPECT_FALSE(track.GetTrackType(&type));
    EXPECT_FALSE(track.SetTrackType(nullptr));
    EXPECT_FALSE(track.SetTrackType(&MEDIATYPE_Text));
    EXPECT_FALSE(track.GetTrackType(&type));
    EXPECT_TRUE(track.SetTrackType(&MEDIATYPE_Audio));
    EXPECT_FALSE(track.GetTrackType(nullptr));
    ASSERT_TRUE(track.GetTrackType(&type));
    EXPECT_TRUE(IsEqualGUID(MEDIATYPE_Audio, *type));
    EXPECT_TRUE(track.SetTrackType(&MEDIATYPE_Video));
    EXPECT_EQ(nullptr, track.GetThisObj(0));
    EXPECT_EQ(nullptr, track.GetThisObj(7));
}

TEST(TrimRecords, ReleaseObjRefusesNullAndEmptiesARecord) {
    CVideoTrim editor;
    EXPECT_FALSE(editor.ReleaseObj(static_cast<CTrimSource*>(nullptr)));
    EXPECT_FALSE(editor.ReleaseObj(static_cast<CTrimTrack*>(nullptr)));
    EXPECT_FALSE(editor.ReleaseObj(static_cast<CTrimTrans*>(nullptr)));
    CTrimSource source;
    CTrimTrack track;
    CTrimTrans trans;
    EXPECT_TRUE(editor.ReleaseObj(&source));
    EXPECT_TRUE(editor.ReleaseObj(&track));
    EXPECT_TRUE(editor.ReleaseObj(&trans));
    EXPECT_EQ(TrimStateConstructed, editor.GetTrimState());
}

} // namespace
