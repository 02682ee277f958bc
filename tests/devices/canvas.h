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

inline uint32_t Pixel(COLORREF color) { return Tovax::ColorToPixel(color); }

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }

class Canvas : public ::testing::Test {
protected:
    void SetUp() override { SelectTarget(&image); }
    void TearDown() override { SelectTarget(nullptr); }

    void Fill(COLORREF color) { std::fill_n(image.pixels, 1600, Pixel(color)); }
    uint32_t At(int x, int y) const { return image.pixels[y * 40 + x]; }
    int Count(COLORREF color) const { return int(std::count(image.pixels, image.pixels + 1600, Pixel(color))); }
    // Smallest box, edges included, holding every pixel of the colour.
    RECT Bounds(COLORREF color) const
    {
        RECT box = {40, 40, -1, -1};
        for (int i = 0; i < 1600; ++i) {
            if (image.pixels[i] != Pixel(color)) continue;
            box = {std::min<LONG>(box.left, i % 40), std::min<LONG>(box.top, i / 40),
                   std::max<LONG>(box.right, i % 40), std::max<LONG>(box.bottom, i / 40)};
        }
        return box;
    }
    // The image equals what a raw GDI call draws on a black image with the
    // target's colours as a geometric pen and a solid brush.
    bool MatchesPlatformDrawing(const std::function<void(HDC)>& call)
    {
        IMAGE reference(40, 40);
        LOGBRUSH penBrush = {BS_SOLID, GetPenColor(), 0};
        DeleteObject(SelectObject(reference.dc, ExtCreatePen(PS_GEOMETRIC, 1, &penBrush, 0, nullptr)));
        DeleteObject(SelectObject(reference.dc, CreateSolidBrush(GetBrushColor())));
        call(reference.dc);
        return std::equal(image.pixels, image.pixels + 1600, reference.pixels);
    }

    IMAGE image{40, 40};
};
