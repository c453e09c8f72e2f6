// Language, list separator, message boxes, cursors, window classes,
// clipboard formats, shell notifications and settings, with real Qt widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>
#include <thread>

#include "platform/com/shell_notify.h"
#include "platform/registry/registry.h"
#include "platform/ui/ui.h"
#include "tests/support/world.h"

namespace {

// Sets or clears environment variables for one test and puts them back.
class EnvGuard {
 public:
  explicit EnvGuard(std::initializer_list<const char*> names) {
    for (const char* n : names) {
      const char* v = std::getenv(n);
      saved_.emplace_back(n, v ? std::optional<std::string>(v) : std::nullopt);
      unsetenv(n);
    }
  }
  ~EnvGuard() {
    for (auto& [n, v] : saved_) {
      if (v)
        setenv(n.c_str(), v->c_str(), 1);
      else
        unsetenv(n.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }
  std::unique_ptr<QApplication> app_;
};

}  // namespace

TEST(Language, FromLcAllThenLcMessagesThenLang) {
  EnvGuard env({"LC_ALL", "LC_MESSAGES", "LANG"});
  const LANGID german = MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT);
  const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
  EXPECT_EQ(GetUserDefaultLangID(), english);
  setenv("LANG", "de_AT.UTF-8", 1);
  EXPECT_EQ(GetUserDefaultLangID(), german);
  EXPECT_EQ(PRIMARYLANGID(GetSystemDefaultLangID()), LANG_GERMAN);
  setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
  EXPECT_EQ(GetUserDefaultLangID(), english) << "LC_MESSAGES before LANG";
  setenv("LC_ALL", "de_CH", 1);
  EXPECT_EQ(GetUserDefaultLangID(), german) << "LC_ALL before everything";
  setenv("LC_ALL", "", 1);
  EXPECT_EQ(GetUserDefaultLangID(), english) << "an empty LC_ALL counts as unset";
}

TEST(Profile, ListSeparatorFromRegistryElseLocale) {
  TestWorld world;
  EnvGuard env({"LC_ALL", "LC_NUMERIC", "LANG"});
  PlatformRegistryReset();
  char buf[16];
  EXPECT_EQ(GetProfileStringA("intl", "sList", ",", buf, sizeof buf), 1u);
  EXPECT_STREQ(buf, ",") << "C locale: '.' decimal separator";
  EXPECT_EQ(GetProfileStringA("intl", "sDecimal", "?", buf, sizeof buf), 1u);
  EXPECT_STREQ(buf, "?") << "other keys give the default";

  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "sList", 0, REG_SZ, reinterpret_cast<const BYTE*>("|"), 2), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(GetProfileStringA("INTL", "slist", ",", buf, sizeof buf), 1u);
  EXPECT_STREQ(buf, "|");
  PlatformRegistryReset();
}

TEST(MessageBox, HookAnswersAndRecords) {
  std::vector<MessageBoxCall> calls;
  auto old = PlatformSetMessageBoxHook([&](const MessageBoxCall& c) {
    calls.push_back(c);
    return IDNO;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "Verbindung fehlgeschlagen", "Datrova 2.2", MB_YESNO | MB_ICONQUESTION), IDNO);
  PlatformSetMessageBoxHook(old);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text, "Verbindung fehlgeschlagen");
  EXPECT_EQ(calls[0].caption, "Datrova 2.2");
  EXPECT_EQ(calls[0].type, MB_YESNO | MB_ICONQUESTION);
}

TEST(MessageBox, WithoutApplicationAnswersTheDefaultButton) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_RETRYCANCEL), IDRETRY);
}

TEST_F(GuiTest, MessageBoxIsARealDialog) {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttonCount = 0;
  bool defaultIsNo = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttonCount = static_cast<int>(box->buttons().size());
    defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
    box->button(QMessageBox::Cancel)->click();
  });
  int answer = MessageBoxA(nullptr, "Gr\xC3\xBC\xC3\x9F" "e", "Datrova 2.2",
                           MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_EQ(title, "Datrova 2.2");
  EXPECT_EQ(text, QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e"));
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttonCount, 3);
  EXPECT_TRUE(defaultIsNo);
}

TEST_F(GuiTest, WaitCursorIsTheOverrideCursor) {
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(wait, nullptr);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(reinterpret_cast<HINSTANCE>(0x1), IDC_WAIT), nullptr);
  HCURSOR previous = SetCursor(wait);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_EQ(SetCursor(wait), wait) << "setting it twice stacks nothing";
  EXPECT_EQ(SetCursor(previous), wait);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(SetCursor(arrow), arrow);
}

TEST_F(GuiTest, DesktopWindowAndClassNames) {
  HWND desktop = GetDesktopWindow();
  ASSERT_NE(desktop, nullptr);
  EXPECT_EQ(GetDesktopWindow(), desktop);
  EXPECT_FALSE(desktop->isVisible());

  QWidget w;
  char name[64];
  EXPECT_EQ(GetClassNameA(&w, name, sizeof name), 7);
  EXPECT_STREQ(name, "QWidget");
  w.setProperty("windowClass", "ExploreWClass");
  EXPECT_EQ(GetClassNameA(&w, name, sizeof name), 13);
  EXPECT_STREQ(name, "ExploreWClass");
  EXPECT_EQ(GetClassNameA(&w, name, 8), 7);
  EXPECT_STREQ(name, "Explore");
  EXPECT_EQ(GetClassNameA(nullptr, name, sizeof name), 0);
}

TEST_F(GuiTest, ChangeNoticesFromAWorkerArriveOnTheGuiThread) {
  std::vector<std::pair<LONG, bool>> seen;
  std::vector<USHORT> firstCb;
  int cookie = PlatformAddChangeNotifyListener([&](LONG event, UINT, LPCITEMIDLIST pidl) {
    seen.emplace_back(event, QThread::currentThread() == app_->thread());
    firstCb.push_back(pidl ? pidl->mkid.cb : 0);
  });
  const BYTE list[] = {4, 0, 0xAA, 0xBB, 0, 0};
  SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, list, nullptr);
  std::thread worker([&] { SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_IDLIST | SHCNF_FLUSH, list, nullptr); });
  // The flushed notice needs the GUI thread's event loop to run.
  while (seen.size() < 2) QCoreApplication::processEvents();
  worker.join();
  PlatformRemoveChangeNotifyListener(cookie);
  SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, list, nullptr);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(LONG{SHCNE_UPDATEDIR}, true));
  EXPECT_EQ(seen[1], std::make_pair(LONG{SHCNE_UPDATEITEM}, true));
  EXPECT_EQ(firstCb, std::vector<USHORT>({4, 4}));
}

TEST(ClipboardFormats, StablePerNameIgnoringCase) {
  UINT rtf = RegisterClipboardFormatA("Rich Text Format");
  EXPECT_EQ(rtf, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormatA("RICH TEXT FORMAT"), rtf);
  UINT other = RegisterClipboardFormatA("Datrova Private");
  EXPECT_GE(other, 0xC000u);
  EXPECT_NE(other, rtf);
  EXPECT_EQ(RegisterClipboardFormatA("datrova private"), other);
  EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
}

TEST(ShellSettings, DefaultsAndUserOverride) {
  TestWorld world;
  PlatformRegistryReset();
  SHELLFLAGSTATE s;
  SHGetSettings(&s, SSF_DOUBLECLICKINWEBVIEW | SSF_SHOWINFOTIP);
  EXPECT_TRUE(s.fDoubleClickInWebView);
  EXPECT_TRUE(s.fShowInfoTip);
  SHGetSettings(&s, SSF_SHOWINFOTIP);
  EXPECT_FALSE(s.fDoubleClickInWebView) << "only asked flags are filled";

  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD off = 0;
  RegSetValueExA(key, "ShowInfoTip", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
  RegCloseKey(key);
  SHGetSettings(&s, SSF_DOUBLECLICKINWEBVIEW | SSF_SHOWINFOTIP);
  EXPECT_TRUE(s.fDoubleClickInWebView);
  EXPECT_FALSE(s.fShowInfoTip);
  PlatformRegistryReset();
}
