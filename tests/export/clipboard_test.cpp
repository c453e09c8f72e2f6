// Delayed rendering of a list on the clipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QStandardItemModel>
#include <QWidget>
#include <memory>

#include "library/catalog/settings.h"
#include "library/query/list_render.h"
#include "platform/ui/ui.h"

namespace {

// Counts how often the renderings read a cell.
class CountingModel : public QStandardItemModel {
 public:
  using QStandardItemModel::QStandardItemModel;
  mutable int reads = 0;
  QVariant data(const QModelIndex& index, int role) const override {
    if (role == Qt::DisplayRole) ++reads;
    return QStandardItemModel::data(index, role);
  }
};

QApplication& App() {
  static int argc = 1;
  static char name[] = "export_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = QApplication::instance() ? nullptr : new QApplication(argc, argv);
  return app ? *app : *static_cast<QApplication*>(QApplication::instance());
}

}  // namespace

TEST(Clipboard, CopyAnnouncesAndRendersOnlyWhenRead) {
  App();
  g_settings.rtfClipboardFormat = RegisterClipboardFormatA("Rich Text Format");
  std::strcpy(g_settings.listSeparator, ";");

  QWidget owner;
  auto model = std::make_unique<CountingModel>(2, 2);
  model->setItem(0, 0, new QStandardItem("a"));
  model->setItem(0, 1, new QStandardItem("b"));
  model->setItem(1, 0, new QStandardItem("c"));
  model->setItem(1, 1, new QStandardItem("d'e"));

  CopyListToClipboard(&owner, model.get());
  EXPECT_EQ(model->reads, 0) << "nothing is rendered at copy time";

  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->hasFormat("text/plain"));
  EXPECT_TRUE(data->hasFormat("text/rtf"));
  EXPECT_EQ(model->reads, 0);

  // A change between copy and paste is what gets pasted.
  model->setItem(0, 0, new QStandardItem("A"));
  EXPECT_EQ(data->data("text/plain"), QByteArray("A;b\r\nc;d'e\r\n"));
  EXPECT_GT(model->reads, 0);
  EXPECT_EQ(data->data("text/rtf"),
            QByteArray("{\\rtf1\\ansi\\deff0\\pard\\plain A\\tab b\r\n\\par c\\tab d\\rquote e\r\n\\par }"));

  // Before the list goes away the data is rendered for good.
  RenderAllClipboardFormats(&owner);
  model.reset();
  const QMimeData* kept = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->data("text/plain"), QByteArray("A;b\r\nc;d'e\r\n"));
  EXPECT_TRUE(kept->data("text/rtf").startsWith("{\\rtf1"));

  // Another window's flush leaves foreign clipboard contents alone.
  QWidget other;
  QGuiApplication::clipboard()->setText("foreign");
  RenderAllClipboardFormats(&other);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "foreign");
}
