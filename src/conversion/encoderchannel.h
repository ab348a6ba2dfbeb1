#pragma once
// The encoder channel: the encoder process started last. One encoder runs at a time;
// starting a new one releases the previous process object (ending it if it still runs).
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

class EncoderChannel
{
public:
    EncoderChannel() = default;
    ~EncoderChannel();
    EncoderChannel(const EncoderChannel &) = delete;
    EncoderChannel &operator=(const EncoderChannel &) = delete;

    // Starts the encoder with the arguments (merged output, standard input the null
    // device, no shell) and waits until it has started. The process becomes the encoder
    // started last and stays owned by the channel. nullptr when it cannot be started.
    QProcess *start(const QString &encoderPath, const QStringList &arguments);

    // The encoder started last; nullptr before the first start or after a failed one.
    QProcess *process() const { return m_process.get(); }

    // Ends the encoder started last if it still runs, and waits until it has ended.
    // Does nothing when it has ended already or none was started.
    void TerminateEncoder();

private:
    struct Deleter
    {
        void operator()(QProcess *p) const;
    };
    std::unique_ptr<QProcess, Deleter> m_process;
};
