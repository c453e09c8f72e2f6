// The world of a view test: a private HOME with the demo SQLite data source,
// the library's module state, the root folder, and views opened in a fake
// browser and filled through the real folder and driver.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "library/shell/shell_folder.h"
#include "library/shell/shell_view.h"
#include "tests/support/world.h"
#include "tests/view/fake_browser.h"

class ViewTestBase : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A child folder of `parent` for the item named `name` (text 0).
  ShellFolder* ChildFolder(ShellFolder* parent, const std::string& name);
  // Creates the view of `folder` in the browser and waits for its fill.
  ShellView* OpenView(ShellFolder* folder, UINT mode, FakeBrowser& browser);
  void CloseView(ShellView* view);

  // Column `column` of every row of the view, in list order.
  static std::vector<std::string> ColumnTexts(ShellView* view, int column);
  static std::vector<std::string> Headers(ShellView* view);

  std::unique_ptr<TestWorld> world_;
  ShellFolder* root_ = nullptr;
  std::vector<ShellFolder*> folders_;
  LONG objectsBefore_ = 0;
  long blocksBefore_ = 0;
};
