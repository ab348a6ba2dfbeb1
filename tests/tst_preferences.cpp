// The preferences file: what start-up reads, what exit writes, and in which order;
// the settings dialog's Cancel and Load Default; a file that cannot be written.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "modalanswerer.h"
#include "settings/preferences.h"
#include "settings/ui/settingform.h"
#include "testutil.h"

#include <QtTest>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <memory>

using TestUtil::readFile;
using TestUtil::writeFile;

namespace {
// n small profiles "p0" .. in the program's Profiles folder.
void writeProfiles(const QString &appDir, int n)
{
    for (int i = 0; i < n; ++i)
        writeFile(appDir + QStringLiteral("Profiles/p%1.apf").arg(i), "[Main]\r\nType=mp4\r\nPara=0\r\n");
}

// What the windows show, in one line: output folder, chosen profile and the dialog's
// General controls.
QString shown(TMainForm *f)
{
    const TSettingForm *s = f->SettingForm;
    return QStringLiteral("out=%1 profile=%2 syn=%3 open=%4 exit=%5 off=%6 over=%7 rename=%8")
        .arg(f->edtOutputdir->text())
        .arg(f->cmbProfile->currentIndex())
        .arg(s->cmbSyn->currentIndex())
        .arg(s->chkOpenDir->isChecked())
        .arg(s->chkExit->isChecked())
        .arg(s->chkTurnoff->isChecked())
        .arg(s->rdbOverWrite->isChecked())
        .arg(s->rdbRename->isChecked());
}

// The same line for what the file holds.
QString stored(const QString &appDir)
{
    const StoredPreferences p = ReadStoredPreferences(appDir);
    return QStringLiteral("out=%1 profile=%2 syn=%3 open=%4 exit=%5 off=%6 over=%7 rename=%8")
        .arg(p.general.outputPath)
        .arg(p.profile)
        .arg(p.general.synMode)
        .arg(p.general.openDir)
        .arg(p.general.exitApp)
        .arg(p.general.turnOff)
        .arg(p.general.overwrite)
        .arg(!p.general.overwrite);
}

// The dialog's General controls only.
QString general(const TSettingForm *s)
{
    return QStringLiteral("out=%1 syn=%2 open=%3 exit=%4 off=%5 over=%6 rename=%7")
        .arg(s->edtOutputDir->text())
        .arg(s->cmbSyn->currentIndex())
        .arg(s->chkOpenDir->isChecked())
        .arg(s->chkExit->isChecked())
        .arg(s->chkTurnoff->isChecked())
        .arg(s->rdbOverWrite->isChecked())
        .arg(s->rdbRename->isChecked());
}
}  // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

    ModalAnswerer *boxes = nullptr;

    // Creates the windows and shows the main window (which loads the preferences).
    std::unique_ptr<TMainForm> start(const QString &appDir)
    {
        std::unique_ptr<TMainForm> f(CreateWindows(appDir, {}).MainForm);
        f->show();
        return f;
    }

private Q_SLOTS:
    void initTestCase() { boxes = new ModalAnswerer(QMessageBox::Ok, this); }
    void init()
    {
        boxes->clear();
        boxes->setAnswer(QMessageBox::Ok);
    }

    void firstExitWritesEveryKeyInOrder()
    {
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        writeProfiles(appDir, 2);
        auto f = start(appDir);
        QCOMPARE(shown(f.get()), "out=" + appDir + " profile=0 syn=0 open=1 exit=0 off=0 over=1 rename=0");
        QCOMPARE(f->SettingForm->cmbSyn->currentText(), QStringLiteral("Auto"));
        QVERIFY(f->close());
        QCOMPARE(readFile(appDir + "Preferences.ini"),
                 "[Main]\r\nOverwrite=1\r\nAuto Turn Off=0\r\nAuto Exit=0\r\nAuto Open Dir=1\r\nSyn Mode=0\r\n"
                 "Output Path="
                     + appDir.toUtf8() + "\r\nProfile=0\r\n");
        QVERIFY2(boxes->boxes().isEmpty(), qPrintable(boxes->texts()));
    }

    void loadAndSaveMain_data()
    {
        QTest::addColumn<QByteArray>("main");  // lines of [Main]
        QTest::addColumn<int>("profiles");
        QTest::addColumn<QString>("expected");  // "<app>" stands for the program directory
        const QString def = QStringLiteral("out=<app> profile=0 syn=0 open=1 exit=0 off=0 over=1 rename=0");
        QTest::newRow("empty section") << QByteArray() << 3 << def;
        QTest::newRow("Overwrite=0") << QByteArray("Overwrite=0") << 3
                                     << "out=<app> profile=0 syn=0 open=1 exit=0 off=0 over=0 rename=1";
        QTest::newRow("Overwrite=True") << QByteArray("Overwrite=True") << 3 << def;
        QTest::newRow("OVERWRITE=false") << QByteArray("OVERWRITE=false") << 3
                                         << "out=<app> profile=0 syn=0 open=1 exit=0 off=0 over=0 rename=1";
        QTest::newRow("Overwrite=yes") << QByteArray("Overwrite=yes") << 3 << def;
        QTest::newRow("Syn Mode=2") << QByteArray("Syn Mode=2") << 3
                                    << "out=<app> profile=0 syn=2 open=1 exit=0 off=0 over=1 rename=0";
        QTest::newRow("Syn Mode=7") << QByteArray("Syn Mode=7") << 3
                                    << "out=<app> profile=0 syn=-1 open=1 exit=0 off=0 over=1 rename=0";
        QTest::newRow("actions") << QByteArray("Auto Open Dir=0\r\nAuto Exit=-1\r\nAuto Turn Off=true") << 3
                                 << "out=<app> profile=0 syn=0 open=0 exit=1 off=1 over=1 rename=0";
        QTest::newRow("Profile=1, folder") << QByteArray("Profile=1\r\nOutput Path=/srv/out/") << 3
                                           << "out=/srv/out/ profile=1 syn=0 open=1 exit=0 off=0 over=1 rename=0";
        QTest::newRow("Profile=5 of three") << QByteArray("Profile=5") << 3
                                            << "out=<app> profile=-1 syn=0 open=1 exit=0 off=0 over=1 rename=0";
        QTest::newRow("Profile=abc") << QByteArray("Profile=abc") << 3 << def;
        QTest::newRow("no profiles") << QByteArray("Profile=0") << 0
                                     << "out=<app> profile=-1 syn=0 open=1 exit=0 off=0 over=1 rename=0";
    }
    void loadAndSaveMain()
    {
        QFETCH(QByteArray, main);
        QFETCH(int, profiles);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        expected.replace("<app>", appDir);
        writeProfiles(appDir, profiles);
        writeFile(appDir + "Preferences.ini", "[Main]\r\n" + main + "\r\n");
        auto f = start(appDir);
        QCOMPARE(shown(f.get()), expected);
        // Exit writes what the controls show, also a missing selection (-1).
        QVERIFY(f->close());
        QCOMPARE(stored(appDir), expected);
        QVERIFY2(boxes->boxes().isEmpty(), qPrintable(boxes->texts()));
    }

    void cancelKeepsGeneralChangesButNotTheFolder()
    {
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        auto f = start(appDir);
        TSettingForm *s = f->SettingForm;
        f->tbtnSetting->click();
        QVERIFY(s->isVisible());
        s->chkExit->click();
        s->rdbRename->click();
        s->edtOutputDir->setText(QStringLiteral("/elsewhere/"));
        s->btnCancel->click();
        QVERIFY(!s->isVisible());
        QVERIFY(f->MainInputEnabled());
        // The live values keep the change; the output folder does not.
        QVERIFY(s->chkExit->isChecked());
        QCOMPARE(f->edtOutputdir->text(), appDir);
        f->tbtnSetting->click();
        QCOMPARE(s->edtOutputDir->text(), appDir);
        s->btnCancel->click();
        // Nothing was written by Cancel; exit writes the changed values.
        QVERIFY(!readFile(appDir + "Preferences.ini").contains("Auto Exit"));
        QVERIFY(f->close());
        const QByteArray text = readFile(appDir + "Preferences.ini");
        QVERIFY(text.contains("\r\nAuto Exit=1\r\n"));
        QVERIFY(text.contains("\r\nOverwrite=0\r\n"));
        QVERIFY(text.contains("\r\nOutput Path=" + appDir.toUtf8() + "\r\n"));
    }

    void loadDefault_data()
    {
        QTest::addColumn<QByteArray>("prefs");  // "shipped" = the file that comes with the program
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("expected");
        const QByteArray withDefault = "[Main]\r\nAuto Exit=1\r\nOverwrite=0\r\nSyn Mode=2\r\n"
                                       "[Default]\r\nOutput Path=/d/\r\nSyn Mode=1\r\nAuto Turn Off=1\r\n";
        QTest::newRow("Default section") << withDefault << int(QMessageBox::Yes)
                                         << "out=/d/ syn=1 open=0 exit=0 off=1 over=1 rename=0";
        QTest::newRow("no Default section") << QByteArray("[Main]\r\nAuto Exit=1\r\nSyn Mode=2\r\nOverwrite=0\r\n")
                                            << int(QMessageBox::Yes)
                                            << "out=<app> syn=0 open=0 exit=0 off=0 over=1 rename=0";
        QTest::newRow("answered No") << withDefault << int(QMessageBox::No)
                                     << "out=<app> syn=2 open=1 exit=1 off=0 over=0 rename=1";
        QTest::newRow("shipped file") << QByteArray("shipped") << int(QMessageBox::Yes)
                                      << "out=<app> syn=0 open=1 exit=0 off=0 over=1 rename=0";
    }
    void loadDefault()
    {
        QFETCH(QByteArray, prefs);
        QFETCH(int, answer);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const bool shipped = prefs == "shipped";
        const QString appDir = TestUtil::makeAppDir(dir, shipped);
        expected.replace("<app>", appDir);
        if (!shipped)
            writeFile(appDir + "Preferences.ini", prefs);
        auto f = start(appDir);
        TSettingForm *s = f->SettingForm;
        f->tbtnSetting->click();
        const QByteArray before = readFile(appDir + "Preferences.ini");
        boxes->setAnswer(QMessageBox::StandardButton(answer));
        s->btnDefault->click();
        QCOMPARE(boxes->boxes().size(), 1);
        const ModalAnswerer::Box &q = boxes->boxes().first();
        QCOMPARE(q.title, QStringLiteral("Load Default"));
        QCOMPARE(q.text, QStringLiteral("Are you sure to load the default preferences?"));
        QCOMPARE(q.icon, QMessageBox::Question);
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(general(s), expected);
        // "Main" is not written here.
        QCOMPARE(readFile(appDir + "Preferences.ini"), before);
        s->btnCancel->click();
    }

    void readOnlyFileIsReportedAndTheProgramStillEnds()
    {
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        const QString path = appDir + "Preferences.ini";
        const QByteArray original = "[Main]\r\nAuto Exit=1\r\nOutput Path=/ro/\r\n";
        writeFile(path, original);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const auto allName = [&] {
            for (const ModalAnswerer::Box &b : boxes->boxes()) {
                if (!b.text.contains(path) || !b.text.contains("read-only"))
                    return false;
            }
            return true;
        };

        auto f = start(appDir);
        // Loading shows the error and still puts the values into the controls.
        QVERIFY(!boxes->boxes().isEmpty());
        QVERIFY2(allName(), qPrintable(boxes->texts()));
        TSettingForm *s = f->SettingForm;
        QVERIFY(s->chkExit->isChecked());
        QCOMPARE(f->edtOutputdir->text(), QStringLiteral("/ro/"));

        // OK cannot save: the error shows and the dialog stays open with its values.
        boxes->clear();
        f->tbtnSetting->click();
        s->chkTurnoff->click();
        s->btnOK->click();
        QCOMPARE(boxes->boxes().size(), 1);
        QVERIFY2(allName(), qPrintable(boxes->texts()));
        QVERIFY(s->isVisible());
        QVERIFY(s->chkTurnoff->isChecked());
        s->btnCancel->click();
        QVERIFY(f->MainInputEnabled());

        // Closing reports the error and ends all the same; the file is as it was.
        boxes->clear();
        QVERIFY(f->close());
        QVERIFY(!f->isVisible());
        QCOMPARE(boxes->boxes().size(), 1);
        QVERIFY2(allName(), qPrintable(boxes->texts()));
        QCOMPARE(readFile(path), original);
    }

    void readingForToolsLeavesTheFileAlone()
    {
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        // A missing file stays missing.
        QCOMPARE(stored(appDir), "out=" + appDir + " profile=0 syn=0 open=1 exit=0 off=0 over=1 rename=0");
        QCOMPARE(ReadStoredPreferences(appDir).version, QStringLiteral("3.0"));
        QVERIFY(!QFileInfo::exists(appDir + "Preferences.ini"));
        // LF line ends are not rewritten.
        const QByteArray text = "[Main]\nVersion=3.5\nProfile=2\nAuto Exit=1\n[Default]\nAuto Exit=0\n";
        writeFile(appDir + "Preferences.ini", text);
        const StoredPreferences p = ReadStoredPreferences(appDir);
        QCOMPARE(p.version, QStringLiteral("3.5"));
        QCOMPARE(p.profile, 2);
        QVERIFY(p.general.exitApp);
        QCOMPARE(readFile(appDir + "Preferences.ini"), text);
    }
};

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
