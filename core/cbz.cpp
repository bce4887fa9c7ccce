#include "cbz.h"

#include "paths.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <memory>

namespace velinor {

namespace {

// libarchive, and the seven libraries it brings, are loaded when the first archive is written:
// linked, they were loaded at every start of velinor, which then cost more than 1 ms.
struct Archive
{
    decltype(&archive_write_new) writeNew;
    decltype(&archive_write_free) writeFree;
    decltype(&archive_write_set_format_zip) setFormatZip;
    decltype(&archive_write_zip_set_compression_store) setCompressionStore;
    decltype(&archive_write_set_format_option) setFormatOption;
    decltype(&archive_write_set_bytes_in_last_block) setBytesInLastBlock;
    decltype(&archive_write_open2) open;
    decltype(&archive_write_header) writeHeader;
    decltype(&archive_write_data) writeData;
    decltype(&archive_write_close) close;
    decltype(&archive_error_string) errorString;
    decltype(&archive_entry_new) entryNew;
    decltype(&archive_entry_free) entryFree;
    decltype(&archive_entry_set_pathname_utf8) setPathname;
    decltype(&archive_entry_set_filetype) setFiletype;
    decltype(&archive_entry_set_perm) setPerm;
    decltype(&archive_entry_set_size) setSize;
    decltype(&archive_entry_set_mtime) setMtime;
    QString loadError; // empty once every function is found
};

template <typename Function>
void find(QLibrary &library, const char *name, Function &function, QString &error)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function && error.isEmpty())
        error = library.errorString();
}

Archive load()
{
    static QLibrary library(QStringLiteral("archive"), 13);
    Archive a = {};
    QString &e = a.loadError;
    find(library, "archive_write_new", a.writeNew, e);
    find(library, "archive_write_free", a.writeFree, e);
    find(library, "archive_write_set_format_zip", a.setFormatZip, e);
    find(library, "archive_write_zip_set_compression_store", a.setCompressionStore, e);
    find(library, "archive_write_set_format_option", a.setFormatOption, e);
    find(library, "archive_write_set_bytes_in_last_block", a.setBytesInLastBlock, e);
    find(library, "archive_write_open2", a.open, e);
    find(library, "archive_write_header", a.writeHeader, e);
    find(library, "archive_write_data", a.writeData, e);
    find(library, "archive_write_close", a.close, e);
    find(library, "archive_error_string", a.errorString, e);
    find(library, "archive_entry_new", a.entryNew, e);
    find(library, "archive_entry_free", a.entryFree, e);
    find(library, "archive_entry_set_pathname_utf8", a.setPathname, e);
    find(library, "archive_entry_set_filetype", a.setFiletype, e);
    find(library, "archive_entry_set_perm", a.setPerm, e);
    find(library, "archive_entry_set_size", a.setSize, e);
    find(library, "archive_entry_set_mtime", a.setMtime, e);
    return a;
}

// Loaded once, from whichever thread packs first.
const Archive &archive()
{
    static const Archive loaded = load();
    return loaded;
}

struct ArchiveFree
{
    void operator()(struct archive *zip) const { archive().writeFree(zip); }
};
struct EntryFree
{
    void operator()(struct archive_entry *entry) const { archive().entryFree(entry); }
};

// libarchive hands every byte over to the QSaveFile, which writes under a temporary name in the
// destination and takes the archive's name only at commit(): a failure or a crash never leaves a
// truncated archive that the calculator would take for the course.
la_ssize_t writeOut(struct archive *, void *file, const void *buffer, size_t length)
{
    const qint64 written =
        static_cast<QSaveFile *>(file)->write(static_cast<const char *>(buffer), qint64(length));
    return written == qint64(length) ? la_ssize_t(written) : -1;
}

PackResult unwritable(const QSaveFile &file, struct archive *zip)
{
    // The file's own words when it refused the bytes, libarchive's otherwise.
    const char *own = zip ? archive().errorString(zip) : nullptr;
    const QString error = file.error() != QFileDevice::NoError || !own
                              ? file.errorString()
                              : QString::fromLocal8Bit(own);
    return {PackResult::Outcome::Unwritable, file.fileName(), error};
}

// The whole image at once: its size must be known before its first byte is stored.
bool addImage(struct archive *zip, const QString &image, const QString &name, PackResult &result)
{
    QFile file(image);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        result = {PackResult::Outcome::Unreadable, image, file.errorString()};
        return false;
    }
    const Archive &a = archive();
    const std::unique_ptr<struct archive_entry, EntryFree> entry(a.entryNew());
    a.setPathname(entry.get(), name.toUtf8().constData());
    a.setFiletype(entry.get(), AE_IFREG);
    a.setPerm(entry.get(), 0644);
    a.setSize(entry.get(), bytes.size());
    a.setMtime(entry.get(), QFileInfo(image).lastModified().toSecsSinceEpoch(), 0);
    return a.writeHeader(zip, entry.get()) == ARCHIVE_OK &&
           a.writeData(zip, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

std::unique_ptr<struct archive, ArchiveFree> openZip(QSaveFile &file)
{
    const Archive &a = archive();
    std::unique_ptr<struct archive, ArchiveFree> zip(a.writeNew());
    const bool ready =
        a.setFormatZip(zip.get()) == ARCHIVE_OK &&
        // PNG and JPEG are compressed already: deflate would cost the calculator's reader time
        // for nothing.
        a.setCompressionStore(zip.get()) == ARCHIVE_OK &&
        // Names in UTF-8, flagged so, whatever the locale: a C locale could not spell "été".
        a.setFormatOption(zip.get(), "zip", "hdrcharset", "UTF-8") == ARCHIVE_OK &&
        // No padding after the central directory.
        a.setBytesInLastBlock(zip.get(), 1) == ARCHIVE_OK &&
        a.open(zip.get(), &file, nullptr, writeOut, nullptr, nullptr) == ARCHIVE_OK;
    return ready ? std::move(zip) : nullptr;
}

} // namespace

QString cbzName(const QString &baseName)
{
    return baseName + QLatin1String(".cbz.tns");
}

PackResult packImages(const QStringList &images, const QString &destination,
                      const QString &baseName)
{
    QSaveFile file(joinPath(destination, cbzName(baseName)));
    if (!archive().loadError.isEmpty())
        return {PackResult::Outcome::Unwritable, file.fileName(), archive().loadError};
    if (!file.open(QIODevice::WriteOnly))
        return unwritable(file, nullptr);
    const auto zip = openZip(file);
    if (!zip)
        return unwritable(file, nullptr);
    // Four digits at least, more for a longer document: every number has as many.
    const int width = std::max<int>(4, int(QString::number(images.size()).size()));
    for (int page = 0; page < images.size(); ++page) {
        const QString &image = images.at(page);
        const QString name = baseName + QLatin1String("-p") +
                             QString::number(page + 1).rightJustified(width, QLatin1Char('0')) +
                             image.mid(image.lastIndexOf(QLatin1Char('.')));
        PackResult result;
        if (!addImage(zip.get(), image, name, result))
            return result.outcome == PackResult::Outcome::Packed ? unwritable(file, zip.get())
                                                                 : result;
    }
    if (archive().close(zip.get()) != ARCHIVE_OK || !file.commit())
        return unwritable(file, zip.get());
    for (const QString &image : images)
        QFile::remove(image);
    return {};
}

} // namespace velinor
