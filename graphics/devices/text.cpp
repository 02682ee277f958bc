// Text output, measurement and the font of the current target. Strings are
// byte strings (GBK in the show) handed unchanged to the ANSI text calls.
#include <cstring>

#include "device_objects.h"

namespace Tovax {

namespace {

HDC TargetDC() { return Graphics().targetDC; }

// Byte length; a null text counts as empty.
int TextLength(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

// Copies at most LF_FACESIZE - 1 bytes and terminates: a longer name is cut
// off instead of ending the process.
void CopyFaceName(LOGFONTA& style, const char* face)
{
    std::strncpy(style.lfFaceName, face, LF_FACESIZE - 1);
    style.lfFaceName[LF_FACESIZE - 1] = '\0';
}

// The size, face and the six style fields that SetTextFontStyled replaces.
void SetStyledFields(LOGFONTA& style, int height, int width, const char* face, int escapement, int orientation,
                     int weight, uint8_t italic, uint8_t underline, uint8_t strikeOut)
{
    style.lfHeight = height;
    style.lfWidth = width;
    style.lfEscapement = escapement;
    style.lfOrientation = orientation;
    style.lfWeight = weight;
    style.lfItalic = italic;
    style.lfUnderline = underline;
    style.lfStrikeOut = strikeOut;
    if (face) CopyFaceName(style, face);
}

}  // namespace

void DrawOnImg::PrintAtCurrent(const char* text)
{
    IMAGE& target = CurrentTarget();
    PrintAt(target.curX, target.curY, text);
    target.curX += MeasureTextWidth(text);
}

void DrawOnImg::PrintAt(int x, int y, const char* text)
{
    if (!text) return;
    TextOutA(TargetDC(), x, y, text, TextLength(text));
}

int DrawOnImg::PrintInRect(const char* text, RECT* rect, uint32_t format)
{
    if (!text) return 0;
    return DrawTextA(TargetDC(), text, -1, rect, WithoutTextWriteBack(format));
}

int DrawOnImg::MeasureTextWidth(const char* text)
{
    SIZE size = {};
    if (text) GetTextExtentPoint32A(TargetDC(), text, TextLength(text), &size);
    return size.cx;
}

int DrawOnImg::MeasureTextHeight(const char* text)
{
    SIZE size = {};
    if (text) GetTextExtentPoint32A(TargetDC(), text, TextLength(text), &size);
    return size.cy;
}

void DrawOnImg::SetTextFontRecord(const LOGFONTA* style) { ReplaceSelection(TargetDC(), CreateFontIndirectA(style)); }

void DrawOnImg::SetTextFontFull(int height, int width, const char* face, int escapement, int orientation, int weight,
                                uint8_t italic, uint8_t underline, uint8_t strikeOut, uint8_t charSet,
                                uint8_t outPrecision, uint8_t clipPrecision, uint8_t quality, uint8_t pitchAndFamily)
{
    // Without a face the name stays empty and the platform chooses one.
    LOGFONTA style = {};
    SetStyledFields(style, height, width, face, escapement, orientation, weight, italic, underline, strikeOut);
    style.lfCharSet = charSet;
    style.lfOutPrecision = outPrecision;
    style.lfClipPrecision = clipPrecision;
    style.lfQuality = quality;
    style.lfPitchAndFamily = pitchAndFamily;
    SetTextFontRecord(&style);
}

void DrawOnImg::SetTextFontStyled(int height, int width, const char* face, int escapement, int orientation, int weight,
                                  uint8_t italic, uint8_t underline, uint8_t strikeOut)
{
    LOGFONTA style = {};
    GetTextFont(&style);
    SetStyledFields(style, height, width, face, escapement, orientation, weight, italic, underline, strikeOut);
    SetTextFontRecord(&style);
}

void DrawOnImg::SetTextFont(int height, int width, const char* face)
{
    LOGFONTA style = {};
    GetTextFont(&style);
    style.lfHeight = height;
    style.lfWidth = width;
    if (face) CopyFaceName(style, face);
    SetTextFontRecord(&style);
}

void DrawOnImg::GetTextFont(LOGFONTA* out)
{
    GetObjectA(GetCurrentObject(TargetDC(), OBJ_FONT), sizeof(LOGFONTA), out);
}

}  // namespace Tovax
