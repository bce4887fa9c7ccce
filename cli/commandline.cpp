#include "commandline.h"

#include "formatrules.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace {

using Options = velinor::ConversionOptions;

enum class Option {
    Destination,
    Mode,
    Format,
    Compression,
    Supersampling,
    Resize,
    SingleImage,
    Tns,
    Cbz,
    Fit,
    Screens,
    Converter,
    Jobs,
    DryRun,
    AllowPdf,
    Quiet,
    Help,
    Version
};

struct OptionName
{
    const char *shortName; // nullptr when the option has none
    const char *longName;
    Option option;
    bool takesValue;
};

const OptionName optionNames[] = {
    {"-d", "--destination", Option::Destination, true},
    {nullptr, "--mode", Option::Mode, true},
    {nullptr, "--format", Option::Format, true},
    {nullptr, "--compression", Option::Compression, true},
    {nullptr, "--supersampling", Option::Supersampling, true},
    {nullptr, "--resize", Option::Resize, false},
    {nullptr, "--single-image", Option::SingleImage, false},
    {nullptr, "--tns", Option::Tns, false},
    {nullptr, "--cbz", Option::Cbz, false},
    {nullptr, "--fit", Option::Fit, true},
    {nullptr, "--screens", Option::Screens, false},
    {nullptr, "--converter", Option::Converter, true},
    {"-j", "--jobs", Option::Jobs, true},
    {nullptr, "--dry-run", Option::DryRun, false},
    {nullptr, "--allow-pdf", Option::AllowPdf, false},
    {"-q", "--quiet", Option::Quiet, false},
    {"-h", "--help", Option::Help, false},
    {"-V", "--version", Option::Version, false},
};

const OptionName *findOption(const QString &name)
{
    const auto found =
        std::find_if(std::begin(optionNames), std::end(optionNames), [&](const OptionName &o) {
            return (o.shortName && name == QLatin1String(o.shortName)) ||
                   name == QLatin1String(o.longName);
        });
    return found == std::end(optionNames) ? nullptr : found;
}

struct Choice
{
    const char *word;
    int value;
};

const Choice modes[] = {{"bw", int(Options::ColourMode::BlackWhite)},
                        {"gray4", int(Options::ColourMode::Grey4)},
                        {"gray8", int(Options::ColourMode::Grey8)},
                        {"color4", int(Options::ColourMode::Colour4)},
                        {"color8", int(Options::ColourMode::Colour8)}};
const Choice formats[] = {{"png", 1}, {"jpeg", 0}};
const Choice levels[] = {{"low", int(Options::Supersampling::Low)},
                         {"medium", int(Options::Supersampling::Medium)},
                         {"high", int(Options::Supersampling::High)}};

// The value that `word` stands for among the choices; -1, with the error that lists them all,
// when none.
template <size_t N>
int choose(const QString &option, const QString &word, const Choice (&choices)[N], QString &error)
{
    QStringList words;
    for (const Choice &c : choices) {
        if (word == QLatin1String(c.word))
            return c.value;
        words << QLatin1String(c.word);
    }
    error = QCoreApplication::translate("velinor-cli",
                                        "valeur invalide pour %1 : « %2 » (au choix : %3)")
                .arg(option, word, words.join(QLatin1String(", ")));
    return -1;
}

// Plain decimal digits only: toInt() alone would take "+3" or " 3".
bool isDecimal(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

// An argument that names an option, taken apart: "--name=value", "-nvalue" or the name alone.
struct Given
{
    QString name;
    QString value;
    bool attached = false; // the value came within the argument
};

Given takeApart(const QString &argument)
{
    if (argument.startsWith(QLatin1String("--"))) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals > 0)
            return {argument.left(equals), argument.mid(equals + 1), true};
    } else if (argument.size() > 2) {
        return {argument.left(2), argument.mid(2), true};
    }
    return {argument, QString(), false};
}

// Stores the value of an option that takes one; the usage error when the value is not one it
// takes.
QString setValue(CommandLine &line, Option option, const QString &name, const QString &value)
{
    QString error;
    switch (option) {
    case Option::Destination:
    case Option::Converter:
        if (value.isEmpty())
            return QCoreApplication::translate("velinor-cli",
                                               "l'option %1 demande un chemin non vide")
                .arg(name);
        (option == Option::Destination ? line.destination : line.converter) = value;
        break;
    case Option::Mode:
        if (const int mode = choose(name, value, modes, error); mode >= 0)
            line.options.colourMode = Options::ColourMode(mode);
        break;
    case Option::Format:
        if (const int png = choose(name, value, formats, error); png >= 0)
            line.options.png = png == 1;
        break;
    case Option::Supersampling:
        if (const int level = choose(name, value, levels, error); level >= 0)
            line.options.supersampling = Options::Supersampling(level);
        break;
    case Option::Compression:
        if (value.size() != 1 || !isDecimal(value))
            return QCoreApplication::translate("velinor-cli",
                                               "la compression va de 0 à 9, pas « %1 »")
                .arg(value);
        line.options.compression = value.toInt();
        break;
    case Option::Fit:
        line.options.fitWidth = isDecimal(value) && value.size() <= 4 ? value.toInt() : 0;
        // Narrower than half a screen, text is no longer readable; wider than six, a page
        // is more than the calculator's memory wants to hold.
        if (line.options.fitWidth < 160 || line.options.fitWidth > 2000)
            return QCoreApplication::translate(
                       "velinor-cli",
                       "la largeur de --fit va de 160 à 2000 pixels (320 : un écran), pas « %1 »")
                .arg(value);
        break;
    case Option::Jobs:
        line.jobs = isDecimal(value) && value.size() <= 6 ? value.toInt() : 0;
        if (line.jobs < 1)
            return QCoreApplication::translate(
                       "velinor-cli",
                       "le nombre de conversions simultanées doit être un entier positif, pas "
                       "« %1 »")
                .arg(value);
        break;
    default:
        break;
    }
    return error;
}

void setFlag(CommandLine &line, Option option)
{
    switch (option) {
    case Option::Resize:
        line.options.resize = true;
        break;
    case Option::SingleImage:
        line.options.append = true;
        break;
    case Option::Tns:
        line.tns = true;
        break;
    case Option::Cbz:
        line.options.cbz = true;
        break;
    case Option::Screens:
        line.options.screens = true;
        break;
    case Option::DryRun:
        line.action = CommandLine::Action::DryRun;
        break;
    case Option::AllowPdf:
        line.allowPdf = true;
        break;
    case Option::Quiet:
        line.quiet = true;
        break;
    case Option::Help:
        line.action = CommandLine::Action::Help;
        break;
    case Option::Version:
        line.action = CommandLine::Action::Version;
        break;
    default:
        break;
    }
}

// Reads the option that arguments[at] names, and its value from the next argument when it takes
// one that is not attached; the usage error, if any.
QString readOption(const QStringList &arguments, qsizetype &at, CommandLine &line,
                   bool &compressionGiven)
{
    const QString &argument = arguments.at(at);
    Given given = takeApart(argument);
    const OptionName *option = findOption(given.name);
    // Short flags are not bundled: "-qV" is one unknown word, not two options.
    if (!option ||
        (given.attached && !option->takesValue && !given.name.startsWith(QLatin1String("--"))))
        return QCoreApplication::translate("velinor-cli", "option inconnue : %1").arg(argument);
    if (given.attached && !option->takesValue)
        return QCoreApplication::translate("velinor-cli", "l'option %1 ne prend pas de valeur")
            .arg(given.name);
    if (!option->takesValue) {
        setFlag(line, option->option);
        return QString();
    }
    if (!given.attached) {
        if (at + 1 >= arguments.size())
            return QCoreApplication::translate("velinor-cli", "l'option %1 demande une valeur")
                .arg(given.name);
        given.value = arguments.at(++at);
    }
    compressionGiven = compressionGiven || option->option == Option::Compression;
    return setValue(line, option->option, given.name, given.value);
}

// What holds of the whole line only; the usage error, if any.
QString finish(CommandLine &line, bool compressionGiven)
{
    // A compression given stays wherever it stands on the line; otherwise the format's start
    // value, which the window's format switch sets.
    if (!compressionGiven)
        line.options.compression = velinor::defaultCompression(line.options.png);
    if (!line.options.png && !velinor::offeredInJpeg(line.options.colourMode)) {
        const auto mode = std::find_if(std::begin(modes), std::end(modes), [&](const Choice &c) {
            return c.value == int(line.options.colourMode);
        });
        return QCoreApplication::translate(
                   "velinor-cli",
                   "le mode %1 n'existe pas en JPEG : choisissez bw, gray8 ou color8")
            .arg(QLatin1String(mode->word));
    }
    if (line.files.isEmpty() && !line.allowPdf)
        return QCoreApplication::translate("velinor-cli", "aucun fichier à convertir");
    return QString();
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    bool compressionGiven = false;
    bool onlyFiles = false;
    QString error;
    for (qsizetype i = 0; i < arguments.size() && error.isEmpty(); ++i) {
        const QString &argument = arguments.at(i);
        // "-" alone names a file, as most tools read it.
        if (onlyFiles || !argument.startsWith(QLatin1Char('-')) || argument.size() == 1)
            line.files << argument;
        else if (argument == QLatin1String("--"))
            onlyFiles = true;
        else
            error = readOption(arguments, i, line, compressionGiven);
        if (line.action == CommandLine::Action::Help || line.action == CommandLine::Action::Version)
            return line;
    }
    if (error.isEmpty())
        error = finish(line, compressionGiven);
    if (!error.isEmpty()) {
        line.action = CommandLine::Action::UsageError;
        line.error = error;
    }
    return line;
}

QString helpText()
{
    return QCoreApplication::translate(
        "velinor-cli",
        "Utilisation : velinor-cli [options] FICHIER...\n"
        "       velinor-cli --allow-pdf [options] [FICHIER...]\n"
        "Convertit des PDF et des images en PNG ou JPEG pour les calculatrices Nspire, avec\n"
        "ImageMagick, comme la fenêtre de velinor, plusieurs fichiers à la fois.\n"
        "\n"
        "  -d, --destination DOSSIER  dossier des images, créé au besoin\n"
        "                             (par défaut : le dossier du dernier FICHIER)\n"
        "      --mode MODE            bw, gray4, gray8, color4 ou color8 (par défaut : gray4)\n"
        "      --format FORMAT        png ou jpeg (par défaut : png)\n"
        "      --compression N        de 0 à 9 (par défaut : 9 en PNG, 5 en JPEG)\n"
        "      --supersampling NIVEAU low, medium ou high (par défaut : medium)\n"
        "      --resize               redimensionner : moitié en medium, quart en high\n"
        "      --single-image         créer une seule image par document\n"
        "      --tns                  renommer les images en .tns après chaque conversion\n"
        "      --cbz                  un fichier .cbz.tns par document (nPDF)\n"
        "      --fit LARGEUR          rogner les pages au texte du document, même cadre pour\n"
        "                             toutes, et les mettre à LARGEUR pixels : 320 (un écran),\n"
        "                             640, 960, ou de 160 à 2000 ; --resize est alors sans effet\n"
        "      --screens              découper chaque page en écrans de 240 pixels de haut au\n"
        "                             plus, entre les lignes : cours-p003-01.png, …\n"
        "      --converter CHEMIN     le convertisseur à lancer\n"
        "                             (par défaut : recherché comme le fait velinor)\n"
        "  -j, --jobs N               conversions simultanées\n"
        "                             (par défaut : le nombre de processeurs)\n"
        "      --dry-run              afficher les commandes sans rien convertir (sans celles\n"
        "                             du découpage, qui dépendent des pages rendues)\n"
        "      --allow-pdf            autoriser ImageMagick à lire les PDF, pour votre compte\n"
        "                             seulement (puis convertir les FICHIERs donnés)\n"
        "  -q, --quiet                ne signaler que les fichiers en erreur\n"
        "  -h, --help                 afficher cette aide\n"
        "  -V, --version              afficher la version\n"
        "\n"
        "Codes de sortie : 0 tout est converti ; 1 un fichier manque ou a échoué ;\n"
        "2 erreur d'utilisation ou convertisseur introuvable ;\n"
        "129, 130, 143 interrompu (SIGHUP, Ctrl-C, SIGTERM).\n");
}
