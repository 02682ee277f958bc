// The graphics state: built before any other static object of the program
// and torn down after all of them.
#include "graphics_state.h"

#include <objbase.h>

namespace Tovax {

namespace {

#ifdef __GNUC__
// Constructed first, so its tear-down, registered first, runs last.
GraphicsState graphicsState __attribute__((init_priority(101)));
#else
#pragma init_seg(lib)
GraphicsState graphicsState;
#endif

}  // namespace

GraphicsState::GraphicsState()
{
    CoInitialize(nullptr);
    // Every GDI call of this thread reaches the pixels before it returns, so
    // GDI drawing and direct pixel writes take effect in program order.
    GdiSetBatchLimit(1);
}

GraphicsState::~GraphicsState() { CoUninitialize(); }

GraphicsState& Graphics() { return graphicsState; }

DrawOnWnd* CurrentWindowDevice()
{
    GraphicsState& state = Graphics();
    return state.device == &state.windowDevice ? &state.windowDevice : nullptr;
}

}  // namespace Tovax
