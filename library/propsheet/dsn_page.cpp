#include "library/propsheet/dsn_page.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>
#include <new>

#include "library/catalog/connection.h"
#include "library/catalog/item_id.h"
#include "library/catalog/odbc_handles.h"
#include "library/catalog/settings.h"
#include "library/catalog/text_utils.h"
#include "library/propsheet/driver_info.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "platform/ui/ui.h"
#include "platform/ui/wait_cursor.h"

namespace {

constexpr int kInfoColumnWidth = 200;

class DsnPage final : public PropertyPage {
 public:
  DsnPage(QWidget* parent, LPCPROPSHEETPAGEA ppsp) : PropertyPage(parent, ppsp) {
    user_ = Edit(IDC_DSN_USER);
    password_ = Edit(IDC_DSN_PASSWORD);
    password_->setEchoMode(QLineEdit::Password);
    auto* clear = Button(IDC_DSN_CLEAR_LOGIN);
    auto* connectButton = Button(IDC_DSN_CONNECT);
    auto* longList = Button(IDC_DSN_LONG_LIST);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QString::number(IDC_DSN_INFO_LIST));
    list_->setRootIsDecorated(false);
    list_->setSortingEnabled(false);
    list_->header()->setSectionsClickable(false);
    message_ = new QLabel(this);
    message_->setObjectName(QString::number(IDC_DSN_MESSAGE));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message_->hide();

    auto* form = new QFormLayout;
    form->addRow(Label(IDC_DSN_USER, user_), user_);
    form->addRow(Label(IDC_DSN_PASSWORD, password_), password_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clear);
    buttons->addWidget(connectButton);
    buttons->addWidget(longList);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);
    layout->addWidget(message_, 1);  // in the list's place while it is shown

    connect(clear, &QPushButton::clicked, this, [this] {
      user_->clear();
      password_->clear();
    });
    connect(connectButton, &QPushButton::clicked, this, [this] { ConnectAndFill(false); });
    connect(longList, &QPushButton::clicked, this, [this] { ConnectAndFill(true); });
  }

  void Init() {
    auto* handler = static_cast<DsnPageHandler*>(Handler());
    if (handler) {
      LoginPrompt& login = handler->Login();
      char user[kLoginBufferSize];
      char password[kLoginBufferSize];
      LoadLogin(handler->DataSource(), user, sizeof user, password, sizeof password);
      CopyUtf8Cut(login.user, sizeof login.user, user, kLoginEditLimit);
      CopyUtf8Cut(login.password, sizeof login.password, password, kLoginEditLimit);
      explicit_bzero(password, sizeof password);
      user_->setText(QString::fromUtf8(login.user));
      password_->setText(QString::fromUtf8(login.password));
    }
    list_->setColumnCount(2);
    list_->setHeaderLabels({QString::fromUtf8(ResString(IDS_HDR_INFO_PARAMETER)),
                            QString::fromUtf8(ResString(IDS_HDR_INFO_VALUE))});
    list_->setColumnWidth(0, kInfoColumnWidth);
    list_->setColumnWidth(1, kInfoColumnWidth);
    // Edits made from here on mark the page changed (EN_CHANGE).
    auto changed = [this] { PropSheet_Changed(PropertySheetOfPage(this), this); };
    connect(user_, &QLineEdit::textChanged, this, changed);
    connect(password_, &QLineEdit::textChanged, this, changed);
  }

  void Apply() {
    auto* handler = static_cast<DsnPageHandler*>(Handler());
    if (!handler) return;
    ReadLogin(handler->Login());
    SaveLogin(handler->DataSource(), handler->Login().user, handler->Login().password);
  }

 private:
  void ReadLogin(LoginPrompt& login) {
    CopyUtf8Cut(login.user, sizeof login.user, user_->text().toUtf8().constData(), kLoginEditLimit);
    QByteArray password = password_->text().toUtf8();
    CopyUtf8Cut(login.password, sizeof login.password, password.constData(), kLoginEditLimit);
    explicit_bzero(password.data(), static_cast<size_t>(password.size()));
  }

  // A complete connect, fetch and disconnect on a connection of its own, with
  // the current edit texts (not saved) and never the login prompt.
  void ConnectAndFill(bool longList) {
    auto* handler = static_cast<DsnPageHandler*>(Handler());
    if (!handler) return;
    ReadLogin(handler->Login());
    WaitCursor wait;
    list_->clear();
    message_->setText(QString::fromUtf8(ResString(IDS_GETTING_DATA)));
    message_->show();
    list_->hide();
    repaint();

    EnvHandle environment;
    {
      SQLHENV raw = SQL_NULL_HENV;
      const SQLRETURN rc = AllocEnvironment(&raw);
      environment.reset(raw);
      if (!OdbcSucceeded(rc)) return;  // the wait text stays in view
    }
    char* error = nullptr;
    ConnectedDbc connection;
    SQLRETURN rc = connection.handle().allocate(environment.get());
    if (!OdbcSucceeded(rc)) {
      CollectDiagnostics(&error, rc, SQL_HANDLE_ENV, environment.get());
    } else {
      const char* dsn = handler->DataSource();
      auto* user = reinterpret_cast<SQLCHAR*>(handler->Login().user);
      auto* password = reinterpret_cast<SQLCHAR*>(handler->Login().password);
      rc = SQLConnect(connection.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(dsn ? dsn : "")),
                      dsn ? SQL_NTS : 0, user, SQL_NTS, password, SQL_NTS);
      if (!OdbcSucceeded(rc)) {
        CollectDiagnostics(&error, rc, SQL_HANDLE_DBC, connection.get());
      } else {
        connection.markConnected();
        AddRows(connection.get(), longList);
        connection.disconnect();
        list_->show();
        message_->hide();
      }
    }
    if (error) {
      // Shown in the list's place until the next fill succeeds.
      message_->setText(QString::fromUtf8(error));
      HeapFreeBlock(error);
    }
  }

  void AddRows(SQLHDBC connection, bool longList) {
    QList<QTreeWidgetItem*> items;
    std::string value;
    for (const DriverInfoRow& row : kDriverInfoRows) {
      if (!longList && !row.inShortList) continue;
      // A type the driver rejects is left out without a message.
      if (!FetchInfoRow(connection, row, &value)) continue;
      auto* item = new QTreeWidgetItem({QString::fromUtf8(row.label), QString::fromUtf8(value)});
      items.append(item);
    }
    list_->addTopLevelItems(items);
  }

  QLineEdit* Edit(int id) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    edit->setMaxLength(kLoginEditLimit);
    return edit;
  }
  QPushButton* Button(int id) {
    auto* button = new QPushButton(ControlText(id), this);
    button->setObjectName(QString::number(id));
    return button;
  }
  QLabel* Label(int id, QWidget* buddy) {
    auto* label = new QLabel(ControlText(id), this);
    label->setBuddy(buddy);
    return label;
  }

  QLineEdit* user_;
  QLineEdit* password_;
  QTreeWidget* list_;
  QLabel* message_;
};

HWND CreateDsnPage(HWND parent, LPCPROPSHEETPAGEA ppsp) { return new DsnPage(parent, ppsp); }

INT_PTR DsnPageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  auto* page = dynamic_cast<DsnPage*>(hwnd);
  if (!page) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      page->Attach(reinterpret_cast<LPCPROPSHEETPAGEA>(lParam));
      page->Init();
      return TRUE;
    case WM_NOTIFY: {
      const auto* notify = reinterpret_cast<const PSHNOTIFY*>(lParam);
      if (notify && notify->hdr.code == PSN_APPLY) page->Apply();
      return TRUE;
    }
    case WM_DESTROY:
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

DsnPageHandler::DsnPageHandler(LPCITEMIDLIST list) : PropertySheetHandler(list), dataSource_(GetDsnName(IdList())) {}

DsnPageHandler* DsnPageHandler::Create(LPCITEMIDLIST list) { return new (std::nothrow) DsnPageHandler(list); }

HRESULT DsnPageHandler::AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  if (dataSource_ && *dataSource_) AddPage(IDD_PAGE_DSN, DsnPageProc, CreateDsnPage, pfnAddPage, lParam);
  return S_OK;
}
