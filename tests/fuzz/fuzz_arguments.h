// Random arguments for the library's operations: ordinary values most of the
// time, and the extremes the interface allows the rest of the time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "fuzz_random.h"

namespace FuzzArguments {

// Any 32-bit coordinate: near a small target, or an extreme.
int Coordinate(FuzzRandom& random);
// A coordinate whose magnitude stays below `reach`.
int CoordinateWithin(FuzzRandom& random, int reach);
// A relative move or a radius: small, zero, negative or extreme.
int Offset(FuzzRandom& random);

struct Size {
    int width;
    int height;
};
// An image size: empty, negative, small, large, or too large to allocate.
// Sizes that succeed stay below a few tens of megabytes.
Size ImageSize(FuzzRandom& random);
// A window size: small, zero or negative.
Size WindowSize(FuzzRandom& random);

// A rectangle of Coordinate corners, in any order.
RECT Rectangle(FuzzRandom& random);

COLORREF Color(FuzzRandom& random);
double Angle(FuzzRandom& random);
float Scale(FuzzRandom& random);
// A ternary raster operation: the named ones, any index with any low word,
// and arbitrary 32-bit values.
DWORD RasterOperation(FuzzRandom& random);
// A binary (ROP2) mix mode, in range or not.
int MixMode(FuzzRandom& random);
// Background modes and polygon fill modes, in range or not.
int SmallMode(FuzzRandom& random);

// Pen style bits: every kind, end cap and join, valid or not.
uint32_t PenStyle(FuzzRandom& random);
int PenThickness(FuzzRandom& random);
// Fills `dashes` (room for kMaxDashes) and returns how many it wrote.
constexpr uint32_t kMaxDashes = 24;
uint32_t Dashes(FuzzRandom& random, uint32_t* dashes);
int BrushKind(FuzzRandom& random);
int HatchKind(FuzzRandom& random);

// Writes a NUL-terminated text of up to `capacity` - 1 bytes: empty, short,
// several kilobytes, GBK, arbitrary bytes, tabs and line breaks.
void Text(FuzzRandom& random, char* text, size_t capacity);
// A face name: null, empty, installed, unknown, GBK, or 40 and more bytes.
// Points into static storage or into `scratch` (room for 256 bytes).
const char* Face(FuzzRandom& random, char* scratch);
// DrawText flags: random bits and the interesting combinations.
uint32_t TextFormat(FuzzRandom& random);
// A complete font record with a terminated face name.
LOGFONTA Font(FuzzRandom& random);
int FontHeight(FuzzRandom& random);
int FontWidth(FuzzRandom& random);

// A clip region (owned by the caller) or null.
HRGN Region(FuzzRandom& random);

// Resource type and name for LoadResourcePicture: the program's pictures,
// by number and by "#number", and names and types that do not exist.
LPCSTR PictureType(FuzzRandom& random);
LPCSTR PictureName(FuzzRandom& random);

}  // namespace FuzzArguments
