#pragma once
// TAboutForm: the about dialog: the program's name, version and rights notice, and
// links to the maker's web site, the support mailboxes and three related products.
#include <QDialog>
#include <QLabel>
#include <QPointer>

class QPushButton;
class TMainForm;

// A label that acts as a link: blue, hand cursor, clicked on a left-button release.
class TLinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TLinkLabel(const QString &text, QWidget *parent = nullptr);
Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(TMainForm *mainForm);

    QLabel *imgLogo = nullptr;
    QLabel *labProgramName = nullptr, *labVersion = nullptr, *labCopyright = nullptr;
    TLinkLabel *labWebsite = nullptr;
    QLabel *labMoreCaption = nullptr;
    TLinkLabel *labMore = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr;
    QPushButton *btnTech = nullptr, *btnSales = nullptr, *btnOK = nullptr;

    void FormCreate();
    void FormShow();
    void FormClose();
    void btnOKClick();
    void labWebsiteClick();
    void labMoreClick();
    void btnTechClick();
    void btnSalesClick();
    void Label8Click();
    void Label9Click();
    void Label10Click();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    QPointer<TMainForm> m_main;
};
