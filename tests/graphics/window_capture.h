// Reads back what a window shows, through its device context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "tovax.h"

// Lets the window thread finish the paint that showing the window queued, so
// that later captures see only what the test presents.
inline void SettleWindow(HWND window)
{
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    SendMessageA(window, WM_NULL, 0, 0);
    UpdateWindow(window);
}

// The window's client area as 0x00RRGGBB pixels, row 0 at the top.
inline std::vector<uint32_t> CaptureClient(HWND window, int width, int height)
{
    IMAGE capture(width, height);
    HDC windowDC = GetDC(window);
    BitBlt(capture.dc, 0, 0, width, height, windowDC, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDC);
    GdiFlush();
    return std::vector<uint32_t>(capture.pixels, capture.pixels + static_cast<size_t>(width) * height);
}

// Fills the back buffer with a pattern no two neighbouring pixels share.
inline void PaintTestPattern(uint32_t* pixels, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[y * width + x] = static_cast<uint32_t>((x * 7 + y * 13) & 0xFF) << 16 |
                                    static_cast<uint32_t>((x * 3) & 0xFF) << 8 | static_cast<uint32_t>(y & 0xFF);
        }
    }
}
