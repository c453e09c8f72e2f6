#include "platform/host/host_strings.h"

#include <iterator>

#include "platform/ui/ui.h"

namespace {
struct Entry {
  unsigned id;
  const char* text;
};

constexpr Entry kStrings[] = {
    {1, "&Datei"},
    {2, "&Bearbeiten"},
    {3, "&Ansicht"},
    {4, "&Hilfe"},
    {5, "S&chließen"},
    {6, "Suchen..."},
    {7, "Zurück"},
    {8, "Übergeordneter Ordner"},
    {9, "Arbeitsplatz"},
    {10, "Adresse"},
    {11, "A&ktualisieren\tF5"},
    {12, "&Symbolleiste"},
    {13, "Status&leiste"},
    {14, "Ö&ffnen"},
    {15, "&Explorer"},
    {16, "&Info über Shell Host"},
    {17, "%1 Objekt(e)"},
    {18, "Der Ordner \"%1\" wurde nicht gefunden."},
    {19, "Der Ordner kann nicht geöffnet werden (Fehler 0x%1)."},
    {20, "Shell Host"},
    {21, "Shell Host zeigt die Ordner des Arbeitsplatzes und die dort eingetragenen Namensraum-Erweiterungen."},
    {22, "Ordner"},
    {23, "&Eigenschaften"},
    {1001, "&File"},
    {1002, "&Edit"},
    {1003, "&View"},
    {1004, "&Help"},
    {1005, "&Close"},
    {1006, "Find..."},
    {1007, "Back"},
    {1008, "Up"},
    {1009, "My Computer"},
    {1010, "Address"},
    {1011, "&Refresh\tF5"},
    {1012, "&Toolbar"},
    {1013, "Status &Bar"},
    {1014, "&Open"},
    {1015, "&Explore"},
    {1016, "&About Shell Host"},
    {1017, "%1 object(s)"},
    {1018, "The folder \"%1\" was not found."},
    {1019, "The folder cannot be opened (error 0x%1)."},
    {1020, "Shell Host"},
    {1021, "Shell Host shows the folders of My Computer and the namespace extensions registered there."},
    {1022, "Folders"},
    {1023, "P&roperties"},
};
}  // namespace

QString HostTextById(unsigned id) {
  for (const Entry& e : kStrings)
    if (e.id == id) return QString::fromUtf8(e.text);
  return {};
}

QString HostText(unsigned id) {
  const bool german = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN;
  return HostTextById(german ? id : id + 1000);
}
