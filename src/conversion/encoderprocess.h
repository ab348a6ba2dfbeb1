#pragma once
// Starting the external encoder: output and error merged into one channel, standard
// input the null device (the encoder must never wait for keys), arguments passed as a
// list and never through a shell.
#include <QProcess>
#include <QString>
#include <QStringList>

void PrepareEncoderProcess(QProcess &process, const QString &encoderPath, const QStringList &arguments);

// A path as the shown command line writes it: in double quotes, unchanged inside.
QString QuotePathArg(const QString &path);
