// What the randomised test checks between operations and after sequences:
// live GDI objects by type, the consistency of an image's storage and state,
// and a window that still answers.
#pragma once

#include <windows.h>

#include <string>

#include "gdi_census.h"
#include "tovax.h"

// Empty when `image` is consistent: with either size 0 no storage and no
// pixels; otherwise a 32-bit DIB section of exactly width x height
// whose bits are `pixels`, selected into its memory device context, with a
// live pen, brush and font, and style records that keep their invariants.
// Otherwise what is wrong. Pattern images are checked as well.
std::string ImageProblem(const IMAGE& image);

// True when the window's thread answers a message within `milliseconds`.
bool WindowAnswers(HWND window, UINT milliseconds);
