// The dedication screen shown before the fireworks.
#pragma once

#include <windows.h>

// The texts, GBK-encoded (code page 936). All but the face and the prompt are
// the words of the greeting file the program is built with.
extern const char kDedicationFace[];
extern const char kDedicationTo[];
extern const char kDedicationName[];
extern const char kEnterPrompt[];
constexpr int kPageLineCount = 8;
extern const char* const kPageLines[kPageLineCount];
extern const char kClosingWish[];

// Point of the circle at which animation step `step` places the dedication.
POINT DedicationCirclePoint(int step);

// Swings the dedication around its circle while it grows, waits for Enter,
// shows the page of text and waits for Enter again.
void ShowDedication();
