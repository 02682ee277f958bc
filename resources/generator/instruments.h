#pragma once
// The synthesised voices of the music. Each renders one note as a mono
// signal at kSampleRate, starting at its attack and ending in silence.

#include <vector>

#include "random.h"

namespace media {

// A celesta-like bell: bright strike, long ring.
std::vector<double> Bell(double frequency, double velocity);

// A plucked harp string.
std::vector<double> Harp(double frequency, double velocity, Random& random);

// A soft string section note held for `seconds`; `spread` picks the detuning
// so that the left and right channels sound as different players.
std::vector<double> Strings(double frequency, double seconds, double velocity, double spread);

// A mellow horn-like lead with delayed vibrato.
std::vector<double> Horn(double frequency, double seconds, double velocity);

// A round plucked bass.
std::vector<double> Bass(double frequency, double seconds, double velocity);

// A soft bass drum.
std::vector<double> Drum(double velocity);

// Sleigh bells: a shake of small jingles.
std::vector<double> SleighBells(double velocity, Random& random);

// A soft cymbal swell that rings out.
std::vector<double> Cymbal(double velocity, Random& random);

}  // namespace media
