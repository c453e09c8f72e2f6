// shellhost [--explore|--open] [--path <display path>]
// Opens a host window on My Computer, or on the junction whose display name
// is <display path> (e.g. the name a namespace extension registered).
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "platform/host/host_strings.h"
#include "platform/host/main_window.h"
#include "platform/host/shell_namespace.h"
#include "platform/ui/ui.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  bool explore = true;
  QString path;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--explore") == 0) {
      explore = true;
    } else if (std::strcmp(argv[i], "--open") == 0) {
      explore = false;
    } else if (std::strcmp(argv[i], "--path") == 0 && i + 1 < argc) {
      path = QString::fromUtf8(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: shellhost [--explore|--open] [--path <display path>]\n");
      return 2;
    }
  }
  IdList start = MyComputerList();
  if (!path.isEmpty() && path.compare(HostText(IDS_HOST_MY_COMPUTER), Qt::CaseInsensitive) != 0) {
    if (auto junction = FindJunctionByName(path)) {
      start = junction->absolute;
    } else {
      MessageBoxA(nullptr, HostText(IDS_HOST_NOT_FOUND).arg(path).toUtf8().constData(),
                  HostText(IDS_HOST_TITLE).toUtf8().constData(), MB_OK | MB_ICONEXCLAMATION);
    }
  }
  auto* window = new ExplorerWindow(explore, start);
  window->show();
  return app.exec();
}
