// The headers that nearly every test program parses, compiled once into a precompiled header
// that all test programs of a build reuse: GoogleTest, the standard library's common parts and,
// for Windows, the system's headers (most of a test file's compile time was their parsing).
// Included before each test source by the build; no source includes it.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
