// Copying a resource of the program into a movable global block.
#include "global_memory.h"

#include <cstring>

namespace Tovax {

GlobalMemory::GlobalMemory(BlockAllocator allocate) : allocate(allocate) {}

GlobalMemory::~GlobalMemory() { Free(); }

void GlobalMemory::Free()
{
    if (handle) GlobalFree(handle);
    handle = nullptr;
}

bool GlobalMemory::LoadFromResource(LPCSTR type, LPCSTR name)
{
    Free();
    HMODULE program = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(program, name, type);
    if (!resource) return false;
    HGLOBAL loaded = LoadResource(program, resource);
    const void* bytes = LockResource(loaded);
    const DWORD byteCount = SizeofResource(program, resource);
    if (!bytes) return false;
    HGLOBAL block = allocate(GMEM_MOVEABLE, byteCount);
    if (!block) return false;
    void* destination = GlobalLock(block);
    if (!destination) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(destination, bytes, byteCount);
    GlobalUnlock(block);
    handle = block;
    size = byteCount;
    return true;
}

}  // namespace Tovax
