// The settings dialog's openers, OK, Save as, its profile editors and fold buttons,
// and the about dialog.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "modalanswerer.h"
#include "profiles/profiles.h"
#include "profiles/ui/editorstack.h"
#include "profiles/ui/valuelisteditor.h"
#include "settings/ui/settingform.h"
#include "shell/product.h"
#include "shell/ui/aboutform.h"
#include "testutil.h"

#include <QtTest>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <map>
#include <memory>

using TestUtil::readFile;
using TestUtil::writeFile;

namespace {
// A profile with list rows, a plain editable row and two read-only parameters.
const QByteArray kProfileP = "[Main]\r\nType=mp4\r\nPara=6\r\n"
                             "0=Video Size\r\n1=Disable Audio\r\n2=Bit Exact Algorithms\r\n3=Answer\r\n"
                             "4=Title\r\n5=Locked Pick\r\n"
                             "[Video Size]\r\nSort=1\r\ncmd=-s\r\nCaption=Original Size,320x240,Custom Size,\r\n"
                             "Value=,320x240,,\r\nIndex=0\r\n"
                             "[Disable Audio]\r\nSort=2\r\ncmd=-an\r\nCaption=No,Yes,\r\nValue=,\\,\r\nIndex=0\r\n"
                             "[Bit Exact Algorithms]\r\nSort=3\r\nReadOnly=1\r\nList=0\r\ncmd=-bitexact\r\n"
                             "Caption=Yes\r\nValue=\\\r\n"
                             "[Answer]\r\nSort=2\r\nCaption=Yes,yes,No,\r\nValue=1,2,3,\r\nIndex=2\r\n"
                             "[Title]\r\nSort=3\r\nList=0\r\ncmd=-metadata\r\nCaption=x\r\nValue=x\r\n"
                             "[Locked Pick]\r\nSort=2\r\nReadOnly=1\r\nCaption=A,B,\r\nValue=a,b,\r\nIndex=0\r\n";
const QByteArray kProfileQ = "[Main]\r\nType=avi\r\nPara=1\r\n0=Q Param\r\n"
                             "[Q Param]\r\nSort=1\r\nCaption=q1,q2,\r\nValue=1,2,\r\nIndex=1\r\n";

}  // namespace


// Records what the about dialog asks the desktop to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestSettingsDialog : public QObject
{
    Q_OBJECT

    ModalAnswerer *boxes = nullptr;
    QTemporaryDir *dir = nullptr;
    QString appDir;

    // Fresh program directory with the profiles P and Q (P is chosen at start).
    std::unique_ptr<TMainForm> start()
    {
        delete dir;
        dir = new QTemporaryDir;
        appDir = TestUtil::makeAppDir(*dir, false);
        writeFile(appDir + "Profiles/P.apf", kProfileP);
        writeFile(appDir + "Profiles/Q.apf", kProfileQ);
        std::unique_ptr<TMainForm> f(CreateWindows(appDir, {}).MainForm);
        f->show();
        return f;
    }
    QString pPath() const { return appDir + "Profiles/P.apf"; }

    static TValueListEditor *editor(TSettingForm *s, int sort)
    {
        return sort == 1 ? s->vleVideo : sort == 2 ? s->vleAudio : s->vleAdvanced;
    }
    static QStringList keys(TValueListEditor *e)
    {
        QStringList k;
        for (const EditorRows::Row &r : e->rows()->rows())
            k << r.key;
        return k;
    }
    static bool dialogUsable(TSettingForm *s)
    {
        return s->isEnabled() && s->btnOK->isEnabled() && s->btnCancel->isEnabled() && s->edtOutputDir->isEnabled();
    }

private Q_SLOTS:
    void initTestCase() { boxes = new ModalAnswerer(QMessageBox::Ok, this); }
    void cleanupTestCase() { delete dir; }
    void init() { boxes->clear(); }

    void openers_data()
    {
        QTest::addColumn<bool>("toolbar");
        QTest::addColumn<int>("page");
        QTest::newRow("toolbar button") << true << 0;
        QTest::newRow("Setting button") << false << 1;
    }
    void openers()
    {
        QFETCH(bool, toolbar);
        QFETCH(int, page);
        auto f = start();
        TSettingForm *s = f->SettingForm;
        f->edtOutputdir->setText(QStringLiteral("/main/out/"));
        s->vleVideo->rows()->setValue("Bit Rate", "edited");
        s->pgcSetting->setCurrentIndex(1 - page);
        (toolbar ? static_cast<QAbstractButton *>(f->tbtnSetting) : f->bbtnSetting)->click();
        QVERIFY(s->isVisible());
        QCOMPARE(s->pgcSetting->currentIndex(), page);
        QCOMPARE(s->pgcSetting->tabText(page), page == 0 ? "     General     " : "     Profiles     ");
        QCOMPARE(s->edtOutputDir->text(), QStringLiteral("/main/out/"));
        // The main window takes no input; the dialog does.
        QVERIFY(!f->MainInputEnabled());
        QVERIFY(!f->bbtnSetting->isEnabled());
        QVERIFY(dialogUsable(s));
        if (toolbar) {
            // Nothing is reloaded: the editors keep their edits.
            QCOMPARE(s->cmbProfile->currentIndex(), -1);
            QCOMPARE(s->vleVideo->value("Bit Rate"), QStringLiteral("edited"));
        } else {
            QCOMPARE(s->cmbProfile->currentIndex(), f->cmbProfile->currentIndex());
        }
        // However the dialog closes, the main window takes input again; its disabled
        // buttons stay disabled.
        s->close();
        QVERIFY(!s->isVisible());
        QVERIFY(f->MainInputEnabled());
        QVERIFY(f->bbtnSetting->isEnabled());
        QVERIFY(!f->tbtnStart->isEnabled());
        QVERIFY2(boxes->boxes().isEmpty(), qPrintable(boxes->texts()));
    }

    void settingButtonShowsTheMainProfile()
    {
        auto f = start();
        TSettingForm *s = f->SettingForm;
        f->cmbProfile->setCurrentIndex(1);
        f->bbtnSettingClick();
        QCOMPARE(s->cmbProfile->currentText(), QStringLiteral("Q"));
        QCOMPARE(keys(s->vleVideo), QStringList{"Q Param"});
        QCOMPARE(s->vleVideo->value("Q Param"), QStringLiteral("q2"));
        // The other two editors are emptied and show one empty row.
        QCOMPARE(s->vleAudio->rows()->rowCount(), 0);
        QCOMPARE(s->vleAudio->height(), 18);
        f->cmbProfile->setCurrentIndex(0);
        s->close();
        f->bbtnSettingClick();
        QCOMPARE(keys(s->vleVideo), QStringList{"Video Size"});
        QCOMPARE(keys(s->vleAudio), (QStringList{"Disable Audio", "Answer", "Locked Pick"}));
        QCOMPARE(keys(s->vleAdvanced), (QStringList{"Bit Exact Algorithms", "Title"}));
        QCOMPARE(s->vleAudio->height(), 54);
        s->close();
        QVERIFY2(boxes->boxes().isEmpty(), qPrintable(boxes->texts()));
    }

    void okWritesSettingsAndProfile_data()
    {
        QTest::addColumn<bool>("sameProfile");
        QTest::newRow("same profile") << true;
        QTest::newRow("different profiles") << false;
    }
    void okWritesSettingsAndProfile()
    {
        QFETCH(bool, sameProfile);
        auto f = start();
        TSettingForm *s = f->SettingForm;
        if (f->vleVideo->value("Video Size").isEmpty())
            QSKIP("needs the main window's profile loading");
        if (!sameProfile) {
            f->cmbProfile->setCurrentIndex(1);
            f->cmbProfileChange();
        }
        const QByteArray qBefore = readFile(appDir + "Profiles/Q.apf");
        f->tbtnSetting->click();
        s->cmbProfile->setCurrentIndex(0);
        s->cmbProfileChange();
        s->vleAudio->setValue("Disable Audio", "Yes");
        s->edtOutputDir->setText(QStringLiteral("/typed/dir"));
        s->btnOK->click();

        QVERIFY(!s->isVisible());
        QVERIFY(f->MainInputEnabled());
        // The folder goes to the main window as typed, and into the file without "Profile".
        QCOMPARE(f->edtOutputdir->text(), QStringLiteral("/typed/dir"));
        const QByteArray prefs = readFile(appDir + "Preferences.ini");
        QVERIFY(prefs.contains("\r\nOutput Path=/typed/dir\r\n"));
        QVERIFY(!prefs.contains("Profile="));
        // Only the dialog's profile is written: one line changes.
        QByteArray expected = kProfileP;
        expected.replace("Value=,\\,\r\nIndex=0", "Value=,\\,\r\nIndex=1");
        QCOMPARE(readFile(pPath()), expected);
        QCOMPARE(readFile(appDir + "Profiles/Q.apf"), qBefore);
        if (sameProfile)
            QCOMPARE(f->vleAudio->value("Disable Audio"), QStringLiteral("Yes"));
        else
            QCOMPARE(keys(f->vleVideo), QStringList{"Q Param"});
        QVERIFY2(boxes->boxes().isEmpty(), qPrintable(boxes->texts()));
    }

    void writerRules_data()
    {
        QTest::addColumn<int>("sort");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("from");  // the text of the file that changes ...
        QTest::addColumn<QByteArray>("to");    // ... into this; both empty: no change
        QTest::newRow("captions differing in case") << 2 << "Answer" << "yes"
                                                    << QByteArray("Value=1,2,3,\r\nIndex=2")
                                                    << QByteArray("Value=1,2,3,\r\nIndex=0");
        QTest::newRow("plain row abc") << 3 << "Title" << "abc"
                                       << QByteArray("Caption=x\r\nValue=x") << QByteArray("Caption=abc\r\nValue=abc");
        QTest::newRow("Custom Size") << 1 << "Video Size" << "Custom Size"
                                     << QByteArray("Value=,320x240,,\r\nIndex=0")
                                     << QByteArray("Value=,320x240,,\r\nIndex=2");
        QTest::newRow("ReadOnly=1 list row") << 2 << "Locked Pick" << "B" << QByteArray() << QByteArray();
        QTest::newRow("ReadOnly=1 plain row") << 3 << "Bit Exact Algorithms" << "No" << QByteArray() << QByteArray();
    }
    void writerRules()
    {
        QFETCH(int, sort);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        auto f = start();
        TSettingForm *s = f->SettingForm;
        f->cmbProfile->setCurrentIndex(0);
        f->bbtnSettingClick();
        editor(s, sort)->rows()->setValue(key, value);
        s->btnOK->click();
        QByteArray expected = kProfileP;
        if (!from.isEmpty()) {
            QVERIFY(expected.contains(from));
            expected.replace(from, to);
        }
        QCOMPARE(readFile(pPath()), expected);
    }

    void saveAs_data()
    {
        QTest::addColumn<QString>("target");  // "<dir>" the temporary folder, "" cancelled
        QTest::addColumn<QByteArray>("existing");
        QTest::newRow("new file") << "<dir>/out/new.apf" << QByteArray();
        QTest::newRow("existing file") << "<dir>/Profiles/Q.apf" << QByteArray("junk");
        QTest::newRow("onto itself") << "<dir>/Profiles/P.apf" << QByteArray();
        QTest::newRow("cancelled") << "" << QByteArray();
    }
    void saveAs()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, existing);
        auto f = start();
        TSettingForm *s = f->SettingForm;
        target.replace("<dir>/", appDir);
        QDir().mkpath(appDir + "out");
        if (!existing.isEmpty())
            writeFile(target, existing);
        f->cmbProfile->setCurrentIndex(0);
        f->bbtnSettingClick();
        s->vleAudio->setValue("Disable Audio", "Yes");
        bool asked = false;
        s->RunSaveDialog = [&](QFileDialog &d) {
            asked = true;
            [&] {
                QCOMPARE(d.acceptMode(), QFileDialog::AcceptSave);
                QCOMPARE(d.nameFilters(), QStringList{"Profiles (*.apf)"});
                QCOMPARE(d.defaultSuffix(), QStringLiteral("apf"));
                QVERIFY(d.testOption(QFileDialog::DontConfirmOverwrite));
            }();
            return target;
        };
        s->btnSaveAs->click();
        QVERIFY(asked);
        if (QTest::currentTestFailed())
            return;
        QByteArray changed = kProfileP;
        changed.replace("Value=,\\,\r\nIndex=0", "Value=,\\,\r\nIndex=1");
        const bool ontoItself = target == pPath();
        if (!target.isEmpty())
            QCOMPARE(readFile(target), changed);
        QCOMPARE(readFile(pPath()), ontoItself ? changed : kProfileP);
        QCOMPARE(QDir(appDir + "out").entryList(QDir::Files).size(), target.endsWith("new.apf") ? 1 : 0);
        QVERIFY2(boxes->boxes().isEmpty(), qPrintable(boxes->texts()));
    }

    void foldButtons()
    {
        auto f = start();
        TSettingForm *s = f->SettingForm;
        f->tbtnSettingClick();
        QCOMPARE(s->vleVideo->keyColumnWidth(), 160);
        QCOMPARE(keys(s->vleAudio), (QStringList{"Audio Codec", "Audio Bitrate", "Sample Rate", "Channels", "Volumn",
                                                 "Disable Audio"}));
        QCOMPARE(s->vleVideo->height(), 108);
        QCOMPARE(s->vleAdvanced->height(), 36);
        s->btnVideo->click();
        QCOMPARE(s->vleVideo->height(), 1);
        QCOMPARE(s->btnVideo->text(), QStringLiteral("+"));
        s->btnVideo->click();
        QCOMPARE(s->vleVideo->height(), 109);
        QCOMPARE(s->btnVideo->text(), QStringLiteral("-"));
        s->btnAdvanced->click();
        s->btnAdvanced->click();
        QCOMPARE(s->vleAdvanced->height(), 37);
        // Unlike the main window, a double-click on a header bar does nothing.
        QTest::mouseDClick(s->panAudio, Qt::LeftButton, {}, QPoint(100, 9));
        QCOMPARE(s->vleAudio->height(), 108);
        QCOMPARE(s->btnAudio->text(), QStringLiteral("-"));
    }

    void loadWhileFolded()
    {
        auto f = start();
        TSettingForm *s = f->SettingForm;
        f->tbtnSettingClick();
        s->btnAudio->click();
        s->cmbProfile->setCurrentIndex(0);
        s->cmbProfileChange();
        // Shown again at 18 per row; the button keeps "+" and the next click unfolds.
        QCOMPARE(s->vleAudio->height(), 54);
        QCOMPARE(s->btnAudio->text(), QStringLiteral("+"));
        s->btnAudio->click();
        QCOMPARE(s->vleAudio->height(), 3 * 17 + 3 + 1);
    }

    void browse_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cancelled") << false << "" << "/before/";
        QTest::newRow("folder") << true << "/srv/out" << "/srv/out/";
        QTest::newRow("root") << true << "/" << "/";
    }
    void browse()
    {
        QFETCH(bool, chosen);
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        auto f = start();
        TSettingForm *s = f->SettingForm;
        f->tbtnSettingClick();
        s->edtOutputDir->setText(QStringLiteral("/before/"));
        QWidget *owner = nullptr;
        QString title;
        bool preselected = true;
        s->BrowseFolder = [&](QWidget *o, const QString &t, QString &picked) {
            owner = o;
            title = t;
            preselected = !picked.isEmpty();
            if (chosen)
                picked = folder;
            return chosen;
        };
        s->sbtnBrowse->click();
        QCOMPARE(owner, static_cast<QWidget *>(s));
        QCOMPARE(title, QStringLiteral("Select the output directory."));
        QVERIFY(!preselected);
        QCOMPARE(s->edtOutputDir->text(), expected);
        QCOMPARE(f->edtOutputdir->text(), appDir);
    }

    void profileThatCannotBeRewritten()
    {
        auto f = start();
        TSettingForm *s = f->SettingForm;
        QFile::setPermissions(pPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        boxes->clear();
        f->cmbProfile->setCurrentIndex(0);
        f->bbtnSettingClick();
        QVERIFY(!boxes->boxes().isEmpty());
        for (const ModalAnswerer::Box &b : boxes->boxes())
            QVERIFY2(b.text.contains(pPath()) && b.text.contains("read-only"), qPrintable(b.text));
        // The editors show what was read, at their full heights.
        QCOMPARE(keys(s->vleAudio), (QStringList{"Disable Audio", "Answer", "Locked Pick"}));
        QCOMPARE(s->vleAudio->height(), 54);
        QCOMPARE(readFile(pPath()), kProfileP);
        QVERIFY(dialogUsable(s));
        s->close();
    }

    void everythingSurvivesARestart()
    {
        auto f = start();
        TSettingForm *s = f->SettingForm;
        f->tbtnSetting->click();
        s->BrowseFolder = [&](QWidget *, const QString &, QString &picked) {
            picked = dir->path() + "/videos";
            return true;
        };
        s->sbtnBrowse->click();
        s->chkOpenDir->click();
        s->chkExit->click();
        s->rdbRename->click();
        s->cmbSyn->setCurrentIndex(1);
        s->pgcSetting->setCurrentIndex(1);
        s->cmbProfile->setCurrentIndex(0);
        s->cmbProfileChange();
        s->vleAudio->setValue("Disable Audio", "Yes");
        s->vleAdvanced->setValue("Title", "holiday");
        s->RunSaveDialog = [&](QFileDialog &) { return appDir + "Profiles/Mine.apf"; };
        s->btnSaveAs->click();
        s->btnOK->click();
        f->cmbProfile->setCurrentIndex(1);
        QVERIFY(f->close());
        f.reset();

        std::unique_ptr<TMainForm> g(CreateWindows(appDir, {}).MainForm);
        g->show();
        s = g->SettingForm;
        QCOMPARE(g->edtOutputdir->text(), dir->path() + "/videos/");
        // The chosen position is what is kept: "Mine" now comes first, so position 1 is P.
        QCOMPARE(g->cmbProfile->currentIndex(), 1);
        QCOMPARE(g->cmbProfile->currentText(), QStringLiteral("P"));
        QCOMPARE(s->cmbProfile->count(), 3);
        QCOMPARE(s->cmbSyn->currentIndex(), 1);
        QVERIFY(!s->chkOpenDir->isChecked());
        QVERIFY(s->chkExit->isChecked());
        QVERIFY(s->rdbRename->isChecked());
        for (const QString &name : {QStringLiteral("P"), QStringLiteral("Mine")}) {
            s->cmbProfile->setCurrentText(name);
            s->cmbProfileChange();
            QCOMPARE(s->vleAudio->value("Disable Audio"), QStringLiteral("Yes"));
            QCOMPARE(s->vleAdvanced->value("Title"), QStringLiteral("holiday"));
        }
        QVERIFY2(boxes->boxes().isEmpty(), qPrintable(boxes->texts()));
    }

    void aboutDialog()
    {
        auto f = start();
        writeFile(appDir + "Preferences.ini", "");
        f->tbtnAbout->click();
        TAboutForm *a = f->AboutForm;
        QVERIFY(a && a->isVisible());
        QCOMPARE(a->windowTitle(), QStringLiteral("About"));
        QCOMPARE(a->size(), QSize(503, 290));
        const QStringList texts{a->labProgramName->text(), a->labVersion->text(), a->labWebsite->text(),
                                a->labMore->text(),        a->Label8->text(),     a->Label9->text(),
                                a->Label10->text(),        a->btnTech->text(),    a->btnSales->text(),
                                a->btnOK->text()};
        QCOMPARE(texts, (QStringList{"Orvelle Video Converter", "Version 3.0", Product::WebSite, "(More)",
                                     Product::RelatedNames[0], Product::RelatedNames[1], Product::RelatedNames[2],
                                     "Tech Support", "Sales Support", "&OK"}));
        QVERIFY(a->labCopyright->text().contains(Product::Maker));
        QVERIFY(a->labCopyright->text().contains(Product::Years));
        QCOMPARE(a->labMoreCaption->text(), QStringLiteral("More video converting softwares"));
        QCOMPARE(a->Label9->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!f->MainInputEnabled());
        QVERIFY(a->isEnabled() && a->btnOK->isEnabled());
        a->btnOK->click();
        QVERIFY(!a->isVisible());
        QVERIFY(f->MainInputEnabled());
        // Shown again: the same texts, and the main window is disabled again.
        f->VersionText = QStringLiteral("9.9");
        f->tbtnAbout->click();
        QCOMPARE(a->labVersion->text(), QStringLiteral("Version 3.0"));
        QVERIFY(!f->MainInputEnabled());
        a->close();
        QVERIFY(f->MainInputEnabled());
    }

    void aboutLinks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("url");
        QTest::newRow("web site") << "labWebsite" << Product::WebSite;
        QTest::newRow("(More)") << "labMore" << Product::WebSite;
        QTest::newRow("Tech Support") << "btnTech" << "mailto:" + Product::SupportMail;
        QTest::newRow("Sales Support") << "btnSales" << "mailto:" + Product::SalesMail;
        QTest::newRow("product 1") << "Label8" << Product::RelatedPages[0];
        QTest::newRow("product 2") << "Label9" << Product::RelatedPages[1];
        QTest::newRow("product 3") << "Label10" << Product::RelatedPages[2];
    }
    void aboutLinks()
    {
        QFETCH(QString, control);
        QFETCH(QString, url);
        auto f = start();
        f->tbtnAboutClick();
        TAboutForm *a = f->AboutForm;
        const std::map<QString, QWidget *> controls{{"labWebsite", a->labWebsite}, {"labMore", a->labMore},
                                                    {"btnTech", a->btnTech},       {"btnSales", a->btnSales},
                                                    {"Label8", a->Label8},         {"Label9", a->Label9},
                                                    {"Label10", a->Label10}};
        UrlRecorder recorder;
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
        QTest::mouseClick(controls.at(control), Qt::LeftButton);
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        QCOMPARE(recorder.urls, QList<QUrl>{QUrl(url)});
        QVERIFY(a->isVisible());
        a->close();
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
