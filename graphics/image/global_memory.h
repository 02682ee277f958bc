// Owner of one movable global memory block that holds a resource's bytes
// while a picture is decoded from it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Tovax {

class GlobalMemory {
public:
    using BlockAllocator = HGLOBAL(WINAPI*)(UINT flags, SIZE_T bytes);

    // The allocator is replaceable so that running out of memory can be tried.
    explicit GlobalMemory(BlockAllocator allocate = GlobalAlloc);
    virtual ~GlobalMemory();
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;

    // Copies the program's resource `name` of `type` into a new block. False,
    // with no block held, when the resource is missing or no block can be had.
    bool LoadFromResource(LPCSTR type, LPCSTR name);

    HGLOBAL handle = nullptr;
    uint32_t size = 0;  // meaningful only while handle is set

private:
    void Free();

    BlockAllocator allocate;
};

}  // namespace Tovax
