// The module's two image lists of item icons, in the system's small and
// large icon sizes. They are built at process attach, or, in a process
// without a GUI application at that time, on first use once one exists.
#pragma once

#include "platform/com/wintypes.h"

// Image indices of the item icons.
enum ItemImage : int {
  kImageDsn = 0,
  kImageDsnOpen = 1,
  kImageTable = 2,
  kImageTableOpen = 3,
  kImageProcedure = 4,
  kImageProcedureOpen = 5,
  kImageSpare = 6,  // icon 123: no item kind uses it
  kImageColumnNumeric = 7,
  kImageColumnText = 8,
  kImageColumnDateTime = 9,
  kImageCount = 10,
};

// Registers the library's icon resources (the product icon and the item
// icons) with the platform under the module handle, so LoadImageA finds them;
// the unregistration comes before the module goes.
void RegisterIconResources(HINSTANCE module);
void UnregisterIconResources(HINSTANCE module);

// Destroys existing lists and builds both anew; returns false (leaving no
// list) while there is no GUI application.
bool BuildImageLists();
void DestroyImageLists();
// The lists, built on demand; null while there is no GUI application.
HIMAGELIST SmallImageList();
HIMAGELIST LargeImageList();
