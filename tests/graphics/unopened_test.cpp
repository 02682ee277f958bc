// The graphics state before any window exists: these run in a process that
// never opens one.
#include <gtest/gtest.h>

#include "graphics_state.h"

namespace {

TEST(UnopenedGraphics, BackBufferIsEmptyAndNothingIsCurrent)
{
    EXPECT_EQ(GetPixelBuffer(nullptr), nullptr);
    EXPECT_EQ(Tovax::Graphics().device, nullptr);
    EXPECT_EQ(Tovax::Graphics().target, nullptr);
}

TEST(UnopenedGraphics, CallsWithoutACurrentDeviceAreIgnored)
{
    ClearTarget();
    SetPenColor(0x123456);
    EXPECT_EQ(GetPenColor(), 0u);
    EXPECT_EQ(GetTargetWidth(), 0);
    BeginBatch();
    FlushBatch();
    EndBatch();
    EXPECT_FALSE(Tovax::Graphics().window.batching);
}

TEST(UnopenedGraphics, ResizingTheBackBufferWithoutAWindowSkipsTheWindow)
{
    Tovax::Graphics().window.Resize(30, 20);
    EXPECT_EQ(Tovax::Graphics().window.width, 30);
    EXPECT_NE(GetPixelBuffer(nullptr), nullptr);
}

}  // namespace
