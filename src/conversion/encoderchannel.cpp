#include "conversion/encoderchannel.h"

#include "conversion/encoderprocess.h"

void EncoderChannel::Deleter::operator()(QProcess *p) const
{
    if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
    }
    // The process may be released from one of its own signal handlers.
    p->deleteLater();
}

EncoderChannel::~EncoderChannel()
{
    // Outside any signal of the process here: release it at once.
    if (QProcess *p = m_process.release()) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
}

QProcess *EncoderChannel::start(const QString &encoderPath, const QStringList &arguments)
{
    m_process.reset(new QProcess);
    PrepareEncoderProcess(*m_process, encoderPath, arguments);
    m_process->start();
    if (!m_process->waitForStarted()) {
        m_process.reset();
        return nullptr;
    }
    return m_process.get();
}

void EncoderChannel::TerminateEncoder()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_process->kill();
    m_process->waitForFinished(5000);
}
