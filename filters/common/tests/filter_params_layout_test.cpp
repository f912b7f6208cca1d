// The parameter interfaces are a binary contract with the engine: each method must sit in the
// slot the engine calls. Slot numbers here are written down independently of the header.
#include "QelFilterParams.h"
#include "QelPluginIds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// With GCC's C++ ABI a pointer to a virtual member function holds 1 + the byte offset of its
// entry in the table of functions.
template <class Method>
int Slot(Method method) {
    static_assert(sizeof(Method) == 2 * sizeof(std::uintptr_t), "GCC member-function pointer");
    std::uintptr_t words[2];
    std::memcpy(words, &method, sizeof words);
    if ((words[0] & 1) == 0)
        return -1; // not virtual
    return static_cast<int>((words[0] - 1) / sizeof(void*));
}

} // namespace

TEST(FilterParamsLayout, CommonSlots) {
    EXPECT_EQ(Slot(&IQelFilterParams::Enable), 3);
    EXPECT_EQ(Slot(&IQelFilterParams::AddRange), 4);
    EXPECT_EQ(Slot(&IQelFilterParams::AddRanges), 5);
    EXPECT_EQ(Slot(&IQelFilterParams::ClearRanges), 6);
    EXPECT_EQ(Slot(&IQelFilterParams::GetEnable), 7);
    EXPECT_EQ(Slot(&IQelFilterParams::SetEnable), 8);
}

TEST(FilterParamsLayout, EachFiltersOwnSlots) {
    EXPECT_EQ(Slot(&IQelStrengthParams::GetStrength), 9);
    EXPECT_EQ(Slot(&IQelStrengthParams::SetStrength), 10);
    EXPECT_EQ(Slot(&IQelContrastBrightnessParams::SetContrast), 10);
    EXPECT_EQ(Slot(&IQelContrastBrightnessParams::SetBrightness), 12);
    EXPECT_EQ(Slot(&IQelDateTimeParams::GetColor), 9);
    EXPECT_EQ(Slot(&IQelDateTimeParams::SetFont), 12);
    EXPECT_EQ(Slot(&IQelDateTimeParams::GetAlignment), 13);
    EXPECT_EQ(Slot(&IQelDateTimeParams::SetAlignment), 14);
    EXPECT_EQ(Slot(&IQelDateTimeParams::SetStartPosition), 16);
    EXPECT_EQ(Slot(&IQelDigitalZoomParams::SetZoom), 10);
    EXPECT_EQ(Slot(&IQelSpecialEffectParams::SetStrength), 10);
    EXPECT_EQ(Slot(&IQelSpecialEffectParams::SetEffect), 12);
    EXPECT_EQ(Slot(&IQelPhotoFrameParams::GetFramePath), 9);
    EXPECT_EQ(Slot(&IQelPhotoFrameParams::SetFramePath), 10);
    EXPECT_EQ(Slot(&IQelFlipParams::SetValue), 10);
    EXPECT_EQ(Slot(&IQelFlipParams::SetValue2), 12);
}

TEST(FilterParamsLayout, RotateSlots) {
    EXPECT_EQ(Slot(&IQelRotateParams::Enable), 3);
    EXPECT_EQ(Slot(&IQelRotateParams::SetEnable), 8);
    EXPECT_EQ(Slot(&IQelRotateParams::GetValue), 9);
    EXPECT_EQ(Slot(&IQelRotateParams::SetValue2), 12);
    EXPECT_EQ(Slot(&IQelRotateParams::SetMethod), 13);
    EXPECT_EQ(Slot(&IQelRotateParams::GetMethod), 14);
    EXPECT_EQ(Slot(&IQelRotateParams::SetBackColor), 15);
    EXPECT_EQ(Slot(&IQelRotateParams::GetBackColor), 16);
    EXPECT_EQ(Slot(&IQelRotateParams::SetAngle), 17);
    EXPECT_EQ(Slot(&IQelRotateParams::GetAngle), 18);
}

TEST(FilterParamsLayout, EveryLayoutCarriesTheOneInterfaceId) {
    EXPECT_EQ(__uuidof(IQelStrengthParams), IID_IQelFilterParams);
    EXPECT_EQ(__uuidof(IQelDateTimeParams), IID_IQelFilterParams);
    EXPECT_EQ(__uuidof(IQelFlipParams), IID_IQelFilterParams);
    EXPECT_EQ(__uuidof(IQelRotateParams), IID_IQelRotateParams);
    const GUID filterParams = {0x084dc5f9, 0x7e2f, 0x4bf3, {0x98, 0xcc, 0x69, 0xa1, 0xc7, 0x53, 0x7b, 0x0f}};
    EXPECT_EQ(IID_IQelFilterParams, filterParams);
    EXPECT_EQ(sizeof(kQelPlugins) / sizeof(kQelPlugins[0]), 11u);
}
