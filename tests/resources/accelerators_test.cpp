// Accelerator tables 1 and 128: the keys give their commands, both through
// the table lookup and through real shortcuts on a widget.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <QWidget>
#include <vector>

#include "library/res/accelerators.h"
#include "library/res/resource_ids.h"
#include "platform/ui/menu_ids.h"
#include "qt_app.h"

namespace {

TEST(Accelerators, TablesTranslateTheirKeys) {
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_VIEW, Qt::CTRL | Qt::Key_A), IDM_SELECT_ALL);
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_VIEW, Qt::CTRL | Qt::Key_C), IDM_COPY);
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_VIEW, QKeyCombination(Qt::Key_F5)), 0u);

  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_RESULT, Qt::CTRL | Qt::Key_C), IDM_COPY);
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_RESULT, Qt::CTRL | Qt::Key_Insert), IDM_COPY);
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_RESULT, QKeyCombination(Qt::Key_F5)), IDM_REFRESH);
  // Ctrl+Insert from the keypad is the same key.
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_RESULT,
                                    QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier,
                                                    Qt::Key_Insert)),
            IDM_COPY);
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_RESULT, Qt::CTRL | Qt::Key_A), 0u);
  EXPECT_EQ(TranslateAcceleratorKey(IDR_ACCEL_RESULT, Qt::SHIFT | Qt::Key_F5), 0u);
  EXPECT_EQ(TranslateAcceleratorKey(2, Qt::CTRL | Qt::Key_C), 0u);
}

TEST(Accelerators, InstalledShortcutsRunTheirCommands) {
  EnsureQtApp();
  QWidget window;
  std::vector<UINT> fired;
  const std::vector<QAction*> actions =
      InstallAccelerators(&window, IDR_ACCEL_RESULT, [&](UINT id) { fired.push_back(id); });
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(PlatformMenuItemId(actions[1]), IDM_COPY);
  EXPECT_EQ(actions[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
  EXPECT_EQ(PlatformMenuItemId(actions[2]), IDM_REFRESH);

  // The keys reach a focused child, as they reach the result list.
  QWidget* child = new QWidget(&window);
  child->setFocusPolicy(Qt::StrongFocus);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  child->setFocus();
  ASSERT_TRUE(child->hasFocus());
  QTest::keyClick(child, Qt::Key_F5);
  QTest::keyClick(child, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(child, Qt::Key_Insert, Qt::ControlModifier);
  QTest::keyClick(child, Qt::Key_A, Qt::ControlModifier);  // not in table 128
  EXPECT_EQ(fired, (std::vector<UINT>{IDM_REFRESH, IDM_COPY, IDM_COPY}));

  EXPECT_TRUE(InstallAccelerators(&window, 99, nullptr).empty());
}

}  // namespace
