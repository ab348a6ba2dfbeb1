// Time texts and seconds, both ways.
#include "tasks/timevalues.h"

#include <QtTest>

class TestTimeValues : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void timeToSeconds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        const QList<QPair<const char *, double>> cases = {
            {"00:01:23.45", 83.45}, {"1:2:3", 3723},   {"00:90:00", 5400}, {"00:00:75", 75},
            {"-1:00:00", -3600},    {"00:00:5.", 5},   {"00:00:00.0", 0},  {"$1:00:00", 3600},
            {"", -1},               {"00:01", -1},     {"01:02:03:04", -1}, {"00:00:.5", -1},
            {"aa:00:00", -1},       {"00:00:1,5", -1}, {"00:00:5 xy", -1}, {"00:00:5 ", 5},
            {"596524:00:00", -1},   {"00:00:1e1", 10},
        };
        for (const auto &c : cases)
            QTest::newRow(c.first) << QString::fromLatin1(c.first) << c.second;
    }
    void timeToSeconds()
    {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QCOMPARE(TimeToSeconds(text), seconds);
    }

    void secondsToTime_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        const QList<QPair<double, const char *>> cases = {
            {0, "00:00:00"},       {83.45, "00:01:23.5"}, {3600, "01:00:00"}, {360000, "100:00:00"},
            {10.25, "00:00:10.2"}, {5.04, "00:00:05"},    {-1, "00:00:-01"},  {59.96, "00:01:00"},
            {3599.97, "01:00:00"}, {0.96, "00:00:01"},    {80, "00:01:20"},
        };
        for (const auto &c : cases)
            QTest::newRow(c.second) << c.first << QString::fromLatin1(c.second);
    }
    void secondsToTime()
    {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(SecondsToTime(seconds), text);
    }

    void roundTripKeepsTenths()
    {
        // A time written and read back gives the same seconds to a tenth.
        for (int i = 0; i < 20000; ++i) {
            const double x = i * 0.37;
            QVERIFY2(qAbs(TimeToSeconds(SecondsToTime(x)) - x) <= 0.05 + 1e-9, qPrintable(SecondsToTime(x)));
        }
    }
};

QTEST_GUILESS_MAIN(TestTimeValues)
#include "tst_timevalues.moc"
