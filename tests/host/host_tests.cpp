// The shell host against a real namespace extension module (test_namespace.so)
// loaded through the registry, with real Qt widgets offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QProcess>
#include <QTabWidget>
#include <QTimer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/com/shell_notify.h"
#include "platform/host/browser_bars.h"
#include "platform/host/browser_menus.h"
#include "platform/host/context_menus.h"
#include "platform/host/main_window.h"
#include "platform/host/shell_browser.h"
#include "platform/host/shell_namespace.h"
#include "platform/host/tree_pane.h"
#include "platform/host/view_pane.h"
#include "platform/loader/loader.h"
#include "platform/registry/registry.h"
#include "platform/ui/menu_ids.h"
#include "platform/ui/window_messages.h"
#include "tests/host/test_namespace.h"

namespace {
QApplication* app() {
  static int argc = 1;
  static char name[] = "host_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* a = new QApplication(argc, argv);
  return a;
}

std::string modulePath() { return std::string(std::getenv("DATROVA_BIN_DIR")) + "/test_namespace.so"; }

bool moduleMapped() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line))
    if (line.find("test_namespace.so") != std::string::npos) return true;
  return false;
}

void pump() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app();
    ASSERT_TRUE(dir_.isValid());
    setenv("HOME", dir_.path().toUtf8().constData(), 1);
    setenv("DATROVA_REGISTRY", (dir_.path() + "/registry").toUtf8().constData(), 1);
    setenv("DATROVA_SYSTEM_DIR", (dir_.path() + "/system").toUtf8().constData(), 1);
    setenv("LANG", "C", 1);
    QDir().mkpath(dir_.path() + "/registry");
    PlatformRegistryReset();
    HMODULE m = LoadLibraryA(modulePath().c_str());
    ASSERT_NE(m, nullptr);
    auto reg = reinterpret_cast<HRESULT (*)()>(GetProcAddress(m, "DllRegisterServer"));
    ASSERT_NE(reg, nullptr);
    ASSERT_EQ(reg(), S_OK);
    FreeLibrary(m);
    junction_ = *FindJunctionByName(TEST_NS_NAME);
  }
  void TearDown() override {
    delete window_;
    pump();
    FreeUnusedExtensions();
  }
  TestNsStateData* state() {
    HMODULE m = GetModuleHandleA(modulePath().c_str());
    return m ? reinterpret_cast<TestNsStateData* (*)()>(GetProcAddress(m, "TestNsState"))() : nullptr;
  }
  ExplorerWindow* open(const IdList& start) {
    window_ = new ExplorerWindow(true, start);
    window_->show();
    pump();
    return window_;
  }
  QTemporaryDir dir_;
  Junction junction_;
  ExplorerWindow* window_ = nullptr;
};

TEST_F(HostTest, ListsJunctionFromRegistryAndBindsThroughInprocServer) {
  ExplorerWindow* w = open(MyComputerList());
  QVariant cls = w->property("windowClass");
  EXPECT_EQ(cls.toString(), QStringLiteral("ExploreWClass"));
  QTreeWidgetItem* root = w->tree()->topLevelItem(0);
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(root->childCount(), 1);
  EXPECT_EQ(root->child(0)->text(0), QStringLiteral(TEST_NS_NAME));
  EXPECT_EQ(w->viewPane()->computerList()->count(), 1);

  ASSERT_TRUE(w->navigate(junction_.absolute));
  ASSERT_NE(w->viewPane()->view(), nullptr);
  ASSERT_NE(w->viewPane()->viewWindow(), nullptr);
  EXPECT_TRUE(w->viewPane()->isAncestorOf(w->viewPane()->viewWindow()));
  EXPECT_EQ(w->address()->text(), QStringLiteral(TEST_NS_NAME));
  ASSERT_NE(state(), nullptr);
  EXPECT_GE(state()->initializeCalls, 1);
  EXPECT_EQ(state()->viewMode, FVM_DETAILS);
}

TEST_F(HostTest, OpenModeWindowHasNoTree) {
  window_ = new ExplorerWindow(false, junction_.absolute);
  EXPECT_EQ(window_->tree(), nullptr);
  EXPECT_EQ(window_->property("windowClass").toString(), QStringLiteral("CabinetWClass"));
}

TEST_F(HostTest, TreeExpandsSubfoldersWithClosedAndOpenIcons) {
  ExplorerWindow* w = open(MyComputerList());
  QTreeWidgetItem* junction = w->tree()->topLevelItem(0)->child(0);
  junction->setExpanded(true);
  pump();
  ASSERT_EQ(junction->childCount(), 2);  // folders only: Gamma is a file
  QTreeWidgetItem* alpha = junction->child(0);
  QTreeWidgetItem* beta = junction->child(1);
  EXPECT_EQ(alpha->text(0), QStringLiteral("Alpha"));
  EXPECT_EQ(beta->text(0), QStringLiteral("Beta"));
  EXPECT_EQ(alpha->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  EXPECT_NE(beta->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
  EXPECT_EQ(alpha->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
  alpha->setExpanded(true);
  pump();
  EXPECT_EQ(alpha->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::green));
  ASSERT_EQ(alpha->childCount(), 1);
  EXPECT_EQ(alpha->child(0)->text(0), QStringLiteral("Inner"));
  alpha->setExpanded(false);
  EXPECT_EQ(alpha->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
}

TEST_F(HostTest, ViewModeIsKeptInTheViewStateStream) {
  ExplorerWindow* w = open(junction_.absolute);
  HWND view = w->viewPane()->viewWindow();
  SendMessageA(view, WM_COMMAND, MAKEWPARAM(103, 0), 0);
  EXPECT_EQ(state()->viewMode, FVM_SMALLICON);
  ASSERT_NE(w->toolbar()->viewButton(103), nullptr);
  EXPECT_TRUE(w->toolbar()->viewButton(103)->isChecked());
  EXPECT_FALSE(w->toolbar()->viewButton(105)->isChecked());
  ASSERT_TRUE(w->navigate(MyComputerList()));
  // A fresh window offers details, the stream restores small icons.
  delete window_;
  window_ = nullptr;
  pump();
  ExplorerWindow* again = open(junction_.absolute);
  EXPECT_EQ(state()->viewMode, FVM_SMALLICON);
  EXPECT_TRUE(again->toolbar()->viewButton(103)->isChecked());
}

TEST_F(HostTest, MenuCommandsAndInitMenuPopupReachTheView) {
  ExplorerWindow* w = open(junction_.absolute);
  QMenu* viewMenu = w->menus()->popup(FCIDM_MENU_VIEW);
  ASSERT_NE(viewMenu, nullptr);
  for (UINT id : {FCIDM_MENU_FILE, FCIDM_MENU_EDIT, FCIDM_MENU_HELP}) EXPECT_NE(w->menus()->popup(id), nullptr);
  const int before = state()->initMenuPopups;
  emit viewMenu->aboutToShow();
  EXPECT_EQ(state()->initMenuPopups, before + 1);
  QAction* item = nullptr;
  for (QAction* a : viewMenu->actions())
    if (PlatformMenuItemId(a) == 42) item = a;
  ASSERT_NE(item, nullptr);
  item->trigger();
  EXPECT_EQ(state()->lastCommand, 42);
  w->toolbar()->viewButton(104)->trigger();
  EXPECT_EQ(state()->lastCommand, 104);
  EXPECT_EQ(state()->viewMode, FVM_LIST);
}

TEST_F(HostTest, FindInvokesTheFindVerbOnTheCurrentFolder) {
  ExplorerWindow* w = open(junction_.absolute);
  ASSERT_TRUE(w->findAction()->isEnabled());
  EXPECT_EQ(w->findAction()->text(), QStringLiteral("Find..."));
  w->findAction()->trigger();
  EXPECT_STREQ(state()->lastVerb, "find");
}

TEST_F(HostTest, ChangeNotifyRefreshesTheShownFolder) {
  open(junction_.absolute);
  const int before = state()->refreshCount;
  SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, junction_.absolute.get(), nullptr);
  pump();
  EXPECT_EQ(state()->refreshCount, before + 1);
  // Another folder's notice leaves this view alone.
  SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, MyComputerList().get(), nullptr);
  pump();
  EXPECT_EQ(state()->refreshCount, before + 1);
}

TEST_F(HostTest, BrowseObjectRelativeAndParent) {
  ExplorerWindow* w = open(junction_.absolute);
  const QByteArray alpha("\x0A\x00\x03" "Alpha\x00\x00\x00", 11);
  ASSERT_EQ(w->browser()->BrowseObject(reinterpret_cast<LPCITEMIDLIST>(alpha.constData()), SBSP_RELATIVE), S_OK);
  pump();
  EXPECT_EQ(w->current().itemCount(), junction_.absolute.itemCount() + 1);
  EXPECT_EQ(w->address()->text(), QStringLiteral("Alpha"));
  ASSERT_EQ(w->browser()->BrowseObject(nullptr, SBSP_PARENT), S_OK);
  pump();
  EXPECT_TRUE(w->current() == junction_.absolute);
  // A malformed list (cb 1) is refused.
  const QByteArray bad("\x01\x00\x00\x00", 4);
  EXPECT_EQ(w->browser()->BrowseObject(reinterpret_cast<LPCITEMIDLIST>(bad.constData()), SBSP_RELATIVE),
            E_INVALIDARG);
}

TEST_F(HostTest, LibraryIsUnloadedAfterTheUserLeavesIt) {
  ExplorerWindow* w = open(junction_.absolute);
  EXPECT_TRUE(moduleMapped());
  ASSERT_TRUE(w->navigate(MyComputerList()));
  EXPECT_FALSE(moduleMapped());
}

TEST_F(HostTest, JunctionPropertiesShowThePagesOfItsPropertySheetHandlers) {
  // The test extension registers no property sheet handler: no Properties.
  EXPECT_FALSE(HasJunctionPropertySheet(junction_.clsid));
  EXPECT_FALSE(ShowJunctionProperties(junction_.clsid, nullptr, TEST_NS_NAME));

  // The Datrova library registers its folder as the junction's handler; its
  // sheet holds the settings page.
  const std::string library = std::string(std::getenv("DATROVA_BIN_DIR")) + "/Datrova.so";
  HMODULE m = LoadLibraryA(library.c_str());
  ASSERT_NE(m, nullptr);
  auto reg = reinterpret_cast<HRESULT (*)()>(GetProcAddress(m, "DllRegisterServer"));
  ASSERT_NE(reg, nullptr);
  ASSERT_EQ(reg(), S_OK);
  FreeLibrary(m);
  CLSID datrova;
  ASSERT_EQ(GUIDFromStringA("{5C7E2A14-9B3D-4F61-A8E2-3D9C0B6F1E47}", &datrova), S_OK);
  ASSERT_TRUE(HasJunctionPropertySheet(datrova));

  QStringList tabs;
  QString title;
  QTimer closer;
  closer.setInterval(20);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!sheet) return;
    title = sheet->windowTitle();
    if (auto* pages = sheet->findChild<QTabWidget*>())
      for (int i = 0; i < pages->count(); ++i) tabs << pages->tabText(i);
    sheet->reject();
  });
  closer.start();
  EXPECT_TRUE(ShowJunctionProperties(datrova, nullptr, "Datrova 2.2"));
  closer.stop();
  EXPECT_EQ(tabs, QStringList{"Datrova"});
  EXPECT_TRUE(title.contains("Datrova 2.2")) << title.toStdString();
  pump();
  FreeUnusedExtensions();
}

class ToolsTest : public HostTest {};

TEST_F(ToolsTest, Rundll32CallsTheEntryWithTheRestOfTheCommandLine) {
  const QString out = dir_.path() + "/entry.txt";
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TEST_NS_ENTRY_FILE", out);
  p.setProcessEnvironment(env);
  p.start(QString::fromUtf8(std::getenv("DATROVA_BIN_DIR")) + "/rundll32",
          {QString::fromStdString(modulePath()) + ",TestEntry", "EXEC", "/tmp/a file.dtq"});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("1|1|1|EXEC \"/tmp/a file.dtq\""));

  p.start(QString::fromUtf8(std::getenv("DATROVA_BIN_DIR")) + "/rundll32",
          {QString::fromStdString(modulePath()) + ",NoSuchEntry"});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_NE(p.exitCode(), 0);
  EXPECT_TRUE(p.readAllStandardError().contains("NoSuchEntry"));
}

TEST_F(ToolsTest, Regsvr32RegistersAndUnregisters) {
  const QString tool = QString::fromUtf8(std::getenv("DATROVA_BIN_DIR")) + "/regsvr32";
  QProcess p;
  p.start(tool, {"/u", QString::fromStdString(modulePath())});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_TRUE(p.readAllStandardOutput().contains("0x00000000"));
  PlatformRegistryReset();
  EXPECT_FALSE(FindJunctionByName(TEST_NS_NAME).has_value());

  p.start(tool, {"/s", QString::fromStdString(modulePath())});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
  PlatformRegistryReset();
  EXPECT_TRUE(FindJunctionByName(TEST_NS_NAME).has_value());

  p.start(tool, {dir_.path() + "/missing.so"});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_NE(p.exitCode(), 0);
}
}  // namespace
