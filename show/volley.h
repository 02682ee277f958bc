// The heart-shaped formation volley, every twenty seconds.
#pragma once

#include <cstdint>

// Sends all thirteen launchers up from the formation, whatever each firework is
// doing, once more than 20 s have passed since the last volley.
void FireFormationVolley(uint32_t& lastVolleyTime);
