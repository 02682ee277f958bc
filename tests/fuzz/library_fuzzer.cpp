#include "library_fuzzer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "drawing_reach.h"
#include "graphics_state.h"
#include "health_checks.h"

using namespace FuzzArguments;
using Tovax::Graphics;

namespace {

constexpr char kReadOnlyText[] = "A text in read-only memory: no call may write into it.";

// What `left - right` and friends give in the library's 32-bit arithmetic.
int Wrapped(int64_t value) { return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

struct Snapshot {
    int width;
    int height;
    HBITMAP bitmap;
    uint32_t* pixels;
    explicit Snapshot(const IMAGE& image)
        : width(image.width), height(image.height), bitmap(image.bitmap), pixels(image.pixels)
    {
    }
    bool SameAs(const IMAGE& image) const
    {
        return width == image.width && height == image.height && bitmap == image.bitmap && pixels == image.pixels;
    }
};

// A call that gives `image` the size `size` either did so, with pixels, or left
// it as it was; a size without area always leaves it as it was.
bool ResizedOrKept(const Snapshot& before, const IMAGE& image, Size size)
{
    if (before.SameAs(image)) return true;
    return size.width > 0 && size.height > 0 && image.width == size.width && image.height == size.height &&
           image.pixels;
}

// A box for curves: its corners stay below kCurveCoordinates.
RECT CurveBox(FuzzRandom& random)
{
    return {CoordinateWithin(random, kCurveCoordinates), CoordinateWithin(random, kCurveCoordinates),
            CoordinateWithin(random, kCurveCoordinates), CoordinateWithin(random, kCurveCoordinates)};
}

// A width, height or source position: mostly an offset, now and then any coordinate.
int Span(FuzzRandom& random) { return random.Chance(300) ? Coordinate(random) : Offset(random); }

// The calls of one family, all with the same arguments.
template <typename Function>
struct Variant {
    const char* name;
    Function* function;
};

// Draw... calls outline with the pen; Paint... and Erase... only fill.
bool Outlined(const char* name) { return std::strncmp(name, "Draw", 4) == 0; }

using BoxCall = void(int, int, int, int);
const Variant<BoxCall> kRectangles[] = {{"DrawRectangle", DrawRectangle},
                                        {"DrawFilledRectangle", DrawFilledRectangle},
                                        {"PaintRectangle", PaintRectangle},
                                        {"EraseRectangle", EraseRectangle}};
const Variant<BoxCall> kEllipses[] = {{"DrawEllipse", DrawEllipse},
                                      {"DrawFilledEllipse", DrawFilledEllipse},
                                      {"PaintEllipse", PaintEllipse},
                                      {"EraseEllipse", EraseEllipse}};
const Variant<void(int, int, int)> kCircles[] = {{"DrawCircle", DrawCircle},
                                                 {"DrawFilledCircle", DrawFilledCircle},
                                                 {"PaintCircle", PaintCircle},
                                                 {"EraseCircle", EraseCircle}};
const Variant<void(int, int, int, int, int, int)> kRoundRects[] = {{"DrawRoundRect", DrawRoundRect},
                                                                   {"DrawFilledRoundRect", DrawFilledRoundRect},
                                                                   {"PaintRoundRect", PaintRoundRect},
                                                                   {"EraseRoundRect", EraseRoundRect}};
const Variant<void(int, int, int, int, double, double)> kArcsAndPies[] = {{"DrawArc", DrawArc},
                                                                          {"DrawPie", DrawPie},
                                                                          {"DrawFilledPie", DrawFilledPie},
                                                                          {"PaintPie", PaintPie},
                                                                          {"ErasePie", ErasePie}};
const Variant<void(const POINT*, int)> kPolygons[] = {{"DrawPolyline", DrawPolyline},
                                                      {"DrawPolygon", DrawPolygon},
                                                      {"DrawFilledPolygon", DrawFilledPolygon},
                                                      {"PaintPolygon", PaintPolygon},
                                                      {"ErasePolygon", ErasePolygon}};

// Batches are begun twice as often as each of the other calls is made.
struct BatchCall {
    const char* name;
    void (*plain)();
    BoxCall* boxed;
};
const BatchCall kBatchCalls[] = {{"BeginBatch", BeginBatch, nullptr}, {"BeginBatch", BeginBatch, nullptr},
                                 {"FlushBatch", FlushBatch, nullptr}, {"FlushBatchRect", nullptr, FlushBatchRect},
                                 {"EndBatch", EndBatch, nullptr},     {"EndBatchRect", nullptr, EndBatchRect}};

// A colour setter and the getters that must then give its colour.
struct ColorSetting {
    const char* name;
    void (*set)(COLORREF);
    COLORREF (*get)();
    COLORREF (*alsoGet)();
};
const ColorSetting kColorSettings[] = {{"SetPenColor", SetPenColor, GetPenColor, nullptr},
                                       {"SetTextForeground", SetTextForeground, GetTextForeground, nullptr},
                                       {"SetDrawColor", SetDrawColor, GetPenColor, GetTextForeground},
                                       {"SetBackgroundColor", SetBackgroundColor, GetBackgroundColor, nullptr},
                                       {"SetBrushColor", SetBrushColor, GetBrushColor, nullptr}};

// A mode setter, whose valid values [low, high] must then read back.
struct ModeSetting {
    const char* name;
    int (*draw)(FuzzRandom&);
    void (*set)(int);
    int (*get)();
    int low;
    int high;
};
const ModeSetting kModeSettings[] = {
    {"SetBackgroundMode", SmallMode, SetBackgroundMode, GetBackgroundMode, TRANSPARENT, OPAQUE},
    {"SetRasterOp", MixMode, SetRasterOp, GetRasterOp, R2_BLACK, R2_WHITE},
    {"SetFillRule", SmallMode, SetFillRule, GetFillRule, ALTERNATE, WINDING}};

double FaceLength(const char* face) { return face ? double(std::strlen(face)) : -1; }

// A font record read back must end its face name within the record.
bool TextFontTerminated()
{
    LOGFONTA font;
    std::memset(&font, 0x5A, sizeof(font));
    GetTextFont(&font);
    return std::memchr(font.lfFaceName, '\0', LF_FACESIZE) != nullptr;
}

}  // namespace

const LibraryFuzzer::Operation LibraryFuzzer::kOperations[] = {
    {"select target", 60, false, &LibraryFuzzer::SelectRandomTarget},
    {"replace image", 15, false, &LibraryFuzzer::ReplaceImage},
    {"resize image", 15, true, &LibraryFuzzer::ResizeImage},
    {"assign image", 12, true, &LibraryFuzzer::AssignImage},
    {"temporary target", 10, false, &LibraryFuzzer::DrawOnTemporaryImage},
    {"open window", 1, false, &LibraryFuzzer::OpenWindow},
    {"close window", 1, false, &LibraryFuzzer::CloseWindow},
    {"batch", 30, true, &LibraryFuzzer::Batch},
    {"pixel buffer", 15, true, &LibraryFuzzer::WritePixels},
    {"disturb window", 10, true, &LibraryFuzzer::DisturbWindow},
    {"load picture", 12, true, &LibraryFuzzer::LoadPicture},
    {"copy region", 25, true, &LibraryFuzzer::CopyRegion},
    {"blit", 25, true, &LibraryFuzzer::Blit},
    {"blit region", 25, true, &LibraryFuzzer::BlitRegion},
    {"clear", 10, true, &LibraryFuzzer::Clear},
    {"colours", 40, true, &LibraryFuzzer::SetColors},
    {"modes", 20, true, &LibraryFuzzer::SetModes},
    {"origin", 15, true, &LibraryFuzzer::SetOrigin},
    {"scale", 15, true, &LibraryFuzzer::SetScale},
    {"clip", 15, true, &LibraryFuzzer::Clip},
    {"erase clip", 8, true, &LibraryFuzzer::EraseClip},
    {"reset", 8, true, &LibraryFuzzer::Reset},
    {"read state", 10, true, &LibraryFuzzer::ReadState},
    {"line style", 30, true, &LibraryFuzzer::LineStyle},
    {"line style record", 10, true, &LibraryFuzzer::LineStyleRecord},
    {"fill style", 30, true, &LibraryFuzzer::FillStyle},
    {"fill pattern", 10, true, &LibraryFuzzer::FillPattern},
    {"fill style record", 10, true, &LibraryFuzzer::FillStyleRecord},
    {"keep styles", 10, true, &LibraryFuzzer::KeepStyles},
    {"pixels", 15, true, &LibraryFuzzer::Pixels},
    {"position", 10, true, &LibraryFuzzer::Position},
    {"lines", 30, true, &LibraryFuzzer::Lines},
    {"rectangles", 30, true, &LibraryFuzzer::Rectangles},
    {"arc endpoints", 8, true, &LibraryFuzzer::ArcEndpoints},
    {"circles", 25, true, &LibraryFuzzer::Circles},
    {"ellipses", 25, true, &LibraryFuzzer::Ellipses},
    {"round rects", 20, true, &LibraryFuzzer::RoundRects},
    {"arcs and pies", 30, true, &LibraryFuzzer::ArcsAndPies},
    {"polygons", 30, true, &LibraryFuzzer::Polygons},
    {"flood fill", 10, true, &LibraryFuzzer::Flood},
    {"print", 20, true, &LibraryFuzzer::PrintText},
    {"print in rect", 20, true, &LibraryFuzzer::PrintTextInRect},
    {"measure text", 8, true, &LibraryFuzzer::MeasureText},
    {"fonts", 25, true, &LibraryFuzzer::Fonts},
};

LibraryFuzzer::LibraryFuzzer(OperationLog& log) : log(log)
{
    windowOpen = Graphics().window.hwnd != nullptr;
    target = Graphics().target == &Graphics().window ? nullptr : Graphics().target;
}

std::string LibraryFuzzer::RunSequence(uint64_t seed, int operations)
{
    random = FuzzRandom(seed);
    problem.clear();
    const int imageCount = random.Between(2, 6);
    for (int i = 0; i < imageCount; ++i) {
        const Size size = ImageSize(random);
        Record("IMAGE", i, size.width, size.height);
        images.push_back(std::make_unique<IMAGE>(size.width, size.height));
    }
    for (int i = 0; i < operations && problem.empty(); ++i) RunOne(false);
    Release();
    if (problem.empty()) {
        const std::string state = StateProblem();
        if (!state.empty()) Fail("after the sequence: " + state);
    }
    return problem;
}

const LibraryFuzzer::Operation& LibraryFuzzer::Choose(bool drawingOnly)
{
    uint32_t total = 0;
    for (const Operation& operation : kOperations) {
        if (!drawingOnly || operation.drawsOnly) total += operation.weight;
    }
    uint32_t pick = random.Below(total);
    for (const Operation& operation : kOperations) {
        if (drawingOnly && !operation.drawsOnly) continue;
        if (pick < operation.weight) return operation;
        pick -= operation.weight;
    }
    return kOperations[0];
}

void LibraryFuzzer::RunOne(bool drawingOnly)
{
    const Operation& operation = Choose(drawingOnly);
    if (log.Tracing()) {
        const GdiCensus before = GdiCensus::Take();
        LARGE_INTEGER start = {};
        LARGE_INTEGER end = {};
        LARGE_INTEGER frequency = {};
        QueryPerformanceCounter(&start);
        (this->*operation.run)();
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);
        const GdiCensus after = GdiCensus::Take();
        const double milliseconds = double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
        std::string detail = after != before ? "GDI: " + after.Describe() : std::string();
        if (milliseconds > 200) detail += "; drawing state: " + DescribeContext(Graphics().targetDC);
        log.Note(milliseconds, detail);
    } else {
        (this->*operation.run)();
    }
    ++operationsRun;
    if (!problem.empty()) return;
    const std::string state = StateProblem();
    if (!state.empty()) Fail(std::string("after ") + operation.name + ": " + state);
}

void LibraryFuzzer::Fail(const std::string& what)
{
    if (problem.empty()) problem = what + "\n" + log.Describe();
}

template <typename... Arguments>
void LibraryFuzzer::Record(const char* name, Arguments... arguments)
{
    log.Record(name, {double(arguments)...});
}

template <typename Function, typename... Arguments>
void LibraryFuzzer::Call(const char* name, Function* function, Arguments... arguments)
{
    Record(name, arguments...);
    function(arguments...);
}

std::string LibraryFuzzer::StateProblem() const
{
    for (size_t i = 0; i < images.size(); ++i) {
        const std::string found = ImageProblem(*images[i]);
        if (!found.empty()) return "image " + std::to_string(i) + ": " + found;
    }
    if (temporary) {
        const std::string found = ImageProblem(*temporary);
        if (!found.empty()) return "temporary image: " + found;
    }
    Tovax::GraphicsState& state = Graphics();
    std::string backBuffer;
    {
        // The window's thread paints from the back buffer's context under the
        // lock, and a context in use on another thread answers no queries.
        Tovax::LockGuard guard;
        backBuffer = ImageProblem(state.window);
    }
    if (!backBuffer.empty()) return "back buffer: " + backBuffer;
    for (const auto& record : lineRecords) {
        if ((record->dashes == nullptr) != (record->dashCount == 0)) return "a kept line style lost its dashes";
    }
    for (const auto& record : fillRecords) {
        if (record->pattern) {
            const std::string found = ImageProblem(*record->pattern);
            if (!found.empty()) return "kept fill style pattern: " + found;
        }
    }
    const IMAGE* expected = target ? target : &state.window;
    if (state.target != expected) return "the current target is not the one last selected";
    if (target && (state.device != &state.imageDevice || state.targetDC != target->dc || state.windowDC)) {
        return "the image target's device or contexts are not the image's";
    }
    if (!target && (state.device != &state.windowDevice || state.targetDC != state.window.dc)) {
        return "the window target's device or context is not the window's";
    }
    if (windowOpen && !IsWindow(state.window.hwnd)) return "the window is gone";
    return {};
}

void LibraryFuzzer::Release()
{
    Record("release");
    Select(nullptr);
    EndBatch();
    Tovax::GraphicsState& state = Graphics();
    if (!windowOpen) {
        windowOpen = OpenGraphWindow(kWindowWidth, kWindowHeight, 0) != nullptr;
        ++windowsOpened;
    }
    if (state.window.width != kWindowWidth || state.window.height != kWindowHeight) {
        LoadResourcePicture(nullptr, "IMAGE", MAKEINTRESOURCEA(104), kWindowWidth, kWindowHeight, true);
    }
    ResetTargetState();
    images.clear();
    lineRecords.clear();
    fillRecords.clear();
}

IMAGE* LibraryFuzzer::PoolImage() { return images[random.Below(static_cast<uint32_t>(images.size()))].get(); }

IMAGE* LibraryFuzzer::AnyImage()
{
    if (temporary && random.Chance(300)) return temporary;
    if (random.Chance(30)) {
        if (IMAGE* pattern = PoolImage()->brushStyle.pattern) return pattern;
    }
    return PoolImage();
}

IMAGE* LibraryFuzzer::CurrentImage() const { return target ? target : &Graphics().window; }

double LibraryFuzzer::Label(const IMAGE* image) const
{
    if (!image) return -1;
    if (image == &Graphics().window) return -2;
    if (image == temporary) return 100;
    for (size_t i = 0; i < images.size(); ++i) {
        if (images[i].get() == image) return double(i);
        if (images[i]->brushStyle.pattern == image) return 200 + double(i);
    }
    return 999;
}

void LibraryFuzzer::Select(IMAGE* image)
{
    SelectTarget(image);
    target = image;
}

void LibraryFuzzer::Skip(const char* name)
{
    Record(name);
    ++operationsSkipped;
}

template <typename Function, typename... Arguments>
void LibraryFuzzer::Curve(const char* name, Function* function, const RECT& box, const char* skip,
                          Arguments... arguments)
{
    if (!BoxReachable(box, kCurveReach, Outlined(name) ? kCurvePenReach : HUGE_VAL)) return Skip(skip);
    Call(name, function, arguments...);
}

// ---- Target and window ----

void LibraryFuzzer::SelectRandomTarget()
{
    const uint32_t choice = random.Below(static_cast<uint32_t>(images.size()) + 2);
    IMAGE* image = choice < images.size() ? images[choice].get() : nullptr;
    Record("SelectTarget", Label(image));
    Select(image);
}

void LibraryFuzzer::ReplaceImage()
{
    const size_t index = random.Below(static_cast<uint32_t>(images.size()));
    if (images[index].get() == target) return Skip("replace the current target");
    if (images.size() > 1 && random.Chance(150)) {
        Record("~IMAGE", index);
        images.erase(images.begin() + static_cast<std::ptrdiff_t>(index));
        return;
    }
    const Size size = ImageSize(random);
    Record("IMAGE", index, size.width, size.height);
    images[index] = std::make_unique<IMAGE>(size.width, size.height);
    if (images.size() < 8 && random.Chance(200)) images.push_back(std::make_unique<IMAGE>());
}

void LibraryFuzzer::ResizeImage()
{
    IMAGE* image = AnyImage();
    const Size size = ImageSize(random);
    Record("Resize", Label(image), size.width, size.height);
    const Snapshot before(*image);
    image->Resize(size.width, size.height);
    if (!ResizedOrKept(before, *image, size)) Fail("Resize left the image neither resized nor as it was");
}

void LibraryFuzzer::AssignImage()
{
    IMAGE* destination = AnyImage();
    IMAGE* source = AnyImage();
    if (random.Chance(200)) {
        Record("IMAGE(copy)", Label(source));
        IMAGE copy(*source);
        const std::string found = ImageProblem(copy);
        if (!found.empty()) Fail("a copied image: " + found);
        return;
    }
    Record("operator=", Label(destination), Label(source));
    const Snapshot before(*destination);
    *destination = *source;
    if (destination == source || !source->pixels) {
        if (!before.SameAs(*destination)) Fail("assigning itself or an empty image changed the destination");
        return;
    }
    if (before.SameAs(*destination) && (before.width != source->width || before.height != source->height)) return;
    if (destination->width != source->width || destination->height != source->height) {
        return Fail("the assigned image has another size than its source");
    }
    const size_t count = size_t(source->width) * size_t(source->height);
    if (count <= 65536 && std::memcmp(destination->pixels, source->pixels, count * sizeof(uint32_t)) != 0) {
        Fail("the assigned image has other pixels than its source");
    }
}

void LibraryFuzzer::DrawOnTemporaryImage()
{
    if (nesting) return;
    IMAGE* previous = target;
    const Size size = ImageSize(random);
    const bool copied = random.Chance(300);
    IMAGE* source = copied ? AnyImage() : nullptr;
    Record("temporary IMAGE", size.width, size.height, Label(source));
    IMAGE image = copied ? IMAGE(*source) : IMAGE(size.width, size.height);
    temporary = &image;
    Select(&image);
    ++nesting;
    const int count = random.Between(1, 5);
    for (int i = 0; i < count && problem.empty(); ++i) RunOne(true);
    --nesting;
    Record("SelectTarget", Label(previous));
    Select(previous);
    temporary = nullptr;
}

void LibraryFuzzer::OpenWindow()
{
    // Rarer than its weight allows: each window takes a thread of its own
    // and tens of milliseconds to open.
    if (!random.Chance(250)) return;
    HWND previous = Graphics().window.hwnd;
    const Size size = WindowSize(random);
    // The console flag would give this test a console of its own.
    int flags = static_cast<int>(random.Below(8)) & ~WindowFlagConsole;
    if (random.Chance(100)) flags |= static_cast<int>(random.Next32() & ~7u);
    Record("OpenGraphWindow", size.width, size.height, flags);
    HWND window = OpenGraphWindow(size.width, size.height, flags);
    ++windowsOpened;
    windowOpen = window != nullptr;
    target = nullptr;
    if (!window) Fail("OpenGraphWindow gave no window");
    if (previous && IsWindow(previous)) Fail("OpenGraphWindow left the previous window behind");
}

void LibraryFuzzer::CloseWindow()
{
    if (!random.Chance(250)) return;
    HWND window = Graphics().window.hwnd;
    Call("CloseGraphWindow", CloseGraphWindow);
    windowOpen = false;
    if (window && IsWindow(window)) Fail("CloseGraphWindow left its window behind");
}

void LibraryFuzzer::Batch()
{
    const RECT box = Rectangle(random);
    const BatchCall& call = random.Pick(kBatchCalls);
    if (call.boxed) return Call(call.name, call.boxed, box.left, box.top, box.right, box.bottom);
    Call(call.name, call.plain);
}

void LibraryFuzzer::WritePixels()
{
    IMAGE* image = random.Chance(300) ? nullptr : AnyImage();
    const IMAGE& owner = image ? *image : Graphics().window;
    Record("GetPixelBuffer", Label(image));
    uint32_t* pixels = GetPixelBuffer(image);
    if (pixels != owner.pixels) return Fail("GetPixelBuffer does not give the image's pixels");
    const size_t count = size_t(owner.width) * size_t(owner.height);
    if (!pixels || !count) return;
    const uint32_t value = random.Next32();
    pixels[0] = value;
    pixels[count - 1] = value;
    pixels[random.Below(static_cast<uint32_t>(std::min<size_t>(count, UINT32_MAX)))] = value;
}

void LibraryFuzzer::DisturbWindow()
{
    HWND window = Graphics().window.hwnd;
    if (!window) return;
    switch (random.Below(3)) {
    case 0:
        Record("InvalidateRect");
        InvalidateRect(window, nullptr, FALSE);
        break;
    case 1:
        Record("RedrawWindow");
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
    default: {
        const UINT message = WM_MOUSEFIRST + random.Below(WM_MOUSEWHEEL - WM_MOUSEFIRST + 1);
        const WPARAM wParam = random.Next32();
        const LPARAM lParam = static_cast<LPARAM>(random.Next32());
        Record("PostMessage", message, wParam, lParam);
        PostMessageA(window, message, wParam, lParam);
        break;
    }
    }
}

// ---- Pictures, copies and blits ----

void LibraryFuzzer::LoadPicture()
{
    IMAGE* image = random.Chance(250) ? nullptr : AnyImage();
    const LPCSTR type = PictureType(random);
    const LPCSTR name = PictureName(random);
    Size size = {0, 0};
    if (random.Chance(400)) size = random.Chance(200) ? Size{Offset(random), Offset(random)} : ImageSize(random);
    const bool resize = random.Chance(300);
    {
        HDC destination = image ? image->dc : Graphics().window.dc;
        const bool sized = size.width > 0 && size.height > 0;
        Tovax::LockGuard guard;
        if (!BlockWithin(destination, 0, 0, sized ? size.width : 3120, sized ? size.height : 240)) {
            return Skip("picture beyond reach");
        }
    }
    Record("LoadResourcePicture", Label(image),
           IS_INTRESOURCE(type) ? double(reinterpret_cast<UINT_PTR>(type)) : -double(type[0]),
           IS_INTRESOURCE(name) ? double(reinterpret_cast<UINT_PTR>(name)) : -double(name[1]), size.width, size.height,
           resize);
    LoadResourcePicture(image, type, name, size.width, size.height, resize);
}

void LibraryFuzzer::CopyRegion()
{
    IMAGE* destination = AnyImage();
    if (destination == CurrentImage()) return Skip("copy into the current target");
    const int x = Coordinate(random);
    const int y = Coordinate(random);
    const Size size = random.Chance(500) ? ImageSize(random) : Size{Offset(random), Offset(random)};
    if (!BlockReachable(x, y, size.width, size.height)) return Skip("copy beyond reach");
    Record("CopyToImage", Label(destination), x, y, size.width, size.height);
    const Snapshot before(*destination);
    CopyToImage(destination, x, y, size.width, size.height);
    if (!ResizedOrKept(before, *destination, size)) {
        Fail("CopyToImage left the destination neither of the region's size nor as it was");
    }
}

void LibraryFuzzer::Blit()
{
    const int x = Coordinate(random);
    const int y = Coordinate(random);
    IMAGE* image = AnyImage();
    const DWORD rop = RasterOperation(random);
    if (!BlockReachable(x, y, image->width, image->height) ||
        !BlockWithin(image->dc, 0, 0, image->width, image->height)) {
        return Skip("blit beyond reach");
    }
    Record("BlitImage", x, y, Label(image), rop);
    BlitImage(x, y, image, rop);
}

void LibraryFuzzer::BlitRegion()
{
    const int x = Coordinate(random);
    const int y = Coordinate(random);
    const int width = Span(random);
    const int height = Span(random);
    IMAGE* image = AnyImage();
    const int sourceX = Span(random);
    const int sourceY = Span(random);
    const DWORD rop = RasterOperation(random);
    if (!BlockReachable(x, y, width, height) || !BlockWithin(image->dc, sourceX, sourceY, width, height)) {
        return Skip("blit beyond reach");
    }
    Record("BlitImageRegion", x, y, width, height, Label(image), sourceX, sourceY, rop);
    BlitImageRegion(x, y, width, height, image, sourceX, sourceY, rop);
}

// ---- State ----

void LibraryFuzzer::Clear()
{
    Call("ClearTarget", ClearTarget);
    const IMAGE& image = *CurrentImage();
    if (image.curX != 0 || image.curY != 0) return Fail("ClearTarget left the current position elsewhere than (0, 0)");
    const size_t count = size_t(image.width) * size_t(image.height);
    if (!image.pixels || count > 65536) return;
    const uint32_t expected = Tovax::ColorToPixel(image.bkColor);
    if (std::any_of(image.pixels, image.pixels + count, [&](uint32_t pixel) { return pixel != expected; })) {
        Fail("ClearTarget left pixels of another colour than the background");
    }
}

void LibraryFuzzer::SetColors()
{
    const COLORREF color = Color(random);
    const ColorSetting& setting = random.Pick(kColorSettings);
    Call(setting.name, setting.set, color);
    if (setting.get() != color || (setting.alsoGet && setting.alsoGet() != color)) {
        Fail(std::string(setting.name) + ": a colour reads other than the one just set");
    }
}

void LibraryFuzzer::SetModes()
{
    const ModeSetting& setting = random.Pick(kModeSettings);
    const int mode = setting.draw(random);
    Call(setting.name, setting.set, mode);
    if (mode >= setting.low && mode <= setting.high && setting.get() != mode) {
        Fail(std::string(setting.name) + ": the mode did not take");
    }
}

void LibraryFuzzer::SetOrigin()
{
    const int x = Coordinate(random);
    const int y = Coordinate(random);
    Call("SetTargetOrigin", SetTargetOrigin, x, y);
    const XFORM& transform = CurrentImage()->transform;
    if (transform.eDx != static_cast<float>(x) || transform.eDy != static_cast<float>(y)) {
        Fail("the target's transform does not hold the origin just set");
    }
}

void LibraryFuzzer::SetScale()
{
    const float sx = Scale(random);
    const float sy = random.Chance(500) ? sx : Scale(random);
    Call("SetTargetScale", SetTargetScale, sx, sy);
    float readX = 0;
    float readY = 0;
    GetTargetScale(&readX, &readY);
    if (std::memcmp(&readX, &sx, sizeof(float)) != 0 || std::memcmp(&readY, &sy, sizeof(float)) != 0) {
        Fail("GetTargetScale differs from the scale just set");
    }
}

void LibraryFuzzer::Clip()
{
    HRGN region = Region(random);
    RECT box = {};
    if (region) GetRgnBox(region, &box);
    Record("SetClipRegion", region != nullptr, box.left, box.top, box.right, box.bottom);
    SetClipRegion(region);
    if (region) DeleteObject(region);
}

void LibraryFuzzer::EraseClip() { Call("EraseClipRegion", EraseClipRegion); }

void LibraryFuzzer::Reset()
{
    Call("ResetTargetState", ResetTargetState);
    float sx = 0;
    float sy = 0;
    GetTargetScale(&sx, &sy);
    if (GetPenColor() != 0xFFFFFF || GetBrushColor() != 0xFFFFFF || GetBackgroundColor() != 0 || sx != 1.0f ||
        sy != 1.0f || GetCurrentX() != 0 || GetCurrentY() != 0) {
        Fail("ResetTargetState did not restore the default state");
    }
}

void LibraryFuzzer::ReadState()
{
    Record("getters");
    const IMAGE& image = *CurrentImage();
    if (GetTargetWidth() != image.width || GetTargetHeight() != image.height) {
        return Fail("the target's size reads wrong");
    }
    if (GetCurrentX() != image.curX || GetCurrentY() != image.curY) return Fail("the current position reads wrong");
    if (GetPenColor() != image.lineColor || GetBrushColor() != image.fillColor ||
        GetTextForeground() != image.textColor || GetBackgroundColor() != image.bkColor) {
        return Fail("a colour reads wrong");
    }
    GetBackgroundMode();
    GetRasterOp();
    GetFillRule();
    if (!TextFontTerminated()) Fail("GetTextFont gave a face name without its end");
}

// ---- Styles ----

void LibraryFuzzer::LineStyle()
{
    const uint32_t style = PenStyle(random);
    const int thickness = PenThickness(random);
    uint32_t dashes[kMaxDashes];
    uint32_t count = Dashes(random, dashes);
    const uint32_t* given = dashes;
    IMAGE& image = *CurrentImage();
    if (random.Chance(150) && image.penStyle.dashes) {
        // The target's own dashes, as a caller may hand them back with a new width.
        given = image.penStyle.dashes;
        count = std::min(image.penStyle.dashCount, kMaxDashes);
        std::copy(given, given + count, dashes);
    } else if (random.Chance(100)) {
        given = nullptr;
        count = 0;
    }
    Record("ApplyLineStyle", style, thickness, given != nullptr, count, count ? dashes[0] : 0);
    ApplyLineStyle(style, thickness, given, count);
    const LINESTYLE& kept = image.penStyle;
    if (kept.style != style || kept.thickness != thickness) return Fail("ApplyLineStyle did not keep the style");
    const bool hasDashes = (style & 0x0F) == PS_USERSTYLE && given && count > 0;
    if (!hasDashes) {
        if (kept.dashes || kept.dashCount) Fail("ApplyLineStyle kept dashes for a style without them");
        return;
    }
    if (kept.dashCount != count || !kept.dashes || !std::equal(dashes, dashes + count, kept.dashes)) {
        Fail("ApplyLineStyle did not keep the dashes it was given");
    }
}

template <typename Style>
const Style* LibraryFuzzer::ChooseRecord(const std::vector<std::unique_ptr<Style>>& kept, Style IMAGE::*member,
                                         const Style* fresh)
{
    switch (random.Below(4)) {
    case 0:
        return kept.empty() ? fresh : kept[random.Below(static_cast<uint32_t>(kept.size()))].get();
    case 1:
        return &(CurrentImage()->*member);
    case 2:
        return &(PoolImage()->*member);
    default:
        return fresh;
    }
}

void LibraryFuzzer::LineStyleRecord()
{
    LINESTYLE fresh;
    const LINESTYLE* record = ChooseRecord(lineRecords, &IMAGE::penStyle, &fresh);
    if (record == &fresh) {
        fresh.style = PenStyle(random);
        fresh.thickness = PenThickness(random);
        uint32_t dashes[kMaxDashes];
        const uint32_t count = Dashes(random, dashes);
        if ((fresh.style & 0x0F) == PS_USERSTYLE && count) {
            fresh.dashes = new uint32_t[count];
            std::copy(dashes, dashes + count, fresh.dashes);
            fresh.dashCount = count;
        }
    }
    const uint32_t style = record->style;
    const int thickness = record->thickness;
    Record("ApplyLineStyleRecord", style, thickness, record->dashCount);
    ApplyLineStyleRecord(record);
    const LINESTYLE& kept = CurrentImage()->penStyle;
    if (kept.style != style || kept.thickness != thickness) Fail("ApplyLineStyleRecord did not keep the style");
}

void LibraryFuzzer::FillStyle()
{
    const int kind = BrushKind(random);
    const int hatch = HatchKind(random);
    const IMAGE* pattern = nullptr;
    switch (random.Below(5)) {
    case 0:
        break;
    case 1:
        pattern = PoolImage()->brushStyle.pattern;
        break;
    default:
        pattern = AnyImage();
        break;
    }
    Record("ApplyFillStyle", kind, hatch, Label(pattern));
    const FILLSTYLE before = CurrentImage()->brushStyle;
    ApplyFillStyle(kind, hatch, pattern);
    const FILLSTYLE& kept = CurrentImage()->brushStyle;
    const bool patternKind = kind == BS_PATTERN || kind == BS_DIBPATTERN;
    if (patternKind && !pattern) {
        if (kept.style != before.style) Fail("ApplyFillStyle without a pattern image changed the fill kind");
        return;
    }
    if (kept.style != kind) return Fail("ApplyFillStyle did not keep the fill kind");
    if (kind == BS_HATCHED && kept.hatch != hatch) return Fail("ApplyFillStyle did not keep the hatch");
    if (patternKind && !kept.pattern) Fail("ApplyFillStyle kept no pattern image");
}

void LibraryFuzzer::FillPattern()
{
    uint8_t rows[8];
    for (uint8_t& row : rows) row = static_cast<uint8_t>(random.Next32());
    Record("SetFillPattern", rows[0], rows[1], rows[7]);
    SetFillPattern(rows);
}

void LibraryFuzzer::FillStyleRecord()
{
    FILLSTYLE fresh;
    const FILLSTYLE* record = ChooseRecord(fillRecords, &IMAGE::brushStyle, &fresh);
    if (record == &fresh) {
        fresh.style = BrushKind(random);
        fresh.hatch = HatchKind(random);
        if (random.Chance(600)) {
            const Size size =
                random.Chance(800) ? Size{random.Between(0, 16), random.Between(0, 16)} : ImageSize(random);
            fresh.pattern = new IMAGE(size.width, size.height);
        }
    }
    Record("ApplyFillStyleRecord", record->style, record->hatch, Label(record->pattern));
    const int32_t kind = record->style;
    ApplyFillStyleRecord(record);
    if (CurrentImage()->brushStyle.style != kind) Fail("ApplyFillStyleRecord did not keep the fill kind");
}

void LibraryFuzzer::KeepStyles()
{
    if (random.Chance(500)) {
        if (lineRecords.size() < 3) lineRecords.push_back(std::make_unique<LINESTYLE>());
        LINESTYLE* record = lineRecords[random.Below(static_cast<uint32_t>(lineRecords.size()))].get();
        Record("GetLineStyle");
        GetLineStyle(record);
        const LINESTYLE& own = CurrentImage()->penStyle;
        if (record->style != own.style || record->dashCount != own.dashCount ||
            (own.dashes && !std::equal(own.dashes, own.dashes + own.dashCount, record->dashes))) {
            Fail("GetLineStyle gave another line style than the target's");
        }
        return;
    }
    if (fillRecords.size() < 3) fillRecords.push_back(std::make_unique<FILLSTYLE>());
    FILLSTYLE* record = fillRecords[random.Below(static_cast<uint32_t>(fillRecords.size()))].get();
    Record("GetFillStyle");
    GetFillStyle(record);
    if (record->style != CurrentImage()->brushStyle.style) {
        Fail("GetFillStyle gave another fill kind than the target's");
    }
}

// ---- Pixels, lines and shapes ----

void LibraryFuzzer::Pixels()
{
    const int x = Coordinate(random);
    const int y = Coordinate(random);
    if (random.Chance(500)) return Call("ReadPixel", ReadPixel, x, y);
    Call("WritePixel", WritePixel, x, y, Color(random));
}

void LibraryFuzzer::Position()
{
    const IMAGE& image = *CurrentImage();
    if (random.Chance(500)) {
        const int x = Coordinate(random);
        const int y = Coordinate(random);
        Call("SetCurrentPosition", SetCurrentPosition, x, y);
        if (image.curX != x || image.curY != y) Fail("SetCurrentPosition did not move the current position");
        return;
    }
    const int dx = Offset(random);
    const int dy = Offset(random);
    const int x = Wrapped(int64_t(image.curX) + dx);
    const int y = Wrapped(int64_t(image.curY) + dy);
    Call("MoveCurrentBy", MoveCurrentBy, dx, dy);
    if (image.curX != x || image.curY != y) Fail("MoveCurrentBy did not move the current position by the offset");
}

void LibraryFuzzer::Lines()
{
    const IMAGE& image = *CurrentImage();
    const int kind = static_cast<int>(random.Below(3));
    POINT ends[2] = {{image.curX, image.curY}, {Coordinate(random), Coordinate(random)}};
    if (kind == 0) ends[0] = {Coordinate(random), Coordinate(random)};
    const int dx = Offset(random);
    const int dy = Offset(random);
    if (kind == 2) ends[1] = {Wrapped(int64_t(image.curX) + dx), Wrapped(int64_t(image.curY) + dy)};
    if (!PointsReachable(ends, 2, HUGE_VAL, kStraightPenReach)) return Skip("line beyond reach");
    if (kind == 0) {
        const POINT position = {image.curX, image.curY};
        Call("DrawLine", DrawLine, ends[0].x, ends[0].y, ends[1].x, ends[1].y);
        if (image.curX != position.x || image.curY != position.y) Fail("DrawLine moved the current position");
        return;
    }
    if (kind == 1) {
        Call("DrawLineTo", DrawLineTo, ends[1].x, ends[1].y);
    } else {
        Call("DrawLineBy", DrawLineBy, dx, dy);
    }
    if (image.curX != ends[1].x || image.curY != ends[1].y) Fail("a line from the current position did not end there");
}

void LibraryFuzzer::Rectangles()
{
    const RECT box = Rectangle(random);
    const auto& shape = random.Pick(kRectangles);
    if (Outlined(shape.name) && !BoxReachable(box, HUGE_VAL, kStraightPenReach)) return Skip("rectangle beyond reach");
    Call(shape.name, shape.function, box.left, box.top, box.right, box.bottom);
}

void LibraryFuzzer::ArcEndpoints()
{
    const RECT box = Rectangle(random);
    const double start = Angle(random);
    const double end = Angle(random);
    Record("ComputeArcEndpoints", box.left, box.top, box.right, box.bottom, start, end);
    int xs = 0, ys = 0, xe = 0, ye = 0;
    ComputeArcEndpoints(box.left, box.top, box.right, box.bottom, start, end, &xs, &ys, &xe, &ye);
    const auto inside = [&](int x, int y) {
        return x >= std::min(box.left, box.right) && x <= std::max(box.left, box.right) &&
               y >= std::min(box.top, box.bottom) && y <= std::max(box.top, box.bottom);
    };
    if (!inside(xs, ys) || !inside(xe, ye)) {
        char line[200];
        std::snprintf(line, sizeof(line), "ComputeArcEndpoints gave a point outside its box: (%d, %d)", xs, ys);
        Fail(line);
    }
}

void LibraryFuzzer::Circles()
{
    const int x = CoordinateWithin(random, kCurveCoordinates);
    const int y = CoordinateWithin(random, kCurveCoordinates);
    const int r = random.Chance(800) ? random.Between(-10, 120) : Offset(random);
    const RECT box = {Wrapped(int64_t(x) - r), Wrapped(int64_t(y) - r), Wrapped(int64_t(x) + r),
                      Wrapped(int64_t(y) + r)};
    const auto& shape = random.Pick(kCircles);
    Curve(shape.name, shape.function, box, "circle beyond reach", x, y, r);
}

void LibraryFuzzer::Ellipses()
{
    const RECT box = CurveBox(random);
    const auto& shape = random.Pick(kEllipses);
    Curve(shape.name, shape.function, box, "ellipse beyond reach", box.left, box.top, box.right, box.bottom);
}

void LibraryFuzzer::RoundRects()
{
    const RECT box = CurveBox(random);
    const int ellipseWidth = Span(random);
    const int ellipseHeight = Span(random);
    const auto& shape = random.Pick(kRoundRects);
    Curve(shape.name, shape.function, box, "rounded rectangle beyond reach", box.left, box.top, box.right, box.bottom,
          ellipseWidth, ellipseHeight);
}

void LibraryFuzzer::ArcsAndPies()
{
    const RECT box = CurveBox(random);
    const double start = Angle(random);
    const double end = Angle(random);
    const auto& shape = random.Pick(kArcsAndPies);
    Curve(shape.name, shape.function, box, "arc beyond reach", box.left, box.top, box.right, box.bottom, start, end);
}

void LibraryFuzzer::Polygons()
{
    const uint32_t capacity = sizeof(points) / sizeof(points[0]);
    const int count = static_cast<int>(random.Chance(20) ? random.Below(capacity + 1) : random.Below(9));
    const bool manyPoints = count > 16;
    const bool wide = random.Chance(100);
    for (int i = 0; i < count; ++i) {
        if (wide) {
            points[i] = {Coordinate(random), Coordinate(random)};
        } else if (manyPoints) {
            points[i] = {random.Between(-40, 420), random.Between(-40, 420)};
        } else {
            points[i] = {CoordinateWithin(random, 1 << 20), CoordinateWithin(random, 1 << 20)};
        }
    }
    const auto& shape = random.Pick(kPolygons);
    if (!PointsReachable(points, count, manyPoints ? kManyPointsReach : kPolygonReach,
                         Outlined(shape.name) ? kStraightPenReach : HUGE_VAL)) {
        return Skip("polygon beyond reach");
    }
    const POINT* given = count == 0 && random.Chance(500) ? nullptr : points;
    Record(shape.name, count, count ? points[0].x : 0, count ? points[0].y : 0);
    shape.function(given, count);
}

void LibraryFuzzer::Flood()
{
    if (CurrentImage()->height > kFloodRows) return Skip("flood fill on a tall target");
    const int x = Coordinate(random);
    const int y = Coordinate(random);
    Call("FloodFillArea", FloodFillArea, x, y, Color(random));
}

// ---- Text ----

const char* LibraryFuzzer::PrepareText()
{
    if (random.Chance(200)) return kReadOnlyText;
    FuzzArguments::Text(random, text, kTextCapacity);
    const size_t length = std::strlen(text);
    std::memset(text + length + 1, 0xA5, kCanary);
    std::memcpy(textBefore, text, length + 1 + kCanary);
    return text;
}

bool LibraryFuzzer::TextUnchanged(const char* given) const
{
    return given != text || std::memcmp(text, textBefore, std::strlen(textBefore) + 1 + kCanary) == 0;
}

void LibraryFuzzer::PrintText()
{
    const char* given = PrepareText();
    const double length = double(std::strlen(given));
    const IMAGE& image = *CurrentImage();
    const bool atCurrent = random.Chance(300);
    const POINT anchor = atCurrent ? POINT{image.curX, image.curY} : POINT{Coordinate(random), Coordinate(random)};
    if (!GlyphsReachable(&anchor, 1)) return Skip("glyphs beyond reach");
    if (atCurrent) {
        Record("PrintAtCurrent", length);
        PrintAtCurrent(given);
        if (image.curY != anchor.y) Fail("PrintAtCurrent moved the current position vertically");
    } else {
        Record("PrintAt", anchor.x, anchor.y, length);
        PrintAt(anchor.x, anchor.y, given);
    }
    if (!TextUnchanged(given)) Fail("printing changed the caller's text");
}

void LibraryFuzzer::PrintTextInRect()
{
    const char* given = PrepareText();
    RECT box = Rectangle(random);
    if (random.Chance(600)) {
        box = {random.Between(-20, 200), random.Between(-20, 200), random.Between(-20, 300), random.Between(-20, 300)};
    }
    if (!GlyphsReachable(Corners(box).data(), 4)) return Skip("glyphs beyond reach");
    uint32_t format = TextFormat(random);
    if ((format & DT_EXPANDTABS) && !AverageCharacterWidthKnown()) format &= ~static_cast<uint32_t>(DT_EXPANDTABS);
    Record("PrintInRect", std::strlen(given), box.left, box.top, box.right, box.bottom, format);
    PrintInRect(given, &box, format);
    if (!TextUnchanged(given)) Fail("PrintInRect changed the caller's text");
}

void LibraryFuzzer::MeasureText()
{
    if (!GlyphsReachable(nullptr, 0)) return Skip("glyphs beyond reach");
    const char* given = PrepareText();
    Record("MeasureText", std::strlen(given));
    MeasureTextWidth(given);
    MeasureTextHeight(given);
    if (!TextUnchanged(given)) Fail("measuring changed the caller's text");
}

void LibraryFuzzer::Fonts()
{
    char scratch[256];
    switch (random.Below(5)) {
    case 0: {
        const LOGFONTA font = FuzzArguments::Font(random);
        Record("SetTextFontRecord", font.lfHeight, font.lfWidth, font.lfCharSet);
        SetTextFontRecord(&font);
        break;
    }
    case 1: {
        const LOGFONTA font = FuzzArguments::Font(random);
        const char* face = Face(random, scratch);
        Record("SetTextFontFull", font.lfHeight, font.lfWidth, FaceLength(face));
        SetTextFontFull(font.lfHeight, font.lfWidth, face, font.lfEscapement, font.lfOrientation, font.lfWeight,
                        font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
                        font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily);
        break;
    }
    case 2: {
        const LOGFONTA font = FuzzArguments::Font(random);
        const char* face = Face(random, scratch);
        Record("SetTextFontStyled", font.lfHeight, font.lfWidth, FaceLength(face));
        SetTextFontStyled(font.lfHeight, font.lfWidth, face, font.lfEscapement, font.lfOrientation, font.lfWeight,
                          font.lfItalic, font.lfUnderline, font.lfStrikeOut);
        break;
    }
    case 3: {
        const int height = FontHeight(random);
        const int width = FontWidth(random);
        const char* face = Face(random, scratch);
        Record("SetTextFont", height, width, FaceLength(face));
        SetTextFont(height, width, face);
        break;
    }
    default:
        Record("GetTextFont");
        if (!TextFontTerminated()) Fail("GetTextFont gave a face name without its end");
        break;
    }
}
