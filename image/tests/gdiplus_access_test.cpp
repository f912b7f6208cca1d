// The accessors of GDI+'s private native pointer and status reach the fields the wrapper itself uses.
#include "GdiplusAccess.h"

#include <gtest/gtest.h>

TEST(GdiplusAccess, NativePointerAndStatusAreTheWrappersOwn) {
    Gdiplus::Bitmap bitmap(3, 2, PixelFormat32bppARGB);
    ASSERT_NE(nullptr, NativeImageOf(bitmap));
    UINT width = 0;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::DllExports::GdipGetImageWidth(NativeImageOf(bitmap), &width));
    EXPECT_EQ(3u, width);

    LastStatusOf(bitmap) = Gdiplus::OutOfMemory;
    EXPECT_EQ(Gdiplus::OutOfMemory, bitmap.GetLastStatus());
    EXPECT_EQ(Gdiplus::Ok, bitmap.GetLastStatus()); // reading resets it, as the wrapper does

    // Swapping the picture: the wrapper then reports the new one.
    Gdiplus::GpBitmap* other = nullptr;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::DllExports::GdipCreateBitmapFromScan0(7, 5, 0, PixelFormat24bppRGB, nullptr, &other));
    Gdiplus::DllExports::GdipDisposeImage(NativeImageOf(bitmap));
    NativeImageOf(bitmap) = other;
    EXPECT_EQ(7u, bitmap.GetWidth());
    EXPECT_EQ(static_cast<Gdiplus::PixelFormat>(PixelFormat24bppRGB), bitmap.GetPixelFormat());
}
