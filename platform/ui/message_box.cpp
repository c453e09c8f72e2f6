// MessageBoxA as a QMessageBox, with a hook that tests use to answer.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/ui/gui_thread.h"
#include "platform/ui/ui.h"

namespace {

std::mutex g_hookLock;
MessageBoxHook& Hook() {
  static auto* hook = new MessageBoxHook;
  return *hook;
}

struct ButtonSpec {
  int id;
  QMessageBox::StandardButton button;
};

std::vector<ButtonSpec> ButtonsOf(UINT type) {
  switch (type & 0x0Fu) {
    case MB_OKCANCEL: return {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, QMessageBox::Abort}, {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}};
    case MB_YESNOCANCEL:
      return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}, {IDCANCEL, QMessageBox::Cancel}};
    case MB_YESNO: return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}};
    case MB_RETRYCANCEL: return {{IDRETRY, QMessageBox::Retry}, {IDCANCEL, QMessageBox::Cancel}};
    default: return {{IDOK, QMessageBox::Ok}};
  }
}

QMessageBox::Icon IconOf(UINT type) {
  switch (type & 0xF0u) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

size_t DefaultIndex(UINT type, size_t count) {
  size_t i = (type & 0x300u) >> 8;  // MB_DEFBUTTON1..3
  return i < count ? i : 0;
}

// The button that Escape and the close box stand for, as on Windows: Cancel
// where there is one, the only button of MB_OK; none for Yes/No and
// Abort/Retry/Ignore.
int EscapeId(const std::vector<ButtonSpec>& buttons) {
  for (auto& b : buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  return buttons.size() == 1 ? buttons[0].id : 0;
}

int ShowBox(HWND owner, const QString& text, const QString& caption, UINT type) {
  const auto buttons = ButtonsOf(type);
  QMessageBox box(IconOf(type), caption, text, QMessageBox::NoButton, owner);
  for (auto& b : buttons) box.addButton(b.button);
  box.setDefaultButton(buttons[DefaultIndex(type, buttons.size())].button);
  const int escape = EscapeId(buttons);
  for (auto& b : buttons)
    if (b.id == escape) box.setEscapeButton(b.button);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (auto& b : buttons)
    if (clicked && box.button(b.button) == clicked) return b.id;
  // Closed without a button (possible only where Escape has a meaning).
  return escape ? escape : buttons[DefaultIndex(type, buttons.size())].id;
}

}  // namespace

MessageBoxHook PlatformSetMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard<std::mutex> g(g_hookLock);
  MessageBoxHook old = std::move(Hook());
  Hook() = std::move(hook);
  return old;
}

extern "C" int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  MessageBoxCall call{hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType};
  MessageBoxHook hook;
  {
    std::lock_guard<std::mutex> g(g_hookLock);
    hook = Hook();
  }
  if (hook) return hook(call);
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    // No windows to show: the text goes to stderr and the default button
    // answers, so a program without a display still finishes.
    std::fprintf(stderr, "%s: %s\n", call.caption.c_str(), call.text.c_str());
    const auto buttons = ButtonsOf(uType);
    return buttons[DefaultIndex(uType, buttons.size())].id;
  }
  const QString text = QString::fromUtf8(call.text.c_str());
  const QString caption = QString::fromUtf8(call.caption.c_str());
  return platform::RunOnGuiThread([&] { return ShowBox(hWnd, text, caption, uType); });
}
