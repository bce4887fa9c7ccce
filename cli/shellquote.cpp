#include "shellquote.h"

#include "reasons.h"

#include <algorithm>

namespace {

// Characters that a POSIX shell takes literally anywhere in a word but the first of a line, where
// "=" would make an assignment of it.
bool isPlain(QChar c)
{
    if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
        (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
        (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
        return true;
    return QStringView(u"_-+./:,%@=").contains(c);
}

} // namespace

QString shellQuote(const QString &word)
{
    if (!word.isEmpty() && std::all_of(word.cbegin(), word.cend(), isPlain))
        return word;
    // Nothing is special between single quotes except the quote itself, which has to close the
    // quoted part, come escaped, and open a new one.
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString shellCommandLine(const QString &program, const QStringList &arguments)
{
    QString line = shellQuote(program);
    if (line == program && program.contains(QLatin1Char('=')))
        line = QLatin1Char('\'') + program + QLatin1Char('\'');
    for (const QString &argument : arguments)
        line += QLatin1Char(' ') + shellQuote(argument);
    return line;
}

QString displayName(const QString &name)
{
    if (std::none_of(name.cbegin(), name.cend(), velinor::isControl))
        return name;
    QString quoted = QStringLiteral("$'");
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            quoted += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\n'))
            quoted += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            quoted += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            quoted += QLatin1String("\\r");
        else if (velinor::isControl(c) && c.unicode() < 0x80)
            quoted += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (velinor::isControl(c))
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + QLatin1Char('\'');
}
