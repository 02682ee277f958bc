// The mouse message queue and the conversion of mouse messages.
#include <gtest/gtest.h>

#include "graphics_state.h"

namespace {

using Queue = Tovax::Collections::FixedQueue<int>;

TEST(FixedQueue, HoldsAtMostSixtyThreeInOrder)
{
    Queue queue;
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_FALSE(queue.IsFull());
    EXPECT_EQ(queue.Count(), 0);
    for (int i = 0; i < 63; ++i) queue.Push(i);
    EXPECT_TRUE(queue.IsFull());
    EXPECT_EQ(queue.Count(), 63);
    queue.Push(999);
    EXPECT_EQ(queue.Count(), 63);
    for (int i = 0; i < 63; ++i) EXPECT_EQ(queue.Pop(), i);
    EXPECT_TRUE(queue.IsEmpty());
}

TEST(FixedQueue, WrapsAroundAtSixtyFour)
{
    Queue queue;
    for (int i = 0; i < 100; ++i) {
        queue.Push(i);
        EXPECT_EQ(queue.Peek(), i);
        EXPECT_EQ(queue.Pop(), i);
    }
    EXPECT_TRUE(queue.IsEmpty());
    // From slot 36 on, the write index wraps past the read index.
    for (int i = 0; i < 40; ++i) queue.Push(i);
    EXPECT_EQ(queue.Count(), 40);
    EXPECT_FALSE(queue.IsFull());
    for (int i = 0; i < 40; ++i) EXPECT_EQ(queue.Pop(), i);
}

TEST(FixedQueue, ClearEmptiesAFullQueue)
{
    Queue queue;
    for (int i = 0; i < 70; ++i) queue.Push(i);
    queue.Clear();
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_EQ(queue.Count(), 0);
}

TEST(FixedQueue, EmptyPopAndPeekReadNoGarbage)
{
    Queue queue;
    queue.entries[0] = 77;
    EXPECT_EQ(queue.Pop(), 0);
    EXPECT_EQ(queue.Peek(), 0);
    EXPECT_TRUE(queue.IsEmpty());
}

TEST(FixedQueue, IndicesLiveInBitsZeroToElevenOnly)
{
    Queue queue;
    queue.indexWord |= 0xFFFFF000u;
    for (int i = 0; i < 5; ++i) queue.Push(i);
    queue.Pop();
    EXPECT_EQ(queue.indexWord & 0x3Fu, 1u);         // read index
    EXPECT_EQ((queue.indexWord >> 6) & 0x3Fu, 5u);  // write index
    EXPECT_EQ(queue.indexWord & 0xFFFFF000u, 0xFFFFF000u);
    queue.Clear();
    EXPECT_EQ(queue.indexWord, 0xFFFFF000u);
}

TEST(MouseMessage, ButtonsAndKeysComeFromWParam)
{
    const MOUSEMSG record =
        Tovax::MouseMessageFromWindowMessage(nullptr, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(123, 456));
    EXPECT_EQ(record.message, 0x0200u);
    EXPECT_TRUE(record.leftDown);
    EXPECT_TRUE(record.ctrlDown);
    EXPECT_FALSE(record.shiftDown);
    EXPECT_FALSE(record.rightDown);
    EXPECT_FALSE(record.middleDown);
    EXPECT_EQ(record.x, 123);
    EXPECT_EQ(record.y, 456);

    const MOUSEMSG other = Tovax::MouseMessageFromWindowMessage(nullptr, WM_RBUTTONDOWN,
                                                                MK_RBUTTON | MK_MBUTTON | MK_SHIFT, MAKELPARAM(1, 2));
    EXPECT_TRUE(other.rightDown);
    EXPECT_TRUE(other.middleDown);
    EXPECT_TRUE(other.shiftDown);
    EXPECT_FALSE(other.leftDown);
}

TEST(MouseMessage, WheelPositionIsConvertedFromScreenToClient)
{
    HWND window = OpenGraphWindow(200, 100, 0);
    ASSERT_NE(window, nullptr);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const MOUSEMSG record = Tovax::MouseMessageFromWindowMessage(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                                                                 MAKELPARAM(origin.x + 10, origin.y + 20));
    EXPECT_EQ(record.message, 0x020Au);
    EXPECT_EQ(record.wheelDelta, 120);
    EXPECT_EQ(record.x, 10);
    EXPECT_EQ(record.y, 20);
    CloseGraphWindow();
}

TEST(MouseMessage, TheWindowQueuesClientMouseMessages)
{
    HWND window = OpenGraphWindow(200, 100, 0);
    Tovax::GraphWnd& graphWindow = Tovax::Graphics().window;
    graphWindow.mouseQueue.Clear();
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 6));
    for (int i = 0; i < 80; ++i) SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(i, 0));
    EXPECT_EQ(graphWindow.mouseQueue.Count(), 63);
    // A waiting reader is woken also by a message that the full queue drops.
    SendMessageA(window, Tovax::MouseWaitMessage, 0, 0);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(graphWindow.wakeEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(graphWindow.mouseQueue.Count(), 63);
    const MOUSEMSG first = graphWindow.mouseQueue.Pop();
    EXPECT_EQ(first.message, static_cast<uint32_t>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(first.x, 5);
    EXPECT_EQ(graphWindow.mouseQueue.Pop().x, 0);
    CloseGraphWindow();
}

}  // namespace
