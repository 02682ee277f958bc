// The erosion that fades the sky back to black between bursts.
#pragma once

#include <cstdint>

// Blacks out up to 2000 random pixel pairs of the 1200 x 800 back buffer.
void DarkenRandomPixels(uint32_t* pixels);
