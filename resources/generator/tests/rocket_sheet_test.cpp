// The launcher sprite sheet: file layout, and ten rockets in dim/bright pairs.
#include <gtest/gtest.h>

#include "media_files.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 50;
constexpr int kCell = 20;

class RocketSheetTest : public testing::Test {
protected:
    static void SetUpTestSuite() { file_ = media_test::ReadMedia("rockets.bmp"); }

    // Red, green and blue of pixel (x, y) counted from the top.
    static const std::uint8_t* Bgr(int x, int y)
    {
        const std::size_t row = static_cast<std::size_t>(kHeight - 1 - y);
        return &file_[54 + row * kWidth * 3 + static_cast<std::size_t>(x) * 3];
    }

    struct CellSummary {
        int lit = 0;
        double red = 0, green = 0, blue = 0;  // summed over the body
        double light = 0;                     // summed over everything
        bool blackBorder = true;
    };

    static CellSummary Summarise(int cell)
    {
        CellSummary s;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const std::uint8_t* p = Bgr(cell * kCell + x, y);
                const int sum = p[0] + p[1] + p[2];
                s.light += sum;
                if (sum > 0) {
                    ++s.lit;
                    if (x == 0 || x == kCell - 1 || y == 0) {
                        s.blackBorder = false;
                    }
                }
                // The body of the rocket: between nose and fins.
                if (y >= 13 && y < 30) {
                    s.red += p[2];
                    s.green += p[1];
                    s.blue += p[0];
                }
            }
        }
        return s;
    }

    static media_test::Bytes file_;
};

media_test::Bytes RocketSheetTest::file_;

TEST_F(RocketSheetTest, IsAnUncompressedBottomUpBitmapOf200By50)
{
    ASSERT_EQ(file_.size(), 30054u);
    EXPECT_EQ(media_test::Text(file_, 0, 2), "BM");
    EXPECT_EQ(media_test::U32(file_, 2), 30054u);
    EXPECT_EQ(media_test::U32(file_, 10), 54u);
    EXPECT_EQ(media_test::U32(file_, 14), 40u);
    EXPECT_EQ(media_test::S32(file_, 18), kWidth);
    EXPECT_EQ(media_test::S32(file_, 22), kHeight) << "positive height: rows bottom-up";
    EXPECT_EQ(media_test::U16(file_, 26), 1u);
    EXPECT_EQ(media_test::U16(file_, 28), 24u);
    EXPECT_EQ(media_test::U32(file_, 30), 0u) << "BI_RGB";
    EXPECT_EQ(media_test::S32(file_, 38), 3780);
    EXPECT_EQ(media_test::S32(file_, 42), 3780);
}

TEST_F(RocketSheetTest, EveryCellHoldsARocketOnBlack)
{
    for (int cell = 0; cell < 10; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        const CellSummary s = Summarise(cell);
        EXPECT_GT(s.lit, 150);
        EXPECT_LT(s.lit, kCell * kHeight / 2) << "mostly black around the rocket";
        EXPECT_TRUE(s.blackBorder) << "nothing touches the cell's sides or top";
    }
}

TEST_F(RocketSheetTest, BrightFramesMatchTheDimOnesInColour)
{
    // Green, orange, blue, magenta, yellow.
    for (int colour = 0; colour < 5; ++colour) {
        SCOPED_TRACE("colour " + std::to_string(colour));
        const CellSummary dim = Summarise(colour);
        const CellSummary bright = Summarise(colour + 5);
        const double ratio = bright.light / dim.light;
        EXPECT_GT(ratio, 1.5);
        EXPECT_LT(ratio, 3.0);
        for (const CellSummary& s : {dim, bright}) {
            switch (colour) {
            case 0:
                EXPECT_GT(s.green, s.red * 1.5);
                EXPECT_GT(s.green, s.blue * 1.5);
                break;
            case 1:
                EXPECT_GT(s.red, s.green * 1.3);
                EXPECT_GT(s.green, s.blue * 1.5);
                break;
            case 2:
                EXPECT_GT(s.blue, s.red * 1.5);
                EXPECT_GT(s.blue, s.green * 1.3);
                break;
            case 3:
                EXPECT_GT(s.red, s.green * 1.5);
                EXPECT_GT(s.blue, s.green * 1.5);
                break;
            default:
                EXPECT_GT(s.red, s.blue * 1.5);
                EXPECT_GT(s.green, s.blue * 1.5);
                break;
            }
        }
    }
}

}  // namespace
