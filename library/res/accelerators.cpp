#include "library/res/accelerators.h"

#include <QAction>
#include <QWidget>

#include "library/res/resource_ids.h"
#include "platform/ui/menu_ids.h"

namespace {

constexpr AcceleratorDef kViewAccelerators[] = {
    {Qt::CTRL | Qt::Key_A, IDM_SELECT_ALL},
    {Qt::CTRL | Qt::Key_C, IDM_COPY},
};

constexpr AcceleratorDef kResultAccelerators[] = {
    {Qt::CTRL | Qt::Key_C, IDM_COPY},
    {Qt::CTRL | Qt::Key_Insert, IDM_COPY},
    {QKeyCombination(Qt::Key_F5), IDM_REFRESH},
};

constexpr AcceleratorTable kTables[] = {
    {IDR_ACCEL_VIEW, kViewAccelerators, std::size(kViewAccelerators)},
    {IDR_ACCEL_RESULT, kResultAccelerators, std::size(kResultAccelerators)},
};

}  // namespace

const AcceleratorTable* FindAcceleratorTable(UINT tableId) {
  for (const AcceleratorTable& table : kTables) {
    if (table.id == tableId) return &table;
  }
  return nullptr;
}

UINT TranslateAcceleratorKey(UINT tableId, QKeyCombination key) {
  const AcceleratorTable* table = FindAcceleratorTable(tableId);
  if (!table) return 0;
  // The keypad modifier says where a key came from, not which key it is.
  const QKeyCombination plain(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
  for (size_t i = 0; i < table->count; ++i) {
    if (table->entries[i].key == plain) return table->entries[i].commandId;
  }
  return 0;
}

std::vector<QAction*> InstallAccelerators(QWidget* widget, UINT tableId,
                                          std::function<void(UINT commandId)> onCommand) {
  std::vector<QAction*> actions;
  const AcceleratorTable* table = FindAcceleratorTable(tableId);
  if (!widget || !table) return actions;
  for (size_t i = 0; i < table->count; ++i) {
    const AcceleratorDef& entry = table->entries[i];
    auto* action = new QAction(widget);
    action->setShortcut(QKeySequence(entry.key));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    PlatformSetMenuItemId(action, entry.commandId);
    action->setData(QVariant::fromValue<uint>(entry.commandId));
    action->setObjectName(QString::number(entry.commandId));
    const UINT command = entry.commandId;
    QObject::connect(action, &QAction::triggered, widget, [onCommand, command] {
      if (onCommand) onCommand(command);
    });
    widget->addAction(action);
    actions.push_back(action);
  }
  return actions;
}
