// The platform's property sheet frame with pages of its own: tab order and
// captions, pages initialised when first shown, PSN_APPLY only on OK, release
// callbacks for every page, the page limit and PSM_CHANGED.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QTabWidget>

#include <algorithm>

#include <string>
#include <vector>

#include "platform/ui/property_sheet.h"
#include "tests/propsheet/sheet_support.h"
#include "tests/support/gui_driver.h"

namespace {

// What happened to the pages of one sheet, in order.
std::vector<std::string> g_log;
QWidget* g_lastInitialised = nullptr;

HWND MakePage(HWND parent, LPCPROPSHEETPAGEA ppsp) {
  auto* page = new QWidget(parent);
  page->setObjectName(QString::number(ppsp->lParam));
  page->setWindowTitle(QStringLiteral("Page %1").arg(ppsp->lParam));
  return page;
}

INT_PTR PageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  const std::string name = hwnd->objectName().toStdString();
  if (msg == WM_INITDIALOG) {
    g_log.push_back("init " + name + " " + std::to_string(reinterpret_cast<LPCPROPSHEETPAGEA>(lParam)->lParam));
    g_lastInitialised = hwnd;
  } else if (msg == WM_NOTIFY) {
    const auto* notify = reinterpret_cast<const PSHNOTIFY*>(lParam);
    g_log.push_back((notify->hdr.code == PSN_APPLY ? "apply " : "reset ") + name);
  } else if (msg == WM_DESTROY) {
    g_log.push_back("destroy " + name);
  }
  return TRUE;
}

UINT PageCallback(HWND, UINT msg, LPPROPSHEETPAGEA ppsp) {
  if (msg == PSPCB_RELEASE) g_log.push_back("release " + std::to_string(ppsp->lParam));
  return 1;
}

HPROPSHEETPAGE Page(int number, const char* title = nullptr) {
  PROPSHEETPAGEA psp{};
  psp.dwSize = sizeof psp;
  psp.dwFlags = PSP_USECALLBACK | (title ? PSP_USETITLE : 0);
  psp.pszTitle = title;
  psp.pfnDlgProc = PageProc;
  psp.lParam = number;
  psp.pfnCallback = PageCallback;
  psp.pfnCreatePage = MakePage;
  return CreatePropertySheetPageA(&psp);
}

INT_PTR Show(std::vector<HPROPSHEETPAGE> pages, const std::function<void(QDialog*)>& act) {
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPTITLE | PSH_NOAPPLYNOW;
  header.pszCaption = "orders";
  header.nPages = static_cast<UINT>(pages.size());
  header.phpage = pages.data();
  ModalDialogWatcher watcher(act);
  return PropertySheetA(&header);
}

class SheetFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    g_log.clear();
    livePages_ = PlatformLivePropertySheetPages();
  }
  void TearDown() override { EXPECT_EQ(livePages_, PlatformLivePropertySheetPages()); }
  long livePages_ = 0;
};

TEST_F(SheetFrameTest, PagesAreInitialisedWhenFirstShownAndAppliedOnlyOnOk) {
  QStringList tabs;
  QString title;
  const INT_PTR result = Show({Page(1), Page(2, "Second"), Page(3)}, [&](QDialog* sheet) {
    tabs = TabTexts(sheet);
    title = sheet->windowTitle();
    ShowPage(sheet, 2);
    ShowPage(sheet, 1);  // shown again: no second init
    PressOk(sheet);
  });
  EXPECT_EQ(1, result);
  EXPECT_EQ(QStringList({"Page 1", "Second", "Page 3"}), tabs);
  EXPECT_EQ(QStringLiteral("orders Properties"), title);
  // Page 3 was never shown: never initialised, applied or destroyed, but
  // released like every other page.
  const std::vector<std::string> expected = {"init 1 1", "init 2 2",  "apply 1",   "apply 2",
                                             "destroy 1", "destroy 2", "release 1", "release 2",
                                             "release 3"};
  EXPECT_EQ(expected, g_log);
}

TEST_F(SheetFrameTest, CancelResetsAndStillDestroysShownPages) {
  const INT_PTR result = Show({Page(1), Page(2)}, [](QDialog* sheet) { PressCancel(sheet); });
  EXPECT_EQ(0, result);
  const std::vector<std::string> expected = {"init 1 1", "reset 1", "destroy 1", "release 1", "release 2"};
  EXPECT_EQ(expected, g_log);
}

TEST_F(SheetFrameTest, AtMostOneHundredPagesAndChangedMarks) {
  std::vector<HPROPSHEETPAGE> pages;
  for (int i = 1; i <= 102; ++i) pages.push_back(Page(i));
  int tabCount = 0;
  bool changedBefore = true, changedAfter = false;
  Show(pages, [&](QDialog* sheet) {
    tabCount = SheetTabs(sheet)->count();
    changedBefore = PlatformPropertySheetChanged(sheet);
    PropSheet_Changed(PropertySheetOfPage(g_lastInitialised), g_lastInitialised);
    changedAfter = PlatformPropertySheetChanged(sheet);
    PressCancel(sheet);
  });
  EXPECT_EQ(MAXPROPPAGES, tabCount);
  EXPECT_FALSE(changedBefore);
  EXPECT_TRUE(changedAfter);
  EXPECT_EQ(102, std::count_if(g_log.begin(), g_log.end(), [](const std::string& s) { return s.rfind("release", 0) == 0; }));
}

TEST_F(SheetFrameTest, WithoutPagesNothingIsShown) {
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  EXPECT_EQ(-1, PropertySheetA(&header));
  EXPECT_EQ(nullptr, CreatePropertySheetPageA(nullptr));
  EXPECT_FALSE(DestroyPropertySheetPage(nullptr));
}

}  // namespace
