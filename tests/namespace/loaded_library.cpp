#include "tests/namespace/loaded_library.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "library/catalog/item_id.h"
#include "library/shell/module_state.h"
#include "platform/com/winbase.h"
#include "tests/support/world.h"

namespace {

constexpr const char* kShopSql =
    "CREATE TABLE alpha (id INTEGER PRIMARY KEY, name VARCHAR(30) NOT NULL, price DECIMAL(10,2), born DATE,"
    " note TEXT);\n"
    "CREATE TABLE pairs (a INTEGER NOT NULL, b VARCHAR(5) NOT NULL, c INTEGER, PRIMARY KEY (a, b));\n"
    "CREATE VIEW alpha_names AS SELECT name FROM alpha;\n";

TestWorld* g_world = nullptr;

class SharedWorldEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { SharedWorld(); }
  void TearDown() override {
    delete g_world;
    g_world = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new SharedWorldEnvironment());

}  // namespace

TestWorld& SharedWorld() {
  if (!g_world) {
    g_world = new TestWorld();
    g_world->addSqliteDsn("Shop", kShopSql);
    g_world->addSqliteDsn("Shop", kShopSql, /*system=*/true);
    g_world->addSqliteDsn("Tiny", "tiny.sql");
  }
  return *g_world;
}

std::string LoadedLibrary::Path() {
  const char* dir = std::getenv("DATROVA_BIN_DIR");
  return std::string(dir ? dir : DATROVA_BIN_DIR) + "/Datrova.so";
}

LoadedLibrary::LoadedLibrary() {
  handle_ = LoadLibraryA(Path().c_str());
  if (!handle_) return;
  getClassObject_ = reinterpret_cast<DllGetClassObjectProc>(GetProcAddress(handle_, "DllGetClassObject"));
  canUnloadNow_ = reinterpret_cast<DllCanUnloadNowProc>(GetProcAddress(handle_, "DllCanUnloadNow"));
}

LoadedLibrary::~LoadedLibrary() { Unload(); }

void LoadedLibrary::Unload() {
  if (handle_) FreeLibrary(handle_);
  handle_ = nullptr;
}

ComPtr<IShellFolder> LoadedLibrary::CreateRoot() const {
  ComPtr<IClassFactory> factory;
  if (FAILED(GetClassObject(CLSID_Datrova, IID_IClassFactory, factory.putVoid()))) return {};
  ComPtr<IShellFolder> root;
  if (FAILED(factory->CreateInstance(nullptr, IID_IShellFolder, root.putVoid()))) return {};
  ComPtr<IPersistFolder> persist;
  if (FAILED(root->QueryInterface(IID_IPersistFolder, persist.putVoid()))) return {};
  const BYTE empty[2] = {0, 0};
  if (FAILED(persist->Initialize(reinterpret_cast<LPCITEMIDLIST>(empty)))) return {};
  return root;
}

std::vector<OwnedIdList> EnumerateAll(IShellFolder* folder, DWORD flags, HRESULT* result) {
  std::vector<OwnedIdList> items;
  ComPtr<IEnumIDList> enumerator;
  HRESULT hr = folder->EnumObjects(nullptr, flags, enumerator.put());
  if (result) *result = hr;
  if (FAILED(hr)) return items;
  LPITEMIDLIST item = nullptr;
  ULONG fetched = 0;
  while (enumerator->Next(1, &item, &fetched) == S_OK && fetched == 1) items.emplace_back(item);
  return items;
}

ComPtr<IShellFolder> BindFolder(IShellFolder* folder, LPCITEMIDLIST item) {
  ComPtr<IShellFolder> child;
  folder->BindToObject(item, nullptr, IID_IShellFolder, child.putVoid());
  return child;
}

std::string ItemText(int index, LPCITEMIDLIST item) {
  const char* text = GetItemText(index, item);
  return text ? text : "<absent>";
}

std::string Narrow(LPCWSTR text) {
  if (!text) return "<null>";
  char buffer[1024] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return buffer;
}
