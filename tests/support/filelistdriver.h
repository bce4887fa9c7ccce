#ifndef VELINOR_FILELISTDRIVER_H
#define VELINOR_FILELISTDRIVER_H

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QUrl>

// Feeds a window's file list the way a user does, and reads it back from the view.
namespace filelist {

// A whole drag ending in a drop: entering, then dropping. Without URLs the drag carries plain
// text instead, as a drag of selected text would.
inline void drop(QWidget *window, const QList<QUrl> &urls)
{
    QMimeData data;
    if (urls.isEmpty())
        data.setText(QStringLiteral("plain text"));
    else
        data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &dropped);
}

inline void dropFiles(QWidget *window, const QStringList &localPaths)
{
    QList<QUrl> urls;
    for (const QString &path : localPaths)
        urls << QUrl::fromLocalFile(path);
    drop(window, urls);
}

inline QListView *view(QWidget *window)
{
    return window->findChild<QListView *>(QStringLiteral("listeFichiersChoisis"));
}

// The rows that the list view shows, in order.
inline QStringList entries(QWidget *window)
{
    QStringList rows;
    const QAbstractItemModel *model = view(window)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString();
    return rows;
}

} // namespace filelist

#endif
