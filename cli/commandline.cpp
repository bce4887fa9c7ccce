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

// The value of `word` among the choices, or -1.
int choose(const QString &word, std::initializer_list<Choice> choices)
{
    for (const Choice &c : choices) {
        if (word == QLatin1String(c.word))
            return c.value;
    }
    return -1;
}

// Plain decimal digits only: toInt() alone would take "+3" or " 3".
bool isDecimal(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

QString invalidChoice(const QString &option, const QString &value, const QString &choices)
{
    return QCoreApplication::translate("velinor-cli",
                                       "valeur invalide pour %1 : « %2 » (au choix : %3)")
        .arg(option, value, choices);
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    bool compressionGiven = false;
    bool onlyFiles = false;
    auto usageError = [&line](const QString &error) {
        line.action = CommandLine::Action::UsageError;
        line.error = error;
        return line;
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        // "-" alone names a file, as most tools read it.
        if (onlyFiles || !argument.startsWith(QLatin1Char('-')) || argument.size() == 1) {
            line.files << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }

        QString name = argument;
        QString value;
        bool attached = false;
        if (argument.startsWith(QLatin1String("--"))) {
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            if (equals > 0) {
                name = argument.left(equals);
                value = argument.mid(equals + 1);
                attached = true;
            }
        } else if (argument.size() > 2) {
            name = argument.left(2);
            value = argument.mid(2);
            attached = true;
        }

        const OptionName *option = findOption(name);
        // Short flags are not bundled: "-qV" is one unknown word, not two options.
        if (!option || (attached && !option->takesValue && !name.startsWith(QLatin1String("--"))))
            return usageError(
                QCoreApplication::translate("velinor-cli", "option inconnue : %1").arg(argument));
        if (attached && !option->takesValue)
            return usageError(
                QCoreApplication::translate("velinor-cli", "l'option %1 ne prend pas de valeur")
                    .arg(name));
        if (option->takesValue && !attached) {
            if (i + 1 >= arguments.size())
                return usageError(
                    QCoreApplication::translate("velinor-cli", "l'option %1 demande une valeur")
                        .arg(name));
            value = arguments.at(++i);
        }

        switch (option->option) {
        case Option::Destination:
        case Option::Converter:
            if (value.isEmpty())
                return usageError(QCoreApplication::translate(
                                      "velinor-cli", "l'option %1 demande un chemin non vide")
                                      .arg(name));
            (option->option == Option::Destination ? line.destination : line.converter) = value;
            break;
        case Option::Mode: {
            const int mode = choose(value, {{"bw", int(Options::ColourMode::BlackWhite)},
                                            {"gray4", int(Options::ColourMode::Grey4)},
                                            {"gray8", int(Options::ColourMode::Grey8)},
                                            {"color4", int(Options::ColourMode::Colour4)},
                                            {"color8", int(Options::ColourMode::Colour8)}});
            if (mode < 0)
                return usageError(
                    invalidChoice(name, value, QStringLiteral("bw, gray4, gray8, color4, color8")));
            line.options.colourMode = Options::ColourMode(mode);
            break;
        }
        case Option::Format: {
            const int png = choose(value, {{"png", 1}, {"jpeg", 0}});
            if (png < 0)
                return usageError(invalidChoice(name, value, QStringLiteral("png, jpeg")));
            line.options.png = png == 1;
            break;
        }
        case Option::Compression:
            if (value.size() != 1 || !isDecimal(value))
                return usageError(QCoreApplication::translate(
                                      "velinor-cli", "la compression va de 0 à 9, pas « %1 »")
                                      .arg(value));
            line.options.compression = value.toInt();
            compressionGiven = true;
            break;
        case Option::Supersampling: {
            const int level = choose(value, {{"low", int(Options::Supersampling::Low)},
                                             {"medium", int(Options::Supersampling::Medium)},
                                             {"high", int(Options::Supersampling::High)}});
            if (level < 0)
                return usageError(invalidChoice(name, value, QStringLiteral("low, medium, high")));
            line.options.supersampling = Options::Supersampling(level);
            break;
        }
        case Option::Jobs:
            line.jobs = isDecimal(value) && value.size() <= 6 ? value.toInt() : 0;
            if (line.jobs < 1)
                return usageError(
                    QCoreApplication::translate("velinor-cli",
                                                "le nombre de conversions simultanées doit être un "
                                                "entier positif, pas « %1 »")
                        .arg(value));
            break;
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
            return line;
        case Option::Version:
            line.action = CommandLine::Action::Version;
            return line;
        }
    }

    // A compression given stays wherever it stands on the line; otherwise the format's start
    // value, which the window's format switch sets.
    if (!compressionGiven)
        line.options.compression = velinor::defaultCompression(line.options.png);
    if (!line.options.png && !velinor::offeredInJpeg(line.options.colourMode))
        return usageError(
            QCoreApplication::translate(
                "velinor-cli", "le mode %1 n'existe pas en JPEG : choisissez bw, gray8 ou color8")
                .arg(line.options.colourMode == Options::ColourMode::Grey4
                         ? QStringLiteral("gray4")
                         : QStringLiteral("color4")));
    if (line.files.isEmpty() && !line.allowPdf)
        return usageError(QCoreApplication::translate("velinor-cli", "aucun fichier à convertir"));
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
        "      --converter CHEMIN     le convertisseur à lancer\n"
        "                             (par défaut : recherché comme le fait velinor)\n"
        "  -j, --jobs N               conversions simultanées\n"
        "                             (par défaut : le nombre de processeurs)\n"
        "      --dry-run              afficher les commandes sans rien convertir\n"
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
