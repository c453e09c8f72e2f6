// The COM server through its exports: class factory, object and lock
// counting, the named event and loading the library more than once.
#include <gtest/gtest.h>

#include "library/shell/module_state.h"
#include "platform/sync/sync.h"
#include "tests/namespace/loaded_library.h"
#include "tests/support/world.h"

namespace {

const CLSID kForeignClsid = {0x00021400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SharedWorld();
    liveBlocks_ = PlatformTaskAllocatorLiveBlocks();
    library_ = std::make_unique<LoadedLibrary>();
    ASSERT_TRUE(library_->loaded()) << LoadedLibrary::Path();
  }
  void TearDown() override {
    if (library_ && library_->loaded()) {
      EXPECT_EQ(S_OK, library_->CanUnloadNow()) << "a COM object was left alive";
    }
    library_.reset();
    EXPECT_EQ(liveBlocks_, PlatformTaskAllocatorLiveBlocks()) << "task allocator blocks leaked";
  }

  std::unique_ptr<LoadedLibrary> library_;
  long liveBlocks_ = 0;
};

TEST_F(ModuleTest, ForeignClassIsNotAvailableAndLeavesNothing) {
  void* object = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, library_->GetClassObject(kForeignClsid, IID_IClassFactory, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(S_OK, library_->CanUnloadNow());
}

TEST_F(ModuleTest, RefusedInterfaceDestroysTheFactoryAgain) {
  void* object = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(E_NOINTERFACE, library_->GetClassObject(CLSID_Datrova, IID_IShellFolder, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(S_OK, library_->CanUnloadNow()) << "the refused factory still counts";
}

TEST_F(ModuleTest, FactoryCountsWhileHeldAndAnswersItsInterfaces) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, library_->GetClassObject(CLSID_Datrova, IID_IClassFactory, factory.putVoid()));
  EXPECT_EQ(S_FALSE, library_->CanUnloadNow());
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(S_OK, factory->QueryInterface(IID_IUnknown, unknown.putVoid()));
  EXPECT_EQ(static_cast<void*>(factory.get()), static_cast<void*>(unknown.get()));
  void* other = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IShellFolder, &other));
  EXPECT_EQ(nullptr, other);
  // Two references now: AddRef/Release report the count.
  EXPECT_EQ(3u, factory->AddRef());
  EXPECT_EQ(2u, factory->Release());
  unknown.reset();
  factory.reset();
  EXPECT_EQ(S_OK, library_->CanUnloadNow());
}

TEST_F(ModuleTest, AggregationIsRefusedWithoutCreatingAFolder) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, library_->GetClassObject(CLSID_Datrova, IID_IClassFactory, factory.putVoid()));
  void* folder = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory.get(), IID_IShellFolder, &folder));
  EXPECT_EQ(nullptr, folder);
  // A refused interface leaves no folder behind either.
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &folder));
  EXPECT_EQ(nullptr, folder);
  factory.reset();
  EXPECT_EQ(S_OK, library_->CanUnloadNow());
}

TEST_F(ModuleTest, LockServerKeepsTheLibraryWithoutObjects) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, library_->GetClassObject(CLSID_Datrova, IID_IClassFactory, factory.putVoid()));
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  factory.reset();
  EXPECT_EQ(S_FALSE, library_->CanUnloadNow()) << "a lock without objects";
  ASSERT_EQ(S_OK, library_->GetClassObject(CLSID_Datrova, IID_IClassFactory, factory.putVoid()));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  factory.reset();
  EXPECT_EQ(S_OK, library_->CanUnloadNow());
}

TEST_F(ModuleTest, FoldersAndTheirParentsCountUntilReleased) {
  ComPtr<IShellFolder> root = library_->CreateRoot();
  ASSERT_TRUE(root);
  CLSID clsid{};
  ComPtr<IPersistFolder> persist;
  ASSERT_EQ(S_OK, root->QueryInterface(IID_IPersistFolder, persist.putVoid()));
  EXPECT_EQ(S_OK, persist->GetClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_Datrova, clsid));
  persist.reset();
  root.reset();
  EXPECT_EQ(S_OK, library_->CanUnloadNow());
}

TEST_F(ModuleTest, EventIsSignalledAfterTheLastDetachAndResetByTheNextAttach) {
  HANDLE event = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, "DATROVA-DLL");
  ASSERT_NE(nullptr, event) << "the library did not create its event";
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(event, 0)) << "signalled while the library is attached";
  library_->Unload();
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0)) << "a waiter is not released after detach";
  library_ = std::make_unique<LoadedLibrary>();
  ASSERT_TRUE(library_->loaded());
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(event, 0)) << "loading again must reset the event";
  CloseHandle(event);
}

TEST_F(ModuleTest, LoadedUsedAndUnloadedTwiceInOneProcess) {
  for (int round = 0; round < 2; ++round) {
    ComPtr<IShellFolder> root = library_->CreateRoot();
    ASSERT_TRUE(root) << "round " << round;
    HRESULT hr = E_FAIL;
    auto items = EnumerateAll(root.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &hr);
    EXPECT_EQ(S_OK, hr) << "round " << round;
    items.clear();
    root.reset();
    EXPECT_EQ(S_OK, library_->CanUnloadNow());
    library_->Unload();
    library_ = std::make_unique<LoadedLibrary>();
    ASSERT_TRUE(library_->loaded()) << "round " << round;
  }
}

}  // namespace
