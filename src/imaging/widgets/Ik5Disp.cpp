#include "imaging/widgets/Ik5Disp.h"

#include <algorithm>
#include <cstdlib>

#include <QEvent>
#include <QPainter>

#include "base/Error.h"
#include "imaging/widgets/PanWindow.h"

namespace imaging {

using namespace display;

namespace {

// A zoomed-out picture is drawn from a smoothly scaled copy of the whole
// image, made once. Above this many pixels (a 30000-pixel panorama at 1/2)
// the visible part is drawn straight from the image instead.
constexpr qint64 kMaxCachedPixels = 4096LL * 4096LL;

bool drawsFromScaledCopy(QSize image, QSize zoomed)
{
    return zoomed.width() < image.width() && qint64(zoomed.width()) * zoomed.height() <= kMaxCachedPixels;
}

[[noreturn]] void invalidArgument(const QString &what)
{
    throw Error::of(Error::Kind::InvalidArgument, what);
}

} // namespace

Ik5Disp::Ik5Disp(QWidget *parent)
    : QFrame(parent)
    , m_pan(new PanWindow(this))
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAcceptDrops(true);
    m_pan->setWindowTitle(m_panCaption);
    connect(m_pan, &PanWindow::centreRequested, this, &Ik5Disp::centreOn);
    // Closed by the user, it stays closed until the program shows it again.
    connect(m_pan, &PanWindow::closedByUser, this, [this] { m_panOn = false; });
}

Ik5Disp::~Ik5Disp() = default;

void Ik5Disp::setHandle(Handle handle)
{
    m_handle = handle;
}

void Ik5Disp::setStep(int step)
{
    if (step != kStepClear && step != kStepPrepare && step != kStepShow)
        invalidArgument(QStringLiteral("display step %1 is not 0, 1 or 2").arg(step));
    m_step = step;
}

void Ik5Disp::perform()
{
    switch (m_step) {
    case kStepClear:
        clear();
        break;
    case kStepPrepare:
        prepare();
        break;
    default:
        lay();
        break;
    }
    if (!shownImage()) {
        m_picture.clear();
        m_panPicture.clear();
    }
    updateCursor();
    syncPanWindow();
    update();
}

void Ik5Disp::setSizeMode(int mode)
{
    if (mode != kFit && mode != kUnscaled)
        invalidArgument(QStringLiteral("display size mode %1 is not 0 (fit) or 2 (unscaled)").arg(mode));
    m_sizeMode = mode;
}

void Ik5Disp::setZoom(double zoom)
{
    if (!(zoom >= kMinZoom && zoom <= kMaxZoom))
        invalidArgument(QStringLiteral("zoom %1 is outside %2 to %3").arg(zoom).arg(kMinZoom).arg(kMaxZoom));
    m_zoom = zoom;
}

void Ik5Disp::setZoomAnchorX(int x)
{
    m_zoomAnchor.setX(x);
}

void Ik5Disp::setZoomAnchorY(int y)
{
    m_zoomAnchor.setY(y);
}

void Ik5Disp::setScrollX(int x)
{
    m_scroll.setX(x);
}

void Ik5Disp::setScrollY(int y)
{
    m_scroll.setY(y);
}

void Ik5Disp::setSelectionMode(bool on)
{
    m_selectionMode = on;
    m_drawingSelection = false;
    updateCursor();
}

void Ik5Disp::setSelLeft(int value)
{
    m_sel.left = value;
    update();
}

void Ik5Disp::setSelTop(int value)
{
    m_sel.top = value;
    update();
}

void Ik5Disp::setSelRight(int value)
{
    m_sel.right = value;
    update();
}

void Ik5Disp::setSelBottom(int value)
{
    m_sel.bottom = value;
    update();
}

void Ik5Disp::showPanWindow(int on)
{
    m_panOn = on != 0;
    syncPanWindow();
}

void Ik5Disp::setPanLeft(int left)
{
    m_panPlace.setX(left);
    m_pan->move(m_panPlace);
}

void Ik5Disp::setPanTop(int top)
{
    m_panPlace.setY(top);
    m_pan->move(m_panPlace);
}

void Ik5Disp::setPanSize(int size)
{
    if (size < kMinPanSize || size > kMaxPanSize)
        invalidArgument(QStringLiteral("pan window size %1 is outside %2 to %3")
                            .arg(size).arg(kMinPanSize).arg(kMaxPanSize));
    m_panSize = size;
    syncPanWindow();
}

void Ik5Disp::setPanCaption(const QString &caption)
{
    m_panCaption = caption;
    m_pan->setWindowTitle(caption);
}

QWidget *Ik5Disp::panWindow() const
{
    return m_pan;
}

void Ik5Disp::bringToFront()
{
    raise();
}

void Ik5Disp::setBackColor(const QColor &color)
{
    m_backColor = color;
    update();
}

QRect Ik5Disp::imageRect() const
{
    const Image *image = shownImage();
    if (!image)
        return {};
    return layoutOf(*image).placed.translated(contentsRect().topLeft());
}

const Image *Ik5Disp::shownImage() const
{
    return m_cleared ? nullptr : ImageStore::instance().find(m_handle);
}

QPoint Ik5Disp::toView(QPoint widgetPoint) const
{
    return widgetPoint - contentsRect().topLeft();
}

double Ik5Disp::effectiveZoom(QSize image) const
{
    return m_sizeMode == kFit ? fitZoom(image, viewSize()) : m_zoom;
}

Layout Ik5Disp::layoutOf(const Image &image) const
{
    const QSize size = image.pixels.size();
    return layOut(size, viewSize(), effectiveZoom(size), m_scroll);
}

QRect Ik5Disp::selectionRect() const
{
    return QRect(std::min(m_sel.left, m_sel.right), std::min(m_sel.top, m_sel.bottom),
                 std::abs(m_sel.right - m_sel.left), std::abs(m_sel.bottom - m_sel.top));
}

bool Ik5Disp::mayScroll() const
{
    return m_sizeMode == kUnscaled && !m_selectionMode && shownImage();
}

void Ik5Disp::clear()
{
    m_cleared = true;
    m_drawingSelection = false;
}

void Ik5Disp::prepare()
{
    m_cleared = false;
    // Scaling a large photo is the slow part of showing it: do it now,
    // not in the first repaint.
    if (const Image *image = shownImage()) {
        const QSize size = image->pixels.size();
        const QSize zoomed = zoomedSize(size, effectiveZoom(size));
        if (drawsFromScaledCopy(size, zoomed))
            (void)m_picture.get(m_handle, image->pixels, zoomed);
    }
}

void Ik5Disp::lay()
{
    m_cleared = false;
    const Image *image = shownImage();
    if (!image)
        return;
    const QSize size = image->pixels.size();
    const QSize view = viewSize();
    const double zoom = effectiveZoom(size);
    const QPointF viewCentre(view.width() / 2.0, view.height() / 2.0);
    if (m_handle != m_laidOutHandle) {
        // A newly shown image starts with its centre in the middle.
        m_scroll = scrollPlacing(size, view, zoom, QPointF(size.width() / 2.0, size.height() / 2.0),
                                 viewCentre);
    } else if (zoom != m_laidOutZoom) {
        // The scale changed: the image point under the anchor (or under the
        // centre) stays where it was.
        const QPointF anchor = m_zoomAnchor.isNull() ? viewCentre : QPointF(toView(m_zoomAnchor));
        const Layout before = layOut(size, view, m_laidOutZoom, m_scroll);
        m_scroll = scrollPlacing(size, view, zoom, viewToImage(before, size, anchor), anchor);
    }
    m_scroll = layOut(size, view, zoom, m_scroll).scroll;
    m_laidOutHandle = m_handle;
    m_laidOutZoom = zoom;
}

void Ik5Disp::centreOn(QPointF imagePoint)
{
    const Image *image = shownImage();
    if (!image)
        return;
    const QSize size = image->pixels.size();
    const QSize view = viewSize();
    m_scroll = scrollPlacing(size, view, effectiveZoom(size), imagePoint,
                             QPointF(view.width() / 2.0, view.height() / 2.0));
    syncPanWindow();
    update();
}

void Ik5Disp::syncPanWindow()
{
    const Image *image = shownImage();
    // isVisibleTo: the display is not hidden itself (the slideshow takes its
    // place), whether or not its window is on screen yet.
    const bool wanted = m_panOn && image && m_sizeMode == kUnscaled && isVisibleTo(window());
    if (!wanted) {
        m_pan->hide();
        return;
    }
    const QSize size = image->pixels.size();
    m_pan->setPicture(m_panPicture.get(m_handle, image->pixels, fittedToLongSide(size, m_panSize)), size);
    m_pan->setVisiblePart(visiblePart(layoutOf(*image), size, viewSize()));
    if (m_pan->isHidden()) {
        m_pan->move(m_panPlace);
        m_pan->show();
    }
}

void Ik5Disp::updateCursor()
{
    if (m_selectionMode && shownImage())
        setCursor(Qt::CrossCursor);
    else if (mayScroll())
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

bool Ik5Disp::event(QEvent *event)
{
    const bool handled = QFrame::event(event);
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        syncPanWindow();
    return handled;
}

void Ik5Disp::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (const Image *image = shownImage())
        m_scroll = layoutOf(*image).scroll;
    syncPanWindow();
}

void Ik5Disp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), m_backColor);
    if (const Image *image = shownImage()) {
        const Layout layout = layoutOf(*image);
        painter.save();
        painter.setClipRect(contentsRect());
        painter.translate(contentsRect().topLeft());
        drawPicture(painter, *image, layout);
        drawSelection(painter, *image, layout);
        painter.restore();
    }
    drawFrame(&painter);
}

void Ik5Disp::drawPicture(QPainter &painter, const Image &image, const Layout &layout)
{
    const QSize size = image.pixels.size();
    const QSize zoomed = layout.placed.size();
    const QRect view(QPoint(0, 0), viewSize());
    if (drawsFromScaledCopy(size, zoomed)) {
        const QImage &picture = m_picture.get(m_handle, image.pixels, zoomed);
        const QRect part = view.translated(-layout.placed.topLeft()) & picture.rect();
        painter.drawImage(layout.placed.topLeft() + part.topLeft(), picture, part);
        return;
    }
    // Only the pixels in view are drawn; enlarged pixels stay sharp squares.
    const QRect part = visiblePart(layout, size, view.size()).toAlignedRect() & image.pixels.rect();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, zoomed.width() < size.width());
    painter.drawImage(imageToView(layout, size, part), image.pixels, part);
}

void Ik5Disp::drawSelection(QPainter &painter, const Image &image, const Layout &layout) const
{
    const QRect selection = selectionRect();
    if (selection.isEmpty())
        return;
    // An outline drawn on the frame's outermost pixels, inside the frame.
    const QRect frame = imageToView(layout, image.pixels.size(), selection).toRect().adjusted(0, 0, -1, -1);
    painter.setBrush(Qt::NoBrush);
    // White under black dashes: visible on dark and light pictures alike.
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(frame);
}

} // namespace imaging
