// Rendering a report list for the clipboard: 100,000 and 200,000 rows of 6
// columns, as delimited text and as Rich Text (with cells that need escapes).
// Prints the median time per run and per megabyte of output; the time per
// megabyte must stay flat when the rows double (no quadratic growth).
#include <QAbstractTableModel>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "library/catalog/settings.h"
#include "library/query/list_render.h"

namespace {

constexpr int kColumns = 6;
constexpr int kRuns = 5;

// Synthetic rows: numbers, names with umlauts and quotes, dates, remarks.
class SyntheticModel final : public QAbstractTableModel {
 public:
  explicit SyntheticModel(int rows) : rows_(rows) {}
  int rowCount(const QModelIndex& = QModelIndex()) const override { return rows_; }
  int columnCount(const QModelIndex& = QModelIndex()) const override { return kColumns; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    const int r = index.row();
    switch (index.column()) {
      case 0: return QString::number(r);
      case 1: return QStringLiteral("Müller-O'Brien %1").arg(r % 997);
      case 2: return QStringLiteral("2024-%1-%2").arg(r % 12 + 1, 2, 10, QLatin1Char('0')).arg(r % 28 + 1, 2, 10, QLatin1Char('0'));
      case 3: return QString::number(r * 3.25, 'f', 2);
      case 4: return QStringLiteral("{braces} and \\backslash\\ line %1").arg(r);
      default: return QStringLiteral("a remark of moderate length for row %1").arg(r);
    }
  }

 private:
  int rows_;
};

struct Result {
  double seconds;
  size_t bytes;
};

Result Measure(int rows, ListFormat format) {
  SyntheticModel model(rows);
  std::vector<double> times;
  size_t bytes = 0;
  for (int run = 0; run < kRuns; ++run) {
    TextBuffer buffer;
    const auto start = std::chrono::steady_clock::now();
    if (!RenderList(model, format, ";", buffer)) {
      std::fprintf(stderr, "rendering ran out of memory\n");
      std::exit(1);
    }
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    bytes = buffer.length();
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], bytes};
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  std::printf("%-10s %8s %10s %10s %10s\n", "format", "rows", "MB", "ms", "ms/MB");
  for (ListFormat format : {ListFormat::Text, ListFormat::RichText}) {
    double perMb[2] = {0, 0};
    int i = 0;
    for (int rows : {100000, 200000}) {
      const Result r = Measure(rows, format);
      const double mb = static_cast<double>(r.bytes) / (1024.0 * 1024.0);
      perMb[i++] = r.seconds * 1000.0 / mb;
      std::printf("%-10s %8d %10.2f %10.1f %10.2f\n", format == ListFormat::Text ? "text" : "rtf", rows, mb,
                  r.seconds * 1000.0, r.seconds * 1000.0 / mb);
    }
    std::printf("%-10s doubling the rows: time per MB x%.2f\n", format == ListFormat::Text ? "text" : "rtf",
                perMb[1] / perMb[0]);
  }
  return 0;
}
