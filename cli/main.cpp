// velinor-cli: the window's conversion from the command line, several files at once.
#include "batch.h"
#include "commandline.h"
#include "shellquote.h"

#include "arguments.h"
#include "convertersearch.h"
#include "interruption.h"
#include "magickpolicy.h"
#include "nativenames.h"
#include "paths.h"
#include "reasons.h"
#include "runsetup.h"
#include "translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTranslator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

enum ExitStatus { AllConverted = 0, SomeFailed = 1, UsageError = 2 };

// Descriptors that velinor-cli holds for each conversion under way: the pipes and the process
// descriptor of its converter or of the page count, the event descriptor of the thread that
// counts; starting a program takes a few more for a moment. Up to 6.8 were measured, hence 8.
const int descriptorsPerJob = 8;
// Besides those already open: translations, folder listings, a program being started.
const int descriptorsSpare = 16;

// Whether standard output was open when velinor-cli started; see keepStandardOutputSlot().
bool standardOutputOpen = true;

bool print(std::FILE *stream, const QString &text)
{
    if (stream == stdout && !standardOutputOpen) {
        errno = EBADF;
        return false;
    }
    const QByteArray bytes = text.toLocal8Bit();
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

// A closed standard output would hand its number to the next file opened, which the commands
// would then be written into: a harmless file takes it, and the writes fail on their own.
void keepStandardOutputSlot()
{
#ifdef Q_OS_UNIX
    if (::fcntl(STDOUT_FILENO, F_GETFD) != -1)
        return;
    standardOutputOpen = false;
    int fd = ::open("/dev/null", O_WRONLY);
    while (fd != -1 && fd < STDOUT_FILENO) // a closed standard input is filled on the way
        fd = ::open("/dev/null", O_WRONLY);
    if (fd > STDOUT_FILENO) {
        ::dup2(fd, STDOUT_FILENO);
        ::close(fd);
    }
#endif
}

// What the caller said to print was not printed: a command file that looks complete but is not
// must not pass for one.
int outputFailed()
{
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    print(stderr, QCoreApplication::translate("velinor-cli",
                                              "Impossible d'écrire sur la sortie standard : %1.\n")
                      .arg(reason));
    return SomeFailed;
}

#ifdef Q_OS_UNIX
// Counted by name: QDir would look at what each one is open on.
long openDescriptors()
{
    DIR *folder = ::opendir("/proc/self/fd");
    if (!folder)
        return 3;
    long count = -1; // its own
    while (const dirent *entry = ::readdir(folder))
        count += entry->d_name[0] != '.';
    ::closedir(folder);
    return count;
}
#endif

// Past the limit of open files, converters would fail to start, and their files with them.
int jobsWithinDescriptors(int jobs)
{
#ifdef Q_OS_UNIX
    struct rlimit limit = {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return jobs;
    const long most = long(std::min<rlim_t>(limit.rlim_cur, 1 << 30));
    const long used = openDescriptors();
    const long fit = std::max(1L, (most - used - descriptorsSpare) / descriptorsPerJob);
    if (jobs <= fit)
        return jobs;
    print(stderr, QCoreApplication::translate(
                      "velinor-cli", "Au plus %1 conversions simultanées au lieu de %2 : le "
                                     "système limite velinor-cli à %3 fichiers ouverts.\n")
                      .arg(fit)
                      .arg(jobs)
                      .arg(most));
    return int(fit);
#else
    return jobs;
#endif
}

// What --allow-pdf did goes to standard output, as what was asked for.
bool allowPdf()
{
    const velinor::PolicyChange change = velinor::allowPdf();
    print(change.granted() ? stdout : stderr,
          velinor::policyChangeText(change) + QLatin1Char('\n'));
    return change.granted();
}

int usageError(const QString &error)
{
    print(stderr,
          QCoreApplication::translate("velinor-cli", "velinor-cli : %1").arg(error) +
              QLatin1Char('\n') +
              QCoreApplication::translate("velinor-cli", "Pour l'aide : velinor-cli --help") +
              QLatin1Char('\n'));
    return UsageError;
}

// What is answered without converting anything: a usage error, the help, the version, and
// --allow-pdf alone or failing; none when there are files to convert.
std::optional<int> answered(const CommandLine &line)
{
    switch (line.action) {
    case CommandLine::Action::UsageError:
        return usageError(line.error);
    case CommandLine::Action::Help:
        return print(stdout, helpText()) ? AllConverted : outputFailed();
    case CommandLine::Action::Version:
        return print(stdout, QStringLiteral("velinor-cli " VELINOR_VERSION "\n")) ? AllConverted
                                                                                  : outputFailed();
    case CommandLine::Action::Convert:
    case CommandLine::Action::DryRun:
        break;
    }
    if (line.allowPdf && !allowPdf())
        return SomeFailed;
    if (line.files.isEmpty())
        return AllConverted;
    return std::nullopt;
}

// Converts the files, telling about each as it ends, or only prints the calls of a dry run;
// the exit status.
int convert(QCoreApplication &application, const CommandLine &line, const QString &converter,
            const QString &destination, const QList<SourceFile> &files)
{
    // Before the first program starts, so that no signal ends velinor-cli before its programs.
    velinor::Interruption interruption;
    BatchSettings settings;
    settings.converter = converter;
    settings.destination = destination;
    settings.options = line.options;
    settings.tns = line.tns;
    settings.quiet = line.quiet;
    settings.dryRun = line.action == CommandLine::Action::DryRun;
    settings.jobs = jobsWithinDescriptors(velinor::jobCount(line.jobs));

    Batch batch(settings, files);
    bool outputBroken = false; // said once; the commands after it are not printed
    QObject::connect(&batch, &Batch::callPlanned, [&](const QStringList &arguments) {
        if (!outputBroken &&
            !print(stdout, shellCommandLine(converter, arguments) + QLatin1Char('\n'))) {
            outputBroken = true;
            outputFailed();
        }
    });
    QObject::connect(&interruption, &velinor::Interruption::requested, &batch, &Batch::interrupt);
    QObject::connect(&batch, &Batch::finished, &application, &QCoreApplication::exit);
    // From inside the event loop: a batch with nothing to run ends at once, and an exit()
    // before exec() would be lost.
    QMetaObject::invokeMethod(&batch, &Batch::start, Qt::QueuedConnection);
    const int status = application.exec();
    return outputBroken ? SomeFailed : status;
}

// A path is taken as it stands; a bare name is looked for on PATH, as a shell would.
QString converterFrom(const QString &given)
{
    if (!given.contains(QLatin1Char('/')))
        return velinor::findOnPath(QStringList{given});
    const QFileInfo info(given);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

// The arguments whose bytes text cannot hold, by the text Qt made of them: the whole argument
// and the value it may carry ("--destination=VALUE", "-dVALUE"). Two such names may give the same
// text. Windows gives text already.
using Unrepresentable = QMultiHash<QString, QByteArray>;
Unrepresentable unrepresentableArguments(int argc, char *argv[])
{
    Unrepresentable found;
#ifdef Q_OS_UNIX
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (velinor::representableName(argument))
            continue;
        found.insert(QFile::decodeName(argument), argument);
        const qsizetype equals = argument.indexOf('=');
        const QByteArray value = argument.startsWith("--")  ? argument.mid(equals + 1)
                                 : argument.startsWith('-') ? argument.mid(2)
                                                            : QByteArray();
        if (!value.isEmpty() && value != argument)
            found.insert(QFile::decodeName(value), value);
    }
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
    return found;
}

// The window lists what drops give, absolute paths, and removes later duplicates; "a.pdf" and
// "./a.pdf" are thus one file here too.
QList<SourceFile> sourceList(const QStringList &given, const Unrepresentable &unrepresentable)
{
    QList<SourceFile> files;
    QSet<QByteArray> seen;
    seen.reserve(given.size());
    QHash<QString, qsizetype> met; // the names of the same text, in the order given
    for (const QString &name : given) {
        const QList<QByteArray> named = unrepresentable.values(name);
        const QByteArray bytes = named.value(named.size() - 1 - met[name]++);
        // An empty name must stay a missing file, not become the working folder.
        const QString path =
            name.isEmpty() || !bytes.isEmpty() ? QString() : QFileInfo(name).absoluteFilePath();
        // No path holds a NUL, so that no name that text cannot hold passes for another.
        const QByteArray key = bytes.isEmpty() ? QFile::encodeName(path) : '\0' + bytes;
        if (seen.contains(key))
            continue;
        seen.insert(key);
        files << SourceFile{displayName(bytes.isEmpty() ? name : velinor::escapedName(bytes)), path,
                            bytes};
    }
    return files;
}

// The converter to run, or none once said why.
QString chosenConverter(const QString &given, const Unrepresentable &unrepresentable)
{
    if (unrepresentable.contains(given)) {
        print(stderr, velinor::unrepresentableText(unrepresentable.value(given), displayName) +
                          QLatin1Char('\n'));
        return QString();
    }
    const QString converter = given.isEmpty() ? velinor::findConverter() : converterFrom(given);
    if (converter.isEmpty())
        print(stderr,
              given.isEmpty()
                  ? QCoreApplication::translate("velinor-cli",
                                                "ImageMagick est introuvable : installez-le, ou "
                                                "indiquez le convertisseur avec --converter.\n")
                  : QCoreApplication::translate(
                        "velinor-cli", "Le convertisseur « %1 » est introuvable ou ne peut pas "
                                       "être lancé.\n")
                        .arg(given));
    return converter;
}

// The folder of the images: the one given, or that of the last file, as the window fills it in;
// none once said that its name cannot be represented.
std::optional<QString> chosenDestination(const QString &given, const SourceFile &last,
                                         const Unrepresentable &unrepresentable)
{
    if (given.isEmpty() && last.unrepresentable.isEmpty())
        return velinor::defaultDestination({last.path});
    QByteArray bytes = unrepresentable.value(given);
    if (given.isEmpty()) {
        const qsizetype slash = last.unrepresentable.lastIndexOf('/');
        bytes = slash < 0 ? "." : slash == 0 ? "/" : last.unrepresentable.left(slash);
    }
    if (!velinor::representableName(bytes)) {
        print(stderr, velinor::unrepresentableText(bytes, displayName) + QLatin1Char('\n'));
        return std::nullopt;
    }
    return given.isEmpty() ? QFileInfo(QFile::decodeName(bytes)).absoluteFilePath() : given;
}

} // namespace

int main(int argc, char *argv[])
{
    keepStandardOutputSlot(); // before anything opens a file
    // Before Qt takes its own options out of argv.
    const Unrepresentable unrepresentable = unrepresentableArguments(argc, argv);
    // Its loop waits on converters and nothing of a desktop's: Qt's own loop makes fewer system
    // calls a converter call than GLib's, which the window keeps for the desktop. Taken back once
    // the loop is made, so that the programs it runs are not given it.
    const bool noGlibGiven = qEnvironmentVariableIsSet("QT_NO_GLIB");
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication application(argc, argv);
    if (!noGlibGiven)
        qunsetenv("QT_NO_GLIB");
    QCoreApplication::setApplicationName(QStringLiteral("velinor-cli"));
    QTranslator translator;
    velinor::installTranslator(application, translator);

    const CommandLine line = parseCommandLine(QCoreApplication::arguments().mid(1));
    if (const std::optional<int> status = answered(line))
        return *status;

    const QString converter = chosenConverter(line.converter, unrepresentable);
    if (converter.isEmpty())
        return UsageError;

    const QList<SourceFile> files = sourceList(line.files, unrepresentable);
    const std::optional<QString> chosen =
        chosenDestination(line.destination, files.last(), unrepresentable);
    if (!chosen)
        return SomeFailed;
    const QString destination = *chosen;

    // Unlike the window's, the run stops before any file (see createDestination).
    const bool dryRun = line.action == CommandLine::Action::DryRun;
    if (!dryRun && !velinor::createDestination(destination).ready()) {
        print(stderr, velinor::uncreatableText(destination) + QLatin1Char('\n'));
        return SomeFailed;
    }

    return convert(application, line, converter, destination, files);
}
