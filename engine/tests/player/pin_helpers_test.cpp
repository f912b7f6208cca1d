// Pin lookups on real filters of the platform: the Smart Tee (one input, two outputs) and the Null
// Renderer (one input, no output). Reference counts are read through AddRef/Release.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "PinHelpers.h"
#include "qeltest/com_test.h"

namespace {

// {C1F400A4-3F08-11D3-9F0B-006008039E37}
const GUID kClsidNullRenderer = {
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

class PinHelpersTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SmartTee, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&tee_)));
        ASSERT_EQ(S_OK, CoCreateInstance(kClsidNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&renderer_)));
    }
    void TearDown() override {
        if (tee_)
            tee_->Release();
        if (renderer_)
            renderer_->Release();
        ComTest::TearDown();
    }
    // The tee's pins in enumeration order, each checked for its direction.
    std::vector<IPin*> TeePins() {
        std::vector<IPin*> pins;
        IEnumPins* list = nullptr;
        EXPECT_EQ(S_OK, tee_->EnumPins(&list));
        IPin* pin = nullptr;
        while (list && list->Next(1, &pin, nullptr) == S_OK) {
            pins.push_back(pin);
            pin->Release(); // the tee keeps its pins
        }
        if (list)
            list->Release();
        return pins;
    }
    IBaseFilter* tee_ = nullptr;
    IBaseFilter* renderer_ = nullptr;
};

TEST_F(PinHelpersTest, IndexedLookupCountsPinsOfOneDirectionInEnumerationOrder) {
    const std::vector<IPin*> pins = TeePins();
    ASSERT_EQ(3u, pins.size()); // input, then the two outputs
    EXPECT_EQ(pins[0], GetInPin(tee_, 0));
    EXPECT_EQ(nullptr, GetInPin(tee_, 1));
    EXPECT_EQ(pins[1], GetOutPin(tee_, 0));
    EXPECT_EQ(pins[2], GetOutPin(tee_, 1));
    EXPECT_EQ(nullptr, GetOutPin(tee_, 2));
    EXPECT_EQ(nullptr, GetOutPin(tee_, -1));

    IPin* pin = reinterpret_cast<IPin*>(1);
    EXPECT_EQ(E_FAIL, GetPin(tee_, PINDIR_OUTPUT, 2, &pin));
    EXPECT_EQ(nullptr, pin);
    ASSERT_EQ(S_OK, GetPin(tee_, PINDIR_OUTPUT, 1, &pin));
    EXPECT_EQ(pins[2], pin);
    pin->Release();
}

TEST_F(PinHelpersTest, FoundPinsCarryOneReferenceBorrowedPinsNone) {
    const ULONG before = References(tee_);

    IPin* found = FindPin(tee_, PINDIR_OUTPUT);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(GetOutPin(tee_, 0), found);
    EXPECT_EQ(before + 1, References(tee_)) << "FindPin hands over exactly one reference";
    found->Release();
    EXPECT_EQ(before, References(tee_));

    IPin* indexed = nullptr;
    ASSERT_EQ(S_OK, GetPin(tee_, PINDIR_INPUT, 0, &indexed));
    EXPECT_EQ(before + 1, References(tee_)) << "GetPin hands over exactly one reference";
    indexed->Release();

    GetInPin(tee_, 0);
    GetOutPin(tee_, 1);
    GetOutPin(tee_, 5);
    EXPECT_EQ(before, References(tee_)) << "GetInPin/GetOutPin keep no reference";
}

TEST_F(PinHelpersTest, AFilterWithoutOutputsGivesNoPinAndKeepsNoReference) {
    const ULONG before = References(renderer_);
    EXPECT_EQ(nullptr, FindPin(renderer_, PINDIR_OUTPUT));
    EXPECT_EQ(nullptr, GetOutPin(renderer_, 0));
    IPin* pin = nullptr;
    EXPECT_EQ(E_FAIL, GetPin(renderer_, PINDIR_OUTPUT, 0, &pin));
    EXPECT_EQ(nullptr, pin);
    EXPECT_EQ(before, References(renderer_));
    EXPECT_NE(nullptr, GetInPin(renderer_, 0));
}

TEST_F(PinHelpersTest, NullArgumentsAreRefused) {
    EXPECT_EQ(nullptr, FindPin(nullptr, PINDIR_INPUT));
    EXPECT_EQ(nullptr, GetInPin(nullptr, 0));
    IPin* pin = reinterpret_cast<IPin*>(1);
    EXPECT_EQ(E_POINTER, GetPin(nullptr, PINDIR_INPUT, 0, &pin));
    EXPECT_EQ(nullptr, pin);
    EXPECT_EQ(E_POINTER, GetPin(tee_, PINDIR_INPUT, 0, nullptr));
}

} // namespace
