// Procedures and their parameters through the loaded library, against the
// PostgreSQL fixture database (psqlODBC): the driver's procedure catalog and
// procedure-column catalog, item by item.
#include <gtest/gtest.h>

#include "library/catalog/item_id.h"
#include "library/catalog/odbc_api.h"
#include "library/shell/module_state.h"
#include "tests/namespace/loaded_library.h"
#include "tests/support/servers.h"
#include "tests/support/world.h"

namespace {

std::string Text(const char* buffer, SQLLEN indicator) {
  return indicator == SQL_NULL_DATA ? "<absent>" : std::string(buffer);
}

struct DirectProcedureColumn {
  std::string name, columnType, typeText;
};

// The driver's own answers, read without the library.
class DirectCatalog {
 public:
  explicit DirectCatalog(const char* dsn) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    connected_ = SQL_SUCCEEDED(SQLConnect(dbc_, (SQLCHAR*)dsn, SQL_NTS, nullptr, 0, nullptr, 0));
  }
  ~DirectCatalog() {
    if (connected_) SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }
  bool connected() const { return connected_; }

  // "schema.name:type text" of every procedure, in the driver's order.
  std::vector<std::string> Procedures() {
    std::vector<std::string> rows;
    SQLHSTMT st;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
    if (SQL_SUCCEEDED(SQLProcedures(st, nullptr, 0, nullptr, 0, nullptr, 0))) {
      char schema[129], name[129];
      SQLSMALLINT type = 0;
      SQLLEN si, ni, ti;
      SQLBindCol(st, 2, SQL_C_CHAR, schema, sizeof schema, &si);
      SQLBindCol(st, 3, SQL_C_CHAR, name, sizeof name, &ni);
      SQLBindCol(st, 8, SQL_C_SSHORT, &type, 0, &ti);
      while (SQL_SUCCEEDED(SQLFetch(st)))
        rows.push_back(Text(schema, si) + "." + Text(name, ni) + ":" + ProcedureTypeText(type, ti == SQL_NULL_DATA));
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    return rows;
  }

  std::vector<DirectProcedureColumn> Columns(const std::string& schema, const std::string& procedure) {
    std::vector<DirectProcedureColumn> rows;
    SQLHSTMT st;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &st);
    if (SQL_SUCCEEDED(SQLProcedureColumns(st, nullptr, 0, (SQLCHAR*)schema.c_str(), SQL_NTS,
                                          (SQLCHAR*)procedure.c_str(), SQL_NTS, nullptr, 0))) {
      char name[129], typeName[129];
      SQLSMALLINT columnType = 0, dataType = 0, digits = 0;
      SQLINTEGER size = 0, length = 0;
      SQLLEN ni, ci, di, ti, si, li, gi;
      SQLBindCol(st, 4, SQL_C_CHAR, name, sizeof name, &ni);
      SQLBindCol(st, 5, SQL_C_SSHORT, &columnType, 0, &ci);
      SQLBindCol(st, 6, SQL_C_SSHORT, &dataType, 0, &di);
      SQLBindCol(st, 7, SQL_C_CHAR, typeName, sizeof typeName, &ti);
      SQLBindCol(st, 8, SQL_C_SLONG, &size, 0, &si);
      SQLBindCol(st, 9, SQL_C_SLONG, &length, 0, &li);
      SQLBindCol(st, 10, SQL_C_SSHORT, &digits, 0, &gi);
      while (SQL_SUCCEEDED(SQLFetch(st))) {
        std::string type = Text(typeName, ti) + FormatSizeSuffix(dataType, si == SQL_NULL_DATA ? -2 : size,
                                                                 li == SQL_NULL_DATA ? -2 : length,
                                                                 gi == SQL_NULL_DATA ? -2 : digits);
        rows.push_back({Text(name, ni), ProcColumnTypeText(ci == SQL_NULL_DATA ? -1 : columnType), type});
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

class ProcedureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DATROVA_REQUIRE_SERVER(TestServer::PostgreSQL);
    AddServerDsn(SharedWorld(), TestServer::PostgreSQL, "Pg", FindServer(TestServer::PostgreSQL, nullptr)->owner);
    dsnAdded_ = true;
    liveBlocks_ = PlatformTaskAllocatorLiveBlocks();
    library_ = std::make_unique<LoadedLibrary>();
    ASSERT_TRUE(library_->loaded());
    root_ = library_->CreateRoot();
    ASSERT_TRUE(root_);
  }
  void TearDown() override {
    root_.reset();
    if (library_) {
      EXPECT_EQ(S_OK, library_->CanUnloadNow()) << "a COM object was left alive";
      library_.reset();
      EXPECT_EQ(liveBlocks_, PlatformTaskAllocatorLiveBlocks()) << "task allocator blocks leaked";
    }
    if (dsnAdded_) SharedWorld().removeDsn("Pg");
  }

  bool dsnAdded_ = false;
  long liveBlocks_ = 0;
  std::unique_ptr<LoadedLibrary> library_;
  ComPtr<IShellFolder> root_;
};

TEST_F(ProcedureTest, ProceduresFollowTheTablesWithTheirParameters) {
  OwnedIdList dsn;
  for (auto& item : EnumerateAll(root_.get(), SHCONTF_FOLDERS))
    if (ItemText(0, item.get()) == "Pg") dsn = std::move(item);
  ASSERT_TRUE(dsn);
  ComPtr<IShellFolder> dsnFolder = BindFolder(root_.get(), dsn.get());
  ASSERT_TRUE(dsnFolder);
  HRESULT hr = E_FAIL;
  auto items = EnumerateAll(dsnFolder.get(), SHCONTF_FOLDERS, &hr);
  ASSERT_EQ(S_OK, hr);

  // Tables first, then every procedure the driver lists, in its order.
  std::vector<std::string> procedures;
  bool procedureSeen = false;
  for (auto& item : items) {
    if (GetItemKind(item.get()) == KIND_PROCEDURE) {
      procedureSeen = true;
      procedures.push_back(ItemText(2, item.get()) + "." + ItemText(0, item.get()) + ":" + ItemText(3, item.get()));
    } else {
      EXPECT_FALSE(procedureSeen) << "table " << ItemText(0, item.get()) << " after a procedure";
      EXPECT_EQ(KIND_TABLE, GetItemKind(item.get()));
    }
  }
  DirectCatalog direct("Pg");
  ASSERT_TRUE(direct.connected());
  EXPECT_EQ(direct.Procedures(), procedures);
  EXPECT_NE(procedures.end(), std::find(procedures.begin(), procedures.end(), "public.add_tax:Function"));

  // The parameters of each procedure: name, kind, type and ordinal.
  int checked = 0;
  for (auto& item : items) {
    if (GetItemKind(item.get()) != KIND_PROCEDURE) continue;
    const std::string name = ItemText(0, item.get());
    if (name != "order_total" && name != "add_tax" && name != "split_name") continue;
    ComPtr<IShellFolder> procedureFolder = BindFolder(dsnFolder.get(), item.get());
    ASSERT_TRUE(procedureFolder);
    EXPECT_TRUE(EnumerateAll(procedureFolder.get(), SHCONTF_FOLDERS).empty());
    auto columns = EnumerateAll(procedureFolder.get(), SHCONTF_NONFOLDERS, &hr);
    ASSERT_EQ(S_OK, hr) << name;
    auto expected = direct.Columns(ItemText(2, item.get()), name);
    ASSERT_EQ(expected.size(), columns.size()) << name;
    ASSERT_FALSE(columns.empty()) << name;
    for (size_t i = 0; i < columns.size(); ++i) {
      EXPECT_EQ(KIND_PROCCOLUMN, GetItemKind(columns[i].get()));
      EXPECT_EQ(expected[i].name, ItemText(0, columns[i].get())) << name << " #" << i;
      EXPECT_EQ(expected[i].columnType, ItemText(1, columns[i].get())) << name << " #" << i;
      EXPECT_EQ(expected[i].typeText, ItemText(2, columns[i].get())) << name << " #" << i;
      char ordinal[8];
      std::snprintf(ordinal, sizeof ordinal, "%3d", static_cast<int>(i + 1));
      EXPECT_EQ(ordinal, ItemText(4, columns[i].get())) << name << " #" << i;
    }
    if (name == "order_total") {
      std::vector<std::string> kinds;
      for (auto& c : columns) kinds.push_back(ItemText(0, c.get()) + ":" + ItemText(1, c.get()));
      EXPECT_EQ((std::vector<std::string>{"p_order:IN", "line_count:OUT", "total:OUT"}), kinds);
    }
    ++checked;
  }
  EXPECT_EQ(3, checked);
}

}  // namespace
