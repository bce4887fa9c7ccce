#ifndef VELINOR_CLI_SHELLQUOTE_H
#define VELINOR_CLI_SHELLQUOTE_H

#include <QString>
#include <QStringList>

// One word as a POSIX shell reads it back unchanged: left bare when it holds nothing the shell
// would interpret, otherwise in single quotes.
QString shellQuote(const QString &word);

// The program and its arguments as one line that a POSIX shell runs as the same call.
QString shellCommandLine(const QString &program, const QStringList &arguments);

// A name as it may appear in a line of its own on a terminal: unchanged unless it holds a control
// character (a newline could fake a line of progress), then quoted as $'...' with those
// characters escaped, which bash, zsh and ksh read back as the same name.
QString displayName(const QString &name);

#endif
