#include "cbz.h"

#include "paths.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <memory>

namespace velinor {

namespace {

struct ArchiveFree
{
    void operator()(struct archive *zip) const { archive_write_free(zip); }
};
struct EntryFree
{
    void operator()(struct archive_entry *entry) const { archive_entry_free(entry); }
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
    const char *own = zip ? archive_error_string(zip) : nullptr;
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
    const std::unique_ptr<struct archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), bytes.size());
    archive_entry_set_mtime(entry.get(), QFileInfo(image).lastModified().toSecsSinceEpoch(), 0);
    return archive_write_header(zip, entry.get()) == ARCHIVE_OK &&
           archive_write_data(zip, bytes.constData(), size_t(bytes.size())) == bytes.size();
}

std::unique_ptr<struct archive, ArchiveFree> openZip(QSaveFile &file)
{
    std::unique_ptr<struct archive, ArchiveFree> zip(archive_write_new());
    const bool ready =
        archive_write_set_format_zip(zip.get()) == ARCHIVE_OK &&
        // PNG and JPEG are compressed already: deflate would cost the calculator's reader time
        // for nothing.
        archive_write_zip_set_compression_store(zip.get()) == ARCHIVE_OK &&
        // Names in UTF-8, flagged so, whatever the locale: a C locale could not spell "été".
        archive_write_set_format_option(zip.get(), "zip", "hdrcharset", "UTF-8") == ARCHIVE_OK &&
        // No padding after the central directory.
        archive_write_set_bytes_in_last_block(zip.get(), 1) == ARCHIVE_OK &&
        archive_write_open2(zip.get(), &file, nullptr, writeOut, nullptr, nullptr) == ARCHIVE_OK;
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
    if (archive_write_close(zip.get()) != ARCHIVE_OK || !file.commit())
        return unwritable(file, zip.get());
    for (const QString &image : images)
        QFile::remove(image);
    return {};
}

} // namespace velinor
