#pragma once
// Helpers of the run tests: tasks put into the list directly, as the task list adds them.
#include "tasks/tasklist.h"

#include <QString>
#include <QStringList>

namespace RunHelpers {
// The media duration as the encoder prints it ("00:00:03.02"), read with ffprobe.
QString probeDurationText(const QString &file);
// Appends a task for source: status "OK", NewName from the file name, NewExt, and the
// whole file as its part to convert. Returns the row.
int addTask(TaskList &tasks, const QString &source, const QString &duration, const QString &newExt);
// Cuts a task: start time and clip length as time texts.
void setCut(TaskList &tasks, int row, const QString &start, const QString &clipLength);
QStringList statuses(const TaskList &tasks);
// The fake encoder of tests/tools.
QString fakeEncoderPath();
// Writes an executable shell script.
QString writeScript(const QString &path, const QByteArray &body);
}  // namespace RunHelpers
