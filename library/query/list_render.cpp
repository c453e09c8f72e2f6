#include "library/query/list_render.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

#include "library/catalog/settings.h"
#include "library/query/rtf_escape.h"
#include "platform/com/shlobj.h"
#include "platform/ui/ui.h"
#include "platform/ui/wait_cursor.h"

namespace {

constexpr const char* kTextMime = "text/plain";
constexpr const char* kRtfMime = "text/rtf";

// The cell as UTF-8, cut to kMaxCellChars characters (not bytes, so that a
// character is never split).
QByteArray CellText(const QAbstractItemModel& model, int row, int column) {
  QString text = model.data(model.index(row, column), Qt::DisplayRole).toString();
  if (text.size() > kMaxCellChars) {
    int cut = kMaxCellChars;
    if (text.at(cut - 1).isHighSurrogate()) --cut;
    text.truncate(cut);
  }
  return text.toUtf8();
}

// Clipboard data that renders itself from the list only when asked.
class DelayedListData : public QMimeData {
 public:
  DelayedListData(QWidget* owner, const QAbstractItemModel* model) : owner_(owner), model_(model) {}

  QWidget* owner() const { return owner_.data(); }

  QStringList formats() const override { return {kTextMime, kRtfMime}; }
  bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

 protected:
  QVariant retrieveData(const QString& mime, QMetaType) const override {
    if (!model_) return {};
    QByteArray data;
    UINT format = mime == kTextMime ? CF_TEXT : mime == kRtfMime ? g_settings.rtfClipboardFormat : 0;
    if (format == 0 || RenderListToClipboard(format, *model_, data) != 0) return {};
    return data;
  }

 private:
  QPointer<QWidget> owner_;
  QPointer<const QAbstractItemModel> model_;
};

}  // namespace

bool RenderList(const QAbstractItemModel& model, ListFormat format, const char* separator, TextBuffer& out) {
  WaitCursor wait;
  const bool rtf = format == ListFormat::RichText;
  bool ok = !rtf || out.append("{\\rtf1\\ansi\\deff0\\pard\\plain");
  const int columns = model.columnCount();
  const int rows = model.rowCount();
  for (int row = 0; ok && row < rows; ++row) {
    for (int column = 0; ok && column < columns; ++column) {
      QByteArray cell = CellText(model, row, column);
      if (column > 0) ok = out.append(rtf ? "\\tab" : separator);
      if (!ok) break;
      ok = rtf ? EscapeRtfText(out, std::string_view(cell.constData(), static_cast<size_t>(cell.size())))
               : out.append(std::string_view(cell.constData(), static_cast<size_t>(cell.size())));
    }
    if (ok) ok = out.append("\r\n") && (!rtf || out.append("\\par"));
  }
  if (ok && rtf) ok = out.append(" }");
  return ok;
}

DWORD RenderListToClipboard(UINT format, const QAbstractItemModel& model, QByteArray& data) {
  ListFormat kind;
  if (format == CF_TEXT) {
    kind = ListFormat::Text;
  } else if (format != 0 && format == g_settings.rtfClipboardFormat) {
    kind = ListFormat::RichText;
  } else {
    return 0;
  }
  TextBuffer buffer;
  if (!RenderList(model, kind, g_settings.listSeparator, buffer)) return ERROR_OUTOFMEMORY;
  data = QByteArray(buffer.text(), static_cast<qsizetype>(buffer.length()));
  return 0;
}

void CopyListToClipboard(QWidget* owner, const QAbstractItemModel* model) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard || !model) return;
  clipboard->setMimeData(new DelayedListData(owner, model));
}

void RenderAllClipboardFormats(QWidget* owner) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return;
  auto* delayed = dynamic_cast<const DelayedListData*>(clipboard->mimeData());
  if (!delayed || delayed->owner() != owner) return;
  auto* rendered = new QMimeData;
  QByteArray text = delayed->data(kTextMime);
  if (!text.isNull()) {
    rendered->setData(kTextMime, text);
    QByteArray rtf = delayed->data(kRtfMime);
    if (!rtf.isNull()) rendered->setData(kRtfMime, rtf);
  }
  clipboard->setMimeData(rendered);
}
