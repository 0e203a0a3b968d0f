// SPDX-License-Identifier: MIT
#include "FontDrop.h"

#include "FontFileTypes.h"
#include "NativeFile.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

#include <sys/stat.h>

namespace {

// A path from a file manager's URL: its bytes as they are, a name that is not UTF-8 included.
QString localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    return pathFromNative(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

bool isRegular(const QString &path)
{
    struct stat info {};
    return ::stat(nativePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

DropPlan planOf(const QMimeData *mime)
{
    // A drag of rows inside one of the program's lists carries no file URLs and is left alone.
    return mime && mime->hasUrls() ? planDrop(mime->urls()) : DropPlan{};
}

}

DropPlan planDrop(const QList<QUrl> &urls)
{
    DropPlan plan;
    for (const QUrl &url : urls) {
        const QString path = localPath(url);
        if (path.isEmpty() || !isRegular(path))
            continue;
        const QString extension = fileExtension(path).toLower();
        if (extension == QLatin1String(".zip"))
            plan.archives << path;
        else if (fontFileKind(extension) != FontFileKind::None)
            plan.fonts << path;
    }
    return plan;
}

FontDropTarget::FontDropTarget(QWidget &window)
    : QObject(&window)
{
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    // Controls that take drops themselves would swallow the files before the window sees them.
    for (QWidget *child : window.findChildren<QWidget *>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

bool FontDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    const DropPlan plan = planOf(drop->mimeData());
    if (plan.count() == 0)
        return QObject::eventFilter(watched, event);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type != QEvent::Drop)
        return true;
    // Archives are browsed one at a time; among other files they are not installed.
    if (plan.count() == 1 && !plan.fonts.isEmpty())
        emit previewRequested(plan.fonts.constFirst());
    else if (plan.fonts.isEmpty())
        emit archiveRequested(plan.archives.constFirst());
    else
        emit installRequested(plan.fonts);
    return true;
}
