#include "dedication.h"

#include <cstdio>
#include <cstring>
#include <string>

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

constexpr uint32_t kTextPixel = 0x00FFFF55u;  // light yellow on screen

int TextPixelsIn(const uint32_t* pixels, int left, int top, int right, int bottom)
{
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) count += pixels[y * kScreenWidth + x] == kTextPixel;
    }
    return count;
}

class DedicationScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Both waits for Enter return at once at the end of the input.
        ASSERT_NE(std::freopen("NUL", "r", stdin), nullptr);
        SelectTarget(&screen);
    }
    void TearDown() override { SelectTarget(nullptr); }

    IMAGE screen{kScreenWidth, kScreenHeight};
};

TEST_F(DedicationScreen, LeavesThePageInLightYellowAtItsPlaces)
{
    ShowDedication();
    const uint32_t* pixels = GetPixelBuffer(&screen);
    EXPECT_EQ(TextPixelsIn(pixels, 0, 0, kScreenWidth, 150), 0) << "nothing above the page";
    for (int line = 0; line < kPageLineCount; ++line) {
        const int top = 150 + 50 * line;
        EXPECT_GT(TextPixelsIn(pixels, 200, top, kScreenWidth, top + 25), 50) << "page line " << line + 1;
        EXPECT_EQ(TextPixelsIn(pixels, 0, top, 200, top + 50), 0) << "left of page line " << line + 1;
    }
    // The wish and the prompt start at x 500.
    EXPECT_GT(TextPixelsIn(pixels, 500, 550, kScreenWidth, 575), 50);
    EXPECT_EQ(TextPixelsIn(pixels, 0, 550, 500, 600), 0);
    EXPECT_GT(TextPixelsIn(pixels, 500, 650, 700, 675), 20);
    EXPECT_EQ(TextPixelsIn(pixels, 0, 675, kScreenWidth, kScreenHeight), 0);
}

TEST_F(DedicationScreen, TextIsDecodedAsGbkWhateverTheAnsiCodePage)
{
    ShowDedication();
    LOGFONTA font = {};
    GetTextFont(&font);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(font.lfHeight, 25);
    EXPECT_STREQ(font.lfFaceName, kDedicationFace);

    // The first page line as the same font draws it from its wide characters.
    // The face name goes through the ANSI code page as the narrow font call
    // takes it, so both ask for the same font.
    IMAGE reference(kScreenWidth, kScreenHeight);
    LOGFONTW wideFont = {};
    wideFont.lfHeight = 25;
    wideFont.lfCharSet = GB2312_CHARSET;
    wideFont.lfQuality = NONANTIALIASED_QUALITY;
    MultiByteToWideChar(CP_ACP, 0, kDedicationFace, -1, wideFont.lfFaceName, LF_FACESIZE);
    HFONT created = CreateFontIndirectW(&wideFont);
    HGDIOBJ previous = SelectObject(reference.dc, created);
    SetTextColor(reference.dc, 0x55FFFF);
    const std::wstring line = DecodeGbk(kPageLines[0]);
    TextOutW(reference.dc, 200, 150, line.c_str(), static_cast<int>(line.size()));
    SelectObject(reference.dc, previous);
    DeleteObject(created);

    const uint32_t* drawn = GetPixelBuffer(&screen);
    const uint32_t* expected = GetPixelBuffer(&reference);
    int differences = 0;
    for (int i = 150 * kScreenWidth; i < 175 * kScreenWidth; ++i) differences += drawn[i] != expected[i];
    EXPECT_EQ(differences, 0);
    EXPECT_GT(TextPixelsIn(expected, 200, 150, kScreenWidth, 175), 50);
}

}  // namespace
