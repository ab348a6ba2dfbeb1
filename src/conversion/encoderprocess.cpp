#include "conversion/encoderprocess.h"

void PrepareEncoderProcess(QProcess &process, const QString &encoderPath, const QStringList &arguments)
{
    process.setProgram(encoderPath);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
}

QString QuotePathArg(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}
