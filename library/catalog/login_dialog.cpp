#include "library/catalog/login_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

#include "library/catalog/gui_thread.h"
#include "library/res/dialogs.h"

std::atomic<bool> g_savePassword{true};

LoginPrompt::~LoginPrompt() {
  explicit_bzero(user, sizeof user);
  explicit_bzero(password, sizeof password);
}

void CopyUtf8Cut(char* dest, size_t destSize, const char* source, size_t maxChars) {
  if (destSize == 0) return;
  const size_t length = std::strlen(source);
  size_t end = 0;  // bytes of the whole characters kept so far
  size_t chars = 0;
  while (end < length && chars < maxChars) {
    size_t next = end + 1;
    while (next < length && (static_cast<unsigned char>(source[next]) & 0xC0) == 0x80) ++next;
    if (next > destSize - 1) break;
    end = next;
    ++chars;
  }
  std::memmove(dest, source, end);  // dest may be source itself
  dest[end] = '\0';
}

namespace {

QString Text(int controlId) { return QString::fromUtf8(DialogText(kLoginDialogId, controlId)); }

void FillFrom(QLineEdit* edit, const char* text) {
  edit->setMaxLength(kLoginEditLimit);
  edit->setText(QString::fromUtf8(text));
}

void ReadInto(char* buffer, const QLineEdit* edit) {
  QByteArray utf8 = edit->text().toUtf8();
  CopyUtf8Cut(buffer, kLoginBufferSize, utf8.constData(), kLoginEditLimit);
  // The copy held a password; do not leave it in freed memory.
  explicit_bzero(utf8.data(), static_cast<size_t>(utf8.size()));
}

}  // namespace

LoginDialog::LoginDialog(LoginPrompt& prompt, QWidget* parent) : QDialog(parent), prompt_(prompt) {
  setObjectName(QString::number(kLoginDialogId));
  setWindowTitle(QString::fromUtf8(DialogCaption(kLoginDialogId)));

  user_ = new QLineEdit(this);
  user_->setObjectName(QString::number(kLoginUserEditId));
  FillFrom(user_, prompt_.user);

  password_ = new QLineEdit(this);
  password_->setObjectName(QString::number(kLoginPasswordEditId));
  password_->setEchoMode(QLineEdit::Password);
  FillFrom(password_, prompt_.password);

  save_ = new QCheckBox(Text(kLoginSaveCheckId), this);
  save_->setObjectName(QString::number(kLoginSaveCheckId));
  save_->setChecked(g_savePassword.load());

  auto* form = new QFormLayout;
  auto* userLabel = new QLabel(Text(kLoginUserEditId), this);
  userLabel->setBuddy(user_);
  auto* passwordLabel = new QLabel(Text(kLoginPasswordEditId), this);
  passwordLabel->setBuddy(password_);
  form->addRow(userLabel, user_);
  form->addRow(passwordLabel, password_);
  form->addRow(QString(), save_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(Text(1), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(Text(2), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("2"));
  connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  user_->setFocus();
}

void LoginDialog::accept() {
  ReadInto(prompt_.user, user_);
  ReadInto(prompt_.password, password_);
  g_savePassword.store(save_->isChecked());
  QDialog::accept();
}

bool PromptForLogin(LoginPrompt& prompt) {
  bool accepted = false;
  RunOnGuiThread([&] {
    LoginDialog dialog(prompt);
    accepted = dialog.exec() == QDialog::Accepted;
  });
  return accepted;
}
