#include "dedication.h"

#include <tovax.h>

#include <cmath>
#include <cstdio>

// 楷体
const char kDedicationFace[] = "\xBF\xAC\xCC\xE5";
// 谨献给：
const char kDedicationTo[] = "\xBD\xF7\xCF\xD7\xB8\xF8\xA3\xBA";
// 美丽的XXX！
const char kDedicationName[] = "\xC3\xC0\xC0\xF6\xB5\xC4XXX\xA3\xA1";
const char kEnterPrompt[] = ">Enter";

const char* const kPageLines[kPageLineCount] = {
    // 有了友情，就少了许多烦忧;阴郁的叶子，便不会落在土里，
    "\xD3\xD0\xC1\xCB\xD3\xD1\xC7\xE9\xA3\xAC\xBE\xCD\xC9\xD9\xC1\xCB\xD0\xED\xB6\xE0\xB7\xB3\xD3\xC7;\xD2\xF5\xD3\xF4\xB5\xC4\xD2\xB6\xD7\xD3\xA3\xAC\xB1\xE3\xB2\xBB\xBB\xE1\xC2\xE4\xD4\xDA\xCD\xC1\xC0\xEF\xA3\xAC",
    // 而会漂浮在水面上，向远方漂流。
    "           \xB6\xF8\xBB\xE1\xC6\xAF\xB8\xA1\xD4\xDA\xCB\xAE\xC3\xE6\xC9\xCF\xA3\xAC\xCF\xF2\xD4\xB6\xB7\xBD\xC6\xAF\xC1\xF7\xA1\xA3",
    // 友谊和花香一样，还是淡一点的比较好，越淡的香气越使人依恋，也越能持久。
    "\xD3\xD1\xD2\xEA\xBA\xCD\xBB\xA8\xCF\xE3\xD2\xBB\xD1\xF9\xA3\xAC\xBB\xB9\xCA\xC7\xB5\xAD\xD2\xBB\xB5\xE3\xB5\xC4\xB1\xC8\xBD\xCF\xBA\xC3\xA3\xAC\xD4\xBD\xB5\xAD\xB5\xC4\xCF\xE3\xC6\xF8\xD4\xBD\xCA\xB9\xC8\xCB\xD2\xC0\xC1\xB5\xA3\xAC\xD2\xB2\xD4\xBD\xC4\xDC\xB3\xD6\xBE\xC3\xA1\xA3",
    // 越淡的香气越使人依恋，也越能持久。
    "           \xD4\xBD\xB5\xAD\xB5\xC4\xCF\xE3\xC6\xF8\xD4\xBD\xCA\xB9\xC8\xCB\xD2\xC0\xC1\xB5\xA3\xAC\xD2\xB2\xD4\xBD\xC4\xDC\xB3\xD6\xBE\xC3\xA1\xA3",
    // 世界上没有比友谊更美好、更令人愉快的东西了;没有友谊，世界仿佛失去了太阳。
    "\xCA\xC0\xBD\xE7\xC9\xCF\xC3\xBB\xD3\xD0\xB1\xC8\xD3\xD1\xD2\xEA\xB8\xFC\xC3\xC0\xBA\xC3\xA1\xA2\xB8\xFC\xC1\xEE\xC8\xCB\xD3\xE4\xBF\xEC\xB5\xC4\xB6\xAB\xCE\xF7\xC1\xCB;\xC3\xBB\xD3\xD0\xD3\xD1\xD2\xEA\xA3\xAC\xCA\xC0\xBD\xE7\xB7\xC2\xB7\xF0\xCA\xA7\xC8\xA5\xC1\xCB\xCC\xAB\xD1\xF4\xA1\xA3",
    // 这辈子我们的关系都将定格在友情没错只是友情与爱情无关。
    "           \xD5\xE2\xB1\xB2\xD7\xD3\xCE\xD2\xC3\xC7\xB5\xC4\xB9\xD8\xCF\xB5\xB6\xBC\xBD\xAB\xB6\xA8\xB8\xF1\xD4\xDA\xD3\xD1\xC7\xE9\xC3\xBB\xB4\xED\xD6\xBB\xCA\xC7\xD3\xD1\xC7\xE9\xD3\xEB\xB0\xAE\xC7\xE9\xCE\xDE\xB9\xD8\xA1\xA3",
    // 不管未来有多遥远，成长的路上有你有我;
    "\xB2\xBB\xB9\xDC\xCE\xB4\xC0\xB4\xD3\xD0\xB6\xE0\xD2\xA3\xD4\xB6\xA3\xAC\xB3\xC9\xB3\xA4\xB5\xC4\xC2\xB7\xC9\xCF\xD3\xD0\xC4\xE3\xD3\xD0\xCE\xD2;",
    // 不管相逢在什么时候，我们是永远的朋友。
    "           \xB2\xBB\xB9\xDC\xCF\xE0\xB7\xEA\xD4\xDA\xCA\xB2\xC3\xB4\xCA\xB1\xBA\xF2\xA3\xAC\xCE\xD2\xC3\xC7\xCA\xC7\xD3\xC0\xD4\xB6\xB5\xC4\xC5\xF3\xD3\xD1\xA1\xA3",
};

// 祝你今后的日子幸福美好！
const char kClosingWish[] = "\xD7\xA3\xC4\xE3\xBD\xF1\xBA\xF3\xB5\xC4\xC8\xD5\xD7\xD3\xD0\xD2\xB8\xA3\xC3\xC0\xBA\xC3\xA3\xA1";

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
constexpr DWORD kStepMilliseconds = 25;

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
    SetTextFontFull(0, 0, kDedicationFace, 0, 0, 0, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH);
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
        Sleep(kStepMilliseconds);
    }
    PrintAt(kPromptX, kFirstPromptY, kEnterPrompt);
    getchar();

    ClearTarget();
    SetTextFont(kPageFontHeight, 0, kDedicationFace);
    for (int n = 0; n < kPageLineCount; ++n) {
        PrintAt(kPageLeft, kPageTop + kPageLineSpacing * n, kPageLines[n]);
    }
    PrintAt(kWishX, kWishY, kClosingWish);
    PrintAt(kPromptX, kSecondPromptY, kEnterPrompt);
    getchar();
}
