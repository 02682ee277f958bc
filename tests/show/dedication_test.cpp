#include "dedication.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "show_clock.h"
#include "show_input.h"
#include "show_test_support.h"

namespace {

std::wstring DecodeGbk(const char* text)
{
    const int length = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0) return L"(not valid GBK)";
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

struct Text {
    const char* bytes;
    size_t length;
    const wchar_t* reading;
};

TEST(DedicationTexts, AreGbkWithTheirByteLengths)
{
    const Text texts[] = {
        {kDedicationFace, 4, L"楷体"},
        {kDedicationTo, 8, L"谨献给："},
        {kDedicationName, 11, L"美丽的XXX！"},
        {kEnterPrompt, 6, L">Enter"},
        {kPageLines[0], 53, L"有了友情，就少了许多烦忧;阴郁的叶子，便不会落在土里，"},
        {kPageLines[1], 41, L"           而会漂浮在水面上，向远方漂流。"},
        {kPageLines[2], 70, L"友谊和花香一样，还是淡一点的比较好，越淡的香气越使人依恋，也越能持久。"},
        {kPageLines[3], 45, L"           越淡的香气越使人依恋，也越能持久。"},
        {kPageLines[4], 73, L"世界上没有比友谊更美好、更令人愉快的东西了;没有友谊，世界仿佛失去了太阳。"},
        {kPageLines[5], 65, L"           这辈子我们的关系都将定格在友情没错只是友情与爱情无关。"},
        {kPageLines[6], 37, L"不管未来有多遥远，成长的路上有你有我;"},
        {kPageLines[7], 49, L"           不管相逢在什么时候，我们是永远的朋友。"},
        {kClosingWish, 24, L"祝你今后的日子幸福美好！"},
    };
    for (const Text& text : texts) {
        EXPECT_EQ(std::strlen(text.bytes), text.length) << text.length;
        EXPECT_TRUE(DecodeGbk(text.bytes) == text.reading) << "text of " << text.length << " bytes";
    }
}

TEST(DedicationAnimation, CirclePoints)
{
    const struct {
        int step;
        LONG x;
        LONG y;
    } points[] = {{0, 600, 380}, {1, 618, 379}, {15, 780, 200}, {30, 600, 20}, {45, 420, 200}, {49, 436, 273}};
    for (const auto& point : points) {
        const POINT actual = DedicationCirclePoint(point.step);
        EXPECT_EQ(actual.x, point.x) << "step " << point.step;
        EXPECT_EQ(actual.y, point.y) << "step " << point.step;
    }
}

constexpr COLORREF kTextColor = 0x55FFFF;

// GBK text as the screen's font draws it from the text's wide characters. The
// face name goes through the ANSI code page as the narrow font call takes it,
// so both ask for the same font.
void DrawExpectedText(IMAGE& image, int height, int x, int y, const char* text)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;
    MultiByteToWideChar(CP_ACP, 0, kDedicationFace, -1, font.lfFaceName, LF_FACESIZE);
    HFONT created = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(image.dc, created);
    SetTextColor(image.dc, kTextColor);
    const std::wstring wide = DecodeGbk(text);
    TextOutW(image.dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    SelectObject(image.dc, previous);
    DeleteObject(created);
}

// The two lines of the dedication at animation step `step`, on a clear screen.
void DrawExpectedStep(IMAGE& image, int step)
{
    const POINT point = DedicationCirclePoint(step);
    DrawExpectedText(image, step, point.x - 130, point.y, kDedicationTo);
    DrawExpectedText(image, step, point.x, point.y + 100, kDedicationName);
}

// Watches the screen at every pause of the animation and at both waits for
// Enter, and compares it with what must be on it at that moment.
class DedicationScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        watched = this;
        SelectTarget(&screen);
        SetShowSleep(Pause);
        SetShowInput(nullptr, WaitForEnter);
    }
    void TearDown() override
    {
        SetShowSleep(nullptr);
        SetShowInput(nullptr, nullptr);
        SelectTarget(nullptr);
        watched = nullptr;
    }

    static void Pause(uint32_t milliseconds)
    {
        const int step = static_cast<int>(watched->pauses.size());
        watched->pauses.push_back(milliseconds);
        IMAGE expected(kScreenWidth, kScreenHeight);
        DrawExpectedStep(expected, step);
        watched->Compare(expected, "animation step " + std::to_string(step));
    }

    static int WaitForEnter()
    {
        IMAGE expected(kScreenWidth, kScreenHeight);
        if (++watched->waits == 1) {
            DrawExpectedStep(expected, 49);
            DrawExpectedText(expected, 49, 500, 550, kEnterPrompt);
            watched->Compare(expected, "first wait");
        } else {
            for (int line = 0; line < kPageLineCount; ++line) {
                DrawExpectedText(expected, 25, 200, 150 + 50 * line, kPageLines[line]);
            }
            DrawExpectedText(expected, 25, 500, 550, kClosingWish);
            DrawExpectedText(expected, 25, 500, 650, kEnterPrompt);
            watched->Compare(expected, "second wait");
            watched->page.assign(GetPixelBuffer(&expected), GetPixelBuffer(&expected) + kScreenWidth * kScreenHeight);
        }
        return '\n';
    }

    void Compare(IMAGE& expected, const std::string& moment)
    {
        const uint32_t* pixels = GetPixelBuffer(&expected);
        const std::string difference = CompareScreen(
            GetPixelBuffer(&screen), std::vector<uint32_t>(pixels, pixels + kScreenWidth * kScreenHeight));
        if (!difference.empty()) differences.push_back(moment + ": " + difference);
    }

    static DedicationScreen* watched;
    IMAGE screen{kScreenWidth, kScreenHeight};
    std::vector<uint32_t> pauses;
    int waits = 0;
    std::vector<std::string> differences;
    std::vector<uint32_t> page;
};

DedicationScreen* DedicationScreen::watched = nullptr;

TEST_F(DedicationScreen, SwingsTheGrowingDedicationThenShowsThePageInLightYellow)
{
    ShowDedication();
    EXPECT_EQ(pauses, std::vector<uint32_t>(50, 25));
    EXPECT_EQ(waits, 2);
    EXPECT_EQ(differences, std::vector<std::string>());
    // The page stays as it was when the second wait ended.
    EXPECT_EQ(CompareScreen(GetPixelBuffer(&screen), page), "");
    const uint32_t yellow = 0x00FFFF55u;
    EXPECT_GT(std::count(page.begin(), page.end(), yellow), 2000) << "the expected page shows text";
}

}  // namespace
