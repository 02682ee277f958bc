# The version resource takes the one version number of project().
set(FIREWORKS_VERSION_DIR ${CMAKE_BINARY_DIR}/generated)
include_directories(${FIREWORKS_VERSION_DIR})
file(WRITE ${CMAKE_BINARY_DIR}/CMakeFiles/fireworks_version.h
"// The program's version, from the build's project() line.
#pragma once
#define FIREWORKS_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0
#define FIREWORKS_VERSION_TEXT \"${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0\"
")
configure_file(${CMAKE_BINARY_DIR}/CMakeFiles/fireworks_version.h
               ${FIREWORKS_VERSION_DIR}/fireworks_version.h COPYONLY)
