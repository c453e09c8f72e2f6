// One QApplication for the whole test program (widgets and pixmaps need it);
// ctest runs it on the offscreen platform.
#pragma once

#include <QApplication>

inline QApplication* EnsureQtApp() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
  static int argc = 1;
  static char name[] = "resources_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return &app;
}
