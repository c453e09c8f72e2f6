#include "qt_app.h"

#include <gtest/gtest.h>

namespace {

QApplication* g_app = nullptr;

class QtAppEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete g_app;
    g_app = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment* const kQtAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

}  // namespace

QApplication* EnsureQtApp() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
  static int argc = 1;
  static char name[] = "resources_tests";
  static char* argv[] = {name, nullptr};
  g_app = new QApplication(argc, argv);
  return g_app;
}
