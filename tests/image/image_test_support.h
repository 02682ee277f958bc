// Shared helpers of the image tests: reference pixels read straight from the
// program's resources, and images with recognisable contents.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tovax.h"

// The pixels of an image, row 0 at the top.
inline std::vector<uint32_t> PixelsOf(const IMAGE& image)
{
    if (!image.pixels) return {};
    return std::vector<uint32_t>(image.pixels, image.pixels + static_cast<size_t>(image.width) * image.height);
}

// A pattern in which no two nearby pixels share a value; `seed` varies it.
inline void FillPattern(IMAGE& image, uint32_t seed)
{
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            image.pixels[y * image.width + x] = ((static_cast<uint32_t>(x * 5 + y * 11) + seed) & 0xFFu) << 16 |
                                                ((static_cast<uint32_t>(x * 3) ^ seed) & 0xFFu) << 8 |
                                                ((static_cast<uint32_t>(y * 7) + seed) & 0xFFu);
        }
    }
}

inline void FillWith(IMAGE& image, uint32_t pixel)
{
    std::fill(image.pixels, image.pixels + static_cast<size_t>(image.width) * image.height, pixel);
}

// The bytes of a resource of this program, as the resource section holds them.
inline std::vector<uint8_t> ResourceBytes(LPCSTR type, LPCSTR name)
{
    HMODULE program = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(program, name, type);
    if (!resource) return {};
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(program, resource)));
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(program, resource));
}

// A bottom-up 24-bit BMP file decoded by hand into 0x00RRGGBB pixels, top row first.
struct ReferencePicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

inline ReferencePicture DecodeBmp24(const std::vector<uint8_t>& file)
{
    ReferencePicture picture;
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return picture;
    uint32_t dataOffset;
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    std::memcpy(&dataOffset, &file[10], sizeof(dataOffset));
    std::memcpy(&width, &file[18], sizeof(width));
    std::memcpy(&height, &file[22], sizeof(height));
    std::memcpy(&bitCount, &file[28], sizeof(bitCount));
    if (bitCount != 24 || width <= 0 || height <= 0) return picture;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    if (file.size() < dataOffset + stride * height) return picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &file[dataOffset + stride * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const uint8_t* bgr = row + x * 3;
            picture.pixels[static_cast<size_t>(y) * width + x] =
                static_cast<uint32_t>(bgr[2]) << 16 | static_cast<uint32_t>(bgr[1]) << 8 | bgr[0];
        }
    }
    return picture;
}

inline ReferencePicture RocketSheet() { return DecodeBmp24(ResourceBytes("IMAGE", MAKEINTRESOURCEA(104))); }

// Brightness as the renderer judges it: the smallest of the three components.
inline int DimmestComponent(uint32_t pixel)
{
    const int red = (pixel >> 16) & 0xFF;
    const int green = (pixel >> 8) & 0xFF;
    const int blue = pixel & 0xFF;
    return red < green ? (red < blue ? red : blue) : (green < blue ? green : blue);
}
