// Where the platform draws in bounded time, for the randomised test's calls.
//
// Device extents where the platform's rasteriser still finishes in bounded
// time. Beyond them it stalls for minutes on curves (radii above about
// 700,000), corrupts its heap on arcs whose box spans 2^31, ends on a
// division by zero for polygons across the whole coordinate range, takes
// seconds for self-crossing polygons of a thousand points, takes time
// that grows with the square of the length for dashed lines (27 s for 100,000
// pixels), stalls on underlined or struck-out text whose device position
// overflows, divides by zero in block transfers whose transformed corners lie
// beyond the coordinate range, overflows its stack flood-filling a target of
// tens of thousands of rows, corrupts its heap drawing arcs with an
// inside-frame pen a thousand pixels wide, and spends seconds on pens and
// glyphs thousands of pixels wide.
// These limits apply to the geometry handed to the platform only; positions,
// sizes, origins and every other argument still take the whole range.
#pragma once

#include <windows.h>

#include <array>
#include <string>

constexpr double kCurveReach = 1 << 18;
constexpr double kPolygonReach = 1 << 28;
constexpr double kDashedReach = 2048;
constexpr double kCurvePenReach = 256;
constexpr double kStraightPenReach = 100000;
constexpr double kGlyphReach = 1500;
constexpr double kLinedTextReach = 1 << 28;
constexpr double kBlockReach = 1 << 28;
constexpr double kManyPointsReach = 1024;
constexpr int kCurveCoordinates = 200000;
constexpr int kFloodRows = 2048;

// Whether drawing at these logical points, with the current target's pen and
// transform, stays where the platform draws in bounded time. An infinite pen
// reach: the call draws without its outline.
bool PointsReachable(const POINT* points, int count, double reach, double penReach);
bool BoxReachable(const RECT& box, double reach, double penReach);
// Glyphs of the current font, drawn at these logical anchors.
bool GlyphsReachable(const POINT* anchors, int count);
// A block transfer at this logical block of the current target.
bool BlockReachable(int x, int y, int width, int height);
// The same for a block of `dc`, under its own transform.
bool BlockWithin(HDC dc, int x, int y, int width, int height);
// Under a world transform that shrinks text, the platform reports an average
// character width of 0, and its tab expansion then divides by it.
bool AverageCharacterWidthKnown();

std::array<POINT, 4> Corners(const RECT& box);
// The drawing state of a device context, for slow calls in a trace.
std::string DescribeContext(HDC dc);
