#include "shell/ui/folderpicker.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QToolTip>
#include <QCursor>

bool BrowseForFolder(QWidget *owner, const QString &title, const QString &root, QString &folder)
{
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        folder.clear();
    const QString start = !folder.isEmpty() ? folder : root;
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}

void ShowBalloonTip(QWidget *window, int, const QString &title, const QString &text)
{
    if (!window)
        return;
    QToolTip::showText(QCursor::pos(), QStringLiteral("<b>%1</b><br>%2").arg(title.toHtmlEscaped(), text.toHtmlEscaped()),
                       window);
}
