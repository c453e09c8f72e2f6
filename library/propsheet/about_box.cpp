#include "library/propsheet/about_box.h"

#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "library/res/dialogs.h"
#include "library/res/icons.h"
#include "library/res/resource_ids.h"
#include "library/shell/module_state.h"

void OpenMakerWebSite() { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kMakerWebAddress))); }

namespace {

class AboutBox final : public QDialog {
 public:
  explicit AboutBox(HWND owner) : QDialog(owner) {
    setObjectName(QString::number(IDD_ABOUT + g_languageOffset));
    setWindowTitle(QString::fromUtf8(DialogCaption(IDD_ABOUT)));

    auto* icon = new QLabel(this);
    icon->setObjectName(QString::number(IDC_ABOUT_ICON));
    icon->setPixmap(RenderResIcon(IDI_PRODUCT, kLargeIconSize));

    auto* text = new QLabel(QString::fromUtf8(DialogText(IDD_ABOUT, IDC_ABOUT_TEXT)), this);
    text->setObjectName(QString::number(IDC_ABOUT_TEXT));
    text->setAlignment(Qt::AlignCenter);

    auto* ok = new QPushButton(QString::fromUtf8(DialogText(IDD_ABOUT, IDC_OK)), this);
    ok->setObjectName(QString::number(IDC_OK));
    ok->setDefault(true);
    // IDOK ends the box with 1. Esc and the close box end it too (with 0):
    // a small box that cannot be dismissed by Esc would only annoy.
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });

    auto* web = new QPushButton(QString::fromUtf8(DialogText(IDD_ABOUT, IDC_WEBSITE)), this);
    web->setObjectName(QString::number(IDC_WEBSITE));
    connect(web, &QPushButton::clicked, this, [] { OpenMakerWebSite(); });

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(web);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
  }
};

}  // namespace

int ShowAboutBox(HWND owner) {
  AboutBox box(owner);
  return box.exec() == 1 ? 1 : 0;
}
