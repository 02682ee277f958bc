// Counting the live GDI objects of this process, for tests that prove
// nothing leaks.
#pragma once

#include <windows.h>

#include <array>
#include <string>

// Live GDI objects of this process, by object type (OBJ_PEN = 1 ... OBJ_COLORSPACE = 14).
// Where the platform keeps a handle table that answers for every slot, the
// table is counted type by type; elsewhere slot 0 holds the platform's total.
struct GdiCensus {
    std::array<int, 16> byType{};

    static GdiCensus Take();
    int Total() const;
    bool operator==(const GdiCensus& other) const { return byType == other.byType; }
    bool operator!=(const GdiCensus& other) const { return !(*this == other); }
    std::string Describe() const;
};
