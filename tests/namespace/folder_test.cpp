// The shell folder through the loaded library, with items built here: sort
// order, attributes, display names, per-item objects and the refusals.
#include <gtest/gtest.h>

#include "library/catalog/item_id.h"
#include "library/shell/module_state.h"
#include "tests/namespace/loaded_library.h"
#include "tests/support/world.h"

namespace {

OwnedIdList Own(LPITEMIDLIST list) { return OwnedIdList(list); }
OwnedIdList Join(LPCITEMIDLIST a, LPCITEMIDLIST b) { return OwnedIdList(ConcatIdLists(a, b)); }

class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SharedWorld();
    liveBlocks_ = PlatformTaskAllocatorLiveBlocks();
    library_ = std::make_unique<LoadedLibrary>();
    ASSERT_TRUE(library_->loaded());
    root_ = library_->CreateRoot();
    ASSERT_TRUE(root_);
    dsn_ = Own(CreateDsnItem("SALES", "SQLite3", true));
    otherDsn_ = Own(CreateDsnItem("archive", nullptr, false));
    table_ = Own(CreateTableItem(nullptr, "dbo", "ORDERS", "TABLE", nullptr));
    procedure_ = Own(CreateProcedureItem(nullptr, "dbo", "ship", "Procedure", nullptr));
    column_ = Own(CreateColumnItem(nullptr, nullptr, "ORDERS", "amount", 3, "DECIMAL", 10, 12, 2, 10, true, nullptr));
    procColumn_ = Own(CreateProcColumnItem(1, nullptr, "dbo", "ship", "p_id", "IN", 4, "INTEGER", 10, 4, 0, false,
                                           nullptr));
  }
  void TearDown() override {
    root_.reset();
    dsn_.reset();
    otherDsn_.reset();
    table_.reset();
    procedure_.reset();
    column_.reset();
    procColumn_.reset();
    if (library_->loaded()) {
      EXPECT_EQ(S_OK, library_->CanUnloadNow()) << "a COM object was left alive";
    }
    library_.reset();
    EXPECT_EQ(liveBlocks_, PlatformTaskAllocatorLiveBlocks()) << "task allocator blocks leaked";
  }

  HRESULT Compare(LPARAM column, LPCITEMIDLIST a, LPCITEMIDLIST b) { return root_->CompareIDs(column, a, b); }

  long liveBlocks_ = 0;
  std::unique_ptr<LoadedLibrary> library_;
  ComPtr<IShellFolder> root_;
  OwnedIdList dsn_, otherDsn_, table_, procedure_, column_, procColumn_;
};

TEST_F(FolderTest, CompareIdsSignsAndDescendingOffset) {
  // Column 0: names, case-insensitive ("archive" < "SALES").
  EXPECT_LT(Compare(0, otherDsn_.get(), dsn_.get()), 0);
  EXPECT_GT(Compare(0, dsn_.get(), otherDsn_.get()), 0);
  EXPECT_EQ(0, Compare(0, dsn_.get(), dsn_.get()));
  for (LPARAM column : {0, 1, 2}) {
    EXPECT_EQ(-Compare(column, otherDsn_.get(), dsn_.get()), Compare(100 + column, otherDsn_.get(), dsn_.get()))
        << "column " << column;
  }
  // Column 1: "archive" has no description; absent sorts after present.
  EXPECT_GT(Compare(1, otherDsn_.get(), dsn_.get()), 0);
  EXPECT_LT(Compare(101, otherDsn_.get(), dsn_.get()), 0);
  // A null first list compares equal.
  EXPECT_EQ(0, Compare(0, nullptr, dsn_.get()));
}

TEST_F(FolderTest, CompareIdsOfListsOfUnequalLength) {
  OwnedIdList path = Join(dsn_.get(), table_.get());
  EXPECT_LT(Compare(0, dsn_.get(), path.get()), 0) << "the shorter list sorts first";
  EXPECT_GT(Compare(0, path.get(), dsn_.get()), 0);
  EXPECT_GT(Compare(100, dsn_.get(), path.get()), 0);
  // The second items decide when the first ones agree.
  OwnedIdList other = Join(dsn_.get(), procedure_.get());
  EXPECT_LT(Compare(0, path.get(), other.get()), 0) << "ORDERS before ship";
}

TEST_F(FolderTest, CompareIdsByKeySequenceText) {
  // Text 3 of a column is its key sequence; both texts come from one buffer.
  OwnedIdList key = Own(CreateColumnItem(nullptr, nullptr, "t", "id", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  ColumnHeader header;
  ASSERT_TRUE(GetColumnHeader(key.get(), &header));
  header.keySequence = 1;
  ASSERT_TRUE(SetColumnHeader(key.get(), header));
  EXPECT_LT(Compare(3, column_.get(), key.get()), 0) << "\"-\" sorts before \"1\"";
  EXPECT_GT(Compare(3, key.get(), column_.get()), 0);
}

TEST_F(FolderTest, AttributesOfSingleAndMixedSelections) {
  auto attributes = [&](std::initializer_list<LPCITEMIDLIST> items) {
    std::vector<LPCITEMIDLIST> list(items);
    ULONG value = 0x12345678;
    EXPECT_EQ(S_OK, root_->GetAttributesOf(static_cast<UINT>(list.size()), list.data(), &value));
    return value;
  };
  EXPECT_EQ(0xA0000060u, attributes({dsn_.get()}));
  EXPECT_EQ(0x20000040u, attributes({table_.get()}));
  EXPECT_EQ(0x20000040u, attributes({procedure_.get()}));
  EXPECT_EQ(0x40u, attributes({column_.get()}));
  EXPECT_EQ(0u, attributes({procColumn_.get()}));
  EXPECT_EQ(0x20000040u, attributes({dsn_.get(), table_.get()}));
  EXPECT_EQ(0x40u, attributes({dsn_.get(), column_.get()}));
  OwnedIdList path = Join(dsn_.get(), table_.get());
  EXPECT_EQ(0x20000040u, attributes({path.get()})) << "judged by the last item";
  ULONG none = 0;
  EXPECT_EQ(S_OK, root_->GetAttributesOf(0, nullptr, &none));
  EXPECT_EQ(0xFFFFFFFFu, none);
}

TEST_F(FolderTest, DisplayNames) {
  OwnedIdList path = Join(dsn_.get(), table_.get());
  STRRET name{};
  ASSERT_EQ(S_OK, root_->GetDisplayNameOf(path.get(), SHGDN_INFOLDER | SHGDN_FORPARSING, &name));
  EXPECT_EQ(static_cast<UINT>(STRRET_WSTR), name.uType);
  EXPECT_EQ("ORDERS", Narrow(name.pOleStr));
  CoTaskMemFree(name.pOleStr);

  ASSERT_EQ(S_OK, root_->GetDisplayNameOf(path.get(), SHGDN_NORMAL | SHGDN_FORADDRESSBAR, &name));
  EXPECT_EQ("SALES : dbo.ORDERS", Narrow(name.pOleStr));
  CoTaskMemFree(name.pOleStr);

  EXPECT_EQ(E_INVALIDARG, root_->GetDisplayNameOf(path.get(), 2, &name));
}

TEST_F(FolderTest, PerItemObjects) {
  OwnedIdList path = Join(dsn_.get(), table_.get());
  LPCITEMIDLIST one[] = {path.get()};
  LPCITEMIDLIST two[] = {dsn_.get(), otherDsn_.get()};
  void* object = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(E_FAIL, root_->GetUIObjectOf(nullptr, 2, two, IID_IExtractIconA, nullptr, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(E_NOINTERFACE, root_->GetUIObjectOf(nullptr, 1, one, IID_IDataObject, nullptr, &object));

  ComPtr<IQueryInfo> tip;
  ASSERT_EQ(S_OK, root_->GetUIObjectOf(nullptr, 1, one, IID_IQueryInfo, nullptr, tip.putVoid()));
  LPWSTR text = nullptr;
  ASSERT_EQ(S_OK, tip->GetInfoTip(0, &text));
  EXPECT_EQ("SALES : dbo.ORDERS", Narrow(text));
  CoTaskMemFree(text);
  DWORD flags = 0;
  EXPECT_EQ(E_NOTIMPL, tip->GetInfoFlags(&flags));

  ComPtr<IExtractIconA> icon;
  ASSERT_EQ(S_OK, root_->GetUIObjectOf(nullptr, 1, one, IID_IExtractIconA, nullptr, icon.putVoid()));
  int index = -7;
  UINT outFlags = 0;
  EXPECT_EQ(S_OK, icon->GetIconLocation(0, nullptr, 0, &index, &outFlags));
  EXPECT_EQ(2, index);
  EXPECT_EQ(GIL_NOTFILENAME, outFlags);
  EXPECT_EQ(S_OK, icon->GetIconLocation(GIL_OPENICON, nullptr, 0, &index, &outFlags));
  EXPECT_EQ(3, index);

  ComPtr<IDropTarget> drop;
  EXPECT_EQ(S_OK, root_->GetUIObjectOf(nullptr, 1, one, IID_IDropTarget, nullptr, drop.putVoid()));
  DWORD effect = 0;
  EXPECT_EQ(S_OK, drop->DragEnter(nullptr, 0, POINTL{0, 0}, &effect));
  EXPECT_EQ(DROPEFFECT_COPY, effect);
  EXPECT_EQ(E_NOTIMPL, drop->Drop(nullptr, 0, POINTL{0, 0}, &effect));
}

TEST_F(FolderTest, IconIndexByItemKindAndColumnType) {
  struct Case {
    int16_t dataType;
    int index;
  } cases[] = {{3, 7}, {4, 7}, {8, 7}, {12, 8}, {93, 9}, {91, 9}, {10, 8}, {-5, 8}, {-7, 8}, {103, 9}};
  for (const Case& c : cases) {
    OwnedIdList column =
        Own(CreateColumnItem(nullptr, nullptr, "t", "c", c.dataType, "T", 1, 1, 0, 10, true, nullptr));
    OwnedIdList path = Join(table_.get(), column.get());
    LPCITEMIDLIST one[] = {path.get()};
    ComPtr<IExtractIconA> icon;
    ASSERT_EQ(S_OK, root_->GetUIObjectOf(nullptr, 1, one, IID_IExtractIconA, nullptr, icon.putVoid()));
    int index = -1;
    UINT flags = 0;
    icon->GetIconLocation(0, nullptr, 0, &index, &flags);
    EXPECT_EQ(c.index, index) << "data type " << c.dataType;
  }
  auto indexOf = [&](LPCITEMIDLIST item, UINT flags) {
    LPCITEMIDLIST one[] = {item};
    ComPtr<IExtractIconA> icon;
    EXPECT_EQ(S_OK, root_->GetUIObjectOf(nullptr, 1, one, IID_IExtractIconA, nullptr, icon.putVoid()));
    int index = -1;
    UINT outFlags = 0;
    icon->GetIconLocation(flags, nullptr, 0, &index, &outFlags);
    return index;
  };
  EXPECT_EQ(0, indexOf(dsn_.get(), 0));
  EXPECT_EQ(1, indexOf(dsn_.get(), GIL_OPENICON));
  EXPECT_EQ(4, indexOf(procedure_.get(), 0));
  EXPECT_EQ(5, indexOf(procedure_.get(), GIL_OPENICON));
  EXPECT_EQ(6, indexOf(procColumn_.get(), 0));
}

TEST_F(FolderTest, BindingRefusesColumnsAndUnsupportedCalls) {
  void* object = reinterpret_cast<void*>(0x1);
  OwnedIdList columnPath = Join(Join(dsn_.get(), table_.get()).get(), column_.get());
  EXPECT_EQ(E_INVALIDARG, root_->BindToObject(columnPath.get(), nullptr, IID_IShellFolder, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(E_INVALIDARG, root_->BindToObject(procColumn_.get(), nullptr, IID_IShellFolder, &object));
  EXPECT_EQ(E_NOTIMPL, root_->BindToStorage(dsn_.get(), nullptr, IID_IStream, &object));
  EXPECT_EQ(nullptr, object);
  LPITEMIDLIST parsed = reinterpret_cast<LPITEMIDLIST>(0x1);
  EXPECT_EQ(E_FAIL, root_->ParseDisplayName(nullptr, nullptr, nullptr, nullptr, &parsed, nullptr));
  EXPECT_EQ(nullptr, parsed);
  EXPECT_EQ(E_NOTIMPL, root_->SetNameOf(nullptr, dsn_.get(), nullptr, 0, nullptr));
  ComPtr<IShellPropSheetExt> sheet;
  ASSERT_EQ(S_OK, root_->QueryInterface(IID_IShellPropSheetExt, sheet.putVoid()));
  EXPECT_EQ(E_NOTIMPL, sheet->ReplacePage(0, nullptr, 0));
}

TEST_F(FolderTest, DeeperFoldersKeepTheirDataSourceWhenBoundLevelByLevel) {
  ComPtr<IShellFolder> dsnFolder = BindFolder(root_.get(), dsn_.get());
  ASSERT_TRUE(dsnFolder);
  ComPtr<IShellFolder> tableFolder = BindFolder(dsnFolder.get(), table_.get());
  ASSERT_TRUE(tableFolder);
  // The normal display name walks the absolute list: root, data source, table.
  STRRET name{};
  ASSERT_EQ(S_OK, tableFolder->GetDisplayNameOf(column_.get(), SHGDN_NORMAL, &name));
  EXPECT_EQ("SALES : dbo.ORDERS", Narrow(name.pOleStr));
  CoTaskMemFree(name.pOleStr);
  // The info tip walks the folder's own list joined with the item.
  LPCITEMIDLIST one[] = {column_.get()};
  ComPtr<IQueryInfo> tip;
  ASSERT_EQ(S_OK, tableFolder->GetUIObjectOf(nullptr, 1, one, IID_IQueryInfo, nullptr, tip.putVoid()));
  LPWSTR text = nullptr;
  ASSERT_EQ(S_OK, tip->GetInfoTip(0, &text));
  EXPECT_EQ("SALES : dbo.ORDERS", Narrow(text));
  CoTaskMemFree(text);
}

TEST_F(FolderTest, ShellExtensionInitialise) {
  ComPtr<IShellExtInit> init;
  ASSERT_EQ(S_OK, root_->QueryInterface(IID_IShellExtInit, init.putVoid()));
  EXPECT_EQ(E_NOINTERFACE, init->Initialize(nullptr, nullptr, nullptr)) << "no data object is declined";
  STRRET name{};
  // The absolute list is now that of My Computer: no data source in it.
  ASSERT_EQ(S_OK, root_->GetDisplayNameOf(dsn_.get(), SHGDN_NORMAL, &name));
  EXPECT_EQ("SALES", Narrow(name.pOleStr));
  CoTaskMemFree(name.pOleStr);
}

}  // namespace
