// Walks a SQLite data source from the root to its columns through the loaded
// library and compares every item with what the driver's catalog reports.
#include <gtest/gtest.h>

#include <set>

#include "library/catalog/item_id.h"
#include "library/catalog/odbc_api.h"
#include "library/shell/module_state.h"
#include "tests/namespace/loaded_library.h"
#include "tests/support/world.h"

namespace {

// One catalog row as the driver reports it, read directly through ODBC.
struct DirectColumn {
  std::string name;
  std::string typeText;
  bool nullable;
};

class DirectOdbc {
 public:
  explicit DirectOdbc(const std::string& dsn) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    connected_ = SQL_SUCCEEDED(SQLConnect(dbc_, (SQLCHAR*)dsn.c_str(), SQL_NTS, nullptr, 0, nullptr, 0));
  }
  ~DirectOdbc() {
    if (connected_) SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }
  bool connected() const { return connected_; }

  // (name, type) of every table the driver lists with all types.
  std::vector<std::pair<std::string, std::string>> Tables() {
    std::vector<std::pair<std::string, std::string>> rows;
    SQLHSTMT st;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
    if (SQL_SUCCEEDED(SQLTables(st, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0))) {
      char name[129], type[129];
      SQLLEN ni, ti;
      SQLBindCol(st, 3, SQL_C_CHAR, name, sizeof name, &ni);
      SQLBindCol(st, 4, SQL_C_CHAR, type, sizeof type, &ti);
      while (SQL_SUCCEEDED(SQLFetch(st))) rows.emplace_back(name, ti == SQL_NULL_DATA ? "<absent>" : type);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return rows;
  }

  std::vector<DirectColumn> Columns(const std::string& table) {
    std::vector<DirectColumn> rows;
    SQLHSTMT st;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
    if (SQL_SUCCEEDED(SQLColumns(st, nullptr, 0, nullptr, 0, (SQLCHAR*)table.c_str(), SQL_NTS, nullptr, 0))) {
      char name[129], typeName[129];
      SQLSMALLINT dataType = 0, digits = 0, nullable = 0;
      SQLINTEGER size = 0, length = 0;
      SQLLEN ni, di, ti, si, li, gi, nu;
      SQLBindCol(st, 4, SQL_C_CHAR, name, sizeof name, &ni);
      SQLBindCol(st, 5, SQL_C_SSHORT, &dataType, 0, &di);
      SQLBindCol(st, 6, SQL_C_CHAR, typeName, sizeof typeName, &ti);
      SQLBindCol(st, 7, SQL_C_SLONG, &size, 0, &si);
      SQLBindCol(st, 8, SQL_C_SLONG, &length, 0, &li);
      SQLBindCol(st, 9, SQL_C_SSHORT, &digits, 0, &gi);
      SQLBindCol(st, 11, SQL_C_SSHORT, &nullable, 0, &nu);
      while (SQL_SUCCEEDED(SQLFetch(st))) {
        std::string type = typeName + FormatSizeSuffix(dataType, si == SQL_NULL_DATA ? -2 : size,
                                                       li == SQL_NULL_DATA ? -2 : length,
                                                       gi == SQL_NULL_DATA ? -2 : digits);
        rows.push_back({name, type, nu != SQL_NULL_DATA && nullable == SQL_NULLABLE});
      }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return rows;
  }

 private:
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  bool connected_ = false;
};

class CatalogWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SharedWorld();
    liveBlocks_ = PlatformTaskAllocatorLiveBlocks();
    library_ = std::make_unique<LoadedLibrary>();
    ASSERT_TRUE(library_->loaded());
    root_ = library_->CreateRoot();
    ASSERT_TRUE(root_);
  }
  void TearDown() override {
    root_.reset();
    if (library_->loaded()) {
      EXPECT_EQ(S_OK, library_->CanUnloadNow()) << "a COM object was left alive";
    }
    library_.reset();
    EXPECT_EQ(liveBlocks_, PlatformTaskAllocatorLiveBlocks()) << "task allocator blocks leaked";
  }

  // The first root item named `name`.
  OwnedIdList FindDsn(const std::string& name) {
    for (auto& item : EnumerateAll(root_.get(), SHCONTF_FOLDERS))
      if (ItemText(0, item.get()) == name) return std::move(item);
    return {};
  }
  OwnedIdList FindChild(IShellFolder* folder, DWORD flags, const std::string& name) {
    for (auto& item : EnumerateAll(folder, flags))
      if (ItemText(0, item.get()) == name) return std::move(item);
    return {};
  }

  long liveBlocks_ = 0;
  std::unique_ptr<LoadedLibrary> library_;
  ComPtr<IShellFolder> root_;
};

TEST_F(CatalogWalkTest, RootListsUserThenSystemDataSources) {
  HRESULT hr = E_FAIL;
  auto items = EnumerateAll(root_.get(), SHCONTF_FOLDERS, &hr);
  ASSERT_EQ(S_OK, hr);
  std::vector<std::string> seen;
  for (auto& item : items) {
    EXPECT_EQ(KIND_DSN, GetItemKind(item.get()));
    EXPECT_EQ(0, GetNextItem(item.get())->mkid.cb) << "one item per list";
    seen.push_back(ItemText(0, item.get()) + "/" + ItemText(2, item.get()));
    EXPECT_EQ("SQLite3", ItemText(1, item.get()));
  }
  EXPECT_EQ((std::vector<std::string>{"Shop/User", "Tiny/User", "Shop/System"}), seen);
  // The root lists nothing that is not a folder.
  EXPECT_TRUE(EnumerateAll(root_.get(), SHCONTF_NONFOLDERS).empty());
  EXPECT_TRUE(EnumerateAll(root_.get(), 0).empty());
}

TEST_F(CatalogWalkTest, DataSourceListsEveryTableOfTheCatalog) {
  OwnedIdList dsn = FindDsn("Shop");
  ASSERT_TRUE(dsn);
  ComPtr<IShellFolder> folder = BindFolder(root_.get(), dsn.get());
  ASSERT_TRUE(folder);
  HRESULT hr = E_FAIL;
  auto items = EnumerateAll(folder.get(), SHCONTF_FOLDERS, &hr);
  ASSERT_EQ(S_OK, hr);
  DirectOdbc direct("Shop");
  ASSERT_TRUE(direct.connected());
  auto expected = direct.Tables();
  ASSERT_EQ(expected.size(), items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(KIND_TABLE, GetItemKind(items[i].get()));
    EXPECT_EQ(expected[i].first, ItemText(0, items[i].get())) << "row " << i;
    EXPECT_EQ(expected[i].second, ItemText(3, items[i].get())) << "row " << i;
  }
  std::set<std::string> names;
  for (auto& item : items) names.insert(ItemText(0, item.get()) + ":" + ItemText(3, item.get()));
  EXPECT_TRUE(names.count("alpha:TABLE"));
  EXPECT_TRUE(names.count("pairs:TABLE"));
  EXPECT_TRUE(names.count("alpha_names:VIEW"));
  EXPECT_TRUE(EnumerateAll(folder.get(), SHCONTF_NONFOLDERS).empty()) << "a data source has no plain items";
}

TEST_F(CatalogWalkTest, ColumnsCarryTypesNullabilityAndKeyPositions) {
  OwnedIdList dsn = FindDsn("Shop");
  ASSERT_TRUE(dsn);
  ComPtr<IShellFolder> dsnFolder = BindFolder(root_.get(), dsn.get());
  ASSERT_TRUE(dsnFolder);
  DirectOdbc direct("Shop");
  ASSERT_TRUE(direct.connected());
  struct Expectation {
    const char* table;
    std::vector<std::string> keys;  // key text per column, in order
  } cases[] = {{"alpha", {"1", "-", "-", "-", "-"}}, {"pairs", {"1", "2", "-"}}};
  for (const Expectation& c : cases) {
    OwnedIdList table = FindChild(dsnFolder.get(), SHCONTF_FOLDERS, c.table);
    ASSERT_TRUE(table) << c.table;
    ComPtr<IShellFolder> tableFolder = BindFolder(dsnFolder.get(), table.get());
    ASSERT_TRUE(tableFolder);
    EXPECT_TRUE(EnumerateAll(tableFolder.get(), SHCONTF_FOLDERS).empty()) << "a table has no subfolders";
    HRESULT hr = E_FAIL;
    auto columns = EnumerateAll(tableFolder.get(), SHCONTF_NONFOLDERS, &hr);
    ASSERT_EQ(S_OK, hr);
    auto expected = direct.Columns(c.table);
    ASSERT_EQ(expected.size(), columns.size()) << c.table;
    ASSERT_EQ(c.keys.size(), columns.size()) << c.table;
    for (size_t i = 0; i < columns.size(); ++i) {
      EXPECT_EQ(KIND_COLUMN, GetItemKind(columns[i].get()));
      EXPECT_EQ(expected[i].name, ItemText(0, columns[i].get()));
      EXPECT_EQ(expected[i].typeText, ItemText(1, columns[i].get())) << c.table << "." << expected[i].name;
      EXPECT_EQ(expected[i].nullable ? "Yes" : "No", ItemText(2, columns[i].get())) << expected[i].name;
      EXPECT_EQ(c.keys[i], ItemText(3, columns[i].get())) << c.table << "." << expected[i].name;
    }
    // The columns are no folders: binding to one is refused.
    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(E_INVALIDARG, tableFolder->BindToObject(columns[0].get(), nullptr, IID_IShellFolder, &object));
  }
}

TEST_F(CatalogWalkTest, NextSkipResetAndClone) {
  OwnedIdList dsn = FindDsn("Tiny");
  ASSERT_TRUE(dsn);
  ComPtr<IShellFolder> dsnFolder = BindFolder(root_.get(), dsn.get());
  OwnedIdList notes = FindChild(dsnFolder.get(), SHCONTF_FOLDERS, "notes");
  ASSERT_TRUE(notes);
  ComPtr<IShellFolder> tableFolder = BindFolder(dsnFolder.get(), notes.get());
  ASSERT_TRUE(tableFolder);
  ComPtr<IEnumIDList> enumerator;
  ASSERT_EQ(S_OK, tableFolder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, enumerator.put()));

  LPITEMIDLIST items[5] = {};
  EXPECT_EQ(E_INVALIDARG, enumerator->Next(5, items, nullptr));
  ULONG fetched = 99;
  EXPECT_EQ(S_FALSE, enumerator->Next(5, items, &fetched));
  ASSERT_EQ(3u, fetched);
  EXPECT_EQ("id", ItemText(0, items[0]));
  EXPECT_EQ("title", ItemText(0, items[1]));
  EXPECT_EQ("body", ItemText(0, items[2]));
  for (ULONG i = 0; i < fetched; ++i) CoTaskMemFree(items[i]);

  EXPECT_EQ(S_FALSE, enumerator->Next(1, items, &fetched));
  EXPECT_EQ(0u, fetched);
  EXPECT_EQ(S_OK, enumerator->Reset());
  EXPECT_EQ(S_OK, enumerator->Skip(0));
  EXPECT_EQ(S_OK, enumerator->Skip(2));
  ASSERT_EQ(S_OK, enumerator->Next(1, items, nullptr)) << "one item without a count pointer";
  EXPECT_EQ("body", ItemText(0, items[0]));
  CoTaskMemFree(items[0]);
  EXPECT_EQ(S_OK, enumerator->Reset());
  EXPECT_EQ(S_FALSE, enumerator->Skip(4));

  IEnumIDList* copy = reinterpret_cast<IEnumIDList*>(0x1);
  EXPECT_EQ(E_NOTIMPL, enumerator->Clone(&copy));
  EXPECT_EQ(nullptr, copy);
  void* other = nullptr;
  EXPECT_EQ(E_NOINTERFACE, enumerator->QueryInterface(IID_IShellFolder, &other));
}

TEST_F(CatalogWalkTest, AFailingListingReturnsNoRows) {
  // A data source whose database file cannot be opened: the listing fails
  // as a whole and no enumerator is handed out.
  SharedWorld().addDsn("Broken", "SQLite3", {{"Database", "/nonexistent/dir/x.db"}, {"NoCreat", "1"}});
  OwnedIdList dsn = FindDsn("Broken");
  ASSERT_TRUE(dsn);
  ComPtr<IShellFolder> folder = BindFolder(root_.get(), dsn.get());
  ASSERT_TRUE(folder);
  IEnumIDList* enumerator = reinterpret_cast<IEnumIDList*>(0x1);
  EXPECT_EQ(E_OUTOFMEMORY, folder->EnumObjects(nullptr, SHCONTF_FOLDERS, &enumerator));
  EXPECT_EQ(nullptr, enumerator);
  SharedWorld().removeDsn("Broken");
}

}  // namespace
