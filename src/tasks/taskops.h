#pragma once
// Task-list operations that need no window: adding files, folders, command-line and
// dropped paths as probed tasks; removing and moving the selected rows; checking a
// task's output options. The window and the command-line tool share them.
#include "conversion/probe.h"
#include "tasks/tasklist.h"

#include <QString>
#include <QStringList>
#include <functional>

// The record of a task added now: the path, the probe's results, status "OK", the new
// name (the file name without its extension) and the output extension of this moment.
ltvItemData NewTaskRecord(const QString &path, const ProbeResults &probe, const QString &outputExt);

// The names of the files to add from a folder: regular, non-hidden files directly inside
// it whose names match one of the mask's patterns ("*.avi;*.mpg;..."), letter case
// ignored, sorted by name with letter case ignored. Empty when the folder cannot be listed.
QStringList FolderTaskFiles(const QString &folder, const QString &folderMask);

// The order in which files chosen in the open dialog are added: the second to the last
// in the dialog's order, then the first.
QStringList DialogAddOrder(const QStringList &chosen);

// Adds tasks to a list, probing each new file.
class TaskAdder
{
public:
    using Prober = std::function<ProbeResults(const QString &path)>;

    TaskAdder(TaskList &list, Prober probe);

    // The output extension a new task takes, asked for each task as it is added.
    std::function<QString()> outputExt;
    // Runs before each file of a folder (the window lets pending events run here);
    // returning false ends the folder add.
    std::function<bool()> beforeFolderFile;
    QStringList inputExts;  // supported extensions, lower case with the dot
    QString folderMask;     // "*" + extension + ";" for each of them

    // Adds one task unless a row's source path equals path exactly (letter case
    // counts). True when a row was added.
    bool addFile(const QString &path);
    // Adds the files FolderTaskFiles gives, in its order. Returns the rows added.
    int addFolder(const QString &folder);
    // The command line's paths: an existing file with a supported extension becomes a
    // task, an existing folder adds its files, anything else is skipped (and collected
    // in *skipped when given).
    int addCommandLine(const QStringList &paths, QStringList *skipped = nullptr);
    // Dropped paths: a folder adds its files, a path with a supported extension is added.
    int addDropped(const QStringList &paths);

private:
    TaskList &m_list;
    Prober m_probe;
};

// Removes the selected rows. Returns the number removed.
int RemoveSelectedTasks(TaskList &list);
// Moves each selected row one place up (down), swapping all cells with its neighbour
// and carrying the selection along; a selected first (last) row stays. False when no
// row is selected.
bool MoveSelectedTasksUp(TaskList &list);
bool MoveSelectedTasksDown(TaskList &list);
// Swaps the contents (all eleven cells) of two rows.
void SwapTaskRows(TaskList &list, int a, int b);

// The output options editor's three texts checked against a task.
struct OutputOptionsCheck
{
    ltvItemData record;        // NewName, NewExt, StartTime, EndTime and ClipLength updated
    bool startRefused = false;  // the start text was not a time or broke a rule: start kept
    bool endRefused = false;    // likewise for the end
};

// NewName and NewExt come from newFilename; the start is taken when 0 <= start < end and
// start < the end of the file, the end when end > 0, end > start and end > the start of
// the file; a text that is not a time keeps the task's own value. ClipLength is end - start.
// Where the task's own value is needed but is itself not a time (a file of unknown
// length), its text stays as it is, and so does ClipLength.
OutputOptionsCheck CheckOutputOptions(const ltvItemData &task, const QString &newFilename,
                                      const QString &startText, const QString &endText);

// Checks the three texts against task row of the list as CheckOutputOptions does and
// writes the outcome into the row (NewName, NewExt, ClipLength, StartTime, EndTime).
OutputOptionsCheck ApplyOutputOptions(TaskList &list, int row, const QString &newFilename, const QString &startText,
                                      const QString &endText);
