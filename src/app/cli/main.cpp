// orvelle-cli: the converter without a window.
#include "app/cli/cli.h"
#include "app/cli/clisignals.h"
#include "tasks/taskrecord.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (!CliSignals::install()) {
        std::fprintf(stderr, "orvelle-cli: cannot watch for signals: %s\n", std::strerror(errno));
        return CliExit::TaskFailed;
    }
    return CliMain(QCoreApplication::arguments().mid(1), AddTrailingBackslash(QCoreApplication::applicationDirPath()));
}
