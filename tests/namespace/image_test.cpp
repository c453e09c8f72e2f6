// The image lists and the icon object with real Qt pixmaps (offscreen).
#include <gtest/gtest.h>

#include <QApplication>

#include "library/catalog/item_id.h"
#include "library/shell/module_state.h"
#include "platform/ui/icon_handles.h"
#include "platform/ui/imagelist.h"
#include "tests/namespace/loaded_library.h"
#include "tests/support/world.h"

namespace {

int IconWidth(HICON icon) {
  QIcon qicon = PlatformIconOf(icon);
  if (qicon.isNull() || qicon.availableSizes().isEmpty()) return 0;
  return qicon.availableSizes().first().width();
}

// Fraction of non-transparent pixels: a drawn icon is not blank.
double Coverage(HICON icon, int size) {
  QImage image = PlatformIconOf(icon).pixmap(size, size).toImage();
  if (image.isNull()) return 0;
  int painted = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) painted += qAlpha(image.pixel(x, y)) > 0;
  return static_cast<double>(painted) / (image.width() * image.height());
}

TEST(ImageListTest, IconsAreBuiltOnFirstUseOnceAnApplicationExists) {
  SharedWorld();
  const long liveIcons = PlatformLiveIcons();
  const long liveBlocks = PlatformTaskAllocatorLiveBlocks();
  // Loaded before any GUI application exists: the image lists must wait.
  auto library = std::make_unique<LoadedLibrary>();
  ASSERT_TRUE(library->loaded());
  {
    int argc = 1;
    char name[] = "namespace_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    {
      ComPtr<IShellFolder> root = library->CreateRoot();
      ASSERT_TRUE(root);
      OwnedIdList dsn(CreateDsnItem("SALES", nullptr, true));
      LPCITEMIDLIST one[] = {dsn.get()};
      ComPtr<IExtractIconA> extract;
      ASSERT_EQ(S_OK, root->GetUIObjectOf(nullptr, 1, one, IID_IExtractIconA, nullptr, extract.putVoid()));
      for (UINT index = 0; index < 10; ++index) {
        HICON large = nullptr, small = nullptr;
        ASSERT_EQ(S_OK, extract->Extract(nullptr, index, &large, &small, 0));
        ASSERT_NE(nullptr, large) << "image " << index;
        ASSERT_NE(nullptr, small) << "image " << index;
        EXPECT_EQ(32, IconWidth(large)) << "image " << index;
        EXPECT_EQ(16, IconWidth(small)) << "image " << index;
        EXPECT_GT(Coverage(large, 32), 0.05) << "image " << index << " is blank";
        DestroyIcon(large);
        DestroyIcon(small);
      }
      HICON large = reinterpret_cast<HICON>(0x1), small = reinterpret_cast<HICON>(0x1);
      EXPECT_EQ(S_OK, extract->Extract(nullptr, 10, &large, &small, 0));
      EXPECT_EQ(nullptr, large) << "there are ten images";
      EXPECT_EQ(nullptr, small);
      // Distinct roles have distinct images: a closed and an open data source.
      HICON closedDsn = nullptr, openDsn = nullptr;
      extract->Extract(nullptr, 0, &closedDsn, nullptr, 0);
      extract->Extract(nullptr, 1, &openDsn, nullptr, 0);
      EXPECT_NE(PlatformIconOf(closedDsn).pixmap(32).toImage(), PlatformIconOf(openDsn).pixmap(32).toImage());
      DestroyIcon(closedDsn);
      DestroyIcon(openDsn);
    }
    EXPECT_EQ(liveIcons, PlatformLiveIcons()) << "icon handles leaked";
    library->Unload();
    EXPECT_EQ(0, PlatformLiveImageLists()) << "the image lists outlived the library";
  }
  EXPECT_EQ(liveBlocks, PlatformTaskAllocatorLiveBlocks());
}

TEST(ImageListTest, PlatformListKeepsItsSizeAndOrder) {
  int argc = 1;
  char name[] = "namespace_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  EXPECT_EQ(16, GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(32, GetSystemMetrics(SM_CYICON));
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK | ILC_COLORDDB, 4, 0);
  ASSERT_NE(nullptr, list);
  QPixmap red(64, 64), blue(8, 8);
  red.fill(Qt::red);
  blue.fill(Qt::blue);
  HICON redIcon = PlatformCreateIcon(QIcon(red));
  HICON blueIcon = PlatformCreateIcon(QIcon(blue));
  EXPECT_EQ(0, ImageList_ReplaceIcon(list, -1, redIcon));
  EXPECT_EQ(1, ImageList_ReplaceIcon(list, -1, blueIcon));
  EXPECT_EQ(0, ImageList_ReplaceIcon(list, 0, blueIcon)) << "replace in place";
  EXPECT_EQ(-1, ImageList_ReplaceIcon(list, 5, blueIcon));
  EXPECT_EQ(2, ImageList_GetImageCount(list));
  HICON got = ImageList_GetIcon(list, 0, ILD_TRANSPARENT);
  QImage image = PlatformIconOf(got).pixmap(16, 16).toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(QColor(Qt::blue).rgb(), image.pixel(8, 8) | 0xFF000000u);
  DestroyIcon(got);
  DestroyIcon(redIcon);
  DestroyIcon(blueIcon);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(DestroyIcon(nullptr));
}

}  // namespace
