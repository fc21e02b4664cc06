#include "imaging/widgets/Ik5Thumb.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include "imaging/core/ImageFolder.h"
#include "imaging/core/Thumbnails.h"
#include "platform/Guard.h"
#include "platform/core/FolderPaths.h"

namespace imaging {

namespace {

constexpr int kGap = 4;
const QColor kPlaceholder(200, 200, 205);
const QColor kSelection(40, 80, 220);

void drawBrokenMark(QPainter &painter, const QRect &cell)
{
    painter.fillRect(cell, QColor(250, 236, 236));
    painter.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    const QRect cross = cell.adjusted(cell.width() / 4, cell.height() / 4, -cell.width() / 4, -cell.height() / 4);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

} // namespace

Ik5Thumb::Ik5Thumb(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    // Always there, so the cells keep one height whatever the folder holds.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

Ik5Thumb::~Ik5Thumb() = default;

void Ik5Thumb::prepare()
{
    // A build under way ends at its next item.
    if (m_builder)
        m_builder->cancel();
    ++m_listing;
    m_listedFolder = m_folder;
    m_items.clear();
    for (const QString &name : imageFilesIn(m_folder))
        m_items.push_back(Item{name, {}, false, false, {}});
    m_selected = -1;
    m_cancel = false;
    horizontalScrollBar()->setValue(0);
    updateScrollRange();
    viewport()->update();
}

void Ik5Thumb::build()
{
    if (m_building) {
        // Asked from a handler while a build runs: the running one ends at
        // its next item and this one runs once it has unwound.
        m_buildAgain = true;
        if (m_builder)
            m_builder->cancel();
        return;
    }
    m_building = true;
    do {
        m_buildAgain = false;
        runBuild();
    } while (m_buildAgain && !m_cancel);
    m_building = false;
}

void Ik5Thumb::runBuild()
{
    const int listing = m_listing;
    const int count = itemCount();
    if (m_decode) {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << pathOf(i);
        const qreal ratio = devicePixelRatioF();
        const int side = qRound(cellSide() * ratio);
        m_builder = std::make_unique<ThumbnailBuilder>(paths, QSize(side, side));
    }
    // A handler may cancel, list another folder or ask for a new build
    // while this one waits or raises its event.
    const auto stillCurrent = [&] { return !m_cancel && !m_buildAgain && listing == m_listing; };
    for (int i = 0; i < count && stillCurrent(); ++i) {
        if (m_decode) {
            const std::optional<Thumbnail> made =
                m_builder->take(i, m_yield ? std::function<void()>(platform::yieldToEventLoop) : nullptr);
            if (!made || !stillCurrent())
                break;
            Item &item = m_items[std::size_t(i)];
            item.picture = made->image;
            item.broken = made->image.isNull();
            item.reason = made->error;
            item.done = true;
            viewport()->update(itemRect(i));
        }
        emit itemLoaded(m_listedFolder, m_items[std::size_t(i)].name, i + 1, count);
    }
    m_builder.reset();
}

void Ik5Thumb::setCancel(bool cancel)
{
    m_cancel = cancel;
    if (cancel && m_builder)
        m_builder->cancel();
}

QString Ik5Thumb::chosenPath() const
{
    return m_selected >= 0 ? pathOf(m_selected) : QString();
}

QString Ik5Thumb::pathOf(int index) const
{
    return folderlists::joinFolder(m_listedFolder, m_items[std::size_t(index)].name);
}

QImage Ik5Thumb::itemPicture(int index) const
{
    return index >= 0 && index < itemCount() ? m_items[std::size_t(index)].picture : QImage();
}

bool Ik5Thumb::itemBroken(int index) const
{
    return index >= 0 && index < itemCount() && m_items[std::size_t(index)].broken;
}

int Ik5Thumb::cellSide() const
{
    return std::max(8, viewport()->height() - 2 * kGap);
}

QRect Ik5Thumb::itemRect(int index) const
{
    const int side = cellSide();
    return QRect(kGap + index * (side + kGap) - horizontalScrollBar()->value(), kGap, side, side);
}

int Ik5Thumb::itemAt(QPoint point) const
{
    const int side = cellSide();
    const int x = point.x() + horizontalScrollBar()->value() - kGap;
    if (x < 0 || point.y() < kGap || point.y() >= kGap + side)
        return -1;
    const int index = x / (side + kGap);
    return x % (side + kGap) < side && index < itemCount() ? index : -1;
}

void Ik5Thumb::updateScrollRange()
{
    const int side = cellSide();
    const int total = kGap + itemCount() * (side + kGap);
    horizontalScrollBar()->setRange(0, std::max(0, total - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(side + kGap);
}

void Ik5Thumb::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int first = std::max(0, itemAt(QPoint(kGap, kGap)));
    for (int i = first; i < itemCount(); ++i) {
        const QRect cell = itemRect(i);
        if (cell.left() > viewport()->width())
            break;
        const Item &item = m_items[std::size_t(i)];
        if (item.broken) {
            drawBrokenMark(painter, cell);
        } else if (item.picture.isNull()) {
            painter.fillRect(cell, kPlaceholder);
        } else {
            // Decoded at device pixels: drawn at its logical size, centred.
            const QSizeF shown = QSizeF(item.picture.size()) / devicePixelRatioF();
            const QRectF at(cell.left() + (cell.width() - shown.width()) / 2,
                            cell.top() + (cell.height() - shown.height()) / 2, shown.width(), shown.height());
            painter.drawImage(at, item.picture);
        }
        if (i == m_selected) {
            painter.setPen(QPen(kSelection, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cell.adjusted(-1, -1, 1, 1));
        }
    }
}

void Ik5Thumb::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void Ik5Thumb::choose(int index)
{
    if (index < 0 || index >= itemCount())
        return;
    m_selected = index;
    viewport()->update();
    emit itemChosen();
}

void Ik5Thumb::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        choose(itemAt(event->position().toPoint()));
}

void Ik5Thumb::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept(); // the press chose already
}

void Ik5Thumb::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        const int next = std::clamp(m_selected + step, 0, itemCount() - 1);
        if (next >= 0) {
            m_selected = next;
            const QRect cell = itemRect(next);
            if (cell.left() < 0 || cell.right() > viewport()->width())
                horizontalScrollBar()->setValue(horizontalScrollBar()->value() + cell.left() - kGap);
            viewport()->update();
        }
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose(m_selected);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

bool Ik5Thumb::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = itemAt(help->pos());
        if (index < 0) {
            QToolTip::hideText();
            return true;
        }
        const Item &item = m_items[std::size_t(index)];
        QToolTip::showText(help->globalPos(), item.broken ? item.name + u'\n' + item.reason : item.name, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace imaging
