// The right pane's rebuild from the left pane's names, on the fake file system for entries
// that a real one here cannot produce.
#include "fileops/rightpanerebuild.h"

#include "listing/panelist.h"
#include "listing/typenames.h"
#include "platform/pathrules.h"
#include "support/fakefilesystem.h"
#include "support/textrow.h"

#include <gtest/gtest.h>

using namespace vennic;

TEST(RightPaneRebuild, AFileThatCouldNotBeLookedAtShowsNoSizeAndAddsNothing)
{
    test::FakeFileSystem fs;
    fs.addFile("/r/seen.txt", 7);
    fs.addFile("/r/blind.txt", 500).statFailed = true;
    PaneList left(7);
    std::vector<PaneRow> rows;
    for (const char* name : {"seen.txt", "blind.txt", "missing.txt"})
        rows.push_back(test::textRow({QString::fromLatin1(name)}));
    left.setRows(std::move(rows));
    TypeNames types;
    const RebuildResult result =
        rebuildFromNames(left, *fs.GetFolder("/r"), types, PathRules(PathStyle::Posix));
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0].texts->cells[ColBytes], "              7");
    EXPECT_EQ(result.rows[1].texts->cells[ColName], "blind.txt");
    EXPECT_EQ(result.rows[1].texts->cells[ColBytes], "") << "not the 15 blanks of a zero size";
    EXPECT_EQ(result.rows[1].texts->cells[ColAttributes], "");
    EXPECT_EQ(result.rows[2].texts->cells[ColName], "--");
    EXPECT_EQ(result.countLine, "2 Files, 0 Folders, 7 Bytes");
}
