// The world of the context menu tests: a private HOME with SQLite data
// sources, the library's module state, folders of each level built from
// items, owner windows of the host's two window classes, and a browser that
// records what the commands ask of it.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "library/catalog/item_id.h"
#include "library/shell/shell_folder.h"
#include "platform/com/shlobj.h"
#include "platform/com/shell_notify.h"
#include "platform/ui/ui.h"
#include "tests/support/world.h"

struct IdListDeleter {
  void operator()(ITEMIDLIST* list) const { FreeIdList(list); }
};
using OwnedList = std::unique_ptr<ITEMIDLIST, IdListDeleter>;

// A browser whose only services are a window and BrowseObject, which it
// records. Everything else answers E_NOTIMPL, which the view tolerates.
class RecordingBrowser final : public IShellBrowser {
 public:
  RecordingBrowser();
  ~RecordingBrowser();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BrowseObject(LPCITEMIDLIST pidl, UINT flags) override;
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream** stream) override;
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND* phwnd) override;
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT* ret) override;
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTON, UINT, UINT) override { return E_NOTIMPL; }

  QWidget* window() const { return window_.get(); }
  // (item name of the first item, flags) of every BrowseObject call.
  std::vector<std::pair<std::string, UINT>> browsed;

 private:
  ULONG refs_ = 1;
  std::unique_ptr<QWidget> window_;
};

class MenuTestBase : public ::testing::Test {
 protected:
  // The leak checks run here, after the derived fixtures' own lists went.
  ~MenuTestBase() override;
  void SetUp() override;
  void TearDown() override;

  // A folder below `parent` (null: the root) for a one-item list.
  ShellFolder* Folder(ShellFolder* parent, LPCITEMIDLIST item);
  // A top-level window that reports `className` to GetClassNameA.
  QWidget* Owner(const char* className);
  // The context menu of `folder` for `items`, owned by `owner`.
  ComPtr<IContextMenu> Menu(ShellFolder* folder, QWidget* owner, const std::vector<LPCITEMIDLIST>& items);
  // Runs one command by integer offset or verb text, with `view` in the
  // parameters.
  static HRESULT Invoke(IContextMenu* menu, UINT offset, IShellView* view = nullptr);
  static HRESULT InvokeVerb(IContextMenu* menu, const char* verb, IShellView* view = nullptr);

  std::unique_ptr<TestWorld> world_;
  ShellFolder* root_ = nullptr;
  std::vector<ShellFolder*> folders_;
  std::vector<std::unique_ptr<QWidget>> owners_;
  LONG objectsBefore_ = 0;
  long blocksBefore_ = 0;
};

// The menu as texts: "-" for a separator, a leading "*" for the default.
struct MenuRow {
  std::string text;
  UINT id;
};
std::vector<std::string> MenuTexts(QMenu* menu);
std::vector<MenuRow> MenuRows(QMenu* menu);

// Answers message boxes from a script and records their texts.
class ScriptedBoxes {
 public:
  explicit ScriptedBoxes(std::vector<int> answers) : answers_(std::move(answers)) {
    previous_ = PlatformSetMessageBoxHook([this](const MessageBoxCall& call) {
      texts.push_back(call.text);
      types.push_back(call.type);
      return next_ < answers_.size() ? answers_[next_++] : IDCANCEL;
    });
  }
  ~ScriptedBoxes() { PlatformSetMessageBoxHook(previous_); }
  std::vector<std::string> texts;
  std::vector<UINT> types;

 private:
  std::vector<int> answers_;
  size_t next_ = 0;
  MessageBoxHook previous_;
};

// Records SHChangeNotify calls while it lives.
class ChangeRecorder {
 public:
  ChangeRecorder() {
    cookie_ = PlatformAddChangeNotifyListener([this](LONG event, UINT, LPCITEMIDLIST pidl) {
      events.push_back(event);
      lists.push_back(pidl ? GetIdListSize(pidl) : 0);
    });
  }
  ~ChangeRecorder() { PlatformRemoveChangeNotifyListener(cookie_); }
  std::vector<LONG> events;
  std::vector<size_t> lists;

 private:
  int cookie_;
};


// The whole text of a file (empty when it cannot be read).
std::string FileText(const std::string& path);
// What a command line writes to its standard output; it runs in the test's
// environment, so unixODBC's tools see the private ini files.
std::string CommandOutput(const std::string& command);
