// How the port list shares its width among its columns.
#include "app/PortListColumns.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> SetupWidths(int clientWidth, int x)
{
    std::vector<int> widths;
    for (int column = 0; column < PORTCOL_COUNT; ++column)
        widths.push_back(PortColumnSetupWidth(column, clientWidth, x));
    return widths;
}

std::vector<int> ResizeWidths(int width)
{
    std::vector<int> widths;
    for (int column = 0; column < PORTCOL_COUNT; ++column)
        widths.push_back(PortColumnResizeWidth(column, width));
    return widths;
}

TEST(PortListColumns, SetUpInWholeHundredthsOfTheWidthLessThePagePosition)
{
    EXPECT_EQ((std::vector<int>{48, 72, 60, 126, 138, 90, 40}), SetupWidths(600, 20));
    // 663 / 100 = 6: the last column gets what the truncated shares leave, less x.
    EXPECT_EQ((std::vector<int>{48, 72, 60, 126, 138, 90, 113}), SetupWidths(663, 10));
}

TEST(PortListColumns, ResizeInPercentOfTheWidth)
{
    EXPECT_EQ((std::vector<int>{53, 79, 66, 139, 152, 99, 67}), ResizeWidths(663));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 0}), ResizeWidths(0));
}

}  // namespace
