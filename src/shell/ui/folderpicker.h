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

// A balloon with a title line (after the icon) and a tip line, pointing at the mouse
// pointer when it is over the window, else at the window's lower middle. Clicks fall
// through it; it goes when the mouse leaves the window, when the window hides or after
// a few seconds. A new balloon over the same window replaces the previous one.
// Returns the balloon (a child of window, named "BalloonTip"), or nullptr without a window.
QWidget *ShowBalloonTip(QWidget *window, int icon, const QString &title, const QString &text);
