#ifndef VELINOR_MAGICKNAMES_H
#define VELINOR_MAGICKNAMES_H

#include <QString>

#include <memory>

class QTemporaryDir;

// ImageMagick reads more into the paths of its command line than the files they name, and the
// names users give their files run into every one of its readings (ImageMagick 6.9):
// - a file name holding *, ?, [, ], { or } is a wildcard pattern, expanded in its folder unless
//   a file of that very name lies in ImageMagick's working folder. An output such as
//   "cours[1].png" then replaces a "cours1.png" already there, and an existing file with such a
//   name has its content read as more command-line arguments;
// - a path holding ":" that does not exist yet is read as "format:file", and an unknown format
//   makes a document of several pages write its first page alone, under the one name;
// - in an output path, "%d" (also "%03d", "%o", "%x") is replaced by the page number, "%%" by
//   "%", and "%[" by "[";
// - an output file name that is an extension alone (".png", for a source without any ".")
//   gets all the pages of a document, one after the other, instead of one image a page;
// - a relative path beginning with "-" is an option, with "@" a list of arguments.
// The helpers below make it read and write exactly the files named, whatever they are called.
namespace velinor {

// Whether ImageMagick takes this file name (without its folder) for a wildcard pattern.
bool isWildcardName(const QString &fileName);

// Whether ImageMagick writes this output path, and the pages of a document beside it, under the
// names it promises (the path, or "-" and the page number before its extension); false for a
// frame number and for a file name that is an extension alone.
bool writesUnderOwnName(const QString &outputPath);

// The output argument under which ImageMagick writes exactly outputPath when the call writes
// one image, or outputPath with "-" and the page number (from -scene) before its extension
// when it writes several, whatever the path holds. Only "%" is escaped.
QString literalOutput(const QString &outputPath, bool severalImages);

// A relative path as ImageMagick must get it: absolute, so that it cannot read its beginning
// as an option, a list of arguments or a format. An absolute path is returned unchanged.
QString absoluteForMagick(const QString &path);

// What one file's calls need while they run: a working folder in which files named like the
// input and the output lie, so that ImageMagick takes neither name for a pattern, and an empty
// file at an output path holding ":", so that it exists and is not read as "format:file". The
// empty file is removed again unless the converter wrote into it. Paths are those of the
// arguments, absolute; the output may be empty (identify).
class LiteralNames
{
public:
    LiteralNames(const QString &input, const QString &output);
    ~LiteralNames();
    LiteralNames(const LiteralNames &) = delete;
    LiteralNames &operator=(const LiteralNames &) = delete;

    // False when the working folder could not be made: the calls must not run.
    bool isReady() const { return ready; }
    // Where the converter must run; empty when its own working folder will do.
    QString workingDirectory() const;

private:
    std::unique_ptr<QTemporaryDir> scratch;
    QString placeholder;
    bool ready = true;
};

} // namespace velinor

#endif
