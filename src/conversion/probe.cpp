#include "conversion/probe.h"

#include "conversion/batchrun.h"
#include "conversion/encoderchannel.h"
#include "conversion/encoderprocess.h"

#include <QDeadlineTimer>

namespace {
// The text from its k-th character on (k counts from 1): whole below 1, empty past the end.
QString from(const QString &text, qsizetype k)
{
    if (k < 1)
        return text;
    if (k > text.size())
        return QString();
    return text.mid(k - 1);
}

// Position (from 1) of the first occurrence; 0 when there is none.
qsizetype pos(const QString &what, const QString &text) { return text.indexOf(what) + 1; }

// Position (from 1) of the first "," outside parentheses; 0 when there is none.
qsizetype topLevelComma(const QString &text)
{
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            depth = std::max(0, depth - 1);
        else if (c == QLatin1Char(',') && depth == 0)
            return i + 1;
    }
    return 0;
}
}  // namespace

QStringList ProbeArguments(const QString &path) { return {QStringLiteral("-i"), EncoderPathArg(path)}; }

QString ProbeCommandLine(const QString &path) { return QStringLiteral(" -i ") + QuotePathArg(EncoderPathArg(path)); }

ProbeResults ParseProbeOutput(const QString &output, const QString &path)
{
    ProbeResults r;
    const qsizetype p = pos(path, output);
    QString a = from(output, p == 0 ? path.size() : p + path.size());
    a = from(a, pos(QStringLiteral("Duration"), a) + 1);
    a = from(a, pos(QStringLiteral(":"), a) + 2);
    const qsizetype c = pos(QStringLiteral(","), a);
    r.Duration = c == 0 ? QString() : a.left(c - 1);
    a = from(a, c + 1);
    a = from(a, pos(QStringLiteral("Video"), a));
    for (int i = 0; i < 2; ++i)
        a = from(a, topLevelComma(a) + 1);
    const qsizetype f = topLevelComma(a);
    r.FrameSize = f == 0 ? QString() : a.left(f - 1);
    r.Start = QString::fromLatin1(ProbeStartText);
    r.End = r.Duration;
    return r;
}

MediaProber::MediaProber(const QString &encoderPath, int timeoutMs, EncoderChannel *channel)
    : m_encoderPath(encoderPath), m_timeoutMs(timeoutMs), m_channel(channel)
{
    if (!m_channel)
        m_channel = m_ownChannel = new EncoderChannel;
}

MediaProber::~MediaProber() { delete m_ownChannel; }

ProbeResults MediaProber::probe(const QString &path)
{
    m_lastOutput.clear();
    m_lastTimedOut = false;
    m_lastReads = 0;
    QProcess *process = m_channel->start(m_encoderPath, ProbeArguments(path));
    m_lastStarted = process != nullptr;
    if (!process)
        return ProbeResults();

    // Each read's bytes are appended once; the whole output is parsed after the end.
    QByteArray output;
    const auto take = [&] {
        const QByteArray bytes = process->readAll();
        if (!bytes.isEmpty()) {
            output += bytes;
            ++m_lastReads;
        }
    };
    const QDeadlineTimer deadline(m_timeoutMs);
    while (process->state() != QProcess::NotRunning) {
        if (deadline.hasExpired()) {
            m_lastTimedOut = true;
            break;
        }
        process->waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        take();
    }
    m_channel->TerminateEncoder();
    take();
    m_lastOutput = QString::fromUtf8(output);
    return ParseProbeOutput(m_lastOutput, path);
}
