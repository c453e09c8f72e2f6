#include "library/propsheet/settings_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cstring>
#include <new>

#include "library/catalog/login_dialog.h"
#include "library/catalog/settings.h"
#include "library/propsheet/about_box.h"
#include "library/res/resource_ids.h"

uint32_t LeadingDecimal(const char* text, int maxChars) {
  uint32_t value = 0;
  for (int i = 0; i < maxChars && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  return value;
}

namespace {

constexpr int kNumberTextMax = 100;  // characters read from a number field

class SettingsPage final : public PropertyPage {
 public:
  SettingsPage(QWidget* parent, LPCPROPSHEETPAGEA ppsp) : PropertyPage(parent, ppsp) {
    product_ = Button(IDC_SET_PRODUCT);
    connect(product_, &QPushButton::clicked, this, [] { OpenMakerWebSite(); });
    nullValue_ = Edit(IDC_SET_NULL_VALUE, false);
    nullValue_->setMaxLength(kNullValueMax);
    connectDsn_ = Check(IDC_SET_CONNECT_DSN);
    showSysTab_ = Check(IDC_SET_SHOW_SYSTAB);
    showProcs_ = Check(IDC_SET_SHOW_PROCS);
    timeout_ = Edit(IDC_SET_TIMEOUT, true);
    maxCol_ = Edit(IDC_SET_MAXCOL, true);
    maxRow_ = Edit(IDC_SET_MAXROW, true);
    maxCol_->setAlignment(Qt::AlignRight);
    maxRow_->setAlignment(Qt::AlignRight);
    connectSelect_ = Check(IDC_SET_CONNECT_SELECT);
    deletePasswords_ = Button(IDC_SET_DELETE_PASSWORDS);
    // At once and without asking; the data source page of the same sheet
    // keeps the login it has already loaded.
    connect(deletePasswords_, &QPushButton::clicked, this, [] { DeleteAllLogins(); });

    auto* top = new QFormLayout;
    top->addRow(Label(IDC_SET_NULL_VALUE, nullValue_), nullValue_);
    top->addRow(QString(), connectDsn_);
    top->addRow(QString(), showSysTab_);
    top->addRow(QString(), showProcs_);
    auto* timeoutRow = new QHBoxLayout;
    timeoutRow->addWidget(timeout_);
    auto* unit = new QLabel(ControlText(IDC_SET_TIMEOUT_UNIT), this);
    unit->setObjectName(QString::number(IDC_SET_TIMEOUT_UNIT));
    timeoutRow->addWidget(unit);
    top->addRow(Label(IDC_SET_TIMEOUT, timeout_), timeoutRow);

    auto* group = new QGroupBox(ControlText(IDC_SET_RESULTS_GROUP), this);
    group->setObjectName(QString::number(IDC_SET_RESULTS_GROUP));
    auto* results = new QFormLayout(group);
    results->addRow(Label(IDC_SET_MAXCOL, maxCol_), maxCol_);
    results->addRow(Label(IDC_SET_MAXROW, maxRow_), maxRow_);
    results->addRow(QString(), connectSelect_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product_);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addWidget(deletePasswords_, 0, Qt::AlignLeft);
    layout->addStretch(1);
  }

  void Fill() {
    maxCol_->setText(QString::number(g_settings.MaxCol));
    maxRow_->setText(QString::number(g_settings.MaxRow));
    timeout_->setText(QString::number(g_settings.Timeout));
    connectDsn_->setChecked(g_settings.ConnectDSN);
    connectSelect_->setChecked(g_settings.ConnectSelect);
    showSysTab_->setChecked(g_settings.ShowSysTab);
    showProcs_->setChecked(g_settings.ShowProcs);
    nullValue_->setText(QString::fromUtf8(g_settings.NullValue));
  }

  // Runs when the sheet closes, confirmed or cancelled (only for a page that
  // was shown): the page's values become the settings and are saved.
  void TakeOver() {
    g_settings.MaxCol = static_cast<uint16_t>(Number(maxCol_));
    g_settings.MaxRow = static_cast<uint16_t>(Number(maxRow_));
    const uint32_t timeout = Number(timeout_);
    g_settings.Timeout = timeout == 0 ? 1 : timeout;
    g_settings.ConnectDSN = connectDsn_->isChecked();
    g_settings.ConnectSelect = connectSelect_->isChecked();
    g_settings.ShowSysTab = showSysTab_->isChecked();
    g_settings.ShowProcs = showProcs_->isChecked();
    char text[4 * kNullValueMax + 1];
    CopyUtf8Cut(text, sizeof text, nullValue_->text().toUtf8().constData(), kNullValueMax);
    CopyUtf8Cut(g_settings.NullValue, sizeof g_settings.NullValue, text, kNullValueMax);
    SaveSettings();
  }

 private:
  static uint32_t Number(const QLineEdit* edit) {
    const QByteArray text = edit->text().left(kNumberTextMax).toLatin1();
    return LeadingDecimal(text.constData(), kNumberTextMax);
  }

  QPushButton* Button(int id) {
    auto* button = new QPushButton(ControlText(id), this);
    button->setObjectName(QString::number(id));
    return button;
  }
  QCheckBox* Check(int id) {
    auto* box = new QCheckBox(ControlText(id), this);
    box->setObjectName(QString::number(id));
    return box;
  }
  QLineEdit* Edit(int id, bool digitsOnly) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    if (digitsOnly) {
      edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
      edit->setMaxLength(kNumberTextMax);
    }
    return edit;
  }
  QLabel* Label(int id, QWidget* buddy) {
    auto* label = new QLabel(ControlText(id), this);
    label->setBuddy(buddy);
    return label;
  }

  QPushButton* product_;
  QLineEdit* nullValue_;
  QCheckBox* connectDsn_;
  QCheckBox* showSysTab_;
  QCheckBox* showProcs_;
  QLineEdit* timeout_;
  QLineEdit* maxCol_;
  QLineEdit* maxRow_;
  QCheckBox* connectSelect_;
  QPushButton* deletePasswords_;
};

HWND CreateSettingsPage(HWND parent, LPCPROPSHEETPAGEA ppsp) { return new SettingsPage(parent, ppsp); }

INT_PTR SettingsPageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  auto* page = dynamic_cast<SettingsPage*>(hwnd);
  if (!page) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      page->Attach(reinterpret_cast<LPCPROPSHEETPAGEA>(lParam));
      page->Fill();
      return TRUE;
    case WM_NOTIFY:  // PSN_APPLY saves nothing: the page saves when it goes
      return TRUE;
    case WM_DESTROY:
      page->TakeOver();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

SettingsPageHandler* SettingsPageHandler::Create() { return new (std::nothrow) SettingsPageHandler(); }

HRESULT SettingsPageHandler::AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  AddPage(IDD_PAGE_SETTINGS, SettingsPageProc, CreateSettingsPage, pfnAddPage, lParam);
  return S_OK;
}
