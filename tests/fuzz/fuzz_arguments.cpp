#include "fuzz_arguments.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace FuzzArguments {

namespace {

constexpr int kExtremeCoordinates[] = {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, -1,      0,
                                       1,       32767,       -32768,  65535,       65536,   -65536,
                                       1 << 24, -(1 << 24),  1 << 30, -(1 << 30),  1 << 27, -(1 << 27)};

// Picks one of `extremes` one time in `oneIn`, otherwise a value in [low, high].
template <size_t N>
int Mostly(FuzzRandom& random, int low, int high, const int (&extremes)[N], uint32_t oneIn)
{
    if (random.Below(oneIn) == 0) return random.Pick(extremes);
    return random.Between(low, high);
}

// Sizes that the platform refuses: every pair of them needs 2 GiB or more.
constexpr int kRefusedSizes[] = {INT_MAX, 65536, 46341, 1 << 20, 40000};

}  // namespace

int Coordinate(FuzzRandom& random)
{
    switch (random.Below(10)) {
    case 0:
        return random.Pick(kExtremeCoordinates);
    case 1:
        return static_cast<int>(random.Next32());
    case 2:
        return random.Between(-100000, 100000);
    default:
        return random.Between(-40, 420);
    }
}

int CoordinateWithin(FuzzRandom& random, int reach)
{
    switch (random.Below(8)) {
    case 0:
        return random.Between(-reach, reach);
    case 1:
        return random.Between(-2000, 2000);
    default:
        return random.Between(-40, 420);
    }
}

int Offset(FuzzRandom& random)
{
    static const int extremes[] = {INT_MIN, INT_MAX, -1, 0, 1, 1 << 30, -(1 << 30), 100000};
    return Mostly(random, -60, 60, extremes, 6);
}

Size ImageSize(FuzzRandom& random)
{
    switch (random.Below(20)) {
    case 0:
        return {0, 0};
    case 1:
        return {random.Between(-5, 40), 0};
    case 2:
        return {0, random.Between(-5, 40)};
    case 3:
        return {random.Between(-100, -1), random.Between(-100, 40)};
    case 4:
        return {INT_MIN, random.Between(INT_MIN, 40)};
    case 5:
        return {random.Pick(kRefusedSizes), random.Pick(kRefusedSizes)};
    // One long side: refused for INT_MAX, a thin strip otherwise.
    case 6:
        return {random.Pick(kRefusedSizes), random.Between(1, 3)};
    case 7:
        return {random.Between(1, 3), random.Pick(kRefusedSizes) % 100001};
    case 8:
        return {random.Between(500, 1600), random.Between(400, 1200)};
    case 9:
    case 10:
    case 11:
        return {random.Between(1, 400), random.Between(1, 300)};
    default:
        return {random.Between(1, 64), random.Between(1, 64)};
    }
}

Size WindowSize(FuzzRandom& random)
{
    switch (random.Below(8)) {
    case 0:
        return {0, 0};
    case 1:
        return {random.Between(-50, 0), random.Between(-50, 50)};
    default:
        return {random.Between(1, 360), random.Between(1, 260)};
    }
}

RECT Rectangle(FuzzRandom& random)
{
    return {Coordinate(random), Coordinate(random), Coordinate(random), Coordinate(random)};
}

COLORREF Color(FuzzRandom& random)
{
    static const COLORREF named[] = {0x000000,   0xFFFFFF,   0x0000FF,   0x00FF00,   0xFF0000,  CLR_INVALID,
                                     0x01000005, 0x02FF00FF, 0x10FFFFFF, 0x00808080, 0x00332211};
    return random.Chance(300) ? random.Pick(named) : random.Next32();
}

double Angle(FuzzRandom& random)
{
    static const double special[] = {0.0,
                                     1.5707963267948966,
                                     3.141592653589793,
                                     6.283185307179586,
                                     -3.141592653589793,
                                     1e10,
                                     -1e300,
                                     1e-300,
                                     std::numeric_limits<double>::max(),
                                     std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity(),
                                     std::numeric_limits<double>::quiet_NaN()};
    if (random.Chance(250)) return random.Pick(special);
    return (static_cast<double>(random.Next32()) / 4294967296.0 - 0.5) * 20.0;
}

float Scale(FuzzRandom& random)
{
    static const float special[] = {1.0f,
                                    0.0f,
                                    -1.0f,
                                    2.0f,
                                    0.5f,
                                    -0.001f,
                                    1e-30f,
                                    100.0f,
                                    -100.0f,
                                    1e30f,
                                    -1e30f,
                                    std::numeric_limits<float>::max(),
                                    std::numeric_limits<float>::infinity(),
                                    std::numeric_limits<float>::quiet_NaN()};
    if (random.Chance(500)) return random.Pick(special);
    return (static_cast<float>(random.Below(1u << 16)) / 65536.0f - 0.5f) * 8.0f;
}

DWORD RasterOperation(FuzzRandom& random)
{
    static const DWORD named[] = {SRCCOPY,
                                  SRCPAINT,
                                  SRCAND,
                                  SRCINVERT,
                                  SRCERASE,
                                  NOTSRCCOPY,
                                  NOTSRCERASE,
                                  MERGECOPY,
                                  MERGEPAINT,
                                  PATCOPY,
                                  PATPAINT,
                                  PATINVERT,
                                  DSTINVERT,
                                  BLACKNESS,
                                  WHITENESS,
                                  0,
                                  0xFFFFFFFF,
                                  SRCCOPY | CAPTUREBLT,
                                  SRCCOPY | NOMIRRORBITMAP};
    switch (random.Below(4)) {
    case 0:
        return random.Next32();
    case 1:
        return random.Below(256) << 16 | (random.Next32() & 0xFFFF);
    default:
        return random.Pick(named);
    }
}

int MixMode(FuzzRandom& random)
{
    static const int extremes[] = {0, 17, -1, 255, INT_MAX, INT_MIN};
    return Mostly(random, R2_BLACK, R2_WHITE, extremes, 6);
}

int SmallMode(FuzzRandom& random)
{
    static const int extremes[] = {0, 3, -1, INT_MAX, INT_MIN};
    return Mostly(random, 1, 2, extremes, 4);
}

uint32_t PenStyle(FuzzRandom& random)
{
    if (random.Chance(100)) return random.Next32();
    static const uint32_t caps[] = {PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT, 0x300};
    static const uint32_t joins[] = {PS_JOIN_ROUND, PS_JOIN_BEVEL, PS_JOIN_MITER, 0x3000};
    const uint32_t kind = random.Chance(200) ? random.Below(16) : random.Below(8);
    uint32_t style = kind | random.Pick(caps) | random.Pick(joins);
    if (random.Chance(100)) style |= PS_GEOMETRIC;
    if (random.Chance(50)) style |= PS_ALTERNATE;
    return style;
}

int PenThickness(FuzzRandom& random)
{
    static const int extremes[] = {0, -1, -7, INT_MAX, INT_MIN, 100000, 1000};
    return Mostly(random, 1, 12, extremes, 8);
}

uint32_t Dashes(FuzzRandom& random, uint32_t* dashes)
{
    const uint32_t count = random.Chance(100) ? random.Between(17, kMaxDashes) : random.Below(9);
    for (uint32_t i = 0; i < count; ++i) {
        switch (random.Below(8)) {
        case 0:
            dashes[i] = 0;
            break;
        case 1:
            dashes[i] = 0xFFFFFFFFu;
            break;
        case 2:
            dashes[i] = random.Next32();
            break;
        default:
            dashes[i] = random.Between(1, 12);
            break;
        }
    }
    return count;
}

int BrushKind(FuzzRandom& random)
{
    static const int extremes[] = {-1, 6, 7, 8, 100, INT_MAX, INT_MIN};
    return Mostly(random, 0, 5, extremes, 6);
}

int HatchKind(FuzzRandom& random)
{
    static const int extremes[] = {-1, 6, 7, 12, 100, INT_MAX, INT_MIN};
    return Mostly(random, 0, 5, extremes, 5);
}

void Text(FuzzRandom& random, char* text, size_t capacity)
{
    static const char* const samples[] = {"",
                                          "Hello",
                                          "A",
                                          "&Menu && more",
                                          "tab\there\tand\tthere",
                                          "line one\r\nline two\nline three\r",
                                          "\xD0\xC2\xC4\xEA\xBF\xEC\xC0\xD6",
                                          "word word word word word word word word word word"};
    size_t length = 0;
    switch (random.Below(6)) {
    case 0:
    case 1: {
        const char* sample = random.Pick(samples);
        length = std::strlen(sample);
        std::memcpy(text, sample, length);
        break;
    }
    case 2: {
        // GBK pairs, sometimes ending on a lone lead byte.
        const uint32_t mostPairs = static_cast<uint32_t>(capacity / 2 - 1);
        const size_t pairs = random.Chance(100) ? random.Below(mostPairs) : random.Below(40);
        for (size_t i = 0; i < pairs; ++i) {
            text[length++] = static_cast<char>(random.Between(0x81, 0xFE));
            int trail = random.Between(0x40, 0xFE);
            if (trail == 0x7F) trail = 0x80;
            text[length++] = static_cast<char>(trail);
        }
        if (length + 1 < capacity && random.Chance(300)) text[length++] = static_cast<char>(0xB0);
        break;
    }
    case 3: {
        // Any bytes but NUL, up to the whole capacity.
        length = random.Below(static_cast<uint32_t>(capacity - 1));
        for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(random.Between(1, 255));
        break;
    }
    default: {
        length = random.Chance(150) ? random.Below(static_cast<uint32_t>(capacity - 1)) : random.Below(60);
        for (size_t i = 0; i < length; ++i) {
            const uint32_t kind = random.Below(20);
            const char letter = static_cast<char>(random.Between('a', 'z'));
            text[i] = kind == 0 ? ' ' : kind == 1 ? '\t' : kind == 2 ? '\n' : letter;
        }
        break;
    }
    }
    text[length] = '\0';
}

const char* Face(FuzzRandom& random, char* scratch)
{
    static const char* const faces[] = {"",
                                        "System",
                                        "Arial",
                                        "Courier New",
                                        "Tahoma",
                                        "No Such Face At All",
                                        "\xCB\xCE\xCC\xE5",
                                        "0123456789012345678901234567890",
                                        "01234567890123456789012345678901",
                                        "A face name of forty bytes and some more"};
    switch (random.Below(8)) {
    case 0:
        return nullptr;
    case 1: {
        const uint32_t length = random.Between(32, 255);
        for (uint32_t i = 0; i < length; ++i) scratch[i] = static_cast<char>(random.Between(1, 255));
        scratch[length] = '\0';
        return scratch;
    }
    default:
        return random.Pick(faces);
    }
}

uint32_t TextFormat(FuzzRandom& random)
{
    static const uint32_t combinations[] = {
        DT_CALCRECT,
        DT_WORDBREAK | DT_CENTER,
        DT_SINGLELINE | DT_VCENTER | DT_CENTER,
        DT_END_ELLIPSIS | DT_MODIFYSTRING,
        DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE,
        DT_WORD_ELLIPSIS | DT_MODIFYSTRING | DT_WORDBREAK,
        DT_EXPANDTABS | DT_TABSTOP | (7u << 8),
        DT_EXPANDTABS | DT_TABSTOP | (255u << 8),
        DT_NOCLIP | DT_BOTTOM | DT_RIGHT,
        DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL,
        DT_NOPREFIX | DT_HIDEPREFIX | DT_PREFIXONLY,
        DT_RTLREADING | DT_INTERNAL | DT_EXTERNALLEADING,
        0,
    };
    const uint32_t format = random.Chance(300) ? random.Next32() & 0x000FFFFF : random.Pick(combinations);
    // The platform's text layout ends the process on an assertion when path
    // ellipsis meets end or word ellipsis.
    return format & DT_PATH_ELLIPSIS ? format & ~static_cast<uint32_t>(DT_END_ELLIPSIS | DT_WORD_ELLIPSIS) : format;
}

int FontHeight(FuzzRandom& random)
{
    static const int extremes[] = {0, -1, 1, 100, 400, 2000, -2000, 100000, INT_MAX, INT_MIN};
    return Mostly(random, -40, 60, extremes, 5);
}

int FontWidth(FuzzRandom& random)
{
    // An enormous width keeps the platform's glyph scaler busy for minutes.
    static const int extremes[] = {0, -1, 1, 300, 60000, -100000, INT_MIN};
    return Mostly(random, 0, 30, extremes, 5);
}

LOGFONTA Font(FuzzRandom& random)
{
    LOGFONTA font = {};
    font.lfHeight = FontHeight(random);
    font.lfWidth = FontWidth(random);
    font.lfEscapement = random.Chance(200) ? static_cast<LONG>(random.Next32()) : random.Between(-3600, 3600);
    font.lfOrientation = random.Chance(200) ? static_cast<LONG>(random.Next32()) : random.Between(-3600, 3600);
    font.lfWeight = random.Chance(200) ? static_cast<LONG>(random.Next32()) : random.Between(0, 1000);
    font.lfItalic = static_cast<BYTE>(random.Next32());
    font.lfUnderline = static_cast<BYTE>(random.Next32());
    font.lfStrikeOut = static_cast<BYTE>(random.Next32());
    static const BYTE charsets[] = {ANSI_CHARSET, DEFAULT_CHARSET, SYMBOL_CHARSET, GB2312_CHARSET, OEM_CHARSET, 77};
    font.lfCharSet = random.Chance(200) ? static_cast<BYTE>(random.Next32()) : random.Pick(charsets);
    font.lfOutPrecision = static_cast<BYTE>(random.Below(12));
    font.lfClipPrecision = static_cast<BYTE>(random.Next32());
    font.lfQuality = static_cast<BYTE>(random.Below(8));
    font.lfPitchAndFamily = static_cast<BYTE>(random.Next32());
    char scratch[256];
    if (const char* face = Face(random, scratch)) {
        std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
        font.lfFaceName[LF_FACESIZE - 1] = '\0';
    }
    return font;
}

HRGN Region(FuzzRandom& random)
{
    switch (random.Below(6)) {
    case 0:
        return nullptr;
    case 1:
        return CreateRectRgn(0, 0, 0, 0);
    case 2: {
        const RECT box = Rectangle(random);
        return CreateRectRgn(box.left, box.top, box.right, box.bottom);
    }
    case 3: {
        HRGN first = CreateEllipticRgn(random.Between(-20, 200), random.Between(-20, 200), random.Between(-20, 200),
                                       random.Between(-20, 200));
        HRGN second = CreateRectRgn(random.Between(-20, 200), random.Between(-20, 200), random.Between(-20, 200),
                                    random.Between(-20, 200));
        CombineRgn(first, first, second, random.Between(RGN_AND, RGN_COPY));
        DeleteObject(second);
        return first;
    }
    default:
        return CreateRectRgn(random.Between(-20, 300), random.Between(-20, 300), random.Between(-20, 300),
                             random.Between(-20, 300));
    }
}

LPCSTR PictureType(FuzzRandom& random)
{
    static const LPCSTR types[] = {"IMAGE", "IMAGE", "IMAGE", "image", "WAVE", "NOPE", RT_ICON, RT_MANIFEST, RT_RCDATA};
    return random.Pick(types);
}

LPCSTR PictureName(FuzzRandom& random)
{
    static const LPCSTR names[] = {MAKEINTRESOURCEA(103),
                                   MAKEINTRESOURCEA(104),
                                   MAKEINTRESOURCEA(103),
                                   MAKEINTRESOURCEA(104),
                                   "#103",
                                   "#104",
                                   MAKEINTRESOURCEA(106),
                                   MAKEINTRESOURCEA(1),
                                   MAKEINTRESOURCEA(999),
                                   "BURSTS",
                                   "#65535"};
    return random.Pick(names);
}

}  // namespace FuzzArguments
