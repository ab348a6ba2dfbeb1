// A stand-in encoder whose output and end the tests choose through its option words:
//   -say TEXT     write TEXT ("\r" and "\n" written as escapes), then pause 250 ms
//   -sleep MS     pause
//   -ignoreterm   SIGTERM does not end it
//   -exit N       end with exit code N (after writing the output file when N is 0)
//   -crash        end by a signal
// It is called as the run calls the encoder: -y -i SOURCE words... OUTPUT.
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    int exitCode = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("-say")) {
            QByteArray text = next.toUtf8();
            text.replace("\\r", "\r").replace("\\n", "\n");
            std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
            std::fflush(stderr);
            QThread::msleep(250);
            ++i;
        } else if (a == QLatin1String("-sleep")) {
            QThread::msleep(next.toULong());
            ++i;
        } else if (a == QLatin1String("-ignoreterm")) {
            std::signal(SIGTERM, SIG_IGN);
        } else if (a == QLatin1String("-exit")) {
            exitCode = next.toInt();
            ++i;
        } else if (a == QLatin1String("-crash")) {
            std::signal(SIGSEGV, SIG_DFL);
            std::raise(SIGSEGV);
        }
    }
    if (exitCode == 0 && !args.isEmpty()) {
        QFile out(args.last());
        if (out.open(QIODevice::WriteOnly))
            out.write("fake output\n");
    }
    return exitCode;
}
