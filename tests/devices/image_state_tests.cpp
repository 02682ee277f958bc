// Transform, empty targets, fonts and text of an image target.
#include <string>

#include "canvas.h"

TEST_F(Canvas, OriginAndScaleMoveDrawingWhileMeasurementStaysLogical)
{
    const int width = MeasureTextWidth("Hi");
    const int height = MeasureTextHeight("Hi");
    EXPECT_EQ(MeasureTextHeight("Hi, and wider"), height);
    SetTargetOrigin(10, 5);
    WritePixel(0, 0, kRed);
    EXPECT_EQ(At(10, 5), Pixel(kRed));
    SetTargetScale(2, 2);
    float sx = 0, sy = 0;
    GetTargetScale(&sx, &sy);
    EXPECT_EQ((std::vector<float>{sx, sy}), (std::vector<float>{2, 2}));
    SetBrushColor(kGreen);
    PaintRectangle(0, 0, 4, 4);
    EXPECT_EQ(Bounds(kGreen), (RECT{10, 5, 19, 14}));
    // Logical sizes; the doubled font may be hinted a pixel or two differently.
    EXPECT_NEAR(MeasureTextWidth("Hi"), width, 3);
    EXPECT_NEAR(MeasureTextHeight("Hi"), height, 3);
    SetTargetOrigin(0, 0);
    SetTextForeground(kBlue);
    PrintAt(0, 0, "Hi");
    EXPECT_NEAR(Bounds(kBlue).right, 2 * width, 6);

    // Clearing writes the whole buffer whatever the clip region; erasing the
    // clip region leaves the transform in force.
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    SetClipRegion(region);
    DeleteObject(region);
    SetBackgroundColor(kWhite);
    ClearTarget();
    EXPECT_EQ(Count(kWhite), kSide * kSide);
    EraseClipRegion();
    WritePixel(1, 1, kRed);
    EXPECT_EQ(At(2, 2), Pixel(kRed));
}

TEST_F(Canvas, AnEmptyTargetTakesEveryOperationAndHasNoPixels)
{
    IMAGE empty(0, 0);
    SelectTarget(&empty);
    ClearTarget();
    EraseClipRegion();
    SetFillPattern(std::vector<uint8_t>(8, 0xF0).data());
    EraseRectangle(0, 0, 10, 10);
    PrintAt(0, 0, "text");
    EXPECT_EQ(GetTargetWidth() + GetTargetHeight(), 0);
    EXPECT_EQ(empty.pixels, nullptr);
    EXPECT_EQ(Count(0), kSide * kSide);
}

TEST_F(Canvas, GetTextFontReturnsWhatTheSettersSet)
{
    LOGFONTA font;
    SetTextFont(25, 0, "Arial");
    GetTextFont(&font);
    EXPECT_EQ((std::vector<long>{font.lfHeight, font.lfWidth, font.lfWeight, font.lfCharSet, font.lfQuality}),
              (std::vector<long>{25, 0, 0, DEFAULT_CHARSET, NONANTIALIASED_QUALITY}));
    EXPECT_STREQ(font.lfFaceName, "Arial");
    SetTextFont(12, 6, nullptr);
    GetTextFont(&font);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfWidth, 6);
    SetTextFontStyled(20, 0, "Courier New", 0, 0, FW_BOLD, 1, 1, 0);
    GetTextFont(&font);
    EXPECT_EQ((std::vector<long>{font.lfWeight, font.lfItalic, font.lfUnderline, font.lfQuality}),
              (std::vector<long>{FW_BOLD, 1, 1, NONANTIALIASED_QUALITY}));

    // A face of 32 bytes or more is cut to 31; no face gives an empty name.
    const std::string longFace(40, 'F');
    SetTextFontFull(18, 0, longFace.c_str(), 0, 0, 0, 0, 0, 0, OEM_CHARSET, OUT_TT_PRECIS, 0, ANTIALIASED_QUALITY,
                    FF_SWISS);
    GetTextFont(&font);
    EXPECT_EQ(std::string(font.lfFaceName), longFace.substr(0, 31));
    EXPECT_EQ((std::vector<long>{font.lfCharSet, font.lfOutPrecision, font.lfQuality, font.lfPitchAndFamily}),
              (std::vector<long>{OEM_CHARSET, OUT_TT_PRECIS, ANTIALIASED_QUALITY, FF_SWISS}));
    SetTextFontFull(18, 0, nullptr, 0, 0, 0, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0);
    GetTextFont(&font);
    EXPECT_STREQ(font.lfFaceName, "");
}

TEST_F(Canvas, TextIsDrawnFromItsBytesAndAdvancesTheCurrentPosition)
{
    SetCurrentPosition(2, 20);
    PrintAtCurrent("ab");
    EXPECT_EQ((std::vector<int>{GetCurrentX(), GetCurrentY()}), (std::vector<int>{2 + MeasureTextWidth("ab"), 20}));

    // Two GBK characters, four bytes, drawn exactly as the raw bytes are.
    const char gbk[] = "\xC4\xE3\xBA\xC3";
    SetTextForeground(kRed);
    Fill(0);
    PrintAt(1, 1, gbk);
    EXPECT_GT(Count(kRed), 0);
    EXPECT_GT(MeasureTextWidth(gbk), MeasureTextWidth("\xC4\xE3"));
    EXPECT_TRUE(MatchesPlatformDrawing([&](HDC dc) {
        SetTextColor(dc, kRed);
        TextOutA(dc, 1, 1, gbk, 4);
    }));

    // Measuring in a rectangle writes the text's box back and draws nothing.
    Fill(0);
    RECT box = {5, 5, 40, 40};
    const int height = PrintInRect("Hi", &box, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom, Count(0)}),
              (std::vector<LONG>{5, 5, 5 + MeasureTextWidth("Hi"), 5 + height, kSide * kSide}));
}
