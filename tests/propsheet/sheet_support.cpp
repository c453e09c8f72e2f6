#include "tests/propsheet/sheet_support.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "library/propsheet/properties.h"
#include "tests/support/gui_driver.h"

FolderPtr MakeFolder(ShellFolder* parent, LPCITEMIDLIST relative) {
  ShellFolder* folder = ShellFolder::Create(parent, relative);
  if (folder) folder->AddRef();
  return FolderPtr(folder);
}

ListPtr DsnItem(const char* name) { return ListPtr(CreateDsnItem(name, nullptr, true)); }

ListPtr TableItem(const char* name, const char* schema, const char* catalog) {
  return ListPtr(CreateTableItem(catalog, schema, name, "TABLE", nullptr));
}

INT_PTR RunProperties(ShellFolder* folder, UINT cidl, LPCITEMIDLIST* apidl, const std::function<void(QDialog*)>& act,
                      int* seen) {
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    if (dialog->objectName() != QStringLiteral("PropertySheet")) {
      // A login prompt or message box the test did not expect.
      ADD_FAILURE() << "unexpected dialog " << dialog->windowTitle().toStdString();
      dialog->reject();
      return;
    }
    act(dialog);
    if (dialog->isVisible()) PressCancel(dialog);
  });
  const INT_PTR result = ShowPropertiesFor(folder, nullptr, cidl, apidl);
  if (seen) *seen = watcher.dialogsSeen();
  return result;
}

QTabWidget* SheetTabs(QDialog* sheet) { return sheet->findChild<QTabWidget*>(QStringLiteral("12320")); }

QStringList TabTexts(QDialog* sheet) {
  QStringList texts;
  QTabWidget* tabs = SheetTabs(sheet);
  for (int i = 0; tabs && i < tabs->count(); ++i) texts << tabs->tabText(i);
  return texts;
}

QStringList PageIds(QDialog* sheet) {
  QStringList ids;
  QTabWidget* tabs = SheetTabs(sheet);
  for (int i = 0; tabs && i < tabs->count(); ++i) ids << tabs->widget(i)->objectName();
  return ids;
}

QWidget* ShowPage(QDialog* sheet, int templateId) {
  QTabWidget* tabs = SheetTabs(sheet);
  for (int i = 0; tabs && i < tabs->count(); ++i) {
    if (tabs->widget(i)->objectName() == QString::number(templateId)) {
      tabs->setCurrentIndex(i);
      return tabs->widget(i);
    }
  }
  return nullptr;
}

void PressOk(QDialog* sheet) { sheet->findChild<QPushButton*>(QStringLiteral("1"))->click(); }
void PressCancel(QDialog* sheet) { sheet->findChild<QPushButton*>(QStringLiteral("2"))->click(); }

QStringList ColumnTexts(QTreeWidget* list, int column) {
  QStringList texts;
  for (int i = 0; list && i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(column);
  return texts;
}

QStringList HeaderTexts(QTreeWidget* list) {
  QStringList texts;
  for (int i = 0; list && i < list->columnCount(); ++i) texts << list->headerItem()->text(i);
  return texts;
}
