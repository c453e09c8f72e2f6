// The exported Exec entry that runs a shortcut file:
//   rundll32 Datrova.so,Exec EXEC "file.dtq"
#include "library/query/result_window.h"
#include "library/query/shortcut_file.h"
#include "platform/com/wintypes.h"

// How long Exec gives cancelled runs to finish after their window closed,
// before it returns and its library may be unloaded.
static constexpr int kRunDrainMs = 30000;

DATROVA_EXPORT void Exec(HWND, HINSTANCE, LPSTR lpszCmdLine, int) {
  std::string path;
  if (!ParseExecCommandLine(lpszCmdLine, path)) return;
  ShortcutContents contents;
  if (!ReadShortcutFile(path, contents)) return;
  const std::shared_ptr<ResultWindowHandle> handle =
      OpenResultWindow(contents.statement.c_str(), contents.dataSource.c_str());
  if (!handle) return;
  handle->wait();
  WaitForQueryRuns(kRunDrainMs);
}
