// An error that no handler catches is shown in a message box, and the program goes on.
#include "app/ui/application.h"
#include "shell/apperror.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestErrors : public QObject
{
    Q_OBJECT

    // Closes the next message box and returns its text through *seen.
    static void answerNextBox(QString *seen)
    {
        QTimer::singleShot(0, [seen] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
                    *seen = box->text();
                    box->accept();
                    return;
                }
            }
            answerNextBox(seen);
        });
    }

private Q_SLOTS:
    void uncaughtErrorIsShownAndTheProgramGoesOn()
    {
        QPushButton button;
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            throw ListIndexError(3);
        });
        button.show();
        QString seen;
        answerNextBox(&seen);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(seen, QStringLiteral("List index out of bounds (3)"));
        // Still alive and still answering.
        seen.clear();
        answerNextBox(&seen);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(seen, QStringLiteral("List index out of bounds (3)"));
    }

    void reportErrorsTellsWhetherTheActionRanThrough()
    {
        QString seen;
        answerNextBox(&seen);
        QVERIFY(!ReportErrors([] { throw std::runtime_error("disk full"); }));
        QCOMPARE(seen, QStringLiteral("disk full"));
        QVERIFY(ReportErrors([] {}));
    }
};

int main(int argc, char **argv)
{
    OrvelleApplication app(argc, argv);
    TestErrors test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errors.moc"
