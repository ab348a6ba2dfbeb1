#pragma once
// Errors the program's logic raises for its callers to report.
#include <QString>
#include <stdexcept>

// An error with a text meant for the user. Handlers that do not catch it let it reach
// the application's last-chance handler, which shows the text in a message box.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

// A file the program keeps could not be read or written; the text names the path and the reason.
class FileError : public AppError
{
public:
    using AppError::AppError;
};

// "List index out of bounds (%d)": a profile names a list position that does not exist.
class ListIndexError : public AppError
{
public:
    explicit ListIndexError(int index)
        : AppError(QStringLiteral("List index out of bounds (%1)").arg(index)), m_index(index) {}
    int index() const { return m_index; }

private:
    int m_index;
};
