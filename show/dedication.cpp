#include "dedication.h"

#include <tovax.h>

#include <cmath>

#include "show_clock.h"
#include "show_input.h"

// The words chosen when the program is built.
#include "greeting_texts.h"

// 楷体
const char kDedicationFace[] = "\xBF\xAC\xCC\xE5";
const char kDedicationTo[] = GREETING_DEDICATION_TO;
const char kDedicationName[] = GREETING_DEDICATION_NAME;
const char kEnterPrompt[] = ">Enter";

const char* const kPageLines[kPageLineCount] = {
    GREETING_PAGE_LINE_1, GREETING_PAGE_LINE_2, GREETING_PAGE_LINE_3, GREETING_PAGE_LINE_4,
    GREETING_PAGE_LINE_5, GREETING_PAGE_LINE_6, GREETING_PAGE_LINE_7, GREETING_PAGE_LINE_8,
};

const char kClosingWish[] = GREETING_CLOSING_WISH;

namespace {

constexpr COLORREF kDedicationColor = 0x55FFFF;  // light yellow

constexpr int kAnimationSteps = 50;
constexpr double kFullTurn = 6.2831853096;
constexpr double kStepsPerTurn = 60.0;
constexpr int kCircleCenterX = 600;
constexpr int kCircleCenterY = 200;
constexpr double kCircleRadius = 180.0;
constexpr int kFirstLineLeftShift = 130;
constexpr int kSecondLineDrop = 100;
constexpr uint32_t kStepMilliseconds = 25;

constexpr int kPageFontHeight = 25;
constexpr int kPageLeft = 200;
constexpr int kPageTop = 150;
constexpr int kPageLineSpacing = 50;
constexpr int kPromptX = 500;
constexpr int kFirstPromptY = 550;
constexpr int kWishX = 500;
constexpr int kWishY = 550;
constexpr int kSecondPromptY = 650;

// Whatever the system's ANSI code page, the text functions decode the bytes
// by the font's character set: select GB2312 once, and every later
// SetTextFont keeps it.
void SelectChineseFont()
{
    SetTextFontFull(0, 0, kDedicationFace, 0, 0, 0, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    NONANTIALIASED_QUALITY, DEFAULT_PITCH);
}

}  // namespace

POINT DedicationCirclePoint(int step)
{
    const double angle = step * kFullTurn / kStepsPerTurn;
    const int x = kCircleCenterX - static_cast<int>(std::sin(angle) * -kCircleRadius);
    const int y = kCircleCenterY - static_cast<int>(std::cos(angle) * -kCircleRadius);
    return POINT{x, y};
}

void ShowDedication()
{
    SetDrawColor(kDedicationColor);
    SelectChineseFont();
    for (int step = 0; step < kAnimationSteps; ++step) {
        const POINT point = DedicationCirclePoint(step);
        ClearTarget();
        SetTextFont(step, 0, kDedicationFace);
        PrintAt(point.x - kFirstLineLeftShift, point.y, kDedicationTo);
        PrintAt(point.x, point.y + kSecondLineDrop, kDedicationName);
        ShowSleep(kStepMilliseconds);
    }
    PrintAt(kPromptX, kFirstPromptY, kEnterPrompt);
    ShowWaitForLine();

    ClearTarget();
    SetTextFont(kPageFontHeight, 0, kDedicationFace);
    for (int n = 0; n < kPageLineCount; ++n) {
        PrintAt(kPageLeft, kPageTop + kPageLineSpacing * n, kPageLines[n]);
    }
    PrintAt(kWishX, kWishY, kClosingWish);
    PrintAt(kPromptX, kSecondPromptY, kEnterPrompt);
    ShowWaitForLine();
}
