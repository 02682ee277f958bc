#include "gdi_census.h"

#include <numeric>

namespace {

constexpr UINT_PTR kHandleSlots = 0x10000;

const char* TypeName(size_t type)
{
    static const char* const names[] = {"total",     "pen",         "brush",      "dc",       "metadc", "palette",
                                        "font",      "bitmap",      "region",     "metafile", "memdc",  "extpen",
                                        "enhmetadc", "enhmetafile", "colorspace", "other"};
    return type < sizeof(names) / sizeof(names[0]) ? names[type] : "other";
}

}  // namespace

GdiCensus GdiCensus::Take()
{
    GdiCensus census;
    // A handle whose upper half is 0 names its slot whatever the slot's reuse
    // count, so every live object answers exactly once.
    for (UINT_PTR slot = 1; slot < kHandleSlots; ++slot) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(slot));
        if (type) ++census.byType[type < census.byType.size() ? type : census.byType.size() - 1];
    }
    if (census.byType[OBJ_FONT] == 0) {
        census.byType[0] = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    }
    return census;
}

std::string GdiCensus::Describe() const
{
    std::string text;
    for (size_t type = 0; type < byType.size(); ++type) {
        if (!byType[type]) continue;
        if (!text.empty()) text += ", ";
        text += TypeName(type);
        text += ' ';
        text += std::to_string(byType[type]);
    }
    return text;
}

int GdiCensus::Total() const { return std::accumulate(byType.begin(), byType.end(), 0); }
