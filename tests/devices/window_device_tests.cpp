// The window device: mirroring to the window, batches, the repainting window
// thread, and the life of replaced pens, brushes and fonts.
#include <atomic>
#include <thread>

#include "canvas.h"
#include "gdi_census.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

HWND Window() { return Tovax::Graphics().window.hwnd; }
uint32_t BackBuffer(int x, int y) { return Tovax::Graphics().window.pixels[y * kWidth + x]; }

// The window's own pixels, read through its device context.
COLORREF OnWindow(int x, int y)
{
    HDC windowDC = GetDC(Window());
    const COLORREF color = GetPixel(windowDC, x, y);
    ReleaseDC(Window(), windowDC);
    return color;
}

}  // namespace

class WindowTarget : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_NE(OpenGraphWindow(kWidth, kHeight, 0), nullptr); }
    static void TearDownTestSuite() { CloseGraphWindow(); }
    void SetUp() override
    {
        SelectTarget(nullptr);
        ResetTargetState();
        SetRasterOp(R2_COPYPEN);
        ClearTarget();
    }
    void TearDown() override { EndBatch(); }
};

TEST_F(WindowTarget, DrawingReachesTheWindowAtOnceOutsideABatchAndAtFlushBatchInside)
{
    SetBrushColor(kRed);
    DrawFilledCircle(50, 50, 20);
    EXPECT_EQ(OnWindow(50, 50), kRed);
    EXPECT_EQ(ReadPixel(50, 50), kRed);

    BeginBatch();
    SetBrushColor(kGreen);
    DrawFilledCircle(100, 50, 20);
    SetBackgroundColor(kBlue);
    HRGN region = CreateRectRgn(0, 100, 10, 110);
    SetClipRegion(region);
    DeleteObject(region);
    EraseClipRegion();
    EXPECT_EQ(BackBuffer(100, 50), Pixel(kGreen));
    EXPECT_EQ(OnWindow(100, 50), 0u);
    EXPECT_EQ(OnWindow(5, 105), kBlue);
    SetClipRegion(nullptr);
    FlushBatch();
    EXPECT_EQ(OnWindow(100, 50), kGreen);
    EndBatch();
    ClearTarget();
    EXPECT_EQ(OnWindow(100, 50), kBlue);
}

TEST_F(WindowTarget, StateChangesReachBothContextsInABatch)
{
    Tovax::GraphicsState& state = Tovax::Graphics();
    BeginBatch();
    SetPenColor(kBlue);
    ApplyFillStyle(BS_HATCHED, HS_CROSS, nullptr);
    SetTextFont(20, 0, "Arial");
    SetTextForeground(kRed);
    SetBackgroundColor(kGreen);
    SetBackgroundMode(TRANSPARENT);
    SetRasterOp(R2_XORPEN);
    SetFillRule(WINDING);
    SetTargetOrigin(3, 4);
    SetTargetScale(2, 1);
    DrawLine(0, 0, 50, 50);
    for (int kind : {OBJ_PEN, OBJ_BRUSH, OBJ_FONT}) {
        EXPECT_EQ(GetCurrentObject(state.windowDC, kind), GetCurrentObject(state.targetDC, kind));
    }
    for (HDC dc : {state.targetDC, state.windowDC}) {
        XFORM transform;
        GetWorldTransform(dc, &transform);
        POINT position;
        GetCurrentPositionEx(dc, &position);
        EXPECT_EQ((std::vector<DWORD>{GetTextColor(dc), GetBkColor(dc), DWORD(GetBkMode(dc)), DWORD(GetROP2(dc)),
                                      DWORD(GetPolyFillMode(dc)), DWORD(transform.eM11), DWORD(transform.eDy),
                                      DWORD(position.x), DWORD(position.y)}),
                  (std::vector<DWORD>{kRed, kGreen, TRANSPARENT, R2_XORPEN, WINDING, 2, 4, 50, 50}));
    }
    EndBatch();
    ResetTargetState();
    SetPenColor(kBlue);
    DrawLine(0, 60, 100, 60);
    EXPECT_EQ(OnWindow(40, 60), kBlue);
}

TEST_F(WindowTarget, DrawingWhileTheWindowRepaintsNeverShowsHalfAPrimitive)
{
    std::atomic<bool> done{false};
    std::atomic<int> captures{0};
    std::atomic<int> torn{0};
    IMAGE shown(kWidth, kHeight);
    std::thread repainter([&] {
        HDC windowDC = GetDC(Window());
        while (!done) {
            RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            BitBlt(shown.dc, 0, 0, kWidth, kHeight, windowDC, 0, 0, SRCCOPY);
            torn += std::count(shown.pixels, shown.pixels + kWidth * kHeight, shown.pixels[0]) != kWidth * kHeight;
            ++captures;
        }
        ReleaseDC(Window(), windowDC);
    });
    // Each rectangle toggles the whole window between black and red. A context
    // used by two threads at once refuses the call, so a missing lock also
    // shows up as lost drawing.
    int lost = 0;
    ApplyLineStyle(PS_NULL, 1, nullptr, 0);
    SetBrushColor(kRed);
    SetRasterOp(R2_XORPEN);
    for (int i = 0; i < 3000 || captures < 50; ++i) {
        if (i % 500 == 0) (i / 500) % 2 ? EndBatch() : BeginBatch();
        DrawFilledRectangle(0, 0, kWidth, kHeight);
        lost += BackBuffer(kWidth - 1, kHeight - 1) != (i % 2 ? 0u : Pixel(kRed));
    }
    done = true;
    repainter.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(lost, 0);
}

TEST_F(WindowTarget, ReplacedPensBrushesAndFontsAreDeleted)
{
    IMAGE image(8, 8);
    const uint8_t rows[8] = {0x0F, 0xF0, 0x0F, 0xF0, 0x0F, 0xF0, 0x0F, 0xF0};
    for (IMAGE* target : {static_cast<IMAGE*>(nullptr), &image}) {
        SelectTarget(target);
        const HDC dc = target ? target->dc : Tovax::Graphics().window.clientDC;
        std::vector<HGDIOBJ> replaced;
        int before = 0;
        for (int i = 0; i < 1000; ++i) {
            if (i < 2) {
                for (int kind : {OBJ_PEN, OBJ_BRUSH, OBJ_FONT}) replaced.push_back(GetCurrentObject(dc, kind));
            }
            if (i == 1) before = GdiCensus::Take().Total();
            SetPenColor(i);
            SetBrushColor(i);
            ApplyFillStyle(BS_HATCHED, i % 6, nullptr);
            SetBrushColor(i);
            SetFillPattern(rows);
            ApplyFillStyle(BS_DIBPATTERN, 0, &image);
            SetTextFont(10 + i % 20, 0, "Arial");
            EraseCircle(4, 4, 3);
            EraseClipRegion();
        }
        EXPECT_LE(GdiCensus::Take().Total(), before + 8);
        for (HGDIOBJ object : replaced) EXPECT_EQ(GetObjectType(object), 0u);
    }
}
