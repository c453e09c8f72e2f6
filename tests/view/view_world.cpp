#include "tests/view/view_world.h"

#include <QAbstractItemModel>

#include "library/catalog/item_id.h"
#include "library/shell/image_lists.h"
#include "library/shell/item_list_model.h"
#include "library/shell/module_state.h"
#include "library/shell/view_window.h"
#include "tests/support/gui_driver.h"

void ViewTestBase::SetUp() {
  EnsureGuiApplication();
  world_ = std::make_unique<TestWorld>();
  world_->addSqliteDsn("Demo", "demo.sql");
  UseLibraryModuleState(1000);
  RegisterIconResources(nullptr);
  objectsBefore_ = g_objectCount;
  blocksBefore_ = PlatformTaskAllocatorLiveBlocks();
  root_ = ShellFolder::Create(nullptr, nullptr);
  ASSERT_NE(nullptr, root_);
  root_->AddRef();
}

void ViewTestBase::TearDown() {
  for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) (*it)->Release();
  folders_.clear();
  if (root_) root_->Release();
  EXPECT_EQ(objectsBefore_, g_objectCount) << "a COM object was left alive";
  EXPECT_EQ(blocksBefore_, PlatformTaskAllocatorLiveBlocks()) << "task allocator blocks leaked";
  UnregisterIconResources(nullptr);
  world_.reset();
}

ShellFolder* ViewTestBase::ChildFolder(ShellFolder* parent, const std::string& name) {
  ComPtr<IEnumIDList> items;
  if (FAILED(parent->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put())) || !items)
    return nullptr;
  LPITEMIDLIST item = nullptr;
  ULONG fetched = 0;
  ShellFolder* child = nullptr;
  while (!child && items->Next(1, &item, &fetched) == S_OK && item) {
    const char* text = GetItemText(0, item);
    if (text && name == text) {
      child = ShellFolder::Create(parent, item);
      if (child) {
        child->AddRef();
        folders_.push_back(child);
      }
    }
    FreeIdList(item);
  }
  return child;
}

ShellView* ViewTestBase::OpenView(ShellFolder* folder, UINT mode, FakeBrowser& browser) {
  browser.window()->show();
  IShellView* view = nullptr;
  EXPECT_EQ(S_OK, folder->CreateViewObject(browser.window(), IID_IShellView, reinterpret_cast<void**>(&view)));
  if (!view) return nullptr;
  FOLDERSETTINGS fs{mode, 0};
  RECT rect{0, 0, 860, 520};
  HWND window = nullptr;
  EXPECT_EQ(S_OK, view->CreateViewWindow(nullptr, &fs, &browser, &rect, &window));
  EXPECT_NE(nullptr, window);
  auto* shellView = static_cast<ShellView*>(view);
  // The fill is posted by the window to itself.
  ProcessEventsUntil(
      [&] {
        return shellView->Model()->rowCount() > 0 ||
               (shellView->Window()->overlay()->isVisible() &&
                shellView->Window()->overlay()->text() != "Getting data ... please wait");
      },
      5000);
  return shellView;
}

void ViewTestBase::CloseView(ShellView* view) {
  if (!view) return;
  EXPECT_EQ(S_OK, view->DestroyViewWindow());
  view->Release();
}

std::vector<std::string> ViewTestBase::ColumnTexts(ShellView* view, int column) {
  std::vector<std::string> texts;
  QAbstractItemModel* model = view->Model();
  for (int row = 0; row < model->rowCount(); ++row)
    texts.push_back(model->index(row, column).data().toString().toStdString());
  return texts;
}

std::vector<std::string> ViewTestBase::Headers(ShellView* view) {
  std::vector<std::string> headers;
  QAbstractItemModel* model = view->Model();
  for (int c = 0; c < model->columnCount(); ++c)
    headers.push_back(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
  return headers;
}
