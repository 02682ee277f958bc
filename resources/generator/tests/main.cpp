// media_host_tests MEDIA_DIRECTORY GENERATOR [gtest options]
#include <cstdio>

#include <gtest/gtest.h>

#include "media_files.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MEDIA_DIRECTORY GENERATOR\n", argv[0]);
        return 2;
    }
    media_test::SetPaths(argv[1], argv[2]);
    return RUN_ALL_TESTS();
}
