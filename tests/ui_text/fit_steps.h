#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui_text/path_fit.h"

namespace orv::test {

// A measure that counts bytes and records every text it is asked about.
struct ByteMeasure {
    std::vector<std::string> measured;

    TextWidth Callback()
    {
        return [this](std::string_view text) {
            measured.emplace_back(text);
            return static_cast<int>(text.size());
        };
    }
};

// Fits steps[0] at every width from 0 to one byte wider than itself. steps holds, worked out by
// hand, the path and then each shorter candidate in order, ending with the bare file name. At
// each width the result is the first step no wider than it, or the bare name when none is, and
// exactly the steps before the result and the result itself are measured, never the bare name.
inline void ExpectSteps(PathStyle style, const std::vector<std::string>& steps)
{
    ASSERT_FALSE(steps.empty());
    const std::string& path = steps.front();
    const std::size_t bare = steps.size() - 1;
    for (std::size_t width = 0; width <= path.size() + 1; ++width) {
        std::size_t fit = 0;
        while (fit < bare && steps[fit].size() > width) ++fit;
        const std::size_t measuredCount = fit == bare ? bare : fit + 1;
        const std::vector<std::string> expectedMeasured(steps.begin(), steps.begin() + measuredCount);

        ByteMeasure measure;
        SCOPED_TRACE("path " + path + ", width " + std::to_string(width));
        EXPECT_EQ(FitPathToWidth(path, static_cast<int>(width), measure.Callback(), style), steps[fit]);
        EXPECT_EQ(measure.measured, expectedMeasured);
    }
}

}  // namespace orv::test
