#include "platformfit.h"

#include <QList>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWidget>

namespace velinor {

void fitFormToPlatform(QWidget &window)
{
#ifdef Q_OS_WIN
    (void)window;
#else
    // The headings ask for Windows' dialog font at its usual size, in bold on Qt 4's weight
    // scale (75), which Qt 6 reads on the CSS scale as thinner than thin. The same intent here is
    // the window's own font and size, in bold: substituting the family alone would keep 8 pt,
    // smaller than every other text on a Linux desktop.
    static const QRegularExpression dialogFont(
        QStringLiteral(R"(font:\s*(\d+)\s+[\d.]+pt\s+"MS Shell Dlg 2")"));
    const QFont font = window.font();
    const QList<QWidget *> widgets = window.findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        QString sheet = widget->styleSheet();
        const QRegularExpressionMatch match = dialogFont.match(sheet);
        if (!match.hasMatch())
            continue;
        const bool bold = match.captured(1).toInt() >= 63; // Qt 4's DemiBold and heavier
        sheet.replace(match.capturedStart(), match.capturedLength(),
                      QStringLiteral("font: %1 %2pt \"%3\"")
                          .arg(bold ? QLatin1String("bold") : QLatin1String("normal"))
                          .arg(font.pointSizeF())
                          .arg(font.family()));
        widget->setStyleSheet(sheet);
    }
    // A page whose tab is scrolled out of sight is one nobody finds: the window grows instead,
    // as the larger fonts here would have it.
    for (QTabWidget *tabs : window.findChildren<QTabWidget *>())
        tabs->setUsesScrollButtons(false);
    // Size hints hold once fonts and style sheets apply.
    window.ensurePolished();

    // A container's hint depends on its children's limits: children first, which is the
    // reverse of findChildren's parent-first order.
    for (auto it = widgets.crbegin(); it != widgets.crend(); ++it) {
        QWidget *widget = *it;
        const QSize hint = widget->sizeHint();
        if (hint.width() > widget->maximumWidth())
            widget->setMaximumWidth(hint.width());
        if (hint.height() > widget->maximumHeight())
            widget->setMaximumHeight(hint.height());
    }
#endif
}

} // namespace velinor
