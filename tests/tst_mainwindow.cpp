// Start-up of the main window and its layout rules.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "profiles/profiles.h"
#include "profiles/ui/editorstack.h"
#include "profiles/ui/valuelisteditor.h"
#include "shell/startup.h"
#include "testutil.h"

#include <QtTest>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <memory>

using TestUtil::writeFile;

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TMainForm> create(const QString &appDir, const QStringList &args = {})
    {
        return std::unique_ptr<TMainForm>(CreateWindows(appDir, args).MainForm);
    }

private Q_SLOTS:
    void caption_data()
    {
        QTest::addColumn<QByteArray>("prefs");  // "-" = no file
        QTest::addColumn<QString>("caption");
        QTest::newRow("no file") << QByteArray("-") << QStringLiteral("Orvelle Video Converter V3.0");
        QTest::newRow("no version") << QByteArray("[Main]\r\nProfile=0\r\n") << QStringLiteral("Orvelle Video Converter V3.0");
        QTest::newRow("3.5") << QByteArray("[Main]\r\nVersion=3.5\r\n") << QStringLiteral("Orvelle Video Converter V3.5");
    }
    void caption()
    {
        QFETCH(QByteArray, prefs);
        QFETCH(QString, caption);
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        if (prefs != "-")
            writeFile(appDir + "Preferences.ini", prefs);
        auto form = create(appDir);
        QCOMPARE(form->windowTitle(), caption);
        QCOMPARE(form->AppDir, appDir);
        QCOMPARE(form->EncoderPath, appDir + "wmaspi.dll");
        QCOMPARE(form->edtOutputdir->text(), appDir);
        // Reading the version rewrites (here: creates) the preferences file.
        QVERIFY(QFileInfo::exists(appDir + "Preferences.ini"));
        // No task: the five list commands and Stop are disabled; the others enabled.
        for (QToolButton *b : {form->tbtnUp, form->tbtnDown, form->tbtnRemove, form->tbtnClear, form->tbtnStart,
                               form->tbtnStop})
            QVERIFY(!b->isEnabled());
        for (QToolButton *b : {form->tbtnAddFile, form->tbtnAddDir, form->tbtnSetting, form->tbtnAbout, form->tbtnHelp})
            QVERIFY(b->isEnabled());
        QVERIFY(form->panBottomLeft->isHidden());
        QCOMPARE(form->ltvTask->columnWidth(0), 260);
        QCOMPARE(form->ltvTask->columnWidth(3), 100);
    }

    void openFilter()
    {
        const QStringList exts = DefaultInputExts();
        QCOMPARE(exts.size(), 8);
        const QString mask = QStringLiteral("*.avi;*.mpg;*.mpeg;*.mp4;*.wmv;*.mov;*.vob;*.asf;");
        QCOMPARE(BuildFolderMask(exts), mask);
        QCOMPARE(BuildOpenFilter(exts),
                 "All Support Files(" + mask + ")|" + mask
                     + "|AVI Files (*.avi)|*.avi|MPG Files (*.mpg)|*.mpg|MPEG Files (*.mpeg)|*.mpeg"
                       "|MP4 Files (*.mp4)|*.mp4|WMV Files (*.wmv)|*.wmv|MOV Files (*.mov)|*.mov"
                       "|VOB Files (*.vob)|*.vob|ASF Files (*.asf)|*.asf|All Files (*.*)|*.*");
        const QStringList qt = OpenFilterToNameFilters(BuildOpenFilter(exts));
        QCOMPARE(qt.size(), 10);
        QCOMPARE(qt.first(), "All Support Files(" + mask + ") (*.avi *.mpg *.mpeg *.mp4 *.wmv *.mov *.vob *.asf)");
        QCOMPARE(qt.last(), QStringLiteral("All Files (*.*) (*)"));
    }

    void profileCatalogue()
    {
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, false);
        writeFile(appDir + "Profiles/b.apf", "[Main]\r\n");
        writeFile(appDir + "Profiles/X.APF", "[Main]\r\n");
        writeFile(appDir + "Profiles/a.b.apf", "[Main]\r\n");
        writeFile(appDir + "Profiles/notes.txt", "");
        QDir().mkpath(appDir + "Profiles/y.apf");
        QCOMPARE(ListFilesByExt(appDir + "Profiles/", ".apf"),
                 (QStringList{QStringLiteral("a.b.apf"), QStringLiteral("b.apf"), QStringLiteral("X.APF")}));
        QVERIFY(ListFilesByExt(appDir + "NoSuchFolder/", ".apf").isEmpty());
        auto form = create(appDir);
        QCOMPARE(form->cmbProfile->count(), 3);
        QCOMPARE(form->cmbProfile->itemText(0), QStringLiteral("a.b"));
        QCOMPARE(form->cmbProfile->itemText(2), QStringLiteral("X"));
        QCOMPARE(form->cmbProfile->currentIndex(), -1);
        QVERIFY(form->OutputExt.isEmpty());
    }

    void commandLineList()
    {
        QTemporaryDir dir;
        const QString list = writeFile(dir.filePath("list.TMP"), "a\r\nb\rc\n\r\nd");
        QCOMPARE(CommandLinePaths({list, QStringLiteral("ignored")}),
                 (QStringList{"a", "b", "c", "", "d"}));
        QCOMPARE(CommandLinePaths({"x.avi", "y"}), (QStringList{"x.avi", "y"}));
        QCOMPARE(CommandLinePaths({}), QStringList());
        QString error;
        QVERIFY(CommandLinePaths({dir.filePath("missing.tmp")}, &error).isEmpty());
        QVERIFY(error.contains("missing.tmp"));
        // A list that cannot be read does not stop start-up.
        const QString appDir = TestUtil::makeAppDir(dir, false);
        auto form = create(appDir, {dir.filePath("missing.tmp")});
        QCOMPARE(form->ltvTask->columnWidth(1), 90);
        QVERIFY(form->panBottomLeft->isHidden());
    }

    void resizeArithmetic()
    {
        QTemporaryDir dir;
        auto form = create(TestUtil::makeAppDir(dir, false));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // With the main area 580 wide the bottom row is laid out as designed.
        form->panProfile->setFixedWidth(form->centralWidget()->width() - 590);
        QTRY_COMPARE(form->panMain->width(), 580);
        QCOMPARE(form->cmbProfile->width(), 407);
        QCOMPARE(form->edtOutputdir->width(), 322);
        QCOMPARE(form->pgbCurrent->width(), 430);
        QCOMPARE(form->pgbTotal->width(), 430);
        QCOMPARE(form->bbtnOpen->x(), 490);
        QCOMPARE(form->bbtnBrowser->x(), 405);

        const auto widths = [&] {
            QList<int> w;
            for (int c = 0; c < 4; ++c)
                w << form->ltvTask->columnWidth(c);
            return w;
        };
        // +100 pixels: the columns grow by 49, 17, 15 and 19.
        QList<int> before = widths();
        form->resize(form->width() + 100, form->height());
        QTRY_COMPARE(widths(), (QList<int>{before[0] + 49, before[1] + 17, before[2] + 15, before[3] + 19}));
        // +7 pixels: 3, 1, 1, 1 (halves and fractions rounded).
        before = widths();
        form->resize(form->width() + 7, form->height());
        QTRY_COMPARE(widths(), (QList<int>{before[0] + 3, before[1] + 1, before[2] + 1, before[3] + 1}));

        // Dragging the splitter bar 30 pixels to the left from its middle widens the pane by 30.
        const int pane = form->panProfile->width();
        form->panSplitterMouseMove(5 - 30, Qt::LeftButton, Qt::NoModifier);
        QCOMPARE(form->panProfile->width(), pane + 30);
        form->panSplitterMouseMove(5 - 30, Qt::NoButton, Qt::NoModifier);  // no button: nothing
        form->panSplitterMouseMove(0, Qt::LeftButton, Qt::NoModifier);      // X = 0: nothing
        QCOMPARE(form->panProfile->width(), pane + 30);
        // Dragging far to the right keeps the pane inside the window.
        form->panSplitterMouseMove(5000, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(form->panProfile->width() >= 20);
        form->panSplitterMouseMove(-5000, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(form->panProfile->width() <= form->centralWidget()->width());
    }

    void foldHeights()
    {
        QTemporaryDir dir;
        auto form = create(TestUtil::makeAppDir(dir, false));
        QCOMPARE(form->vleOutput->height(), 54);
        QCOMPARE(form->vleVideo->height(), 108);
        QCOMPARE(form->vleAudio->height(), 108);
        QCOMPARE(form->vleAdvanced->height(), 36);
        QCOMPARE(form->btnOutput->text(), QStringLiteral("-"));
        form->btnOutput->click();
        QCOMPARE(form->vleOutput->height(), 1);
        QCOMPARE(form->btnOutput->text(), QStringLiteral("+"));
        form->btnOutput->click();
        QCOMPARE(form->vleOutput->height(), 55);
        // A double-click on a header folds like its button.
        QTest::mouseDClick(form->panVideo, Qt::LeftButton, Qt::NoModifier, QPoint(60, 9));
        QCOMPARE(form->vleVideo->height(), 1);
        form->btnVideo->click();
        QCOMPARE(form->vleVideo->height(), 109);
        form->btnAdvanced->click();
        form->btnAdvanced->click();
        QCOMPARE(form->vleAdvanced->height(), 37);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
