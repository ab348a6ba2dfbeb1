#include "tasks/taskops.h"

#include "shell/startup.h"
#include "tasks/timevalues.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

ltvItemData NewTaskRecord(const QString &path, const ProbeResults &probe, const QString &outputExt)
{
    ltvItemData r;
    r.SourceFile = path;
    r.Duration = probe.Duration;
    r.FrameSize = probe.FrameSize;
    r.Status = QStringLiteral("OK");
    r.NewName = StripExtension(ExtractFileName(path));
    r.NewExt = outputExt;
    r.FullStart = probe.Start;
    r.FullEnd = probe.End;
    r.ClipLength = probe.Duration;
    r.StartTime = probe.Start;
    r.EndTime = probe.End;
    return r;
}

QStringList FolderTaskFiles(const QString &folder, const QString &folderMask)
{
    const QStringList patterns = folderMask.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (folder.isEmpty() || patterns.isEmpty())
        return {};
    // Without QDir::CaseSensitive the name filters ignore letter case; without
    // QDir::Hidden and QDir::System hidden and special files are left out.
    QStringList names = QDir(folder).entryList(patterns, QDir::Files, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QStringList DialogAddOrder(const QStringList &chosen)
{
    if (chosen.isEmpty())
        return {};
    QStringList order = chosen.mid(1);
    order.append(chosen.first());
    return order;
}

TaskAdder::TaskAdder(TaskList &list, Prober probe)
    : inputExts(DefaultInputExts()), folderMask(BuildFolderMask(inputExts)), m_list(list), m_probe(std::move(probe))
{
}

bool TaskAdder::addFile(const QString &path)
{
    for (int row = 0; row < m_list.count(); ++row) {
        if (m_list.cell(row, ColCaption) == path)
            return false;
    }
    const int row = m_list.appendRow(path);
    const ProbeResults probe = m_probe ? m_probe(path) : ProbeResults();
    m_list.WriteTaskRow(row, ColAll, NewTaskRecord(path, probe, outputExt ? outputExt() : QString()));
    return true;
}

int TaskAdder::addFolder(const QString &folder)
{
    int added = 0;
    const QString dir = AddTrailingBackslash(folder);
    for (const QString &name : FolderTaskFiles(folder, folderMask)) {
        if (beforeFolderFile && !beforeFolderFile())
            break;
        if (addFile(dir + name))
            ++added;
    }
    return added;
}

int TaskAdder::addCommandLine(const QStringList &paths, QStringList *skipped)
{
    int added = 0;
    for (const QString &p : paths) {
        const QFileInfo info(p);
        if (!p.isEmpty() && info.exists() && !info.isDir()) {
            if (HasSupportedExt(p, inputExts)) {
                added += addFile(p) ? 1 : 0;
                continue;
            }
        } else if (!p.isEmpty() && info.isDir()) {
            added += addFolder(p);
            continue;
        }
        if (skipped)
            skipped->append(p);
    }
    return added;
}

int TaskAdder::addDropped(const QStringList &paths)
{
    int added = 0;
    for (const QString &p : paths) {
        if (!p.isEmpty() && QFileInfo(p).isDir())
            added += addFolder(p);
        else if (HasSupportedExt(p, inputExts))
            added += addFile(p) ? 1 : 0;
    }
    return added;
}

int RemoveSelectedTasks(TaskList &list)
{
    int removed = 0;
    for (int row = list.count() - 1; row >= 0; --row) {
        if (list.isSelected(row)) {
            list.removeRow(row);
            ++removed;
        }
    }
    return removed;
}

void SwapTaskRows(TaskList &list, int a, int b)
{
    ltvItemData ra, rb;
    list.ReadTaskRow(a, ColAll, ra);
    list.ReadTaskRow(b, ColAll, rb);
    list.WriteTaskRow(a, ColAll, rb);
    list.WriteTaskRow(b, ColAll, ra);
}

bool MoveSelectedTasksUp(TaskList &list)
{
    if (list.firstSelectedRow() < 0)
        return false;
    for (int i = 1; i < list.count(); ++i) {
        if (list.isSelected(i)) {
            SwapTaskRows(list, i, i - 1);
            list.setSelected(i - 1, true);
            list.setSelected(i, false);
        }
    }
    return true;
}

bool MoveSelectedTasksDown(TaskList &list)
{
    if (list.firstSelectedRow() < 0)
        return false;
    for (int i = list.count() - 2; i >= 0; --i) {
        if (list.isSelected(i)) {
            SwapTaskRows(list, i, i + 1);
            list.setSelected(i + 1, true);
            list.setSelected(i, false);
        }
    }
    return true;
}

OutputOptionsCheck CheckOutputOptions(const ltvItemData &task, const QString &newFilename, const QString &startText,
                                      const QString &endText)
{
    OutputOptionsCheck out;
    ltvItemData &r = out.record;
    r = task;
    r.NewName = StripExtension(newFilename);
    r.NewExt = ExtractFileExt(newFilename);

    double start = TimeToSeconds(startText);
    double end = TimeToSeconds(endText);
    if (start == -1) {
        start = task.StartSecs;
        out.startRefused = true;
    }
    if (end == -1) {
        end = task.EndSecs;
        out.endRefused = true;
    }
    if (start < 0 || start >= end || start >= task.FullEndSecs) {
        start = task.StartSecs;
        out.startRefused = true;
    }
    if (end <= 0 || end <= start || end <= task.FullStartSecs) {
        end = task.EndSecs;
        out.endRefused = true;
    }
    // A task whose own time is not a time (the encoder could not tell the file's length)
    // keeps that text when it falls back to it, rather than a made-up "00:00:-01".
    const bool startKnown = !(out.startRefused && TimeToSeconds(task.StartTime) == -1);
    const bool endKnown = !(out.endRefused && TimeToSeconds(task.EndTime) == -1);
    r.StartTime = startKnown ? SecondsToTime(start) : task.StartTime;
    r.EndTime = endKnown ? SecondsToTime(end) : task.EndTime;
    r.ClipLength = startKnown && endKnown ? SecondsToTime(end - start) : task.ClipLength;
    r.StartSecs = TimeToSeconds(r.StartTime);
    r.EndSecs = TimeToSeconds(r.EndTime);
    r.ClipLengthSecs = TimeToSeconds(r.ClipLength);
    return out;
}

OutputOptionsCheck ApplyOutputOptions(TaskList &list, int row, const QString &newFilename, const QString &startText,
                                      const QString &endText)
{
    ltvItemData r;
    list.ReadTaskRow(row, ColAll, r);
    const OutputOptionsCheck check = CheckOutputOptions(r, newFilename, startText, endText);
    for (int code : {3, 4, 7, 8, 9})
        list.WriteTaskRow(row, code, check.record);
    return check;
}
