#include "tests/contextmenu/menu_world.h"

#include <QMenu>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "library/shell/module_state.h"
#include "platform/ui/menu_ids.h"
#include "tests/support/gui_driver.h"

RecordingBrowser::RecordingBrowser() : window_(std::make_unique<QWidget>()) {
  window_->setProperty("windowClass", QStringLiteral("CabinetWClass"));
  window_->resize(800, 500);
}

RecordingBrowser::~RecordingBrowser() = default;

HRESULT RecordingBrowser::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellBrowser)) {
    *ppv = static_cast<IShellBrowser*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

HRESULT RecordingBrowser::GetWindow(HWND* phwnd) {
  if (!phwnd) return E_POINTER;
  *phwnd = window_.get();
  return S_OK;
}

HRESULT RecordingBrowser::BrowseObject(LPCITEMIDLIST pidl, UINT flags) {
  const char* name = GetItemText(0, pidl);
  browsed.emplace_back(name ? name : "<none>", flags);
  return S_OK;
}

HRESULT RecordingBrowser::GetViewStateStream(DWORD, IStream** stream) {
  if (stream) *stream = nullptr;
  return E_NOTIMPL;
}

HRESULT RecordingBrowser::GetControlWindow(UINT, HWND* phwnd) {
  if (phwnd) *phwnd = nullptr;
  return E_NOTIMPL;
}

HRESULT RecordingBrowser::SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT* ret) {
  if (ret) *ret = 0;
  return E_NOTIMPL;
}

void MenuTestBase::SetUp() {
  EnsureGuiApplication();
  world_ = std::make_unique<TestWorld>();
  UseLibraryModuleState(1000);
  objectsBefore_ = g_objectCount;
  blocksBefore_ = PlatformTaskAllocatorLiveBlocks();
  root_ = ShellFolder::Create(nullptr, nullptr);
  ASSERT_NE(nullptr, root_);
  root_->AddRef();
}

void MenuTestBase::TearDown() {
  for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) (*it)->Release();
  folders_.clear();
  if (root_) root_->Release();
  root_ = nullptr;
  owners_.clear();
}

MenuTestBase::~MenuTestBase() {
  EXPECT_EQ(objectsBefore_, g_objectCount) << "a COM object was left alive";
  EXPECT_EQ(blocksBefore_, PlatformTaskAllocatorLiveBlocks()) << "task allocator blocks leaked";
  world_.reset();
}

ShellFolder* MenuTestBase::Folder(ShellFolder* parent, LPCITEMIDLIST item) {
  ShellFolder* folder = ShellFolder::Create(parent ? parent : root_, item);
  if (folder) {
    folder->AddRef();
    folders_.push_back(folder);
  }
  return folder;
}

QWidget* MenuTestBase::Owner(const char* className) {
  owners_.push_back(std::make_unique<QWidget>());
  owners_.back()->setProperty("windowClass", QString::fromUtf8(className));
  return owners_.back().get();
}

ComPtr<IContextMenu> MenuTestBase::Menu(ShellFolder* folder, QWidget* owner, const std::vector<LPCITEMIDLIST>& items) {
  ComPtr<IContextMenu> menu;
  std::vector<LPCITEMIDLIST> copy = items;
  EXPECT_EQ(S_OK, folder->GetUIObjectOf(owner, static_cast<UINT>(copy.size()), copy.empty() ? nullptr : copy.data(),
                                        IID_IContextMenu, nullptr, menu.putVoid()));
  return menu;
}

HRESULT MenuTestBase::Invoke(IContextMenu* menu, UINT offset, IShellView* view) {
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.lpParameters = reinterpret_cast<LPCSTR>(view);
  info.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&info);
}

HRESULT MenuTestBase::InvokeVerb(IContextMenu* menu, const char* verb, IShellView* view) {
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.lpVerb = verb;
  info.lpParameters = reinterpret_cast<LPCSTR>(view);
  info.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&info);
}

std::vector<MenuRow> MenuRows(QMenu* menu) {
  std::vector<MenuRow> rows;
  for (QAction* action : menu->actions()) {
    std::string text = action->isSeparator() ? "-" : action->text().toStdString();
    if (action == menu->defaultAction()) text = "*" + text;
    rows.push_back({text, PlatformMenuItemId(action)});
  }
  return rows;
}

std::vector<std::string> MenuTexts(QMenu* menu) {
  std::vector<std::string> texts;
  for (const MenuRow& row : MenuRows(menu)) texts.push_back(row.text);
  return texts;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  return output;
}
