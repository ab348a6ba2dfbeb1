#include "shell/ui/aboutform.h"

#include "app/ui/mainform.h"
#include "shell/product.h"

#include <QDesktopServices>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QUrl>

TLinkLabel::TLinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    setPalette(pal);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

namespace {
void openTarget(const QString &target) { QDesktopServices::openUrl(QUrl(target)); }
}  // namespace

TAboutForm::TAboutForm(TMainForm *mainForm) : QDialog(mainForm), m_main(mainForm)
{
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    setFixedSize(503, 290);

    // Upper band: the picture and the program's texts on the window colour.
    auto *upper = new QFrame(this);
    upper->setGeometry(0, 0, 503, 150);
    upper->setAutoFillBackground(true);
    upper->setBackgroundRole(QPalette::Base);
    imgLogo = new QLabel(upper);
    imgLogo->setGeometry(20, 20, 96, 96);
    imgLogo->setAlignment(Qt::AlignCenter);
    imgLogo->setPixmap(QIcon::fromTheme(QStringLiteral("video-x-generic"),
                                        style()->standardIcon(QStyle::SP_MediaPlay))
                           .pixmap(64, 64));
    labProgramName = new QLabel(upper);
    labProgramName->setGeometry(136, 22, 350, 26);
    QFont big = font();
    big.setPointSize(14);
    big.setBold(true);
    labProgramName->setFont(big);
    labVersion = new QLabel(upper);
    labVersion->setGeometry(136, 56, 350, 18);
    labCopyright = new QLabel(upper);
    labCopyright->setGeometry(136, 78, 350, 32);
    labWebsite = new TLinkLabel(QString(), upper);
    labWebsite->setGeometry(136, 116, 350, 18);
    auto *line = new QFrame(this);
    line->setGeometry(0, 150, 503, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    // Lower band: related products and the buttons.
    labMoreCaption = new QLabel(QStringLiteral("More video converting softwares"), this);
    labMoreCaption->adjustSize();
    labMoreCaption->move(20, 162);
    labMore = new TLinkLabel(QStringLiteral("(More)"), this);
    labMore->adjustSize();
    labMore->move(labMoreCaption->x() + labMoreCaption->width() + 6, 162);
    Label8 = new TLinkLabel(QString(), this);
    Label8->setGeometry(36, 184, 300, 16);
    Label9 = new TLinkLabel(QString(), this);
    Label9->setGeometry(36, 202, 300, 16);
    Label10 = new TLinkLabel(QString(), this);
    Label10->setGeometry(36, 220, 300, 16);
    btnTech = new QPushButton(QStringLiteral("Tech Support"), this);
    btnTech->setGeometry(20, 252, 95, 25);
    btnSales = new QPushButton(QStringLiteral("Sales Support"), this);
    btnSales->setGeometry(125, 252, 95, 25);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setGeometry(408, 252, 75, 25);
    btnOK->setDefault(true);

    connect(btnOK, &QPushButton::clicked, this, &TAboutForm::btnOKClick);
    connect(labWebsite, &TLinkLabel::clicked, this, &TAboutForm::labWebsiteClick);
    connect(labMore, &TLinkLabel::clicked, this, &TAboutForm::labMoreClick);
    connect(btnTech, &QPushButton::clicked, this, &TAboutForm::btnTechClick);
    connect(btnSales, &QPushButton::clicked, this, &TAboutForm::btnSalesClick);
    connect(Label8, &TLinkLabel::clicked, this, &TAboutForm::Label8Click);
    connect(Label9, &TLinkLabel::clicked, this, &TAboutForm::Label9Click);
    connect(Label10, &TLinkLabel::clicked, this, &TAboutForm::Label10Click);
    FormCreate();
}

void TAboutForm::FormCreate()
{
    // Set once: the labels are not refreshed when the dialog is shown again.
    labProgramName->setText(Product::Name);
    labVersion->setText(QStringLiteral("Version ") + (m_main ? m_main->VersionText : Product::DefaultVersion));
    labCopyright->setText(QStringLiteral("Copyright (C) %1 %2.\nAll rights reserved.").arg(Product::Years, Product::Maker));
    labWebsite->setText(Product::WebSite);
    Label8->setText(Product::RelatedNames.value(0));
    Label9->setText(Product::RelatedNames.value(1));
    Label10->setText(Product::RelatedNames.value(2));
}

void TAboutForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TAboutForm::done(int result)
{
    QDialog::done(result);
    FormClose();
}

void TAboutForm::FormShow()
{
    if (m_main)
        m_main->SetMainInputEnabled(false);
}

void TAboutForm::FormClose()
{
    if (m_main)
        m_main->SetMainInputEnabled(true);
}

void TAboutForm::btnOKClick() { close(); }
void TAboutForm::labWebsiteClick() { openTarget(labWebsite->text()); }
void TAboutForm::labMoreClick() { openTarget(Product::WebSite); }
void TAboutForm::btnTechClick() { openTarget(QStringLiteral("mailto:") + Product::SupportMail); }
void TAboutForm::btnSalesClick() { openTarget(QStringLiteral("mailto:") + Product::SalesMail); }
void TAboutForm::Label8Click() { openTarget(Product::RelatedPages.value(0)); }
void TAboutForm::Label9Click() { openTarget(Product::RelatedPages.value(1)); }
void TAboutForm::Label10Click() { openTarget(Product::RelatedPages.value(2)); }
