// One QApplication for the whole test program (widgets and pixmaps need it);
// ctest runs it on the offscreen platform. It is made on first use and
// destroyed by a global test environment before the program's static
// objects go, so that Qt tears down in its own order.
#pragma once

#include <QApplication>

QApplication* EnsureQtApp();
