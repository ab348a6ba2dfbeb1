#pragma once
// The product's texts, shown in the title and the about dialog.
#include <QString>
#include <QStringList>

namespace Product {
inline const QString Name = QStringLiteral("Orvelle Video Converter");
inline const QString Maker = QStringLiteral("Brindlewood Softworks");
inline const QString Years = QStringLiteral("2003-2009");
inline const QString WebSite = QStringLiteral("https://www.brindlewood-softworks.example/");
inline const QString SupportMail = QStringLiteral("support@brindlewood-softworks.example");
inline const QString SalesMail = QStringLiteral("sales@brindlewood-softworks.example");
inline const QStringList RelatedNames = {QStringLiteral("Brindlewood DVD Ripper"),
                                         QStringLiteral("Brindlewood Audio Converter"),
                                         QStringLiteral("Brindlewood Video Joiner")};
inline const QStringList RelatedPages = {QStringLiteral("https://www.brindlewood-softworks.example/dvd-ripper/"),
                                         QStringLiteral("https://www.brindlewood-softworks.example/audio-converter/"),
                                         QStringLiteral("https://www.brindlewood-softworks.example/video-joiner/")};
inline const QString HelpFileName = QStringLiteral("OrvelleConverter.chm");
inline const QString DefaultVersion = QStringLiteral("3.0");
}  // namespace Product
