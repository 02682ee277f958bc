// Random but interface-valid operation sequences over images and the window:
// every pointer handed to the library is valid (or null where the interface
// allows null), an image is never destroyed while it is the current target,
// and every count matches its array.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_arguments.h"
#include "operation_log.h"
#include "tovax.h"

class LibraryFuzzer {
public:
    static constexpr int kWindowWidth = 320;
    static constexpr int kWindowHeight = 240;

    explicit LibraryFuzzer(OperationLog& log);

    // One sequence drawn from `seed`: a few fresh images and `operations`
    // random calls, each followed by the consistency checks. It ends with the
    // window open, current, out of any batch and reset, and every image and
    // style record of the sequence destroyed. Returns what went wrong, or an
    // empty text.
    std::string RunSequence(uint64_t seed, int operations);

    // Windows opened so far, by the sequences and to restore the window after them.
    int WindowsOpened() const { return windowsOpened; }
    uint64_t OperationsRun() const { return operationsRun; }
    // Shapes left out because their device extent lies where the platform's
    // rasteriser stalls.
    uint64_t OperationsSkipped() const { return operationsSkipped; }

private:
    struct Operation {
        const char* name;
        uint32_t weight;
        bool drawsOnly;  // keeps the set of images and the target as they are
        void (LibraryFuzzer::*run)();
    };
    static const Operation kOperations[];

    const Operation& Choose(bool drawingOnly);
    void RunOne(bool drawingOnly);
    void Fail(const std::string& what);
    // Logs a call; every argument must convert to a double.
    template <typename... Arguments>
    void Record(const char* name, Arguments... arguments);
    // Logs a call with its arguments and makes it.
    template <typename Function, typename... Arguments>
    void Call(const char* name, Function* function, Arguments... arguments);
    std::string StateProblem() const;
    void Release();

    // Images the calls may use.
    IMAGE* PoolImage();
    IMAGE* AnyImage();
    IMAGE* CurrentImage() const;
    double Label(const IMAGE* image) const;
    void Select(IMAGE* image);

    void Skip(const char* name);
    // A curve within `box`, outlined by the Draw... calls: made, or left out
    // as `skip` when it lies beyond reach.
    template <typename Function, typename... Arguments>
    void Curve(const char* name, Function* function, const RECT& box, const char* skip, Arguments... arguments);

    // Target and window.
    void SelectRandomTarget();
    void ReplaceImage();
    void ResizeImage();
    void AssignImage();
    void DrawOnTemporaryImage();
    void OpenWindow();
    void CloseWindow();
    void Batch();
    void WritePixels();
    void DisturbWindow();
    // Pictures, copies, blits.
    void LoadPicture();
    void CopyRegion();
    void Blit();
    void BlitRegion();
    // State.
    void Clear();
    void SetColors();
    void SetModes();
    void SetOrigin();
    void SetScale();
    void Clip();
    void EraseClip();
    void Reset();
    void ReadState();
    // Styles.
    void LineStyle();
    void LineStyleRecord();
    void FillStyle();
    void FillPattern();
    void FillStyleRecord();
    void KeepStyles();
    // The style record to apply: one kept by an earlier read, the current
    // target's own, a pool image's, or `fresh`, which the caller then fills.
    template <typename Style>
    const Style* ChooseRecord(const std::vector<std::unique_ptr<Style>>& kept, Style IMAGE::*member,
                              const Style* fresh);
    // Pixels, lines, shapes.
    void Pixels();
    void Position();
    void Lines();
    void Rectangles();
    void ArcEndpoints();
    void Circles();
    void Ellipses();
    void RoundRects();
    void ArcsAndPies();
    void Polygons();
    void Flood();
    // Text. The text to hand over is the writable buffer, guarded by a canary
    // after its end, or a text in read-only memory.
    const char* PrepareText();
    bool TextUnchanged(const char* given) const;
    void PrintText();
    void PrintTextInRect();
    void MeasureText();
    void Fonts();

    OperationLog& log;
    FuzzRandom random{1};
    std::vector<std::unique_ptr<IMAGE>> images;
    std::vector<std::unique_ptr<LINESTYLE>> lineRecords;
    std::vector<std::unique_ptr<FILLSTYLE>> fillRecords;
    IMAGE* target = nullptr;     // null: the window
    IMAGE* temporary = nullptr;  // an image that lives for one operation
    bool windowOpen = false;
    int nesting = 0;
    std::string problem;
    int windowsOpened = 0;
    uint64_t operationsRun = 0;
    uint64_t operationsSkipped = 0;

    static constexpr size_t kTextCapacity = 4096;
    static constexpr size_t kCanary = 16;
    char text[kTextCapacity + kCanary];
    char textBefore[kTextCapacity + kCanary];
    POINT points[128];
};
