// Every icon loads from the resource file and draws something at the small
// and large sizes; the item icons look different from one another.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <set>

#include "library/res/icons.h"
#include "library/res/resource_ids.h"
#include "qt_app.h"

namespace {

int OpaquePixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
  return n;
}

TEST(Icons, EveryIconLoadsAtSmallAndLargeSize) {
  EnsureQtApp();
  for (UINT id : kAllIconIds) {
    const QIcon icon = LoadResIcon(id);
    ASSERT_FALSE(icon.isNull()) << "icon " << id;
    for (int size : {kSmallIconSize, kLargeIconSize}) {
      const QPixmap pixmap = icon.pixmap(size, size);
      ASSERT_FALSE(pixmap.isNull()) << "icon " << id << " at " << size;
      EXPECT_EQ(pixmap.size(), QSize(size, size)) << "icon " << id;
      const QImage image = pixmap.toImage();
      // Drawn, and not a filled square: some pixels on, some transparent.
      const int opaque = OpaquePixels(image);
      EXPECT_GT(opaque, size * size / 4) << "icon " << id << " at " << size;
      EXPECT_LT(opaque, size * size) << "icon " << id << " at " << size;
    }
  }
}

TEST(Icons, ImageListIconsAreTellApartAtSmallSize) {
  EnsureQtApp();
  std::set<QByteArray> seen;
  for (UINT id : kImageListIconIds) {
    const QImage image = RenderResIcon(id, kSmallIconSize).toImage().convertToFormat(QImage::Format_ARGB32);
    const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    EXPECT_TRUE(seen.insert(bytes).second) << "icon " << id << " looks like another one";
  }
}

TEST(Icons, UnknownIdsGiveNullIcons) {
  EnsureQtApp();
  EXPECT_TRUE(LoadResIcon(101).isNull());
  EXPECT_TRUE(IconResourcePath(4711).isEmpty());
  EXPECT_TRUE(RenderResIcon(IDI_PRODUCT, 0).isNull());
  EXPECT_EQ(IconResourcePath(IDI_DSN_CLOSED), QStringLiteral(":/datrova/icons/dsn_closed.svg"));
}

}  // namespace
