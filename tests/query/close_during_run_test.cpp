// Closing a window while its run fetches: the window goes at once, the run
// is cancelled and finishes without touching what the window freed.
#include <QApplication>
#include <QPushButton>

#include "library/catalog/settings.h"
#include "library/query/result_model.h"
#include "library/query/statement_run.h"
#include "library/shell/module_state.h"
#include "tests/query/query_fixture.h"
#include "tests/support/gui_driver.h"

namespace {

TEST_F(QueryTest, ClosingDuringALongFetchClosesAtOnce) {
  ASSERT_FALSE(world_.addSqliteDsn("Big", BigTableSql(400000)).empty());
  g_settings.MaxRow = 0;
  const LONG objectsBefore = g_objectCount;
  for (int round = 0; round < 3; ++round) {
    auto handle = OpenResultWindow("SELECT * FROM big", "Big");
    ASSERT_TRUE(handle);
    ResultWindow* w = handle->window();
    EXPECT_EQ(g_objectCount, objectsBefore + 1);
    // Round 0 closes while the driver still executes, the others during the fetch.
    if (round > 0) ASSERT_TRUE(ProcessEventsUntil([&] { return w->model()->rowCount() > 0; }));
    else ASSERT_TRUE(ProcessEventsUntil([&] { return w->running(); }));
    ASSERT_TRUE(w->running());
    w->close();
    // The window does not wait for its run: it is gone while the cancelled
    // run may still be winding down on its own.
    ASSERT_TRUE(ProcessEventsUntil([&] { return handle->closed(); }));
    EXPECT_LE(ActiveQueryRuns(), 1);
    EXPECT_TRUE(WaitForQueryRuns(30000));
    ProcessEventsUntil([] { return false; }, 100);  // late calls of the run find no window
    EXPECT_EQ(g_objectCount, objectsBefore);
  }
}

}  // namespace
