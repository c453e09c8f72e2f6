// The "Find Data" and "Find Result" dialogs, driven through their widgets.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "library/search/find_data.h"
#include "library/search/find_data_dialog.h"
#include "library/search/find_result_dialog.h"
#include "library/search/found_rows_model.h"
#include "library/shell/module_state.h"
#include "tests/search/search_world.h"
#include "tests/support/gui_driver.h"

namespace {

QString LabelFor(QWidget* dialog, QWidget* buddy) {
  for (QLabel* label : dialog->findChildren<QLabel*>())
    if (label->buddy() == buddy) return label->text();
  return QStringLiteral("<no label>");
}

std::vector<std::vector<std::string>> ListRows(QTableView* list) {
  std::vector<std::vector<std::string>> rows;
  QAbstractItemModel* model = list->model();
  for (int r = 0; r < model->rowCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < model->columnCount(); ++c) row.push_back(model->index(r, c).data().toString().toStdString());
    rows.push_back(row);
  }
  return rows;
}

class FindDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    AddSearchDataSources(world_);
    UseLibraryModuleState();
  }
  TestWorld world_;
};

TEST_F(FindDialogsTest, FindDataDialogTextsAndDefaults) {
  FindDataDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Find Data");
  EXPECT_EQ(FindControl<QLabel>(&dialog, 1206)->text(),
            "Attention: If you run this function, the machine can be blocked for a long time - or even break "
            "down. Please save all data before continuing!");
  auto* dsn = FindControl<QLineEdit>(&dialog, 1078);
  auto* tables = FindControl<QLineEdit>(&dialog, 1079);
  auto* value = FindControl<QLineEdit>(&dialog, 1077);
  ASSERT_TRUE(dsn && tables && value);
  EXPECT_EQ(LabelFor(&dialog, dsn), "DSN to be seached (t.ex. 'PROD_DB,DBFR*')");
  EXPECT_EQ(LabelFor(&dialog, tables), "Tables to be searched (t.ex. 'EMP, PROD*')");
  EXPECT_EQ(LabelFor(&dialog, value), "Search entry:");
  EXPECT_EQ(FindControl<QGroupBox>(&dialog, 1207)->title(), "Datatypes to be searched");
  EXPECT_EQ(FindControl<QRadioButton>(&dialog, 1074)->text(), "Numeric (int, float, ...)");
  EXPECT_EQ(FindControl<QRadioButton>(&dialog, 1075)->text(), "String (char, varchar, ...)");
  EXPECT_EQ(FindControl<QRadioButton>(&dialog, 1076)->text(), "Date");
  EXPECT_TRUE(FindControl<QRadioButton>(&dialog, 1075)->isChecked());
  EXPECT_EQ(FindControl<QPushButton>(&dialog, 1)->text(), "OK");
  EXPECT_EQ(FindControl<QPushButton>(&dialog, 2)->text(), "Abbrechen");

  // The German user sees the same dialog.
  g_languageOffset = 0;
  FindDataDialog german;
  g_languageOffset = 1000;
  EXPECT_EQ(german.windowTitle(), "Find Data");
  EXPECT_EQ(FindControl<QPushButton>(&german, 2)->text(), "Abbrechen");
}

TEST_F(FindDialogsTest, RequestIsReadFromTheControls) {
  FindDataDialog dialog;
  QTest::keyClicks(FindControl<QLineEdit>(&dialog, 1078), "prod_db, dbfr*");
  QTest::keyClicks(FindControl<QLineEdit>(&dialog, 1079), "emp");
  QTest::keyClicks(FindControl<QLineEdit>(&dialog, 1077), "Mixed Case");
  // The pattern edits turn what is typed into upper case; the value stays.
  EXPECT_EQ(FindControl<QLineEdit>(&dialog, 1078)->text(), "PROD_DB, DBFR*");
  SearchRequest request = dialog.request();
  EXPECT_EQ(request.dataSourcePatterns, "PROD_DB, DBFR*");
  EXPECT_EQ(request.tablePatterns, "EMP");
  EXPECT_EQ(request.value, "Mixed Case");
  EXPECT_EQ(request.dataType, SearchDataType::String);
  FindControl<QRadioButton>(&dialog, 1074)->click();
  EXPECT_EQ(dialog.request().dataType, SearchDataType::Numeric);
  FindControl<QRadioButton>(&dialog, 1076)->click();
  EXPECT_EQ(dialog.request().dataType, SearchDataType::Date);
}

TEST_F(FindDialogsTest, EachOkListsASearchInANewResultDialog) {
  // The order of the walk, as the driver gives it.
  RecordingSink walk;
  SearchControl control;
  RunDataSearch({"ALPHA,BETA", "", SearchDataType::String, ""}, walk, control);
  ASSERT_EQ(walk.rows().size(), 6u);

  FindDataDialog dialog;
  dialog.show();
  FindControl<QLineEdit>(&dialog, 1078)->setText("ALPHA,BETA");
  FindControl<QPushButton>(&dialog, 1)->click();
  ASSERT_EQ(dialog.resultDialogs().size(), 1u);
  FindResultDialog* result = dialog.resultDialogs()[0];
  QAbstractItemModelTester tester(result->model());
  EXPECT_TRUE(result->isVisible());
  EXPECT_TRUE(dialog.isVisible());  // the Find Data dialog stays open
  EXPECT_EQ(result->windowTitle(), "Find Result");
  ASSERT_TRUE(ProcessEventsUntil([&] { return !result->running(); }));

  auto* list = FindControl<QTableView>(result, 1019);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "DSN");
  EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "TABLE");
  EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "KEY");
  // Newest first: the last table of the last data source on top.
  std::vector<std::vector<std::string>> expected;
  for (const SearchRow& row : walk.rows()) expected.insert(expected.begin(), {row.dataSource, row.table, ""});
  EXPECT_EQ(ListRows(list), expected);
  EXPECT_EQ(FindControl<QLineEdit>(result, 1078)->text(), "BETA");
  EXPECT_EQ(FindControl<QLineEdit>(result, 1079)->text().toStdString(), walk.rows().back().table);
  EXPECT_EQ(LabelFor(result, FindControl<QLineEdit>(result, 1078)), "Current DSN:");
  EXPECT_EQ(LabelFor(result, FindControl<QLineEdit>(result, 1079)), "Current Table:");
  // Columns sized to their contents (the headings included).
  const QFontMetrics metrics(list->font());
  EXPECT_GE(list->columnWidth(1), metrics.horizontalAdvance(QString::fromStdString(walk.rows()[0].table)));

  // A second OK: a second dialog with the value search's rows.
  FindControl<QLineEdit>(&dialog, 1079)->setText("ACCOUNTS");
  FindControl<QLineEdit>(&dialog, 1077)->setText("stone");
  FindControl<QPushButton>(&dialog, 1)->click();
  ASSERT_EQ(dialog.resultDialogs().size(), 2u);
  FindResultDialog* second = dialog.resultDialogs()[1];
  ASSERT_TRUE(ProcessEventsUntil([&] { return !second->running(); }));
  EXPECT_EQ(ListRows(FindControl<QTableView>(second, 1019)),
            (std::vector<std::vector<std::string>>{{"ALPHA", "accounts", "id=2"}, {"ALPHA", "accounts", ""}}));
  EXPECT_EQ(ListRows(list).size(), 6u);  // the first list is left alone

  // Cancel hides a finished result dialog; it stays until its owner goes.
  FindControl<QPushButton>(second, 2)->click();
  EXPECT_FALSE(second->isVisible());
  EXPECT_EQ(dialog.resultDialogs().size(), 2u);
}

TEST_F(FindDialogsTest, CancelStopsARunningSearchThenHides) {
  AddSlowDataSource(world_);
  FindDataDialog dialog;
  FindControl<QLineEdit>(&dialog, 1078)->setText("SLOW");
  FindControl<QLineEdit>(&dialog, 1079)->setText("ENDLESS");
  FindControl<QLineEdit>(&dialog, 1077)->setText("no such text");
  dialog.accept();
  FindResultDialog* result = dialog.resultDialogs().at(0);
  ASSERT_TRUE(ProcessEventsUntil([&] { return result->model()->rowCount() == 1; }));
  QTest::qWait(300);
  ASSERT_TRUE(result->running());
  bool finished = false;
  QObject::connect(result, &FindResultDialog::searchFinished, [&] { finished = true; });
  FindControl<QPushButton>(result, 2)->click();
  EXPECT_TRUE(result->isVisible());  // until the statement has stopped
  ASSERT_TRUE(ProcessEventsUntil([&] { return finished; }, 120000));
  EXPECT_FALSE(result->isVisible());
  EXPECT_EQ(result->model()->rowCount(), 1);
}

TEST_F(FindDialogsTest, ClosingTheFindDialogDuringASearchStopsIt) {
  AddSlowDataSource(world_);
  auto dialog = std::make_unique<FindDataDialog>();
  FindControl<QLineEdit>(dialog.get(), 1078)->setText("SLOW");
  FindControl<QLineEdit>(dialog.get(), 1077)->setText("no such text");
  dialog->accept();
  FindResultDialog* result = dialog->resultDialogs().at(0);
  ASSERT_TRUE(ProcessEventsUntil([&] { return result->model()->rowCount() >= 1; }));
  QPointer<FindResultDialog> watch(result);
  dialog.reset();  // waits for the worker, which stops
  EXPECT_TRUE(watch.isNull());
}

TEST_F(FindDialogsTest, ShowFindDataDialogRunsUntilCancel) {
  int results = 0;
  std::vector<std::vector<std::string>> rows;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    ASSERT_EQ(dialog->objectName(), "15");
    FindControl<QLineEdit>(dialog, 1078)->setText("ALPHA");
    FindControl<QRadioButton>(dialog, 1074)->click();
    FindControl<QLineEdit>(dialog, 1077)->setText("3.20");
    FindControl<QPushButton>(dialog, 1)->click();
    auto* find = static_cast<FindDataDialog*>(dialog);
    results = static_cast<int>(find->resultDialogs().size());
    FindResultDialog* result = find->resultDialogs().at(0);
    ProcessEventsUntil([&] { return !result->running(); });
    rows = ListRows(FindControl<QTableView>(result, 1019));
    FindControl<QPushButton>(dialog, 2)->click();
  });
  ShowFindDataDialog(nullptr);
  EXPECT_EQ(watcher.dialogsSeen(), 1);
  EXPECT_EQ(results, 1);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"ALPHA", "ledger", "year=2023, entry_no=8"}));
}

}  // namespace
