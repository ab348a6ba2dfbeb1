#include "app/cli/cliconsole.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {
int g_progressWidth = 0;  // characters of the progress line shown; 0 when none

void put(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}
}  // namespace

namespace CliConsole {

bool outputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

void clearProgress()
{
    if (g_progressWidth == 0)
        return;
    put(stdout, QLatin1Char('\r') + QString(g_progressWidth, QLatin1Char(' ')) + QLatin1Char('\r'));
    g_progressWidth = 0;
}

void line(const QString &text)
{
    clearProgress();
    put(stdout, text + QLatin1Char('\n'));
}

void write(const QString &text)
{
    clearProgress();
    put(stdout, text);
}

void message(const QString &text)
{
    clearProgress();
    put(stderr, QStringLiteral("orvelle-cli: ") + text + QLatin1Char('\n'));
}

void showProgress(const QString &text)
{
    static QString shownText;
    if (g_progressWidth > 0 && text == shownText)
        return;
    shownText = text;
    // Padded to the width of the line it replaces, so nothing of that one stays visible.
    QString shown = QLatin1Char('\r') + text;
    if (text.size() < g_progressWidth)
        shown += QString(g_progressWidth - text.size(), QLatin1Char(' '));
    put(stdout, shown);
    g_progressWidth = std::max(static_cast<int>(text.size()), g_progressWidth);
}

}  // namespace CliConsole
