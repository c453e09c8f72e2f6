#include "library/res/icons.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "library/res/resource_ids.h"

// The resource file is compiled into an object that nothing else
// references; a static link of the library would drop it without this.
static void EnsureIconResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  (void)registered;
}

namespace {

struct IconFile {
  UINT id;
  const char* file;
};

constexpr IconFile kIconFiles[] = {
    {IDI_PRODUCT, "product.svg"},
    {IDI_DSN_CLOSED, "dsn_closed.svg"},
    {IDI_DSN_OPEN, "dsn_open.svg"},
    {IDI_SHORTCUT_FILE, "shortcut_file.svg"},
    {IDI_TABLE_CLOSED, "table_closed.svg"},
    {IDI_TABLE_OPEN, "table_open.svg"},
    {IDI_COLUMN_NUMERIC, "column_numeric.svg"},
    {IDI_COLUMN_CHARACTER, "column_character.svg"},
    {IDI_COLUMN_DATE, "column_date.svg"},
    {IDI_PROCEDURE_COLUMN, "procedure_column.svg"},
    {IDI_PROCEDURE_CLOSED, "procedure_closed.svg"},
    {IDI_PROCEDURE_OPEN, "procedure_open.svg"},
};

constexpr int kRenderedSizes[] = {16, 24, 32, 48};

}  // namespace

QString IconResourcePath(UINT iconId) {
  for (const IconFile& icon : kIconFiles) {
    if (icon.id == iconId) return QStringLiteral(":/datrova/icons/") + QLatin1String(icon.file);
  }
  return {};
}

QPixmap RenderResIcon(UINT iconId, int size) {
  EnsureIconResources();
  const QString path = IconResourcePath(iconId);
  if (path.isEmpty() || size <= 0) return {};
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return {};
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
  }
  return QPixmap::fromImage(image);
}

QIcon LoadResIcon(UINT iconId) {
  QIcon icon;
  for (int size : kRenderedSizes) {
    const QPixmap pixmap = RenderResIcon(iconId, size);
    if (pixmap.isNull()) return {};
    icon.addPixmap(pixmap);
  }
  return icon;
}
