// The settings page: values shown, taken over when the sheet closes (also on
// Cancel, never for a page not shown), the 16-bit limits, the timeout of 0,
// "Delete all passwords" at once; and the about box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include "library/catalog/settings.h"
#include "library/propsheet/about_box.h"
#include "library/propsheet/settings_page.h"
#include "library/res/dialogs.h"
#include "tests/propsheet/fixture.h"
#include "tests/propsheet/sheet_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/world.h"

namespace {

// Records the addresses the program asks the desktop to open.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
  ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
  QStringList urls;
 public slots:
  void open(const QUrl& url) { urls << url.toString(); }
};

class SettingsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    world_.addSqliteDsn("Shop", kSheetFixtureSql);
    UseLibraryModuleState();
  }

  // The root's sheet (the settings page only) or, with `dsnSheet`, a data
  // source's sheet whose settings page is not the first.
  void Run(const std::function<void(QDialog*)>& act, bool dsnSheet = false) {
    FolderPtr root = MakeFolder(nullptr, nullptr);
    ListPtr item = DsnItem("Shop");
    LPCITEMIDLIST items[] = {item.get()};
    RunProperties(root.get(), dsnSheet ? 1 : 0, dsnSheet ? items : nullptr, act);
  }

  // Reads the settings back from the registry.
  static Settings Stored() {
    const Settings inMemory = g_settings;
    g_settings = Settings{};
    LoadSettings();
    Settings stored = g_settings;
    g_settings = inMemory;
    return stored;
  }

  static void Type(QWidget* page, int id, const char* text) {
    FindControl<QLineEdit>(page, id)->setText(QString::fromUtf8(text));
  }

  TestWorld world_;
};

TEST_F(SettingsPageTest, ShowsTheSettingsAndStoresThemOnOk) {
  g_settings.MaxCol = 12;
  g_settings.MaxRow = 345;
  g_settings.Timeout = 7;
  g_settings.ShowProcs = false;
  std::strcpy(g_settings.NullValue, "<nichts>");
  QString maxRow, timeout, nullValue, product;
  bool showProcs = true, connectDsn = false;
  Run([&](QDialog* sheet) {
    QWidget* page = ShowPage(sheet, 1008);
    ASSERT_NE(nullptr, page);
    maxRow = FindControl<QLineEdit>(page, 1029)->text();
    timeout = FindControl<QLineEdit>(page, 1057)->text();
    nullValue = FindControl<QLineEdit>(page, 1035)->text();
    showProcs = FindControl<QCheckBox>(page, 1043)->isChecked();
    connectDsn = FindControl<QCheckBox>(page, 1034)->isChecked();
    product = FindControl<QPushButton>(page, 1045)->text();
    Type(page, 1029, "70000");
    Type(page, 1027, "");
    Type(page, 1057, "0");
    Type(page, 1035, "-");
    FindControl<QCheckBox>(page, 1042)->setChecked(false);
    PressOk(sheet);
  });
  EXPECT_EQ("345", maxRow);
  EXPECT_EQ("7", timeout);
  EXPECT_EQ("<nichts>", nullValue);
  EXPECT_FALSE(showProcs);
  EXPECT_TRUE(connectDsn);
  EXPECT_EQ(QString::fromUtf8(kProductInfoText), product);

  const Settings stored = Stored();
  EXPECT_EQ(4464, stored.MaxRow);  // 70000 keeps its low 16 bits
  EXPECT_EQ(0, stored.MaxCol);
  EXPECT_EQ(1u, stored.Timeout);   // a timeout of 0 becomes 1
  EXPECT_STREQ("-", stored.NullValue);
  EXPECT_FALSE(stored.ShowSysTab);
  EXPECT_FALSE(stored.ShowProcs);

  QString shownAgain;
  Run([&](QDialog* sheet) { shownAgain = FindControl<QLineEdit>(ShowPage(sheet, 1008), 1057)->text(); });
  EXPECT_EQ("1", shownAgain);
}

TEST_F(SettingsPageTest, CancelStillStoresButAnUnshownPageLeavesTheSettings) {
  Run([](QDialog* sheet) {
    Type(ShowPage(sheet, 1008), 1029, "250");
    PressCancel(sheet);
  });
  EXPECT_EQ(250, Stored().MaxRow);
  EXPECT_EQ(250, g_settings.MaxRow);

  // The settings page of a data source's sheet, never selected.
  g_settings.MaxRow = 99;
  Run([](QDialog* sheet) { PressOk(sheet); }, true);
  EXPECT_EQ(250, Stored().MaxRow);
  EXPECT_EQ(99, g_settings.MaxRow);
}

TEST_F(SettingsPageTest, DeleteAllPasswordsAtOnceEvenWhenCancelled) {
  ASSERT_TRUE(SaveLogin("Shop", "anna", "geheim"));
  ASSERT_TRUE(SaveLogin("Other", "bert", "x"));
  char user[256], password[256];
  QString userStillShown;
  bool goneWhileOpen = false;
  Run([&](QDialog* sheet) {
    QWidget* dsnPage = ShowPage(sheet, 1007);
    FindControl<QPushButton>(ShowPage(sheet, 1008), 1016)->click();
    goneWhileOpen = !LoadLogin("Shop", user, sizeof user, password, sizeof password) &&
                    !LoadLogin("Other", user, sizeof user, password, sizeof password);
    userStillShown = FindControl<QLineEdit>(dsnPage, 1014)->text();
    PressCancel(sheet);
  }, true);
  EXPECT_TRUE(goneWhileOpen);
  EXPECT_EQ("anna", userStillShown);
  EXPECT_FALSE(LoadLogin("Shop", user, sizeof user, password, sizeof password));
}

TEST_F(SettingsPageTest, LeadingDigitsAndTheWebSiteButtons) {
  EXPECT_EQ(0u, LeadingDecimal("", 100));
  EXPECT_EQ(0u, LeadingDecimal("x12", 100));
  EXPECT_EQ(12u, LeadingDecimal("12x3", 100));
  EXPECT_EQ(123u, LeadingDecimal("12345", 3));

  UrlRecorder recorder;
  Run([](QDialog* sheet) { FindControl<QPushButton>(ShowPage(sheet, 1008), 1045)->click(); });

  int result = -1;
  QString text;
  {
    ModalDialogWatcher watcher([&](QDialog* box) {
      text = FindControl<QLabel>(box, 1201)->text();
      FindControl<QPushButton>(box, 1045)->click();
      FindControl<QPushButton>(box, 1)->click();
    });
    result = ShowAboutBox(nullptr);
  }
  EXPECT_EQ(1, result);
  EXPECT_EQ(QString::fromUtf8(kProductInfoText), text);
  EXPECT_EQ(QStringList({kMakerWebAddress, kMakerWebAddress}), recorder.urls);
}

}  // namespace

#include "settings_page_test.moc"
