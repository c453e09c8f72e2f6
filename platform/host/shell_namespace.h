// The namespace as the host sees it: My Computer, the junctions registered
// under it, and binding an absolute ID list to the extension's folder through
// HKCR\CLSID\{clsid}\InprocServer32.
//
// Junction item layout (the host's own, one item below My Computer):
//   offset 0  2 bytes  cb = 20
//   offset 2  1 byte   type 0x2E (namespace junction)
//   offset 3  1 byte   reserved, 0
//   offset 4 16 bytes  CLSID of the extension (GUID in memory order)
#pragma once

#include <QIcon>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/shlobj.h"
#include "platform/host/id_list.h"

struct Junction {
  CLSID clsid;
  QString name;
  IdList absolute;  // My Computer + junction item
};

IdList MyComputerList();
IdList MakeJunctionItem(const CLSID& clsid);
// The CLSID of a junction item; nullopt for any other item.
std::optional<CLSID> ReadJunctionItem(const IdList& singleItem);

// The junctions under HKLM\...\Explorer\MyComputer\NameSpace, named by the
// key's default value, else by HKCR\CLSID\{clsid}'s default, sorted by name.
std::vector<Junction> ListJunctions();
std::optional<Junction> FindJunction(const CLSID& clsid);
std::optional<Junction> FindJunctionByName(const QString& name);

// Creates an object of a registered in-process class: the library named by
// InprocServer32 is loaded, DllGetClassObject gives the factory,
// CreateInstance the object.
HRESULT CreateRegisteredInstance(const CLSID& clsid, REFIID riid, void** ppv);
// Unloads the libraries whose DllCanUnloadNow answers S_OK.
void FreeUnusedExtensions();

// The folder for an absolute list below a junction: the junction's class is
// created, initialised with My Computer + junction item, and bound further
// when the list goes deeper. My Computer itself has no extension folder
// (E_INVALIDARG); a list outside My Computer gives E_INVALIDARG as well.
HRESULT BindFolder(const IdList& absolute, IShellFolder** ppFolder);

// The display name of a STRRET (frees a wide string with the task allocator).
QString StrRetToQString(STRRET* strret, LPCITEMIDLIST pidl);
QString DisplayNameOf(IShellFolder* folder, const IdList& relative, DWORD flags);
// The address line text of an absolute list: "My Computer", the junction's
// name, or the parent folder's SHGDN_NORMAL name of the last item.
QString AddressOf(const IdList& absolute);

// Closed and open icons of one item through its IExtractIconA; null icons
// when the folder offers none.
struct ItemIcons {
  QIcon closed;
  QIcon open;
};
ItemIcons IconsOf(IShellFolder* folder, const IdList& relative, HWND owner);
