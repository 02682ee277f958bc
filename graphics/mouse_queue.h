// The window's mouse messages: a fixed ring of 64 slots that never allocates.
#pragma once

#include "tovax.h"

namespace Tovax {
namespace Collections {

// One slot always stays free, so a full queue (63 elements) never looks empty.
template <typename T>
class FixedQueue {
public:
    static constexpr int kSlots = 64;

    FixedQueue() { SetIndices(0, 0); }
    virtual ~FixedQueue() = default;

    virtual void Push(const T& element)
    {
        if (IsFull()) return;
        entries[WriteIndex()] = element;
        SetIndices(ReadIndex(), (WriteIndex() + 1) % kSlots);
    }

    // On an empty queue both return a value-initialised element and change nothing.
    virtual T Pop()
    {
        if (IsEmpty()) return T{};
        T element = entries[ReadIndex()];
        SetIndices((ReadIndex() + 1) % kSlots, WriteIndex());
        return element;
    }

    virtual T Peek()
    {
        if (IsEmpty()) return T{};
        return entries[ReadIndex()];
    }

    virtual bool IsEmpty() { return ReadIndex() == WriteIndex(); }
    virtual bool IsFull() { return Count() >= kSlots - 1; }
    virtual void Clear() { SetIndices(0, 0); }

    virtual int32_t Count()
    {
        const int32_t read = static_cast<int32_t>(ReadIndex());
        const int32_t write = static_cast<int32_t>(WriteIndex());
        return write >= read ? write - read : write - read + kSlots;
    }

    T entries[kSlots] = {};
    // readIndex in bits 0-5, writeIndex in bits 6-11; bits 12-31 are left alone.
    uint32_t indexWord = 0;

private:
    static constexpr uint32_t kIndexMask = 0x3F;

    uint32_t ReadIndex() const { return indexWord & kIndexMask; }
    uint32_t WriteIndex() const { return (indexWord >> 6) & kIndexMask; }
    void SetIndices(uint32_t read, uint32_t write)
    {
        indexWord = (indexWord & ~0xFFFu) | (read & kIndexMask) | ((write & kIndexMask) << 6);
    }
};

}  // namespace Collections

// Builds the record of a client-area mouse message (0x0200 to 0x020A).
// The wheel message carries screen coordinates; they are converted for hwnd.
MOUSEMSG MouseMessageFromWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace Tovax
