#include "library/propsheet/column_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <new>

#include "library/catalog/item_id.h"
#include "library/catalog/settings.h"
#include "library/res/resource_ids.h"

namespace {

struct SqlTypeNameEntry {
  int16_t code;
  const char* name;
};

// Searched in this order; the first equal code gives the name.
constexpr SqlTypeNameEntry kSqlTypeNameTable[] = {
    {-7, "SQL_BIT"},       {-6, "SQL_TINYINT"},   {-5, "SQL_BIGINT"},
    {-2, "SQL_BINARY"},    {-3, "SQL_VARBINARY"}, {-4, "SQL_LONGVARBINARY"},
    {9, "SQL_DATE"},       {10, "SQL_TIME"},      {11, "SQL_TIMESTAMP"},
    {3, "SQL_DECIMAL"},    {2, "SQL_NUMERIC"},    {5, "SQL_SMALLINT"},
    {4, "SQL_INTEGER"},    {6, "SQL_FLOAT"},      {8, "SQL_DOUBLE"},
    {1, "SQL_CHAR"},       {12, "SQL_VARCHAR"},   {-1, "SQL_LONGVARCHAR"},
    {-95, "SQL_UNICODE"},  {-96, "SQL_UNICODE_VARCHAR"}, {-97, "SQL_UNICODE_LONGVARCHAR"},
};

constexpr int32_t kUnknownNumber = -2;  // how the item stores a NULL number

class ColumnPage final : public PropertyPage {
 public:
  ColumnPage(QWidget* parent, LPCPROPSHEETPAGEA ppsp) : PropertyPage(parent, ppsp) {
    auto* form = new QFormLayout;
    name_ = Field(form, IDC_COL_NAME);
    dataType_ = Field(form, IDC_COL_DATATYPE);
    precision_ = Field(form, IDC_COL_PRECISION);
    length_ = Field(form, IDC_COL_LENGTH);
    scale_ = Field(form, IDC_COL_SCALE);
    radix_ = Field(form, IDC_COL_RADIX);
    nullable_ = new QCheckBox(ControlText(IDC_COL_NULLABLE), this);
    nullable_->setObjectName(QString::number(IDC_COL_NULLABLE));
    nullable_->setEnabled(false);
    form->addRow(QString(), nullable_);
    remark_ = new QPlainTextEdit(this);
    remark_->setObjectName(QString::number(IDC_COL_REMARK));
    remark_->setReadOnly(true);
    form->addRow(ControlText(IDC_COL_REMARK), remark_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
  }

  void Fill(LPCITEMIDLIST item) {
    ColumnHeader header;
    if (!GetColumnHeader(item, &header)) return;
    SetNumber(length_, header.bufferLength);
    SetNumber(precision_, header.columnSize);
    SetNumber(scale_, header.decimalDigits);
    SetNumber(radix_, header.radix);
    if (const char* type = SqlTypeName(header.dataType)) dataType_->setText(QString::fromUtf8(type));
    nullable_->setChecked(header.nullable != 0);
    name_->setText(TextOrNull(GetItemText(0, item)));
    remark_->setPlainText(TextOrNull(GetItemText(4, item)));
  }

 private:
  static QString TextOrNull(const char* text) {
    return QString::fromUtf8(text ? text : g_settings.NullValue);
  }
  static void SetNumber(QLineEdit* edit, int32_t value) {
    if (value != kUnknownNumber) edit->setText(QString::number(value));
  }
  QLineEdit* Field(QFormLayout* form, int id) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    edit->setReadOnly(true);
    form->addRow(ControlText(id), edit);
    return edit;
  }

  QLineEdit* name_;
  QLineEdit* dataType_;
  QLineEdit* precision_;
  QLineEdit* length_;
  QLineEdit* scale_;
  QLineEdit* radix_;
  QCheckBox* nullable_;
  QPlainTextEdit* remark_;
};

HWND CreateColumnPage(HWND parent, LPCPROPSHEETPAGEA ppsp) { return new ColumnPage(parent, ppsp); }

INT_PTR ColumnPageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  auto* page = dynamic_cast<ColumnPage*>(hwnd);
  if (!page) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: {
      auto* ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(lParam);
      page->Attach(ppsp);
      if (PropertySheetHandler* handler = page->Handler()) page->Fill(handler->IdList());
      return TRUE;
    }
    case WM_DESTROY:
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

const char* SqlTypeName(int16_t dataType) {
  for (const SqlTypeNameEntry& entry : kSqlTypeNameTable) {
    if (entry.code == dataType) return entry.name;
  }
  return nullptr;
}

ColumnPageHandler* ColumnPageHandler::Create(LPCITEMIDLIST item) { return new (std::nothrow) ColumnPageHandler(item); }

HRESULT ColumnPageHandler::AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  AddPage(IDD_PAGE_COLUMN, ColumnPageProc, CreateColumnPage, pfnAddPage, lParam);
  return S_OK;
}
