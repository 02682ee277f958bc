// The show after the dedication: its preparation and its frame loop.
#pragma once

#include <cstdint>

// Sets both times, puts the thirteen fireworks into their idle state, loads
// their pictures and opens the batch; returns the back buffer's pixels.
uint32_t* PrepareShow(uint32_t& lastLaunchTime, uint32_t& lastVolleyTime);

// One frame: pause, darken, launch, ascend, burst, volley, present.
void PlayFrame(uint32_t* pixels, uint32_t& lastLaunchTime, uint32_t& lastVolleyTime);

// Plays frames until a key is waiting in the console input.
void PlayShow(uint32_t* pixels, uint32_t& lastLaunchTime, uint32_t& lastVolleyTime);
