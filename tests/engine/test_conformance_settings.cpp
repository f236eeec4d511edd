// Every setting the settings dialog can store lets a computation run.
#include "engine/Engine.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

// 表示母材 0 (the dialog's 母材数 box takes 0 to 10): the search runs, and the sheet columns follow
// the rule "the used sheets, or 表示母材 when that is smaller" from the first layout that uses more
// sheets than the columns counted so far.
TEST(EngineConformanceSettingsTest, NoSheetColumnsShownStillComputes)
{
    {
        EngineOnDb t({{10, 10, 3}}, {{10, 10, 1}});
        t.engine.Settings.DisplaySheets = 0;
        ASSERT_TRUE(t.Run());
        EXPECT_EQ(1, t.engine.PatternNo);
        EXPECT_EQ(1, t.engine.ListSheetColumns);          // one sheet does not exceed the first column
    }
    {
        EngineOnDb t({{10, 10, 3}}, {{10, 10, 3}});
        t.engine.Settings.DisplaySheets = 0;
        ASSERT_TRUE(t.Run());
        EXPECT_EQ(1, t.engine.PatternNo);
        EXPECT_EQ(0, t.engine.ListSheetColumns);
    }
}

}
