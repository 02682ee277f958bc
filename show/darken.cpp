#include "darken.h"

#include "screen.h"

#include <cstddef>
#include <cstdlib>

namespace {

constexpr int kDarkenAttempts = 2000;

}  // namespace

void DarkenRandomPixels(uint32_t* pixels)
{
    for (int attempt = 0; attempt < kDarkenAttempts; ++attempt) {
        const int x = rand() % kScreenWidth;
        const int y = rand() % kScreenHeight;
        // The pair's second pixel would lie past the buffer's end on the last row.
        if (y == kScreenHeight - 1) {
            continue;
        }
        uint32_t* pair = pixels + static_cast<ptrdiff_t>(y) * kScreenWidth + x;
        pair[0] = 0;
        pair[1] = 0;
    }
}
