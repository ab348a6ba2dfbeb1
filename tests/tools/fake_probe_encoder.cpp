// A stand-in encoder for probe tests: started as "fake_probe_encoder -i SCRIPT", it prints
// the bytes of SCRIPT on standard error, with these marks:
//   %PATH%  the SCRIPT argument as received
//   %ARGS%  every argument received, each in square brackets
//   \x01    flush and pause 150 ms (the output then comes in several reads)
//   \x02    flush and hang (for at most a minute) without ending
#include <QByteArray>
#include <QFile>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    // Whole stretches between pauses go out in one write.
    static char buffer[1 << 16];
    std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
    QByteArray args;
    for (int i = 1; i < argc; ++i)
        args += '[' + QByteArray(argv[i]) + ']';
    const QByteArray path = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    QFile script(QString::fromLocal8Bit(path));
    if (argc != 3 || !script.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "fake encoder: cannot read the script; arguments %s\n", args.constData());
        return 1;
    }
    QByteArray text = script.readAll();
    text.replace("%PATH%", path);
    text.replace("%ARGS%", args);
    for (char c : text) {
        if (c == '\x01') {
            std::fflush(stderr);
            QThread::msleep(150);
        } else if (c == '\x02') {
            std::fflush(stderr);
            QThread::sleep(60);
            return 0;
        } else {
            std::fputc(c, stderr);
        }
    }
    std::fflush(stderr);
    return 0;
}
