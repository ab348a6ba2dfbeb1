// The task list of the main window: adding by dialog, folder, drop and command line,
// removing, clearing, moving, its keys and its popup menu.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "profiles/ui/valuelisteditor.h"
#include "shell/startup.h"
#include "tasks/taskops.h"
#include "testutil.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <functional>
#include <memory>
#include <unistd.h>

using TestUtil::writeFile;

namespace {
const QString SizeOf160 = QStringLiteral(" 160x120 [SAR 1:1 DAR 4:3]");

// Runs action on the next modal dialog once it shows (polling, so it also works for
// dialogs opened from static functions).
void onNextDialog(std::function<void(QFileDialog *)> action)
{
    auto *timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        } else if (++*tries > 200) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(25);
}

QStringList captions(const TaskList &list)
{
    QStringList out;
    for (int r = 0; r < list.count(); ++r)
        out << list.cell(r, ColCaption);
    return out;
}

QStringList names(const TaskList &list)
{
    QStringList out;
    for (const QString &c : captions(list))
        out << QFileInfo(c).fileName();
    return out;
}

bool listCommandsEnabled(TMainForm &f)
{
    const bool on = f.tbtnUp->isEnabled();
    for (QToolButton *b : {f.tbtnDown, f.tbtnRemove, f.tbtnClear, f.tbtnStart})
        if (b->isEnabled() != on)
            qWarning("list commands differ");
    return on;
}
}  // namespace

class TestTaskList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_clip;  // a 1-second 160x120 clip

    std::unique_ptr<TMainForm> create(const QStringList &args = {})
    {
        return std::unique_ptr<TMainForm>(CreateWindows(TestUtil::makeAppDir(m_app, false), args).MainForm);
    }
    QTemporaryDir m_app;

    // A copy of the clip at path (folders made as needed).
    QString clipAt(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        if (!QFile::copy(m_clip, path))
            qWarning("cannot copy the clip to %s", qPrintable(path));
        return path;
    }

    // Rows A, B, C..., every cell of a row starting with its letter.
    static void fillRows(TaskList &list, const QString &letters)
    {
        list.clear();
        for (const QChar c : letters) {
            const int row = list.appendRow(QString(c));
            for (int code = 0; code <= 9; ++code)
                list.setCell(row, code, QString(c) + QString::number(code));
        }
    }
    static QString rowsText(const TaskList &list)
    {
        QString out;
        for (int r = 0; r < list.count(); ++r) {
            const QString letter = list.cell(r, ColCaption);
            for (int code = 0; code <= 9; ++code)
                if (list.cell(r, code) != letter + QString::number(code))
                    return QStringLiteral("row %1 mixed").arg(r);
            out += letter;
        }
        return out;
    }
    static QString selectionText(const TaskList &list)
    {
        QString out;
        for (int r : list.selectedRows())
            out += list.cell(r, ColCaption);
        return out;
    }
    static void selectLetters(TaskList &list, const QString &letters)
    {
        list.selection()->clearSelection();
        for (int r = 0; r < list.count(); ++r)
            if (letters.contains(list.cell(r, ColCaption)))
                list.setSelected(r, true);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_app.isValid());
        m_clip = m_dir.filePath("source.mp4");
        QVERIFY(TestUtil::makeClip(m_clip, 1, {"-c:v", "libx264", "-pix_fmt", "yuv420p"}, "160x120", false));
    }

    // A new task's record, and the exact duplicate test.
    void addFile()
    {
        auto form = create();
        form->OutputExt = QStringLiteral(".mkv");
        const QString path = clipAt(m_dir.filePath("v/Clip.One.avi"));
        form->AddTaskFile(path);
        ltvItemData r;
        form->Tasks.ReadTaskRow(0, ColAll, r);
        QCOMPARE(r.SourceFile, path);
        QCOMPARE(r.Duration, QStringLiteral("00:00:01.00"));
        QCOMPARE(r.FrameSize, SizeOf160);
        QCOMPARE(r.Status, QStringLiteral("OK"));
        QCOMPARE(r.NewName, QStringLiteral("Clip.One"));
        QCOMPARE(r.NewExt, QStringLiteral(".mkv"));
        QCOMPARE(r.FullStart, QStringLiteral("00:00:00.0"));
        QCOMPARE(r.StartTime, QStringLiteral("00:00:00.0"));
        for (const QString &t : {r.FullEnd, r.ClipLength, r.EndTime})
            QCOMPARE(t, r.Duration);
        QCOMPARE(r.EndSecs, 1.0);

        form->AddTaskFile(path);
        QCOMPARE(form->Tasks.count(), 1);
        form->AddTaskFile(m_dir.filePath("v/CLIP.ONE.AVI"));  // another letter case: another task
        form->AddTaskFile(m_dir.filePath("v/clip.one.avi"));
        form->AddTaskFile(m_dir.filePath("v/CLIP.ONE.AVI"));
        QCOMPARE(names(form->Tasks), (QStringList{"Clip.One.avi", "CLIP.ONE.AVI", "clip.one.avi"}));
    }

    // The open dialog: its filter, the f2..fn, f1 order, the one-row auto-select.
    void addFileDialog_data()
    {
        QTest::addColumn<QStringList>("before");  // tasks already listed
        QTest::addColumn<QStringList>("chosen");  // empty: cancel
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("selected");  // row 0 selected and shown
        QTest::newRow("three") << QStringList() << QStringList{"one.avi", "two.avi", "three.avi"}
                               << QStringList{"two.avi", "three.avi", "one.avi"} << false;
        QTest::newRow("one into an empty list") << QStringList() << QStringList{"one.avi"} << QStringList{"one.avi"}
                                                << true;
        QTest::newRow("one already listed") << QStringList{"one.avi"} << QStringList{"one.avi"}
                                            << QStringList{"one.avi"} << true;
        QTest::newRow("one beside another") << QStringList{"two.avi"} << QStringList{"one.avi"}
                                            << QStringList{"two.avi", "one.avi"} << false;
        QTest::newRow("cancel") << QStringList() << QStringList() << QStringList() << false;
        QTest::newRow("cancel beside one") << QStringList{"one.avi"} << QStringList() << QStringList{"one.avi"} << true;
    }
    void addFileDialog()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, rows);
        QFETCH(bool, selected);
        const QString dir = m_dir.filePath("dialog");
        for (const char *n : {"one.avi", "two.avi", "three.avi"})
            clipAt(dir + "/" + n);
        auto form = create();
        form->OutputExt = QStringLiteral(".mp4");
        form->show();
        for (const QString &n : before)
            form->AddTaskFile(dir + "/" + n);
        QStringList filters;
        QString selectedFilter;
        onNextDialog([&](QFileDialog *d) {
            filters = d->nameFilters();
            selectedFilter = d->selectedNameFilter();
            if (chosen.isEmpty()) {
                static_cast<QDialog *>(d)->reject();
                return;
            }
            d->setDirectory(dir);
            QStringList quoted;
            for (const QString &n : chosen)
                quoted << '"' + n + '"';
            d->findChild<QLineEdit *>("fileNameEdit")->setText(quoted.join(' '));
            static_cast<QDialog *>(d)->accept();
        });
        form->tbtnAddFileClick();
        QCOMPARE(filters, OpenFilterToNameFilters(form->OpenFilter));
        QCOMPARE(selectedFilter, filters.value(0));
        QCOMPARE(names(form->Tasks), rows);
        QCOMPARE(form->Tasks.isSelected(0), selected);
        QCOMPARE(form->vleOutput->value("New Filename"), selected ? QStringLiteral("one.mp4") : QString());
        if (selected)
            QCOMPARE(form->vleOutput->value("End Time"), QStringLiteral("00:00:01.00"));
        QCOMPARE(listCommandsEnabled(*form), !rows.isEmpty());
        QCOMPARE(form->focusWidget(), form->ltvTask);
        QCOMPARE(DialogAddOrder({"f1", "f2", "f3"}), (QStringList{"f2", "f3", "f1"}));
    }

    // A folder: regular, non-hidden files directly inside, mask without case, sorted without case.
    void addFolder_data()
    {
        QTest::addColumn<QString>("folder");  // below the fixture root
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("fixture") << "clips" << QStringList{"a.mpg", "clip.AVI", "Zed.Mov"};
        QTest::newRow("missing folder") << "nothing" << QStringList();
        QTest::newRow("unreadable folder") << "locked" << QStringList();
    }
    void addFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, rows);
        QTemporaryDir fixture;
        const QString root = fixture.path() + "/";
        for (const char *n : {"clips/clip.AVI", "clips/a.mpg", "clips/Zed.Mov", "clips/.b.avi", "clips/sub/c.avi",
                              "locked/d.avi"})
            clipAt(root + n);
        writeFile(root + "clips/notes.txt", "x");
        QDir().mkpath(root + "clips/folder.avi");
        QVERIFY(QFile::link(root + "clips/missing.avi", root + "clips/dangling.avi"));
        if (folder == "locked") {
            if (geteuid() == 0)
                QSKIP("permissions do not bind root");
            QFile(root + "locked").setPermissions(QFileDevice::WriteOwner);
        }
        auto form = create();
        QString title;
        onNextDialog([&](QFileDialog *d) {
            title = d->windowTitle();
            d->setDirectory(root + folder);
            static_cast<QDialog *>(d)->accept();
        });
        if (QFileInfo(root + folder).isDir() && folder != "locked") {
            form->tbtnAddDirClick();
            QCOMPARE(title, QStringLiteral("Add a directory to the Task List"));
        } else {
            form->AddTaskFolder(root + folder);
        }
        QFile(root + "locked").setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(names(form->Tasks), rows);
        if (!rows.isEmpty()) {
            QCOMPARE(form->Tasks.cell(0, ColCaption), root + folder + "/" + rows.first());
            QCOMPARE(form->Tasks.cell(0, 1), SizeOf160);
        }
        QCOMPARE(listCommandsEnabled(*form), !rows.isEmpty());
    }

    // Move Up / Move Down swap whole rows and carry the selection.
    void moves_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("after");  // the selected rows afterwards
        QTest::newRow("A B up") << "AB" << true << "BAC" << "B";
        QTest::newRow("B C up") << "BC" << true << "BCA" << "BC";
        QTest::newRow("C up") << "C" << true << "ACB" << "C";
        QTest::newRow("A up") << "A" << true << "ABC" << "A";
        QTest::newRow("none up") << "" << true << "ABC" << "";
        QTest::newRow("C down") << "C" << false << "ABC" << "C";
        QTest::newRow("A B down") << "AB" << false << "CAB" << "AB";
        QTest::newRow("A C down") << "AC" << false << "BAC" << "AC";
        QTest::newRow("none down") << "" << false << "ABC" << "";
    }
    void moves()
    {
        QFETCH(QString, selected);
        QFETCH(bool, up);
        QFETCH(QString, rows);
        QFETCH(QString, after);
        auto form = create();
        fillRows(form->Tasks, "ABC");
        selectLetters(form->Tasks, selected);
        form->SetEditorValue(0, "New Filename", "shown.mp4");
        up ? form->tbtnUpClick() : form->tbtnDownClick();
        QCOMPARE(rowsText(form->Tasks), rows);
        QCOMPARE(selectionText(form->Tasks), after);
        QCOMPARE(form->vleOutput->value("New Filename"), QStringLiteral("shown.mp4"));
    }

    // Delete and Backspace in the list, and the Remove and Clear buttons behind them.
    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("rows");
        QTest::newRow("delete, none selected") << int(Qt::Key_Delete) << "" << "ABC";
        QTest::newRow("delete A C") << int(Qt::Key_Delete) << "AC" << "B";
        QTest::newRow("delete all") << int(Qt::Key_Delete) << "ABC" << "";
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "B" << "";
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(QString, selected);
        QFETCH(QString, rows);
        auto form = create();
        fillRows(form->Tasks, "ABC");
        form->SetListCommandsEnabled(true);
        selectLetters(form->Tasks, selected);
        form->SetEditorValue(0, "New Filename", "a.mp4");
        form->SetEditorValue(0, "Start Time", "00:00:01");
        form->SetEditorValue(0, "End Time", "00:00:02");
        QTest::keyClick(form->ltvTask, Qt::Key(key));
        QCOMPARE(rowsText(form->Tasks), rows);
        for (const char *k : {"New Filename", "Start Time", "End Time"})
            QCOMPARE(form->vleOutput->value(k), QString());
        QCOMPARE(form->vleOutput->rows()->rowCount(), 3);
        QCOMPARE(listCommandsEnabled(*form), !rows.isEmpty());
        QCOMPARE(form->Tasks.model()->columnCount(), TaskList::ColumnCount);
    }

    // The popup menu: its entries and which are enabled.
    void popup_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("openRemove");
        QTest::addColumn<bool>("clear");
        QTest::newRow("empty list") << "" << "" << false << false;
        QTest::newRow("nothing selected") << "AB" << "" << false << true;
        QTest::newRow("one selected") << "AB" << "B" << true << true;
    }
    void popup()
    {
        QFETCH(QString, rows);
        QFETCH(QString, selected);
        QFETCH(bool, openRemove);
        QFETCH(bool, clear);
        auto form = create();
        fillRows(form->Tasks, rows);
        selectLetters(form->Tasks, selected);
        QStringList texts;
        for (QAction *a : form->ppmTask->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{"Open", "-", "Add Files...", "Add Directorys...", "-", "Remove", "Clear"}));
        form->show();
        Q_EMIT form->ltvTask->customContextMenuRequested(QPoint(10, 10));
        QTRY_VERIFY(form->ppmTask->isVisible());
        QCOMPARE(form->mnuOpen->isEnabled(), openRemove);
        QCOMPARE(form->mnuRemove->isEnabled(), openRemove);
        QCOMPARE(form->mnuClear->isEnabled(), clear);
        QVERIFY(form->mnuAddFiles->isEnabled() && form->mnuAddDir->isEnabled());
        form->ppmTask->hide();
    }

    // Files, folders and a ".tmp" list on the command line become probed tasks.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");  // "@" stands for the fixture folder
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("files and a folder")
            << QStringList{"@/a.AVI", "@/b.flv", "@/Clips", "@/missing.avi", "@/a.AVI"}
            << QStringList{"a.AVI", "x.mpg", "y.MP4"};
        QTest::newRow("list") << QStringList{"@/list.TMP", "@/extra.avi"} << QStringList{"x.mpg", "y.MP4", "a.AVI"};
        QTest::newRow("unreadable list") << QStringList{"@/none.tmp", "@/a.AVI"} << QStringList();
        QTest::newRow("nothing supported") << QStringList{"@/b.flv", "@/missing"} << QStringList();
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, rows);
        QTemporaryDir fixture;
        const QString root = fixture.path();
        clipAt(root + "/a.AVI");
        clipAt(root + "/b.flv");
        clipAt(root + "/extra.avi");
        clipAt(root + "/Clips/y.MP4");
        clipAt(root + "/Clips/x.mpg");
        writeFile(root + "/list.TMP", ("\r\n" + root + "/Clips\r\n\r\n" + root + "/a.AVI\n").toUtf8());
        for (QString &a : args)
            a.replace("@", root);
        auto form = create(args);
        QCOMPARE(names(form->Tasks), rows);
        QCOMPARE(listCommandsEnabled(*form), !rows.isEmpty());
        for (int r = 0; r < form->Tasks.count(); ++r) {
            QCOMPARE(form->Tasks.cell(r, 0), QStringLiteral("00:00:01.00"));
            QCOMPARE(form->Tasks.cell(r, 1), SizeOf160);
        }
    }

    // Drops of files and folders: supported files and folders' files are added, in order;
    // nothing while the list is disabled; long paths are taken whole.
    void drop()
    {
        QTemporaryDir fixture;
        const QString root = fixture.path();
        QString deep = root;
        while (deep.size() < 300)
            deep += "/a-rather-long-folder-name";
        const QString longPath = clipAt(deep + "/long.avi");
        clipAt(root + "/Clips/x.mpg");
        clipAt(root + "/b.flv");
        auto form = create();
        form->show();
        const auto dropOn = [&](const QStringList &paths) {
            QList<QUrl> urls;
            for (const QString &p : paths)
                urls << QUrl::fromLocalFile(p);
            QMimeData mime;
            mime.setUrls(urls);
            QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(form.get(), &enter);
            QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(form.get(), &drop);
        };
        form->ltvTask->setEnabled(false);
        dropOn({longPath});
        form->DropPaths({longPath});
        QCOMPARE(form->Tasks.count(), 0);
        form->ltvTask->setEnabled(true);
        dropOn({longPath, root + "/b.flv", root + "/Clips"});
        QCOMPARE(captions(form->Tasks), (QStringList{longPath, root + "/Clips/x.mpg"}));
        QCOMPARE(form->Tasks.cell(0, 1), SizeOf160);
        QVERIFY(listCommandsEnabled(*form));
    }
};

QTEST_MAIN(TestTaskList)
#include "tst_tasklist.moc"
