// The login prompt (dialog 4, English 1004): user name (edit 1014), password
// (edit 1015), "save password" (check box 1056), OK and Cancel.
//
// Each prompt has buffers of its own, so prompts open at the same time on
// different threads keep their texts apart; only the save-password choice is
// shared by the whole process, and it starts checked.
#pragma once

#include <QDialog>

#include <atomic>
#include <cstddef>

class QCheckBox;
class QLineEdit;

inline constexpr int kLoginDialogId = 4;
inline constexpr int kLoginUserEditId = 1014;
inline constexpr int kLoginPasswordEditId = 1015;
inline constexpr int kLoginSaveCheckId = 1056;
inline constexpr int kLoginEditLimit = 255;  // characters per edit
// Texts are UTF-8: a buffer holds kLoginEditLimit characters of up to four
// bytes each and the NUL.
inline constexpr int kLoginBufferSize = 4 * kLoginEditLimit + 1;

// The texts of one prompt. The destructor wipes them (they hold a password).
struct LoginPrompt {
  LoginPrompt() = default;
  LoginPrompt(const LoginPrompt&) = delete;
  LoginPrompt& operator=(const LoginPrompt&) = delete;
  ~LoginPrompt();

  char user[kLoginBufferSize] = "";
  char password[kLoginBufferSize] = "";
};

// Copies UTF-8 `source` into `dest` (size in bytes, NUL included), keeping at
// most `maxChars` characters and never splitting a character.
void CopyUtf8Cut(char* dest, size_t destSize, const char* source, size_t maxChars);

// The user's last choice of the save-password box, for the life of the process.
extern std::atomic<bool> g_savePassword;

class LoginDialog : public QDialog {
  Q_OBJECT
 public:
  // Fills the edits from `prompt`; OK writes them back into it.
  explicit LoginDialog(LoginPrompt& prompt, QWidget* parent = nullptr);

  void accept() override;

 private:
  LoginPrompt& prompt_;
  QLineEdit* user_;
  QLineEdit* password_;
  QCheckBox* save_;
};

// Shows the dialog modally on the GUI thread, whatever thread calls it.
// True for OK; false for Cancel and when there is no GUI application.
bool PromptForLogin(LoginPrompt& prompt);
