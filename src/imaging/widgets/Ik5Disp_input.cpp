// Pointer gestures and dropped files of the display.
#include "imaging/widgets/Ik5Disp.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace imaging {

using namespace display;

namespace {

// The first local file among the dropped URLs; folders and remote URLs are
// not files the viewer can open.
QString firstDroppedFile(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl &url : mime->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && !QFileInfo(path).isDir())
            return QDir::toNativeSeparators(path);
    }
    return {};
}

} // namespace

void Ik5Disp::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    m_pressedWhileEmpty = !shownImage();
    m_drawingSelection = m_selectionMode && shownImage();
    if (m_drawingSelection) {
        m_selectionStart = toView(point);
        selectTo(point);
    }
    if (mayScroll())
        setCursor(Qt::ClosedHandCursor);
    emit pointerPressed(point.x(), point.y());
    // A zoom chosen next keeps the pressed point in place.
    if (mayScroll())
        emit zoomAnchor(point.x(), point.y());
}

void Ik5Disp::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    if (m_drawingSelection)
        selectTo(point);
    emit pointerMoved(point.x(), point.y());
}

void Ik5Disp::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (m_drawingSelection)
        selectTo(point);
    m_drawingSelection = false;
    updateCursor();
    emit pointerReleased();
    // After a drag the grabbed image point is under the release point: that
    // is the place to zoom around.
    if (mayScroll())
        emit zoomAnchor(point.x(), point.y());
    // Last, since its handler typically opens a modal file dialog.
    if (m_pressedWhileEmpty && !shownImage() && rect().contains(point))
        emit clickedEmpty();
    m_pressedWhileEmpty = false;
}

void Ik5Disp::selectTo(QPoint widgetPoint)
{
    const Image *image = shownImage();
    if (!image)
        return;
    const QRect selection = selectionInImage(layoutOf(*image), image->pixels.size(), m_selectionStart,
                                             toView(widgetPoint));
    m_sel = selection.isEmpty() ? Selection{}
                                : Selection{selection.left(), selection.top(),
                                            selection.left() + selection.width(),
                                            selection.top() + selection.height()};
    update();
}

void Ik5Disp::dragEnterEvent(QDragEnterEvent *event)
{
    if (!firstDroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Ik5Disp::dragMoveEvent(QDragMoveEvent *event)
{
    if (!firstDroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Ik5Disp::dropEvent(QDropEvent *event)
{
    const QString path = firstDroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    emit fileDropped(path);
}

} // namespace imaging
