// The window device: mirroring to the window, batches, the repainting window
// thread, and the life of replaced pens, brushes and fonts.
#include <atomic>
#include <numeric>
#include <thread>

#include "gdi_census.h"
#include "operations.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

HWND Window() { return Tovax::Graphics().window.hwnd; }
uint32_t BackBuffer(int x, int y) { return Tovax::Graphics().window.pixels[y * kWidth + x]; }

// The corner of the window as the window's own device context shows it.
Shot OnScreen()
{
    IMAGE capture(kSide, kSide);
    HDC windowDC = GetDC(Window());
    BitBlt(capture.dc, 0, 0, kSide, kSide, windowDC, 0, 0, SRCCOPY);
    ReleaseDC(Window(), windowDC);
    GdiFlush();
    return Corner(capture.pixels, kSide);
}

Shot InBackBuffer() { return Corner(Tovax::Graphics().window.pixels, kWidth); }

int Differences(const Shot& a, const Shot& b)
{
    return int(std::inner_product(a.pixels.begin(), a.pixels.end(), b.pixels.begin(), 0, std::plus<>(),
                                  std::not_equal_to<>()));
}

}  // namespace

class WindowTarget : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_NE(OpenGraphWindow(kWidth, kHeight, 0), nullptr); }
    static void TearDownTestSuite() { CloseGraphWindow(); }
    void SetUp() override { Restart(); }
    void TearDown() override { EndBatch(); }
    // The window's defaults on a black back buffer and a black window.
    static void Restart()
    {
        SelectTarget(nullptr);
        ResetTargetState();
        SetRasterOp(R2_COPYPEN);
        SetFillRule(ALTERNATE);
        ClearTarget();
    }
};

TEST_F(WindowTarget, OperationsDrawAsOnAnImageAndReachTheWindowOutsideABatchOnly)
{
    const Shot black{std::vector<uint32_t>(kSide * kSide, 0)};
    for (const Operation& operation : AllOperations()) {
        SCOPED_TRACE(operation.name);
        IMAGE image(kSide, kSide);
        SelectTarget(&image);
        StartColours();
        operation.draw();
        const Shot expected = Corner(image.pixels, kSide);
        for (bool batch : {false, true}) {
            SCOPED_TRACE(batch ? "in a batch" : "outside a batch");
            Restart();
            if (batch) BeginBatch();
            StartColours();
            operation.draw();
            EXPECT_EQ(Differences(InBackBuffer(), expected), 0);
            EXPECT_EQ(Differences(OnScreen(), batch && !operation.shownInBatch ? black : expected), 0);
            if (!batch) continue;
            // ReadPixel reads the back buffer, not the window.
            ResetTargetState();
            const auto drawn =
                std::find_if(expected.pixels.begin(), expected.pixels.end(), [](uint32_t p) { return p != 0; });
            const int at = int(drawn - expected.pixels.begin());
            if (drawn != expected.pixels.end()) {
                EXPECT_EQ(Pixel(ReadPixel(at % kSide, at / kSide)), *drawn);
            }
            FlushBatch();
            EXPECT_EQ(Differences(OnScreen(), expected), 0);
            SetBackgroundColor(kWhite);
            ClearTarget();  // shown at the next present only
            EXPECT_EQ(Differences(OnScreen(), expected), 0);
            EndBatch();
        }
    }
}

TEST_F(WindowTarget, StateChangesReachBothContextsInABatch)
{
    Tovax::GraphicsState& state = Tovax::Graphics();
    BeginBatch();
    SetPenColor(kBlue);
    ApplyFillStyle(BS_HATCHED, HS_CROSS, nullptr);
    SetBrushColor(kGreen);
    SetTextFont(20, 0, "Arial");
    SetTextForeground(kRed);
    SetBackgroundColor(kGreen);
    SetBackgroundMode(TRANSPARENT);
    SetRasterOp(R2_XORPEN);
    SetFillRule(WINDING);
    SetTargetOrigin(3, 4);
    SetTargetScale(2, 1);
    EXPECT_EQ(GetTextForeground(), kRed);
    for (POINT position : {POINT{50, 50}, POINT{7, 8}}) {
        position.x == 50 ? DrawLine(0, 0, 50, 50) : SetCurrentPosition(7, 8);
        for (int kind : {OBJ_PEN, OBJ_BRUSH, OBJ_FONT}) {
            EXPECT_EQ(GetCurrentObject(state.windowDC, kind), GetCurrentObject(state.targetDC, kind));
        }
        for (HDC dc : {state.targetDC, state.windowDC}) {
            XFORM transform;
            GetWorldTransform(dc, &transform);
            POINT at;
            GetCurrentPositionEx(dc, &at);
            EXPECT_EQ((std::vector<DWORD>{GetTextColor(dc), GetBkColor(dc), DWORD(GetBkMode(dc)), DWORD(GetROP2(dc)),
                                          DWORD(GetPolyFillMode(dc)), DWORD(transform.eM11), DWORD(transform.eDy),
                                          DWORD(at.x), DWORD(at.y)}),
                      (std::vector<DWORD>{kRed, kGreen, TRANSPARENT, R2_XORPEN, WINDING, 2, 4, DWORD(position.x),
                                          DWORD(position.y)}));
        }
    }
    EndBatch();
    ResetTargetState();
    SetPenColor(kRed);
    DrawLine(0, 30, 39, 30);
    EXPECT_EQ(OnScreen().Count(kRed), 39);
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
