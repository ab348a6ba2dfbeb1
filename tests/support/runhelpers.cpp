#include "runhelpers.h"

#include "tasks/timevalues.h"
#include "testutil.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace RunHelpers {

QString probeDurationText(const QString &file)
{
    const double secs = TestUtil::probeEntry(file, QStringLiteral("format"), QStringLiteral("duration")).toDouble();
    const long long cs = std::llround(secs * 100);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(cs / 360000, 2, 10, QLatin1Char('0'))
        .arg(cs / 6000 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs % 100, 2, 10, QLatin1Char('0'));
}

int addTask(TaskList &tasks, const QString &source, const QString &duration, const QString &newExt)
{
    ltvItemData r;
    r.SourceFile = source;
    r.Duration = duration;
    r.FrameSize = QStringLiteral(" 160x120");
    r.Status = QStringLiteral("OK");
    r.NewName = StripExtension(QFileInfo(source).fileName());
    r.NewExt = newExt;
    r.FullStart = r.StartTime = QStringLiteral("00:00:00.0");
    r.FullEnd = r.EndTime = r.ClipLength = duration;
    const int row = tasks.appendRow(source);
    tasks.WriteTaskRow(row, ColAll, r);
    return row;
}

void setCut(TaskList &tasks, int row, const QString &start, const QString &clipLength)
{
    ltvItemData r;
    tasks.ReadTaskRow(row, ColAll, r);
    r.StartTime = start;
    r.ClipLength = clipLength;
    r.EndTime = SecondsToTime(TimeToSeconds(start) + TimeToSeconds(clipLength));
    tasks.WriteTaskRow(row, ColAll, r);
}

QStringList statuses(const TaskList &tasks)
{
    QStringList s;
    for (int i = 0; i < tasks.count(); ++i)
        s.append(tasks.cell(i, 2));
    return s;
}

QString fakeEncoderPath() { return QStringLiteral(ORVELLE_TESTS_BIN) + QStringLiteral("fakeencoder"); }

QString writeScript(const QString &path, const QByteArray &body)
{
    TestUtil::writeFile(path, body);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                               | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    return path;
}

}  // namespace RunHelpers
