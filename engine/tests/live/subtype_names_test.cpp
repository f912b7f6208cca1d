// Subtype names to GUIDs and back.
#include <gtest/gtest.h>

#include "engine_probe.h"

namespace enginetest {
namespace {

// A few names whose GUIDs are not of the FOURCC family: only the engine's table can answer them.
TEST(SubtypeNamesTest, TableNamesRoundTripToTheirOwnGuids) {
    const struct {
        const WCHAR* name;
        const GUID* subtype;
    } samples[] = {
        {L"RGB24", &MEDIASUBTYPE_RGB24},   {L"RGB555", &MEDIASUBTYPE_RGB555},
        {L"ARGB32", &MEDIASUBTYPE_ARGB32}, {L"MPEG1Payload", &MEDIASUBTYPE_MPEG1Payload},
        {L"Avi", &MEDIASUBTYPE_Avi},       {L"Overlay", &MEDIASUBTYPE_Overlay},
    };
    CLiveCapture engine;
    for (const auto& sample : samples) {
        GUID guid = GUID_NULL;
        ASSERT_TRUE(engine.GetGUIDBySubtype(sample.name, &guid)) << sample.name;
        EXPECT_TRUE(IsEqualGUID(*sample.subtype, guid)) << sample.name;
        WCHAR name[13] = {0};
        ASSERT_TRUE(engine.GetSubtypeByGUID(&guid, name, 13)) << sample.name;
        EXPECT_STREQ(sample.name, name);
    }
}

TEST(SubtypeNamesTest, OtherFourCharacterNamesGiveTheirFourccGuid) {
    CLiveCapture engine;
    GUID guid = GUID_NULL;
    ASSERT_TRUE(engine.GetGUIDBySubtype(L"H264", &guid));
    const GUID h264 = {0x34363248, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    EXPECT_TRUE(IsEqualGUID(h264, guid));
    // Letter case counts in the table: "rgb24" is not RGB24, and five characters make no FOURCC.
    EXPECT_FALSE(engine.GetGUIDBySubtype(L"rgb24", &guid));
    EXPECT_FALSE(engine.GetGUIDBySubtype(L"NotASubtype", &guid));
    EXPECT_FALSE(engine.GetGUIDBySubtype(L"abc", &guid));
    EXPECT_FALSE(engine.GetGUIDBySubtype(nullptr, &guid));
    EXPECT_FALSE(engine.GetGUIDBySubtype(L"YUY2", nullptr));
    ASSERT_TRUE(engine.GetGUIDBySubtype(L"yuy2", &guid)); // a FOURCC in other letters
    EXPECT_EQ(0x32797579u, guid.Data1);
}

TEST(SubtypeNamesTest, UnknownGuidsReadAsTheCharactersOfTheirFirstField) {
    CLiveCapture engine;
    GUID odd = {0x44434241, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    WCHAR name[13] = {0};
    ASSERT_TRUE(engine.GetSubtypeByGUID(&odd, name, 13));
    EXPECT_STREQ(L"ABCD", name);
    odd.Data1 = 0x00004241; // a zero byte ends the name
    ASSERT_TRUE(engine.GetSubtypeByGUID(&odd, name, 13));
    EXPECT_STREQ(L"AB", name);
    odd.Data1 = 0x44434200; // first byte zero: no name
    EXPECT_FALSE(engine.GetSubtypeByGUID(&odd, name, 13));
}

TEST(SubtypeNamesTest, BufferArgumentsAreChecked) {
    CLiveCapture engine;
    GUID guid = MEDIASUBTYPE_MPEG1Payload;
    WCHAR name[13] = L"untouched";
    EXPECT_FALSE(engine.GetSubtypeByGUID(&guid, name, 5));
    EXPECT_FALSE(engine.GetSubtypeByGUID(nullptr, name, 13));
    EXPECT_FALSE(engine.GetSubtypeByGUID(&guid, nullptr, 13));
    // A buffer long enough for the test but not for this name.
    EXPECT_FALSE(engine.GetSubtypeByGUID(&guid, name, 8));
    EXPECT_STREQ(L"untouched", name);
    GUID rgb = MEDIASUBTYPE_RGB24;
    EXPECT_TRUE(engine.GetSubtypeByGUID(&rgb, name, 6));
    EXPECT_STREQ(L"RGB24", name);
}

} // namespace
} // namespace enginetest
