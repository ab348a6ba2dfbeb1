#pragma once
// The command line of orvelle-cli: its options, their parsing and the usage text.
#include "shell/apperror.h"

#include <QString>
#include <QStringList>
#include <optional>

// A command line that cannot be carried out as given (exit status 2).
class CliUsageError : public AppError
{
public:
    using AppError::AppError;
};

struct CliOptions
{
    bool help = false;
    bool version = false;
    bool listProfiles = false;
    bool dryRun = false;
    std::optional<QString> profile;  // --profile NAME
    std::optional<QString> output;   // --output DIR
    QStringList settings;            // --set "PARAMETER=VALUE", in the order given
    std::optional<QString> start;    // --start TIME
    std::optional<QString> end;      // --end TIME
    std::optional<bool> rename;      // --rename (true) or --overwrite (false)
    QStringList paths;
};

// Parses the arguments that follow the program name. Raises CliUsageError for an unknown
// option, a missing value, a time that is not a time, or options that exclude each other.
CliOptions ParseCliOptions(const QStringList &args);

// The text --help prints.
QString CliUsageText();
