#pragma once
// What orvelle-cli writes: lines on standard output, messages on standard error, and on
// a terminal one progress line that is redrawn in place.
#include <QString>

namespace CliConsole {
// True when standard output is a terminal.
bool outputIsTerminal();
// One line on standard output.
void line(const QString &text);
// Text on standard output as it stands (no line end added).
void write(const QString &text);
// "orvelle-cli: " + text on standard error.
void message(const QString &text);
// Draws the progress line (terminal only), replacing the one shown.
void showProgress(const QString &text);
// Removes the progress line shown, if any.
void clearProgress();
}  // namespace CliConsole
