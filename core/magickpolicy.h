#ifndef VELINOR_MAGICKPOLICY_H
#define VELINOR_MAGICKPOLICY_H

#include <QString>
#include <QStringList>

// Debian's ImageMagick refuses to read PDF by a security policy of the whole system. A policy of
// the user's own that grants PDF lifts it for that user alone, with nothing under /etc changed.
namespace velinor {

// $XDG_CONFIG_HOME/ImageMagick/policy.xml, else ~/.config/ImageMagick/policy.xml: where
// ImageMagick reads a user's own policy.
QString userPolicyPath();

// Whether the list holds a PDF that this converter's policy refuses to read. It asks the
// converter only when the list holds a PDF, and then once, on a document of a few bytes that it
// refuses before reading anything (less than 0.1 s either way).
bool pdfRefused(const QString &converter, const QStringList &sources);

struct PolicyChange
{
    enum class Outcome {
        Written,        // there was no policy of the user's: a new one grants PDF
        Merged,         // the user's policy kept every entry and gained the one that grants PDF
        AlreadyGranted, // the user's policy grants PDF already: nothing written
        Unreadable,     // the user's policy could not be read (error): left as it was
        Malformed,      // the user's policy is no policy map (error): left as it was
        Unwritable,     // the policy could not be written (error): the user's left as it was
    };
    Outcome outcome = Outcome::Written;
    QString path;
    QString error;

    bool granted() const { return outcome <= Outcome::AlreadyGranted; }
};

// Grants ImageMagick the reading and writing of PDF in the user's own policy.
PolicyChange allowPdf();

} // namespace velinor

#endif
