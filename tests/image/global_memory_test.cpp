// The owner of the global block that a picture is decoded from.
#include <gtest/gtest.h>

#include "image/global_memory.h"
#include "image_test_support.h"

namespace {

using Tovax::GlobalMemory;

HGLOBAL WINAPI NoMemory(UINT, SIZE_T) { return nullptr; }

TEST(GlobalMemory, CopiesTheResourceBytesIntoAMovableBlock)
{
    const std::vector<uint8_t> expected = ResourceBytes("IMAGE", MAKEINTRESOURCEA(104));
    ASSERT_EQ(expected.size(), 30054u);
    GlobalMemory memory;
    EXPECT_EQ(memory.handle, nullptr);
    ASSERT_TRUE(memory.LoadFromResource("IMAGE", MAKEINTRESOURCEA(104)));
    ASSERT_NE(memory.handle, nullptr);
    EXPECT_EQ(memory.size, expected.size());
    EXPECT_EQ(GlobalSize(memory.handle), expected.size());
    EXPECT_EQ(GlobalFlags(memory.handle) & GMEM_LOCKCOUNT, 0u) << "the block is left unlocked";
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory.handle));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + memory.size), expected);
    GlobalUnlock(memory.handle);
}

TEST(GlobalMemory, AMissingResourceLeavesNoBlock)
{
    GlobalMemory memory;
    ASSERT_TRUE(memory.LoadFromResource("IMAGE", MAKEINTRESOURCEA(103)));
    EXPECT_FALSE(memory.LoadFromResource("IMAGE", MAKEINTRESOURCEA(999)));
    EXPECT_EQ(memory.handle, nullptr) << "the earlier block is freed before the lookup";
    EXPECT_FALSE(memory.LoadFromResource("NOSUCHTYPE", MAKEINTRESOURCEA(103)));
    EXPECT_EQ(memory.handle, nullptr);
}

TEST(GlobalMemory, ABlockThatCannotBeHadEndsTheLoad)
{
    GlobalMemory memory(NoMemory);
    EXPECT_FALSE(memory.LoadFromResource("IMAGE", MAKEINTRESOURCEA(104)));
    EXPECT_EQ(memory.handle, nullptr);
}

TEST(GlobalMemory, ALaterLoadReplacesTheBlock)
{
    GlobalMemory memory;
    ASSERT_TRUE(memory.LoadFromResource("IMAGE", MAKEINTRESOURCEA(103)));
    ASSERT_TRUE(memory.LoadFromResource("IMAGE", MAKEINTRESOURCEA(104)));
    EXPECT_EQ(memory.size, 30054u);
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory.handle));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    GlobalUnlock(memory.handle);
}

}  // namespace
