// The configure step checks a greeting's lines with a table of text widths
// instead of the font: the table must be the font's, and the model it
// implies (a line is as wide as the sum of its characters) must hold.
#include <gtest/gtest.h>

#include <tovax.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dedication.h"
#include "greeting_widths.h"

namespace {

// The dedication's face with the character set it selects.
void SelectDedicationFace(int height)
{
    SetTextFontFull(0, 0, kDedicationFace, 0, 0, 0, 0, 0, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    NONANTIALIASED_QUALITY, DEFAULT_PITCH);
    SetTextFont(height, 0, kDedicationFace);
}

// GBK's double-byte characters, as GBK bytes and as one wide string: every
// symbol of rows 0xA1 to 0xA9, where the widths differ, and every seventh of
// the rest, ideographs of one width (all of them would take a minute).
struct DoubleByteCharacters {
    DoubleByteCharacters()
    {
        int code = 0;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const bool symbol = lead >= 0xA1 && lead <= 0xA9;
                if (!symbol && code++ % 7 != 0) continue;
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                wchar_t character = 0;
                if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, 2, &character, 1) == 1) {
                    gbk.emplace_back(bytes, 2);
                    wide.push_back(character);
                }
            }
        }
    }
    std::vector<std::string> gbk;
    std::wstring wide;
};

const DoubleByteCharacters& AllDoubleByte()
{
    static const DoubleByteCharacters characters;
    return characters;
}

class GreetingWidths : public ::testing::Test {
protected:
    void SetUp() override { SelectTarget(&canvas); }
    void TearDown() override { SelectTarget(nullptr); }

    // The widest double-byte character at a text height, in GBK bytes.
    std::string WidestDoubleByte(int height, int* width)
    {
        static std::string widest[kGreetingSteps];
        static int widths[kGreetingSteps];
        if (widest[height].empty()) widest[height] = MeasureWidestDoubleByte(&widths[height]);
        *width = widths[height];
        return widest[height];
    }

    std::string MeasureWidestDoubleByte(int* width)
    {
        const std::wstring& wide = AllDoubleByte().wide;
        std::vector<int> ends(wide.size());
        SIZE size = {};
        GetTextExtentExPointW(canvas.dc, wide.c_str(), static_cast<int>(wide.size()), 0, nullptr, ends.data(), &size);
        size_t widest = 0;
        *width = 0;
        for (size_t i = 0; i < ends.size(); ++i) {
            const int own = ends[i] - (i ? ends[i - 1] : 0);
            if (own > *width) {
                *width = own;
                widest = i;
            }
        }
        return AllDoubleByte().gbk[widest];
    }

    // Rightmost column with ink after printing `text` at x on a clear canvas.
    int InkRight(int x, const std::string& text)
    {
        SetDrawColor(0xFFFFFF);
        ClearTarget();
        PrintAt(x, 0, text.c_str());
        const uint32_t* pixels = GetPixelBuffer(&canvas);
        int right = -1;
        for (int y = 0; y < kCanvasHeight; ++y) {
            for (int column = right + 1; column < kCanvasWidth; ++column) {
                if (pixels[y * kCanvasWidth + column] != 0) right = column;
            }
        }
        return right;
    }

    static constexpr int kCanvasWidth = 1600;
    static constexpr int kCanvasHeight = 60;
    IMAGE canvas{kCanvasWidth, kCanvasHeight};
};

TEST_F(GreetingWidths, AreTheWidestCharactersOfTheFontAtEveryHeight)
{
    ASSERT_GT(AllDoubleByte().wide.size(), 3500u);
    for (int height = 0; height < kGreetingSteps; ++height) {
        SelectDedicationFace(height);
        int widestDouble = 0;
        const std::string widest = WidestDoubleByte(height, &widestDouble);
        EXPECT_EQ(MeasureTextWidth(widest.c_str()), widestDouble) << "height " << height;
        int widestSingle = 0;
        for (char c = ' '; c <= '~'; ++c) {
            const char single[2] = {c, '\0'};
            widestSingle = std::max(widestSingle, MeasureTextWidth(single));
        }
        EXPECT_EQ(widestDouble, kGreetingDoubleWidths[height]) << "height " << height;
        EXPECT_EQ(widestSingle, kGreetingSingleWidths[height]) << "height " << height;
    }
}

TEST_F(GreetingWidths, ALineIsAsWideAsItsCharacters)
{
    // The default second dedication line and a page line of both kinds.
    const std::string lines[] = {kDedicationName, kPageLines[0], std::string(kPageLines[1]) + "Dear friend, W!"};
    for (int height : {0, 9, 25, 49}) {
        SelectDedicationFace(height);
        for (const std::string& line : lines) {
            int sum = 0;
            for (size_t i = 0; i < line.size(); ++i) {
                const bool wide = static_cast<unsigned char>(line[i]) >= 0x81;
                sum += MeasureTextWidth(line.substr(i, wide ? 2 : 1).c_str());
                i += wide ? 1 : 0;
            }
            EXPECT_EQ(MeasureTextWidth(line.c_str()), sum) << "height " << height;
        }
    }
}

TEST_F(GreetingWidths, StepPositionsAreTheDedicationsCirclePoints)
{
    for (int step = 0; step < kGreetingSteps; ++step) {
        EXPECT_EQ(DedicationCirclePoint(step).x, kGreetingStepX[step]) << "step " << step;
    }
    EXPECT_EQ(kGreetingPageHeight, 25);
}

// Ink stays within the characters' widths: the widest lines the check lets
// through end inside the window.
TEST_F(GreetingWidths, TheWidestAcceptedPageLinesEndInsideTheWindow)
{
    SelectDedicationFace(kGreetingPageHeight);
    int width = 0;
    const std::string widest = WidestDoubleByte(kGreetingPageHeight, &width);
    for (int left : {kGreetingPageLeft, kGreetingWishLeft}) {
        const int room = kGreetingWindowWidth - left;
        std::string line;
        for (int i = 0; i < room / width; ++i) line += widest;
        EXPECT_LT(InkRight(left, line), kGreetingWindowWidth) << "x " << left;
        const std::string letters(static_cast<size_t>(room / kGreetingSingleWidths[kGreetingPageHeight]), 'W');
        EXPECT_LT(InkRight(left, letters), kGreetingWindowWidth) << "x " << left;
    }
}

TEST_F(GreetingWidths, TheLongestAcceptedDedicationStaysInsideTheWindowAtEveryStep)
{
    for (int shift : {0, kGreetingFirstLineShift}) {
        int accepted = kGreetingWindowWidth;
        for (int step = 0; step < kGreetingSteps; ++step) {
            accepted =
                std::min(accepted, (kGreetingWindowWidth - kGreetingStepX[step] + shift) / kGreetingDoubleWidths[step]);
        }
        for (int step = 0; step < kGreetingSteps; ++step) {
            SelectDedicationFace(step);
            int width = 0;
            const std::string widest = WidestDoubleByte(step, &width);
            std::string line;
            for (int i = 0; i < accepted; ++i) line += widest;
            EXPECT_LT(InkRight(kGreetingStepX[step] - shift, line), kGreetingWindowWidth) << "step " << step;
        }
    }
}

}  // namespace
