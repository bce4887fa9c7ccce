#include "screenpreview.h"

#include "converterprocess.h"
#include "magicknames.h"
#include "paths.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QThread>
#include <QVBoxLayout>

using velinor::screenHeight;
using velinor::screenWidth;

ScreenPreview::ScreenPreview(const QString &converter, const QString &source,
                             const velinor::ConversionOptions &options, QWidget *parent)
    : QDialog(parent), converter(converter), fileName(velinor::fileName(source)),
      screen(new QLabel(this)), place(new QLabel(this))
{
    setObjectName(QStringLiteral("apercuEcran"));
    setWindowTitle(tr("Aperçu de « %1 » sur la calculatrice").arg(fileName));
    setAttribute(Qt::WA_DeleteOnClose);
    screen->setObjectName(QStringLiteral("labelEcran"));
    screen->setFixedSize(screenWidth, screenHeight);
    screen->setAlignment(Qt::AlignCenter);
    screen->setFrameShape(QFrame::Box);
    place->setObjectName(QStringLiteral("labelPosition"));
    place->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(screen, 0, Qt::AlignHCenter);
    layout->addWidget(place);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    screen->setText(tr("Conversion de la page %1...").arg(1));
    // Counting the pages, and measuring the ink when the pages are fitted, reads the whole
    // document: the window must not freeze meanwhile.
    planner.reset(QThread::create([this, converter, source, options, at = folder.path()] {
        velinor::PreviewPlan made = velinor::planPreview(converter, source, at, options, &stop);
        QMetaObject::invokeMethod(
            this, [this, made] { planned(made); }, Qt::QueuedConnection);
    }));
    planner->start();
}

void ScreenPreview::planned(const velinor::PreviewPlan &made)
{
    plan = made;
    if (!folder.isValid() || plan.outcome != velinor::Plan::Outcome::Ready)
        screen->setText(tr("Impossible de montrer « %1 » : velinor ne peut pas le convertir avec "
                           "ces options.")
                            .arg(fileName));
    else
        render(0);
}

// A planning still under way is stopped and waited for: it calls back into this window.
ScreenPreview::~ScreenPreview()
{
    while (stop.level() != velinor::StopRequest::Kill)
        stop.escalate();
    planner->wait();
}

void ScreenPreview::render(int wanted)
{
    page = wanted;
    rendering = true;
    corner = QPoint();
    image = QImage();
    screen->setText(tr("Conversion de la page %1...").arg(page + 1));
    place->clear();
    QFile::remove(velinor::writtenPreview(plan));
    const velinor::ConverterCall call = velinor::previewCall(plan, page);
    names = std::make_unique<velinor::LiteralNames>(call.input, call.output);
    process = std::make_unique<velinor::ConverterProcess>();
    connect(process.get(), &velinor::ConverterProcess::ended, this,
            [this](velinor::ConverterProcess::Ending ending, int code) {
                rendered(ending == velinor::ConverterProcess::Ending::Exited && code == 0);
            });
    process->start(converter, call.arguments(), names->workingDirectory());
}

void ScreenPreview::rendered(bool written)
{
    rendering = false;
    image = written ? QImage(velinor::writtenPreview(plan)) : QImage();
    if (image.isNull()) {
        screen->setText(tr("La page %1 n'a pas pu être convertie.").arg(page + 1));
        return;
    }
    showScreen();
}

void ScreenPreview::showScreen()
{
    // What lies past the page's edge the calculator shows as its white background.
    QImage shown(screenWidth, screenHeight, QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    painter.drawImage(QPoint(), image, QRect(corner, shown.size()));
    painter.end();
    screen->setPixmap(QPixmap::fromImage(shown));
    const int across = velinor::screensAcross(image.width());
    const int down = velinor::screensDown(image.height());
    const int at = corner.y() / screenHeight * across + corner.x() / screenWidth + 1;
    place->setText(tr("Page %1 sur %2, écran %3 sur %4 : une ligne tient sur %5 écran(s), la page "
                      "sur %6.")
                       .arg(page + 1)
                       .arg(plan.pages())
                       .arg(at)
                       .arg(across * down)
                       .arg(across)
                       .arg(across * down));
}

void ScreenPreview::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
        const int next = page + (key == Qt::Key_PageDown ? 1 : -1);
        if (next >= 0 && next < plan.pages() && !rendering)
            render(next);
        return;
    }
    const QPoint step = key == Qt::Key_Left    ? QPoint(-screenWidth, 0)
                        : key == Qt::Key_Right ? QPoint(screenWidth, 0)
                        : key == Qt::Key_Up    ? QPoint(0, -screenHeight)
                        : key == Qt::Key_Down  ? QPoint(0, screenHeight)
                                               : QPoint();
    if (step.isNull() || image.isNull())
        return QDialog::keyPressEvent(event); // Escape closes
    const QPoint last((velinor::screensAcross(image.width()) - 1) * screenWidth,
                      (velinor::screensDown(image.height()) - 1) * screenHeight);
    const QPoint moved(qBound(0, corner.x() + step.x(), last.x()),
                       qBound(0, corner.y() + step.y(), last.y()));
    if (moved != corner) {
        corner = moved;
        showScreen();
    }
}
