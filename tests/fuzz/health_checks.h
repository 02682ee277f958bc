// What the randomised test checks between operations and after sequences:
// live GDI objects by type, the consistency of an image's storage and state,
// and a window that still answers.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "tovax.h"

// Live GDI objects of this process, by object type (OBJ_PEN = 1 ... OBJ_COLORSPACE = 14).
// Where the platform keeps a handle table that answers for every slot, the
// table is counted type by type; elsewhere slot 0 holds the platform's total.
struct GdiCensus {
    std::array<int, 16> byType{};

    static GdiCensus Take();
    bool operator==(const GdiCensus& other) const { return byType == other.byType; }
    bool operator!=(const GdiCensus& other) const { return !(*this == other); }
    std::string Describe() const;
};

// Empty when `image` is consistent: with either size 0 no storage and no
// pixels; otherwise a 32-bit DIB section of exactly width x height
// whose bits are `pixels`, selected into its memory device context, with a
// live pen, brush and font, and style records that keep their invariants.
// Otherwise what is wrong. Pattern images are checked as well.
std::string ImageProblem(const IMAGE& image);

// True when the window's thread answers a message within `milliseconds`.
bool WindowAnswers(HWND window, UINT milliseconds);
