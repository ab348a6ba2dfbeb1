#pragma once
// The folder picker and balloon tips.
#include <QString>

class QWidget;

// A modal folder chooser owned by owner. On a true result, folder holds the chosen
// folder's path (no trailing separator except for the root). A preselected folder
// that does not exist is emptied first. root, when not empty, is where the tree starts.
bool BrowseForFolder(QWidget *owner, const QString &title, const QString &root, QString &folder);

// Icon codes of ShowBalloonTip.
enum BalloonIcon { BalloonNone = 0, BalloonInfo = 1, BalloonWarning = 2, BalloonError = 3 };

// A balloon with a title line and a tip line over the window.
void ShowBalloonTip(QWidget *window, int icon, const QString &title, const QString &text);
