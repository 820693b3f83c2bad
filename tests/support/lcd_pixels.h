// The frame buffer as a set of dark pixels, for tests that expect an exact picture.
#pragma once

#include <set>
#include <utility>

#include <gtest/gtest.h>

// (x, y) of each dark pixel.
using PixelSet = std::set<std::pair<int, int>>;

PixelSet lcd_dark_pixels();
// Succeeds when exactly the expected pixels are dark; the failure message lists the missing
// and the unexpected ones and shows the screen.
testing::AssertionResult lcd_shows_exactly(const PixelSet& expected);
