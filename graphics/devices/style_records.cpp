// The line and fill style records and their copy rules.
#include <algorithm>

#include "../tovax.h"

namespace {

constexpr uint32_t kPenKindMask = 0x0F;
constexpr uint32_t kUserStyleKind = 7;
constexpr int32_t kPatternKind = 3;
constexpr int32_t kDibPatternKind = 5;

}  // namespace

LINESTYLE::LINESTYLE() : style(0), thickness(1), dashes(nullptr), dashCount(0) {}

LINESTYLE::LINESTYLE(const LINESTYLE& other) : LINESTYLE() { *this = other; }

LINESTYLE::~LINESTYLE() { delete[] dashes; }

LINESTYLE& LINESTYLE::operator=(const LINESTYLE& other)
{
    if (this == &other) return *this;
    style = other.style;
    thickness = other.thickness;
    delete[] dashes;
    dashes = nullptr;
    dashCount = 0;
    if (other.dashes && other.dashCount > 0 && (other.style & kPenKindMask) == kUserStyleKind) {
        dashes = new uint32_t[other.dashCount];
        std::copy(other.dashes, other.dashes + other.dashCount, dashes);
        dashCount = other.dashCount;
    }
    return *this;
}

FILLSTYLE::FILLSTYLE() : style(0), hatch(0), pattern(nullptr) {}

FILLSTYLE::FILLSTYLE(const FILLSTYLE& other) : FILLSTYLE() { *this = other; }

FILLSTYLE::~FILLSTYLE() { delete pattern; }

FILLSTYLE& FILLSTYLE::operator=(const FILLSTYLE& other)
{
    if (this == &other) return *this;
    style = other.style;
    hatch = other.hatch;
    if (other.pattern && (other.style == kPatternKind || other.style == kDibPatternKind)) {
        if (!pattern) pattern = new IMAGE(0, 0);
        *pattern = *other.pattern;
    } else {
        delete pattern;
        pattern = nullptr;
    }
    return *this;
}
