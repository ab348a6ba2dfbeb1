// Per-task output options: the editor shows the clicked task, edits are checked against
// the task's length and written into its row, and the editor takes no input while it
// shows no task.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "profiles/ui/valuelisteditor.h"
#include "testutil.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QtTest>
#include <memory>

namespace {
// A task of 90 seconds (or of length) as the list stores it, with its own start and end.
ltvItemData task(const QString &name, const QString &start, const QString &end,
                 const QString &length = QStringLiteral("00:01:30"))
{
    ltvItemData r;
    r.SourceFile = "/v/" + name + ".avi";
    r.Duration = length;
    r.FrameSize = QStringLiteral(" 640x480");
    r.Status = QStringLiteral("OK");
    r.NewName = name;
    r.NewExt = QStringLiteral(".avi");
    r.FullStart = QStringLiteral("00:00:00.0");
    r.FullEnd = length;
    r.ClipLength = length;
    r.StartTime = start;
    r.EndTime = end;
    return r;
}

QWidget *visibleBalloon()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("BalloonTip") && w->isVisible())
            return w;
    return nullptr;
}
}  // namespace

class TestOutputOptions : public QObject
{
    Q_OBJECT

    QTemporaryDir m_app;

    std::unique_ptr<TMainForm> create(const QList<ltvItemData> &tasks)
    {
        std::unique_ptr<TMainForm> form(CreateWindows(TestUtil::makeAppDir(m_app, false), {}).MainForm);
        form->OutputExt = QStringLiteral(".mp4");
        for (const ltvItemData &r : tasks)
            form->Tasks.WriteTaskRow(form->Tasks.appendRow(r.SourceFile), ColAll, r);
        return form;
    }
    static ltvItemData row(TMainForm &form, int i)
    {
        ltvItemData r;
        form.Tasks.ReadTaskRow(i, ColAll, r);
        return r;
    }
    static QStringList shown(TMainForm &form)
    {
        return {form.vleOutput->value("New Filename"), form.vleOutput->value("Start Time"),
                form.vleOutput->value("End Time")};
    }
    static QRect valueCell(TMainForm &form, int editorRow)
    {
        return form.vleOutput->visualRect(form.vleOutput->model()->index(editorRow, 1));
    }
    // Opens the editor of a value cell as a user does: a click on the cell, and a second
    // click on it once the double-click time has passed. The open editor, or nullptr.
    static QLineEdit *openEditor(TMainForm &form, int editorRow)
    {
        QWidget *grid = form.vleOutput->viewport();
        const QPoint at = valueCell(form, editorRow).center();
        QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, at);
        QTest::qWait(QApplication::doubleClickInterval() + 20);
        QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, at);
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        auto *edit = grid->findChild<QLineEdit *>();
        return edit && edit->isVisible() ? edit : nullptr;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_app.isValid()); }

    void validate_data()
    {
        QTest::addColumn<QString>("start0");  // the task's start and end before the edit
        QTest::addColumn<QString>("end0");
        QTest::addColumn<QString>("length");  // the task's length (empty: unknown)
        QTest::addColumn<QString>("newFilename");
        QTest::addColumn<QString>("startText");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("newExt");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("clip");
        const QString z = QStringLiteral("00:00:00.0"), s10 = QStringLiteral("00:00:10"),
                      e90 = QStringLiteral("00:01:30");
        QTest::newRow("start 10") << z << e90 << e90 << "holiday.mp4" << s10 << e90 << "holiday" << ".mp4" << s10 << e90
                                  << "00:01:20";
        QTest::newRow("start beyond the file") << s10 << e90 << e90 << "holiday.mp4" << "00:02:00" << e90 << "holiday"
                                               << ".mp4" << s10 << e90 << "00:01:20";
        QTest::newRow("end beyond the file") << s10 << e90 << e90 << "holiday.mp4" << s10 << "00:05:00" << "holiday"
                                             << ".mp4" << s10 << "00:05:00" << "00:04:50";
        QTest::newRow("end before the start") << s10 << e90 << e90 << "holiday.mp4" << s10 << "00:00:05" << "holiday"
                                              << ".mp4" << s10 << e90 << "00:01:20";
        QTest::newRow("start not a time") << s10 << e90 << e90 << "holiday.mp4" << "abc" << e90 << "holiday" << ".mp4"
                                          << s10 << e90 << "00:01:20";
        QTest::newRow("start equals end") << s10 << e90 << e90 << "holiday.mp4" << e90 << e90 << "holiday" << ".mp4" << s10
                                          << e90 << "00:01:20";
        QTest::newRow("negative start") << s10 << e90 << e90 << "holiday.mp4" << "-1:00:00" << e90 << "holiday" << ".mp4"
                                        << s10 << e90 << "00:01:20";
        QTest::newRow("end zero") << z << e90 << e90 << "holiday.mp4" << z << "00:00:00" << "holiday" << ".mp4" << "00:00:00"
                                  << e90 << e90;
        QTest::newRow("both, with tenths") << z << e90 << e90 << "holiday.mp4" << "00:00:20.5" << "0:0:40" << "holiday"
                                           << ".mp4" << "00:00:20.5" << "00:00:40" << "00:00:19.5";
        QTest::newRow("other extension") << z << e90 << e90 << "holiday.avi" << z << e90 << "holiday" << ".avi" << "00:00:00"
                                         << e90 << e90;
        QTest::newRow("no extension") << z << e90 << e90 << "holiday" << z << e90 << "holiday" << "" << "00:00:00" << e90
                                      << e90;
        // The encoder could not tell the length: a time that falls back to an unknown one stays as it was.
        QTest::newRow("unknown length") << z << "" << "" << "a.mp4" << z << "" << "a" << ".mp4" << "00:00:00" << ""
                                        << "";
        QTest::newRow("unknown length, end typed") << z << "" << "" << "a.mp4" << z << "00:00:30" << "a" << ".mp4"
                                                   << "00:00:00" << "00:00:30" << "00:00:30";
        QTest::newRow("dots in the name") << z << e90 << e90 << "my.trip.mkv" << z << e90 << "my.trip" << ".mkv"
                                          << "00:00:00" << e90 << e90;
    }
    void validate()
    {
        QFETCH(QString, start0);
        QFETCH(QString, end0);
        QFETCH(QString, length);
        QFETCH(QString, newFilename);
        QFETCH(QString, startText);
        QFETCH(QString, endText);
        auto form = create({task("other", start0, end0, length), task("trip", start0, end0, length)});
        form->Tasks.setSelected(1, true);
        form->SetEditorValue(0, "New Filename", newFilename);
        form->SetEditorValue(0, "Start Time", startText);
        form->SetEditorValue(0, "End Time", endText);
        const ltvItemData before = row(*form, 1);
        form->vleOutputValidate();
        const ltvItemData r = row(*form, 1);
        QTEST(r.NewName, "newName");
        QTEST(r.NewExt, "newExt");
        QTEST(r.StartTime, "start");
        QTEST(r.EndTime, "end");
        QTEST(r.ClipLength, "clip");
        // Nothing else changes, in this row or the other; the editor keeps what was typed.
        QCOMPARE(r.SourceFile, before.SourceFile);
        QCOMPARE(r.Duration, before.Duration);
        QCOMPARE(r.FullStart, before.FullStart);
        QCOMPARE(r.FullEnd, before.FullEnd);
        QCOMPARE(r.Status, before.Status);
        QCOMPARE(row(*form, 0).StartTime, start0);
        QCOMPARE(row(*form, 0).NewName, QStringLiteral("other"));
        QCOMPARE(shown(*form), (QStringList{newFilename, startText, endText}));
    }

    // The options go to the first selected task, and nowhere without a selection.
    void selectionDecidesTheTask()
    {
        auto form = create({task("a", "00:00:00.0", "00:01:30"), task("b", "00:00:00.0", "00:01:30"),
                            task("c", "00:00:00.0", "00:01:30")});
        form->SetEditorValue(0, "New Filename", "x.mp4");
        form->SetEditorValue(0, "Start Time", "00:00:30");
        form->SetEditorValue(0, "End Time", "00:01:00");
        form->vleOutputValidate();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(row(*form, i).StartTime, QStringLiteral("00:00:00.0"));
        form->Tasks.setSelected(2, true);
        form->Tasks.setSelected(1, true);
        form->vleOutputValidate();
        QCOMPARE(row(*form, 1).NewName, QStringLiteral("x"));
        QCOMPARE(row(*form, 1).ClipLength, QStringLiteral("00:00:30"));
        QCOMPARE(row(*form, 2).NewName, QStringLiteral("c"));
        QCOMPARE(row(*form, 2).StartTime, QStringLiteral("00:00:00.0"));
    }

    // A mouse click shows the task (name with the profile's extension); keyboard moves do
    // not; a click beside the rows empties the editor.
    void clickShowsTask()
    {
        auto form = create({task("a", "00:00:00.0", "00:01:30"), task("holiday", "00:00:10", "00:01:20")});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QWidget *list = form->ltvTask->viewport();
        const QRect second = form->ltvTask->visualRect(form->Tasks.model()->index(1, 0));
        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, second.center());
        QCOMPARE(form->Tasks.selectedRows(), QList<int>{1});
        QCOMPARE(shown(*form), (QStringList{"holiday.mp4", "00:00:10", "00:01:20"}));

        QTest::keyClick(form->ltvTask, Qt::Key_Up);
        QCOMPARE(form->Tasks.selectedRows(), QList<int>{0});
        QCOMPARE(shown(*form), (QStringList{"holiday.mp4", "00:00:10", "00:01:20"}));
        // An edit now goes into the task the keyboard selected, with the values shown.
        form->vleOutputValidate();
        QCOMPARE(row(*form, 0).NewName, QStringLiteral("holiday"));
        QCOMPARE(row(*form, 0).ClipLength, QStringLiteral("00:01:10"));

        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(20, list->height() - 5));
        QVERIFY(form->Tasks.selectedRows().isEmpty());
        QCOMPARE(shown(*form), (QStringList{"", "", ""}));
        QCOMPARE(form->vleOutput->rows()->rowCount(), 3);
    }

    // Typing into the editor and leaving the cell writes the task.
    void editingWritesTheRow()
    {
        auto form = create({task("trip", "00:00:00.0", "00:01:30")});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect first = form->ltvTask->visualRect(form->Tasks.model()->index(0, 0));
        QTest::mouseClick(form->ltvTask->viewport(), Qt::LeftButton, Qt::NoModifier, first.center());
        QLineEdit *edit = openEditor(*form, 1);
        QVERIFY(edit && edit->isVisible());
        edit->selectAll();
        QTest::keyClicks(edit, "00:00:25");
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_COMPARE(row(*form, 0).StartTime, QStringLiteral("00:00:25"));
        QCOMPARE(row(*form, 0).ClipLength, QStringLiteral("00:01:05"));
        QCOMPARE(row(*form, 0).NewExt, QStringLiteral(".mp4"));
    }

    // While no task is shown a press brings the tip and no editing starts.
    void tipWhenNoTaskShown()
    {
        auto form = create({task("trip", "00:00:00.0", "00:01:30")});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QWidget *grid = form->vleOutput->viewport();
        QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, valueCell(*form, 1).center());
        QWidget *tip = visibleBalloon();
        QVERIFY(tip);
        QCOMPARE(tip->findChild<QLabel *>("title")->text(), QStringLiteral("Tip:"));
        QCOMPARE(tip->findChild<QLabel *>("text")->text(), QStringLiteral("Please select a file in Task List."));
        QVERIFY(!tip->findChild<QLabel *>("icon")->pixmap().isNull());
        QVERIFY(!openEditor(*form, 1));
        form->vleOutput->setFocus();
        QTest::keyClicks(form->vleOutput, "12");
        QTest::keyClick(form->vleOutput, Qt::Key_F2);
        const QLineEdit *edit = grid->findChild<QLineEdit *>();
        QVERIFY(!edit || !edit->isVisible());
        QCOMPARE(shown(*form), (QStringList{"", "", ""}));

        // Once a task is shown the editor opens.
        form->Tasks.setSelected(0, true);
        form->ltvTaskClick();
        QVERIFY(openEditor(*form, 1));
    }
};

QTEST_MAIN(TestOutputOptions)
#include "tst_outputoptions.moc"
