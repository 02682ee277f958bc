// Pieces shared by both drawing devices: the current target, owning GDI
// handles, and the pen and brush building that the window device splits
// around its lock.
#pragma once

#include "../graphics_state.h"

namespace Tovax {

inline IMAGE& CurrentTarget() { return *Graphics().target; }

// Deletes a GDI object that no device context holds when it goes out of scope.
class OwnedGdiObject {
public:
    explicit OwnedGdiObject(HGDIOBJ object) : object(object) {}
    ~OwnedGdiObject()
    {
        if (object) DeleteObject(object);
    }
    OwnedGdiObject(const OwnedGdiObject&) = delete;
    OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;

    HGDIOBJ get() const { return object; }

private:
    HGDIOBJ object;
};

// DrawText flags without DT_MODIFYSTRING: the caller's text is constant, and
// with that flag the platform writes the shortened text back into it, up to
// four bytes past its end.
constexpr uint32_t WithoutTextWriteBack(uint32_t format) { return format & ~static_cast<uint32_t>(DT_MODIFYSTRING); }

// Selects `object` into dc and deletes the object it replaced. A null object
// (the platform could not make it) leaves the selection as it was.
void ReplaceSelection(HDC dc, HGDIOBJ object);

// Selects one object into both contexts (windowDC may be null) and deletes the
// objects it replaced once neither context holds them.
void ReplaceSelectionInBoth(HDC targetDC, HDC windowDC, HGDIOBJ object);

// Copies `style` into the target's line style unless it is that record, and
// keeps dashes only where the kind uses them.
void PrepareLineStyle(IMAGE& target, const LINESTYLE* style);

// A geometric pen of the target's line style in its line colour.
HPEN CreateStylePen(const IMAGE& target);

// The brush description of a fill style and the objects it points into; they
// are released when the recipe goes out of scope, after the brush is made.
class BrushRecipe {
public:
    BrushRecipe() = default;
    ~BrushRecipe();
    BrushRecipe(const BrushRecipe&) = delete;
    BrushRecipe& operator=(const BrushRecipe&) = delete;

    // Copies `style` into the target's fill style unless it is that record and
    // describes its brush. False when this style makes no brush.
    bool Prepare(DrawOnImg& device, IMAGE& target, const FILLSTYLE* style);
    HBRUSH CreateBrush() const { return CreateBrushIndirect(&description); }

private:
    LOGBRUSH description = {};
    HBITMAP monochromePattern = nullptr;
    HGLOBAL packedPattern = nullptr;
};

}  // namespace Tovax
