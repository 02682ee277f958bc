// Same source, same bytes: a second run of the generator writes identical files.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "media_files.h"

namespace {

TEST(DeterminismTest, SecondRunWritesIdenticalFiles)
{
    char pattern[] = "/tmp/media-rerun-XXXXXX";
    const char* directory = mkdtemp(pattern);
    ASSERT_NE(directory, nullptr);
    const std::string command = "\"" + media_test::GeneratorPath() + "\" \"" + directory + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"bursts.jpg", "rockets.bmp", "launch.wav", "crackle.wav", "music.wav", "fireworks.ico"}) {
        SCOPED_TRACE(name);
        const std::string again = std::string(directory) + "/" + name;
        EXPECT_TRUE(media_test::ReadFileBytes(again) == media_test::ReadMedia(name));
        std::remove(again.c_str());
    }
    rmdir(directory);
}

}  // namespace
