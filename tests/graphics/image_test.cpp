// IMAGE: storage, pixel layout, resizing and copying.
#include <gtest/gtest.h>

#include "graphics_state.h"

namespace {

TEST(Image, EmptyImageHasADeviceContextButNoStorage)
{
    IMAGE image(0, 0);
    EXPECT_EQ(image.bitmap, nullptr);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_NE(image.dc, nullptr);
    EXPECT_EQ(GetPixelBuffer(&image), nullptr);
    EXPECT_EQ(image.lineColor, 0xFFFFFFu);
    EXPECT_EQ(image.bkColor, 0u);
    EXPECT_EQ(GetGraphicsMode(image.dc), GM_ADVANCED);
}

TEST(Image, NewImageIsBlackAndTopDown)
{
    IMAGE image(8, 8);
    ASSERT_NE(image.pixels, nullptr);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(image.pixels[i], 0u);
    // Bytes blue, green, red, 0: a GDI colour reference 0x00BBGGRR lands as 0x00RRGGBB.
    SetPixelV(image.dc, 2, 1, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(image.pixels[1 * 8 + 2], 0x00112233u);
    image.pixels[5 * 8 + 6] = 0x00ABCDEF;
    EXPECT_EQ(GetPixel(image.dc, 6, 5), RGB(0xAB, 0xCD, 0xEF));
}

TEST(Image, NegativeAndZeroSizesGiveNoStorage)
{
    IMAGE negative(-5, 10);
    EXPECT_EQ(negative.pixels, nullptr);
    EXPECT_EQ(negative.width, 0);
    EXPECT_EQ(negative.height, 10);

    IMAGE image(4, 4);
    uint32_t* before = image.pixels;
    image.Resize(0, 10);
    image.Resize(10, 0);
    image.Resize(-3, -3);
    EXPECT_EQ(image.pixels, before);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 4);
}

TEST(Image, GrowingKeepsTheTopLeftAndFillsWithTheBackgroundColour)
{
    IMAGE image(3, 2);
    for (int i = 0; i < 6; ++i) image.pixels[i] = 0x00010101u * static_cast<uint32_t>(i + 1);
    image.bkColor = 0x0000FF;  // red as a colour reference
    const HBITMAP oldBitmap = image.bitmap;
    image.Resize(5, 4);
    EXPECT_EQ(GetObjectType(oldBitmap), 0u) << "the replaced bitmap is deleted";
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const uint32_t expected =
                (x < 3 && y < 2) ? 0x00010101u * static_cast<uint32_t>(y * 3 + x + 1) : 0x00FF0000u;
            EXPECT_EQ(image.pixels[y * 5 + x], expected) << x << "," << y;
        }
    }
}

TEST(Image, ShrinkingKeepsTheTopLeftAndRegrowingRefills)
{
    IMAGE image(4, 4);
    for (int i = 0; i < 16; ++i) image.pixels[i] = static_cast<uint32_t>(i + 1);
    image.Resize(2, 2);
    EXPECT_EQ(image.pixels[0], 1u);
    EXPECT_EQ(image.pixels[1], 2u);
    EXPECT_EQ(image.pixels[2], 5u);
    EXPECT_EQ(image.pixels[3], 6u);
    image.Resize(4, 4);
    EXPECT_EQ(image.pixels[5], 6u);
    EXPECT_EQ(image.pixels[2], 0u);
    EXPECT_EQ(image.pixels[15], 0u);
}

TEST(Image, ResizeIgnoresTheWorldTransform)
{
    IMAGE image(4, 4);
    image.pixels[0] = 0x00123456;
    XFORM shifted = {2.0f, 0.0f, 0.0f, 2.0f, 3.0f, 3.0f};
    SetWorldTransform(image.dc, &shifted);
    image.Resize(6, 6);
    EXPECT_EQ(image.pixels[0], 0x00123456u);
}

TEST(Image, FailedStorageLeavesTheImageAsItWas)
{
    IMAGE image(4, 4);
    image.pixels[3] = 0x00ABCDEF;
    uint32_t* before = image.pixels;
    HBITMAP bitmapBefore = image.bitmap;
    image.Resize(200000, 200000);  // far more than any address space holds
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.pixels, before);
    EXPECT_EQ(image.bitmap, bitmapBefore);
    EXPECT_EQ(image.pixels[3], 0x00ABCDEFu);

    IMAGE huge(200000, 200000);
    EXPECT_EQ(huge.pixels, nullptr);
    EXPECT_EQ(huge.width, 0);
}

TEST(Image, CopyAssignmentTakesSizeAndPixelsButKeepsDrawingState)
{
    IMAGE source(240, 240);
    for (int i = 0; i < 240 * 240; ++i) source.pixels[i] = static_cast<uint32_t>(i) & 0xFFFFFF;
    IMAGE destination(0, 0);
    destination.lineColor = 0x123456;
    destination.curX = 7;
    destination = source;
    ASSERT_EQ(destination.width, 240);
    ASSERT_EQ(destination.height, 240);
    EXPECT_NE(destination.pixels, source.pixels);
    EXPECT_EQ(0, memcmp(destination.pixels, source.pixels, 240 * 240 * 4));
    EXPECT_EQ(destination.lineColor, 0x123456u);
    EXPECT_EQ(destination.curX, 7);

    IMAGE empty(0, 0);
    destination = empty;
    EXPECT_EQ(destination.width, 240);
    EXPECT_EQ(destination.pixels[1000], 1000u);

    destination = destination;
    EXPECT_EQ(destination.pixels[1000], 1000u);
}

TEST(Image, ResetStateRestoresTheDefaults)
{
    IMAGE image(16, 16);
    image.lineColor = image.fillColor = image.textColor = 0x010203;
    image.bkColor = 0x0000FF;
    image.curX = 5;
    image.transform.eDx = 10.0f;
    image.penStyle.thickness = 4;
    image.ResetState();
    EXPECT_EQ(image.lineColor, 0xFFFFFFu);
    EXPECT_EQ(image.textColor, 0xFFFFFFu);
    EXPECT_EQ(image.bkColor, 0u);
    EXPECT_EQ(image.curX, 0);
    EXPECT_EQ(image.transform.eDx, 0.0f);
    EXPECT_EQ(image.penStyle.thickness, 1);
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(image.dc, OBJ_FONT), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, "System");
    EXPECT_EQ(font.lfHeight, 16);
    // A white line of 1 pixel.
    MoveToEx(image.dc, 0, 3, nullptr);
    LineTo(image.dc, 16, 3);
    EXPECT_EQ(image.pixels[3 * 16 + 8], 0x00FFFFFFu);
    EXPECT_EQ(image.pixels[4 * 16 + 8], 0u);
}

}  // namespace
