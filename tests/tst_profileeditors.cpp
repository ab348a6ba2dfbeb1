// The key/value editor widget, the main window's profile editors and the custom size dialog.
#include "app/ui/application.h"
#include "app/ui/mainform.h"
#include "profiles/ui/sizeform.h"
#include "profiles/ui/valuelisteditor.h"
#include "shell/apperror.h"
#include "testutil.h"

#include <QtTest>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

using TestUtil::writeFile;

namespace {

const QByteArray Example = "[Main]\r\nType=avi\r\nPara=3\r\n0=Video Size\r\n1=Disable Audio\r\n"
                           "2=Bit Exact Algorithms\r\n"
                           "[Video Size]\r\nSort=1\r\ncmd=-s\r\nCaption=Original Size,320x240,Custom Size,\r\n"
                           "Value=,320x240,,\r\nIndex=0\r\n"
                           "[Disable Audio]\r\nSort=2\r\ncmd=-an\r\nCaption=No,Yes,\r\nValue=,\\,\r\nIndex=0\r\n"
                           "[Bit Exact Algorithms]\r\nSort=3\r\nReadOnly=1\r\nList=0\r\ncmd=-flags\r\n"
                           "Caption=Yes\r\nValue=+bitexact\r\n";

QString dump(const EditorRows &rows)
{
    QStringList out;
    for (const EditorRows::Row &r : rows.rows()) {
        QString line = r.key + QLatin1Char('=') + r.value;
        if (r.readOnly)
            line += QStringLiteral(" ro");
        if (r.pickList)
            line += QStringLiteral(" {") + r.items.join(QLatin1Char('|')) + QLatin1Char('}');
        out << line;
    }
    return out.join(QStringLiteral("; "));
}

// An editor of four rows: a pick list, a read-only plain row, an editable plain row and a
// pick list showing a value that is not among its items.
void fillFixture(TValueListEditor &editor)
{
    EditorRows *rows = editor.rows();
    rows->appendRow(QStringLiteral("Pick"));
    rows->setPickList(QStringLiteral("Pick"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    rows->setValue(QStringLiteral("Pick"), QStringLiteral("a"));
    rows->setReadOnly(QStringLiteral("Pick"), true);
    rows->appendRow(QStringLiteral("Fixed"), QStringLiteral("ro"));
    rows->setReadOnly(QStringLiteral("Fixed"), true);
    rows->appendRow(QStringLiteral("Text"), QStringLiteral("t"));
    rows->appendRow(QStringLiteral("Custom"));
    rows->setPickList(QStringLiteral("Custom"), {QStringLiteral("a"), QStringLiteral("b")});
    rows->setValue(QStringLiteral("Custom"), QStringLiteral("640x480"));
    rows->setHeight(18 * 4);
}

QPoint cellCentre(const TValueListEditor &editor, int row, int column)
{
    return editor.visualRect(editor.model()->index(row, column)).center();
}

// A double click on a value cell as the window system delivers it: press and release,
// then the double-click event (QTest sends only the latter).
void doubleClick(TValueListEditor &editor, int row)
{
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, cellCentre(editor, row, 1));
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, {}, cellCentre(editor, row, 1));
}

// Types into whatever has the focus, as a user would.
void typeText(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

bool activate(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace

class TestProfileEditors : public QObject
{
    Q_OBJECT

    std::unique_ptr<TMainForm> create(const QString &appDir)
    {
        return std::unique_ptr<TMainForm>(CreateWindows(appDir, {}).MainForm);
    }
    // A main window whose chooser holds the given profiles; the one named first is loaded.
    std::unique_ptr<TMainForm> createWithProfiles(const QTemporaryDir &dir, const QList<QPair<QString, QByteArray>> &profiles)
    {
        const QString appDir = TestUtil::makeAppDir(dir, false);
        for (const auto &p : profiles)
            writeFile(appDir + "Profiles/" + p.first + ".apf", p.second);
        auto form = create(appDir);
        if (!profiles.isEmpty()) {
            form->cmbProfile->setCurrentText(profiles.first().first);
            form->cmbProfileChange();
        }
        return form;
    }

private Q_SLOTS:
    void geometry()
    {
        TValueListEditor editor;
        fillFixture(editor);
        editor.resize(200, 72);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.height(), 72);
        QCOMPARE(editor.rowHeight(0), 18);
        QCOMPARE(editor.columnWidth(0), 95);
        QCOMPARE(editor.columnWidth(1), 105);
        editor.setKeyColumnWidth(160);
        QCOMPARE(editor.columnWidth(0), 160);
        QCOMPARE(editor.columnWidth(1), 40);
        // The key column is never current: a click on a key selects that row's value.
        QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, cellCentre(editor, 2, 0));
        QCOMPARE(editor.currentIndex(), editor.model()->index(2, 1));
        QCOMPARE(editor.rows()->currentRow(), 2);
        QTest::keyClick(&editor, Qt::Key_Left);
        QCOMPARE(editor.currentIndex().column(), 1);
        // Rows addressed by key without regard to case, the first answering.
        QCOMPARE(editor.value(QStringLiteral("FIXED")), QStringLiteral("ro"));
    }

    void userEdits_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("start");   // value set by the program first ("" keeps the fixture's)
        QTest::addColumn<QString>("action");  // set:v, dclick, type:text, choose:n, dismiss
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("commits");     // valueCommitted signals

        QTest::newRow("pick: a value not in the list is refused") << 0 << "" << "set:zzz" << "a" << 0;
        QTest::newRow("pick: an item is taken") << 0 << "" << "set:c" << "c" << 0;
        QTest::newRow("pick: double click steps") << 0 << "" << "dclick" << "b" << 1;
        QTest::newRow("pick: double click wraps") << 0 << "c" << "dclick" << "a" << 1;
        QTest::newRow("pick: step matches without case") << 0 << "B" << "dclick" << "c" << 1;
        QTest::newRow("pick: unknown value steps to the first") << 3 << "" << "dclick" << "a" << 1;
        QTest::newRow("pick: typing changes nothing") << 0 << "" << "type:b" << "a" << 0;
        QTest::newRow("pick: chosen from the drop-down") << 0 << "" << "choose:2" << "c" << 1;
        QTest::newRow("pick: drop-down dismissed") << 0 << "" << "dismiss" << "a" << 0;
        QTest::newRow("read-only plain: set refused") << 1 << "" << "set:x" << "ro" << 0;
        QTest::newRow("read-only plain: double click") << 1 << "" << "dclick" << "ro" << 0;
        QTest::newRow("read-only plain: typing") << 1 << "" << "type:xy" << "ro" << 0;
        QTest::newRow("editable plain: typed text") << 2 << "" << "type:hello" << "hello" << 1;
        QTest::newRow("editable plain: set") << 2 << "" << "set:x y" << "x y" << 0;
    }
    void userEdits()
    {
        QFETCH(int, row);
        QFETCH(QString, start);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        QFETCH(int, commits);
        TValueListEditor editor;
        fillFixture(editor);
        editor.resize(200, 72);
        QVERIFY(activate(&editor));
        if (!start.isEmpty())
            editor.rows()->setValueAt(row, start);
        QSignalSpy committed(&editor, &TValueListEditor::valueCommitted);
        const QModelIndex cell = editor.model()->index(row, 1);
        if (action.startsWith(QLatin1String("set:"))) {
            editor.model()->setData(cell, action.mid(4), Qt::EditRole);
        } else if (action == QLatin1String("dclick")) {
            doubleClick(editor, row);
            // A double click never leaves a text editor open on a row that cannot take text.
            if (row != 2)
                QVERIFY(!qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        } else if (action.startsWith(QLatin1String("type:"))) {
            editor.setCurrentIndex(cell);
            typeText(action.mid(5));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();  // the cell is committed right after the key
        } else {
            editor.setCurrentIndex(cell);
            QTest::keyClick(&editor, Qt::Key_F2);
            auto *combo = qobject_cast<QComboBox *>(editor.indexWidget(cell));
            QVERIFY(combo);
            QTRY_VERIFY(combo->view()->isVisible());
            if (action == QLatin1String("dismiss")) {
                QTest::keyClick(combo->view(), Qt::Key_Escape);
            } else {
                for (int i = 0; i < action.mid(7).toInt(); ++i)
                    QTest::keyClick(combo->view(), Qt::Key_Down);
                QTest::keyClick(combo->view(), Qt::Key_Return);
            }
            QTRY_VERIFY(!editor.indexWidget(cell));
        }
        QCOMPARE(editor.rows()->row(row).value, expected);
        QCOMPARE(committed.count(), commits);
        if (commits)
            QCOMPARE(committed.first().first().toInt(), row);
    }

    // The drop-down button of a pick-list cell opens its list on a click.
    void dropDownButton()
    {
        TValueListEditor editor;
        fillFixture(editor);
        editor.resize(200, 72);
        QVERIFY(activate(&editor));
        const QRect cell = editor.visualRect(editor.model()->index(0, 1));
        QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 4, cell.center().y()));
        auto *combo = qobject_cast<QComboBox *>(editor.indexWidget(editor.model()->index(0, 1)));
        QVERIFY(combo);
        QTRY_VERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_Down);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QTRY_COMPARE(editor.value(QStringLiteral("Pick")), QStringLiteral("b"));
    }

    void drawing()
    {
        QWidget window;
        auto *first = new TValueListEditor(&window);
        auto *second = new TValueListEditor(&window);
        fillFixture(*first);
        fillFixture(*second);
        first->setGeometry(0, 0, 200, 72);
        second->setGeometry(0, 80, 200, 72);
        QVERIFY(activate(&window));
        const QColor base = first->palette().color(QPalette::Base);
        const auto image = [](TValueListEditor *e) { return e->viewport()->grab().toImage(); };
        const auto rect = [](TValueListEditor *e, int row, int column) {
            return e->visualRect(e->model()->index(row, column)).adjusted(0, 0, -1, -1);
        };
        // The darkest pixel of a cell's text, by grey level.
        const auto darkest = [](const QImage &img, const QRect &r) {
            int level = 255;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    level = std::min(level, qGray(img.pixel(x, y)));
            return level;
        };

        // Clicking the first editor: its current row's key is blue, the value cell is not
        // highlighted; a read-only plain value is grey, a pick-list value is not.
        QTest::mouseClick(first->viewport(), Qt::LeftButton, {}, cellCentre(*first, 2, 1));
        QCOMPARE(first->currentIndex().row(), 2);
        QImage img = image(first);
        QCOMPARE(QColor(img.pixel(rect(first, 2, 0).topLeft() + QPoint(1, 1))), QColor(TValueListEditor::CurrentKeyBlue));
        QCOMPARE(QColor(img.pixel(rect(first, 2, 1).bottomRight() - QPoint(1, 1))), base);
        QCOMPARE(QColor(img.pixel(rect(first, 1, 0).topLeft() + QPoint(1, 1))), base);
        QCOMPARE(darkest(img, rect(first, 1, 1)), qGray(TValueListEditor::GreyText));
        QVERIFY(darkest(img, rect(first, 0, 1)) < 100);
        QVERIFY(darkest(img, rect(first, 2, 1)) < 100);
        // The second editor, without the focus, shows no blue key and no highlight.
        img = image(second);
        QCOMPARE(QColor(img.pixel(rect(second, 0, 0).topLeft() + QPoint(1, 1))), base);
        QCOMPARE(QColor(img.pixel(rect(second, 0, 1).topLeft() + QPoint(1, 1))), base);

        // A press in the second editor moves the blue key there.
        QTest::mouseClick(second->viewport(), Qt::LeftButton, {}, cellCentre(*second, 1, 0));
        QCOMPARE(QColor(image(first).pixel(rect(first, 2, 0).topLeft() + QPoint(1, 1))), base);
        img = image(second);
        QCOMPARE(QColor(img.pixel(rect(second, 1, 0).topLeft() + QPoint(1, 1))), QColor(TValueListEditor::CurrentKeyBlue));
        // The current read-only value stays grey on the window colour.
        QCOMPARE(darkest(img, rect(second, 1, 1)), qGray(TValueListEditor::GreyText));
        QCOMPARE(QColor(img.pixel(rect(second, 1, 1).bottomRight() - QPoint(1, 1))), base);
    }

    void mainWindowProfiles()
    {
        QTemporaryDir dir;
        auto form = createWithProfiles(
            dir, {{"Example", Example},
                  {"Empty", "[Main]\r\nType=mkv\r\nPara=0\r\n"},
                  {"Broken", "[Main]\r\nPara=2\r\n0=A\r\n1=B\r\n[A]\r\nSort=2\r\nList=0\r\nCaption=kept\r\n"
                             "[B]\r\nSort=3\r\nCaption=x,\r\nIndex=4\r\n"}});
        QCOMPARE(form->OutputExt, QStringLiteral(".avi"));
        QCOMPARE(dump(*form->vleVideo->rows()),
                 QStringLiteral("Video Size=Original Size ro {Original Size|320x240|Custom Size}"));
        QCOMPARE(dump(*form->vleAudio->rows()), QStringLiteral("Disable Audio=No ro {No|Yes}"));
        QCOMPARE(dump(*form->vleAdvanced->rows()), QStringLiteral("Bit Exact Algorithms=Yes ro"));
        for (TValueListEditor *e : {form->vleVideo, form->vleAudio, form->vleAdvanced}) {
            QCOMPARE(e->height(), 18);
            QCOMPARE(e->model()->rowCount(), 1);
        }
        QCOMPARE(form->vleOutput->height(), 54);
        QVERIFY(!form->SizeForm->isVisible());

        // An empty profile: one empty row in each editor, 18 high.
        form->cmbProfile->setCurrentText(QStringLiteral("Empty"));
        form->cmbProfileChange();
        QCOMPARE(form->OutputExt, QStringLiteral(".mkv"));
        for (TValueListEditor *e : {form->vleVideo, form->vleAudio, form->vleAdvanced}) {
            QCOMPARE(e->rows()->rowCount(), 0);
            QCOMPARE(e->model()->rowCount(), 1);
            QCOMPARE(e->height(), 18);
        }

        // A profile whose file has gone changes nothing.
        QFile::remove(form->AppDir + "Profiles/Example.apf");
        form->cmbProfile->setCurrentText(QStringLiteral("Example"));
        form->cmbProfileChange();
        QCOMPARE(form->vleVideo->rows()->rowCount(), 0);
        QCOMPARE(form->OutputExt, QStringLiteral(".mkv"));

        // A bad Index reaches the caller as the list-index error; the rows made so far stay.
        form->cmbProfile->setCurrentText(QStringLiteral("Broken"));
        try {
            form->cmbProfileChange();
            QFAIL("no error");
        } catch (const ListIndexError &e) {
            QCOMPARE(e.text(), QStringLiteral("List index out of bounds (4)"));
        }
        QCOMPARE(dump(*form->vleAudio->rows()), QStringLiteral("A=kept"));
        QCOMPARE(dump(*form->vleAdvanced->rows()), QStringLiteral("B= {x}"));
        QCOMPARE(form->vleAudio->height(), 18);
        QCOMPARE(form->OutputExt, QStringLiteral(".mp4"));
    }

    void shippedProfileInMainWindow()
    {
        QTemporaryDir dir;
        const QString appDir = TestUtil::makeAppDir(dir, true);
        auto form = create(appDir);
        QVERIFY(form->cmbProfile->count() >= 11);
        form->cmbProfile->setCurrentText(QStringLiteral("MP4 - H.264 Video + AAC Audio"));
        QCOMPARE(form->cmbProfile->currentIndex() >= 0, true);
        form->cmbProfileChange();
        QCOMPARE(form->OutputExt, QStringLiteral(".mp4"));
        const auto keys = [](TValueListEditor *e) {
            QStringList k;
            for (const EditorRows::Row &r : e->rows()->rows())
                k << r.key;
            return k;
        };
        QCOMPARE(keys(form->vleVideo), (QStringList{"Video Codec", "Video Size", "Bit Rate", "Frame Rate", "Aspect",
                                                   "Disable Video"}));
        QCOMPARE(keys(form->vleAudio), (QStringList{"Audio Codec", "Audio Bitrate", "Sample Rate", "Channels", "Volumn",
                                                   "Disable Audio"}));
        QCOMPARE(keys(form->vleAdvanced).mid(0, 2), (QStringList{"Bit Exact Algorithms", "Deinterlace"}));
        QCOMPARE(form->vleVideo->height(), 6 * 18);
        QCOMPARE(form->vleAdvanced->height(), 18 * form->vleAdvanced->rows()->rowCount());
        QCOMPARE(form->vleVideo->value(QStringLiteral("Video Size")), QStringLiteral("Original Size"));
        QVERIFY(form->vleVideo->rows()->pickItems(QStringLiteral("Video Size")).contains(QStringLiteral("Custom Size")));
    }

    void customSizeOpens_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("opens");
        const QByteArray codecFirst = QByteArray(Example)
                                          .replace("Para=3\r\n0=Video Size\r\n1=Disable Audio\r\n2=Bit Exact Algorithms",
                                                   "Para=2\r\n0=Video Codec\r\n1=Video Size")
                                          .append("[Video Codec]\r\nSort=1\r\nCaption=x,\r\n");
        QTest::newRow("program sets it on the current row") << Example << "set" << true;
        QTest::newRow("double click steps onto it") << Example << "dclick" << true;
        QTest::newRow("current row is another") << codecFirst << "set" << false;
        QTest::newRow("in the audio editor")
            << QByteArray(Example).replace("[Video Size]\r\nSort=1", "[Video Size]\r\nSort=2") << "set" << false;
        QTest::newRow("key in other letter case")
            << QByteArray(Example).replace("Video Size", "video size") << "set" << false;
        QTest::newRow("loaded with it chosen")
            << QByteArray(Example).replace("Value=,320x240,,\r\nIndex=0", "Value=,320x240,,\r\nIndex=2") << "" << true;
    }
    void customSizeOpens()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, action);
        QFETCH(bool, opens);
        QTemporaryDir dir;
        auto form = createWithProfiles(dir, {{"P", file}});
        TValueListEditor *editor = form->vleAudio->rows()->findRow(QStringLiteral("Video Size")) >= 0 ? form->vleAudio
                                                                                                   : form->vleVideo;
        if (action == QLatin1String("set")) {
            editor->setValue(QStringLiteral("Video Size"), QStringLiteral("Custom Size"));
        } else if (action == QLatin1String("dclick")) {
            QVERIFY(activate(form.get()));
            editor->setValue(QStringLiteral("Video Size"), QStringLiteral("320x240"));
            QVERIFY(!form->SizeForm->isVisible());
            doubleClick(*editor, 0);
        }
        QCOMPARE(form->SizeForm->isVisible(), opens);
        QCOMPARE(form->isEnabled(), !opens);
        if (opens) {
            QVERIFY(form->SizeForm->isEnabled());
            form->SizeForm->close();
        }
    }

    void sizeDialog_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("action");   // ok, cancel, close, escape
        QTest::addColumn<QString>("message");  // caption|text of the message, if any
        QTest::addColumn<QString>("value");    // the row afterwards
        const QString badWidth = QStringLiteral("Incorrect Width|Please specify a proper width for output videos.");
        const QString badHeight = QStringLiteral("Incorrect Height|Please specify a proper height for output videos.");
        QTest::newRow("ok") << "640" << "480" << "ok" << "" << "640x480";
        QTest::newRow("texts kept as typed") << " 640" << "480" << "ok" << "" << " 640x480";
        QTest::newRow("no range check, hexadecimal") << "$280" << "-5" << "ok" << "" << "$280x-5";
        QTest::newRow("bad width") << "abc" << "480" << "ok" << badWidth << "Custom Size";
        QTest::newRow("empty width") << "" << "480" << "ok" << badWidth << "Custom Size";
        QTest::newRow("bad height") << "640" << "48 0" << "ok" << badHeight << "Custom Size";
        QTest::newRow("width reported first") << "x" << "y" << "ok" << badWidth << "Custom Size";
        QTest::newRow("cancel") << "640" << "480" << "cancel" << "" << "Original Size";
        QTest::newRow("title bar close") << "640" << "480" << "close" << "" << "Original Size";
        QTest::newRow("escape") << "640" << "480" << "escape" << "" << "Original Size";
    }
    void sizeDialog()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, action);
        QFETCH(QString, message);
        QFETCH(QString, value);
        QTemporaryDir dir;
        // No "Original Size" among the captions: a cancel still writes it.
        auto form = createWithProfiles(
            dir, {{"P", QByteArray(Example).replace("Original Size,320x240", "320x240").replace("Value=,320x240,,", "Value=320x240,,")}});
        TSizeForm *size = form->SizeForm;
        QVERIFY(activate(form.get()));
        form->vleVideo->setValue(QStringLiteral("Video Size"), QStringLiteral("Custom Size"));
        QVERIFY(size->isVisible());
        QVERIFY(!form->isEnabled());
        QCOMPARE(size->windowTitle(), QStringLiteral("Video Size of output files"));
        QCOMPARE(size->size(), QSize(336, 106));
        size->edtWidth->setText(width);
        size->edtHeight->setText(height);

        QString seen;
        QTimer watcher;
        watcher.setInterval(20);
        connect(&watcher, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = box->windowTitle() + QLatin1Char('|') + box->text();
                QCOMPARE(box->icon(), QMessageBox::Information);
                box->button(QMessageBox::Ok)->click();
            }
        });
        watcher.start();
        if (action == QLatin1String("ok"))
            size->btnOK->click();
        else if (action == QLatin1String("cancel"))
            size->btnCancel->click();
        else if (action == QLatin1String("close"))
            size->close();
        else
            QTest::keyClick(size, Qt::Key_Escape);
        watcher.stop();

        QCOMPARE(seen, message);
        QCOMPARE(form->vleVideo->value(QStringLiteral("Video Size")), value);
        QCOMPARE(size->isVisible(), !message.isEmpty());
        QCOMPARE(form->isEnabled(), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(size->focusWidget(), message.contains(QLatin1String("Width")) ? size->edtWidth : size->edtHeight);
            size->btnCancel->click();
            QCOMPARE(form->vleVideo->value(QStringLiteral("Video Size")), QStringLiteral("Original Size"));
            QVERIFY(form->isEnabled());
        }
        // The texts stay for the next showing.
        QCOMPARE(size->edtWidth->text(), width);
    }
};

QTEST_MAIN(TestProfileEditors)
#include "tst_profileeditors.moc"
