#ifndef VELINOR_CLI_COMMANDLINE_H
#define VELINOR_CLI_COMMANDLINE_H

#include "arguments.h"

#include <QString>
#include <QStringList>

// What velinor-cli was asked to do, read from its arguments without touching any file.
struct CommandLine
{
    enum class Action { Convert, DryRun, Help, Version, UsageError };

    Action action = Action::Convert;
    QString error; // the usage error, for Action::UsageError

    velinor::ConversionOptions options;
    QString destination; // empty: the folder of the last file, as the window fills it in
    QString converter;   // empty: the window's search
    int jobs = 0;        // 0: one per processor
    bool tns = false;
    bool quiet = false;
    bool allowPdf = false; // grant ImageMagick PDF in the user's policy first
    QStringList files;     // as given, duplicates included
};

// Reads the arguments that follow the program name. Help and version win over what follows
// them, a usage error over everything.
CommandLine parseCommandLine(const QStringList &arguments);

QString helpText();

#endif
