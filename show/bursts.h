// Burst rendering: each bursting firework reveals its photograph ring by ring
// straight in the back buffer's pixels.
#pragma once

#include <cstdint>

// pixels: the 1200 x 800 back buffer, 0x00RRGGBB, row 0 at the top.
void RenderBursts(uint32_t* pixels);
