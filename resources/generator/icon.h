#pragma once
// The program's icon: a firework bursting over a night-blue tile.

#include "byte_writer.h"

namespace media {

// An .ico file with 16, 24, 32, 48 and 64 pixel bitmaps and a 256 pixel PNG.
Bytes BuildIcon();

}  // namespace media
