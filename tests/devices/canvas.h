// A 40 x 40 image selected as the drawing target, with pixel read-back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "graphics_state.h"

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrey = 0x404040;
constexpr int kSide = 40;

inline uint32_t Pixel(COLORREF color) { return Tovax::ColorToPixel(color); }

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }

// kSide x kSide pixels, 0x00RRGGBB, read back from a target or a screen.
struct Shot {
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[y * kSide + x]; }
    int Count(COLORREF color) const { return int(std::count(pixels.begin(), pixels.end(), Pixel(color))); }
    // Smallest box, edges included, holding every pixel of the colour.
    RECT Bounds(COLORREF color) const
    {
        RECT box = {kSide, kSide, -1, -1};
        for (int i = 0; i < kSide * kSide; ++i) {
            if (pixels[i] != Pixel(color)) continue;
            box = {std::min<LONG>(box.left, i % kSide), std::min<LONG>(box.top, i / kSide),
                   std::max<LONG>(box.right, i % kSide), std::max<LONG>(box.bottom, i / kSide)};
        }
        return box;
    }
};

// The top-left kSide x kSide corner of a pixel buffer with rows of `stride` pixels.
inline Shot Corner(const uint32_t* pixels, int stride)
{
    Shot shot;
    for (const uint32_t* row = pixels; row < pixels + kSide * stride; row += stride) {
        shot.pixels.insert(shot.pixels.end(), row, row + kSide);
    }
    return shot;
}

class Canvas : public ::testing::Test {
protected:
    void SetUp() override { SelectTarget(&image); }
    void TearDown() override { SelectTarget(nullptr); }

    void Fill(COLORREF color) { std::fill_n(image.pixels, kSide * kSide, Pixel(color)); }
    Shot Taken() const { return Corner(image.pixels, kSide); }
    uint32_t At(int x, int y) const { return image.pixels[y * kSide + x]; }
    int Count(COLORREF color) const { return Taken().Count(color); }
    RECT Bounds(COLORREF color) const { return Taken().Bounds(color); }
    // The image equals what a raw GDI call draws on a black image with the
    // target's colours as a geometric pen and a solid brush.
    bool MatchesPlatformDrawing(const std::function<void(HDC)>& call)
    {
        IMAGE reference(kSide, kSide);
        LOGBRUSH penBrush = {BS_SOLID, GetPenColor(), 0};
        DeleteObject(SelectObject(reference.dc, ExtCreatePen(PS_GEOMETRIC, 1, &penBrush, 0, nullptr)));
        DeleteObject(SelectObject(reference.dc, CreateSolidBrush(GetBrushColor())));
        call(reference.dc);
        return std::equal(image.pixels, image.pixels + kSide * kSide, reference.pixels);
    }

    IMAGE image{kSide, kSide};
};
