// Measures the show's frame work and presenting against their floors: a bare
// BitBlt of a 1200 x 800 buffer to a window and a memcpy of the same bytes.
// Run by scripts/bench.sh in the virtual display; prints one table.
#include "tovax.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bursts.h"
#include "darken.h"
#include "launch.h"
#include "records.h"
#include "show_clock.h"
#include "volley.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 800;
constexpr int kFrames = 3000;

LARGE_INTEGER frequency;

double NowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Each frame is 11 ms later, as in the show (10 ms sleep plus the work).
uint32_t benchTime = 1000;
uint32_t BenchClock() { return benchTime; }

struct Percentiles {
    double p50;
    double p99;
};

Percentiles Measure(std::vector<double>& samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[samples.size() * 99 / 100]};
}

// Keeps all thirteen bursts in progress: a burst that ends starts again.
void KeepBursting()
{
    for (int i = 0; i < FireworkCount; ++i) {
        if (!fireworks[i].bursting && !launchers[i].rising) {
            fireworks[i].bursting = 1;
            fireworks[i].centerX = 100 + i * 80;
            fireworks[i].centerY = 300;
        }
    }
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// The floor of presenting: one BitBlt of a 1200 x 800 DIB to a plain window,
// and, with `reveal`, the look at the message queue that brings it to the
// screen where the platform needs one.
Percentiles BareBitBlt(bool reveal)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BenchFloor";
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, kWidth, kHeight};
    AdjustWindowRect(&outer, WS_CAPTION | WS_SYSMENU, FALSE);
    HWND window =
        CreateWindowA("BenchFloor", "floor", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    // Let the window reach the screen before timing what reaches it.
    const DWORD shown = GetTickCount();
    MSG message;
    while (GetTickCount() - shown < 500) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
    IMAGE buffer(kWidth, kHeight);
    HDC windowDC = GetDC(window);
    std::vector<double> samples;
    for (int i = 0; i < kFrames; ++i) {
        buffer.pixels[i % (kWidth * kHeight)] = static_cast<uint32_t>(i);
        const double start = NowMs();
        BitBlt(windowDC, 0, 0, kWidth, kHeight, buffer.dc, 0, 0, SRCCOPY);
        if (reveal) PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        samples.push_back(NowMs() - start);
    }
    ReleaseDC(window, windowDC);
    DestroyWindow(window);
    return Measure(samples);
}

Percentiles BareMemcpy()
{
    std::vector<uint32_t> source(kWidth * kHeight, 0x123456), destination(kWidth * kHeight);
    std::vector<double> samples;
    for (int i = 0; i < kFrames; ++i) {
        source[i % source.size()] = static_cast<uint32_t>(i);
        const double start = NowMs();
        std::memcpy(destination.data(), source.data(), source.size() * sizeof(uint32_t));
        samples.push_back(NowMs() - start);
    }
    return Measure(samples);
}

void Row(const char* what, Percentiles value, const char* note)
{
    std::printf("%-44s %8.3f %8.3f   %s\n", what, value.p50, value.p99, note);
}

}  // namespace

int main()
{
    QueryPerformanceFrequency(&frequency);
    FILETIME created, unused1, unused2, unused3;
    GetProcessTimes(GetCurrentProcess(), &created, &unused1, &unused2, &unused3);
    FILETIME nowFile;
    GetSystemTimeAsFileTime(&nowFile);
    const double sinceCreation =
        static_cast<double>((ULARGE_INTEGER{{nowFile.dwLowDateTime, nowFile.dwHighDateTime}}.QuadPart -
                             ULARGE_INTEGER{{created.dwLowDateTime, created.dwHighDateTime}}.QuadPart)) /
        10000.0;
    const double mainStart = NowMs();

    OpenGraphWindow(kWidth, kHeight, 0);
    SetShowClock(BenchClock);
    uint32_t lastLaunchTime = ShowClock();
    uint32_t lastVolleyTime = ShowClock();
    uint32_t* pixels = GetPixelBuffer(nullptr);
    for (int i = 0; i < FireworkCount; ++i) InitFirework(i);
    const double loadStart = NowMs();
    LoadShowAssets();
    const double loadTime = NowMs() - loadStart;
    BeginBatch();
    FlushBatch();
    const double firstFrame = sinceCreation + (NowMs() - mainStart);

    std::vector<double> frameWork, present;
    for (int frame = 0; frame < kFrames; ++frame) {
        benchTime += 11;
        KeepBursting();
        const double start = NowMs();
        DarkenRandomPixels(pixels);
        LaunchRandomFirework(lastLaunchTime);
        StepLaunchers();
        RenderBursts(pixels);
        FireFormationVolley(lastVolleyTime);
        const double presentStart = NowMs();
        FlushBatch();
        const double end = NowMs();
        frameWork.push_back(end - start);
        present.push_back(end - presentStart);
    }
    const Percentiles frameWorkTimes = Measure(frameWork);
    const Percentiles presentTimes = Measure(present);
    const Percentiles bitBlt = BareBitBlt(false);
    const Percentiles shownBitBlt = BareBitBlt(true);
    const Percentiles copy = BareMemcpy();

    std::printf("%-44s %8s %8s\n", "measure (ms)", "p50", "p99");
    Row("frame work (13 bursts, launches, volley)", frameWorkTimes, "target: p99 < 1.5");
    Row("present alone (FlushBatch)", presentTimes, "target: within 1.3 x bare BitBlt");
    Row("floor: bare BitBlt 1200 x 800 to a window", bitBlt, "");
    Row("floor: the same BitBlt brought to the screen", shownBitBlt, "");
    Row("floor: memcpy of 3.84 MB", copy, "");
    std::printf("%-44s %8.1f\n", "LoadShowAssets", loadTime);
    std::printf("%-44s %8.1f\n", "process start to first presented frame", firstFrame);
    std::printf("present / floor brought to the screen at p50: %.2f\n", presentTimes.p50 / shownBitBlt.p50);
    CloseGraphWindow();
    return 0;
}
