// The process-wide state of the graphics layer and its one lock.
#pragma once

#include "devices/draw_on_wnd.h"
#include "graph_wnd.h"

namespace Tovax {

// A critical section that lives exactly as long as its owner.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section); }
    ~CriticalSection() { DeleteCriticalSection(&section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void Enter() { EnterCriticalSection(&section); }
    void Leave() { LeaveCriticalSection(&section); }

private:
    CRITICAL_SECTION section;
};

// Declared first, `lock` is destroyed last: the window's tear-down may still
// take it.
struct GraphicsState {
    GraphicsState();
    ~GraphicsState();
    GraphicsState(const GraphicsState&) = delete;
    GraphicsState& operator=(const GraphicsState&) = delete;

    CriticalSection lock;
    HDC windowDC = nullptr;
    HDC targetDC = nullptr;
    GraphWnd window;
    IMAGE* target = nullptr;
    DrawOnImg imageDevice;
    DrawOnWnd windowDevice;
    DrawOnImg* device = nullptr;
    XFORM identityTransform = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
};

GraphicsState& Graphics();

// Holds the graphics state's lock for its scope.
class LockGuard {
public:
    LockGuard() { Graphics().lock.Enter(); }
    ~LockGuard() { Graphics().lock.Leave(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;
};

// The window device when the window is the current target, else null.
DrawOnWnd* CurrentWindowDevice();

inline bool IsIdentity(const XFORM& transform)
{
    return transform.eM11 == 1.0f && transform.eM12 == 0.0f && transform.eM21 == 0.0f && transform.eM22 == 1.0f &&
           transform.eDx == 0.0f && transform.eDy == 0.0f;
}

// Colour reference 0x00BBGGRR <-> pixel 0x00RRGGBB: red and blue exchanged.
inline uint32_t ColorToPixel(uint32_t color)
{
    return (color & 0xFF00FF00u) | ((color & 0xFFu) << 16) | ((color >> 16) & 0xFFu);
}

}  // namespace Tovax
