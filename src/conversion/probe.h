#pragma once
// The media probe: the encoder is run with only an input argument and the duration and
// frame size are cut out of what it prints.
#include <QString>
#include <QStringList>

class EncoderChannel;

// What a probe finds; all empty when the encoder could not be started.
struct ProbeResults
{
    QString Duration;   // e.g. "00:01:23.45", as the encoder prints it
    QString FrameSize;  // e.g. " 640x480 [SAR 1:1 DAR 4:3]", leading space kept
    QString Start;      // "00:00:00.0" after a probe that ran
    QString End;        // a copy of Duration
};

// The start of every file as a time text.
inline const char *const ProbeStartText = "00:00:00.0";

// The encoder's arguments for a probe: "-i" and the path as one argument (a relative path
// made absolute, so that no name can be taken for an option or a protocol).
QStringList ProbeArguments(const QString &path);
// The same as the command-line text that is shown: " -i " and that path in double quotes.
QString ProbeCommandLine(const QString &path);

// Cuts the duration and the frame size out of the encoder's whole output for path:
// what follows the path; then the text after "Duration" and its ": " up to the next ",";
// then, from "Video" on, the text between the second and the third "," that stand
// outside parentheses. Missing words give what these cuts give (often empty texts).
// Start and End are set as after a probe that ran.
ProbeResults ParseProbeOutput(const QString &output, const QString &path);

// Runs probes with one encoder. A probe blocks its caller until the encoder's output has
// ended, or until the time-out has passed: then the encoder is ended and what it printed
// so far is parsed.
class MediaProber
{
public:
    static constexpr int DefaultTimeoutMs = 30000;

    // channel, when given, is where the encoder is started (it becomes the encoder
    // started last); otherwise the prober keeps a channel of its own.
    explicit MediaProber(const QString &encoderPath, int timeoutMs = DefaultTimeoutMs,
                         EncoderChannel *channel = nullptr);
    ~MediaProber();
    MediaProber(const MediaProber &) = delete;
    MediaProber &operator=(const MediaProber &) = delete;

    ProbeResults probe(const QString &path);

    QString encoderPath() const { return m_encoderPath; }
    int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    // About the last probe: its whole output, whether the encoder started, whether it
    // was ended at the time-out, and the number of reads its output came in.
    QString lastOutput() const { return m_lastOutput; }
    bool lastStarted() const { return m_lastStarted; }
    bool lastTimedOut() const { return m_lastTimedOut; }
    int lastReadCount() const { return m_lastReads; }

private:
    QString m_encoderPath;
    int m_timeoutMs;
    EncoderChannel *m_channel;
    EncoderChannel *m_ownChannel = nullptr;
    QString m_lastOutput;
    bool m_lastStarted = false;
    bool m_lastTimedOut = false;
    int m_lastReads = 0;
};
