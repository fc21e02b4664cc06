#pragma once

#include <QColor>
#include <QFrame>
#include <QPoint>
#include <QString>

#include "imaging/core/ImageStore.h"
#include "imaging/widgets/DisplayGeometry.h"
#include "imaging/widgets/ScaledPicture.h"

namespace imaging {

namespace display {
class PanWindow;
}

// The suite's image display: shows the image a handle names, fitted into the
// display or unscaled with a zoom factor, lets the user draw a selection
// frame, accepts dropped files and keeps a separate pan window.
//
// Dispatch ids of the members, for comparison with the callers:
//   [10] handle/setHandle          [11] step/setStep, [1] perform()
//   [18] sizeMode/setSizeMode      [25] zoom/setZoom
//   [39] setZoomAnchorX            [40] setZoomAnchorY
//   [14] scrollX/setScrollX        [15] scrollY/setScrollY
//   [26] selectionMode/setSelectionMode
//   [27] selLeft  [28] selTop  [29] selRight  [30] selBottom (and setters)
//   [3] showPanWindow(int)         [19] setPanLeft  [20] setPanTop
//   [21] setPanSize  [22] setPanCaption          [4] bringToFront()
// Events: [9] clickedEmpty  [14] pointerPressed  [15] pointerMoved
//         [16] pointerReleased  [18] zoomAnchor  [21] fileDropped
//
// Showing an image is done in steps: set the handle, then step 1 and
// perform (take the image, prepare its scaled picture), then step 2 and
// perform (lay it out: zoom anchor, scroll, pan window). Step 0 clears the
// display; a later step 2 shows the handle's image again. A handle of 0 or
// of a released image shows nothing and counts as "no image".
class Ik5Disp : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kStepClear = 0;
    static constexpr int kStepPrepare = 1;
    static constexpr int kStepShow = 2;

    static constexpr int kFit = 0;      // fit into the display, centred, never enlarged
    static constexpr int kUnscaled = 2; // image pixels times the zoom factor, scrolled

    static constexpr int kMinPanSize = 16;
    static constexpr int kMaxPanSize = 4096;

    explicit Ik5Disp(QWidget *parent = nullptr);
    ~Ik5Disp() override;

    [[nodiscard]] Handle handle() const { return m_handle; }
    void setHandle(Handle handle);

    [[nodiscard]] int step() const { return m_step; }
    // Throws Error(InvalidArgument) for a step other than 0, 1, 2.
    void setStep(int step);
    void perform();

    [[nodiscard]] int sizeMode() const { return m_sizeMode; }
    // Throws Error(InvalidArgument) for a mode other than kFit or kUnscaled.
    void setSizeMode(int mode);

    [[nodiscard]] double zoom() const { return m_zoom; }
    // Throws Error(InvalidArgument) outside display::kMinZoom..kMaxZoom.
    void setZoom(double zoom);

    // A point of the display (widget pixels) that keeps showing the same
    // image point when the next step 2 meets a changed scale; 0, 0 = none,
    // and the centre of the display is kept instead.
    [[nodiscard]] QPoint zoomAnchorPoint() const { return m_zoomAnchor; }
    void setZoomAnchorX(int x);
    void setZoomAnchorY(int y);

    // Scroll position in display pixels of the zoomed image. Any value may be
    // set; drawing clamps it to the valid range (and step 2 stores that).
    [[nodiscard]] int scrollX() const { return m_scroll.x(); }
    [[nodiscard]] int scrollY() const { return m_scroll.y(); }
    void setScrollX(int x);
    void setScrollY(int y);

    // While on, pressing and dragging draws the selection frame.
    [[nodiscard]] bool selectionMode() const { return m_selectionMode; }
    void setSelectionMode(bool on);

    // The selection frame in image pixels, right and bottom exclusive; all 0
    // means no frame. A frame drawn by the user is normalised and clamped to
    // the image; setting all four to 0 removes the frame.
    [[nodiscard]] int selLeft() const { return m_sel.left; }
    [[nodiscard]] int selTop() const { return m_sel.top; }
    [[nodiscard]] int selRight() const { return m_sel.right; }
    [[nodiscard]] int selBottom() const { return m_sel.bottom; }
    void setSelLeft(int value);
    void setSelTop(int value);
    void setSelRight(int value);
    void setSelBottom(int value);

    // -1 (or any nonzero value) switches the pan window on, 0 off. While on,
    // it is shown whenever the display shows an image unscaled and is not
    // hidden itself. Closing it by its title bar switches it off.
    void showPanWindow(int on);
    [[nodiscard]] bool panWindowOn() const { return m_panOn; }
    // The pan window's outer left and top on the screen, in pixels.
    void setPanLeft(int left);
    void setPanTop(int top);
    // The long side of the pan window's picture in pixels. Throws
    // Error(InvalidArgument) outside kMinPanSize..kMaxPanSize.
    void setPanSize(int size);
    void setPanCaption(const QString &caption);
    [[nodiscard]] int panLeft() const { return m_panPlace.x(); }
    [[nodiscard]] int panTop() const { return m_panPlace.y(); }
    [[nodiscard]] int panSize() const { return m_panSize; }
    [[nodiscard]] QString panCaption() const { return m_panCaption; }
    [[nodiscard]] QWidget *panWindow() const;

    void bringToFront();

    // The colour around and behind the image.
    [[nodiscard]] QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);

    // True while an image is shown: not cleared, and the handle names a live image.
    [[nodiscard]] bool isShowingImage() const { return shownImage() != nullptr; }
    // Where the whole image is drawn, in widget pixels; empty when none is shown.
    [[nodiscard]] QRect imageRect() const;

signals:
    void clickedEmpty();
    void pointerPressed(int x, int y);
    void pointerMoved(int x, int y);
    void pointerReleased();
    void zoomAnchor(int x, int y);
    void fileDropped(const QString &path);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    struct Selection
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    [[nodiscard]] const Image *shownImage() const;
    [[nodiscard]] QSize viewSize() const { return contentsRect().size(); }
    [[nodiscard]] QPoint toView(QPoint widgetPoint) const;
    [[nodiscard]] double effectiveZoom(QSize image) const;
    [[nodiscard]] display::Layout layoutOf(const Image &image) const;
    [[nodiscard]] QRect selectionRect() const;
    [[nodiscard]] bool mayScroll() const;

    void clear();
    void prepare();
    void lay();
    void centreOn(QPointF imagePoint);
    void drawPicture(QPainter &painter, const Image &image, const display::Layout &layout);
    void drawSelection(QPainter &painter, const Image &image, const display::Layout &layout) const;
    void selectTo(QPoint widgetPoint);
    void syncPanWindow();
    void updateCursor();

    Handle m_handle = 0;
    int m_step = kStepClear;
    bool m_cleared = true;
    int m_sizeMode = kFit;
    double m_zoom = 1.0;
    QPoint m_zoomAnchor;
    QPoint m_scroll;
    bool m_selectionMode = false;
    Selection m_sel;
    QColor m_backColor{128, 128, 128};

    // What the last step 2 laid out, so a changed scale can keep the anchor.
    Handle m_laidOutHandle = 0;
    double m_laidOutZoom = 0.0;

    // The pointer gesture in progress.
    bool m_pressedWhileEmpty = false;
    bool m_drawingSelection = false;
    QPoint m_selectionStart; // view coordinates

    display::ScaledPicture m_picture;
    display::ScaledPicture m_panPicture;
    display::PanWindow *m_pan = nullptr;
    bool m_panOn = false;
    QPoint m_panPlace;
    int m_panSize = 150;
    QString m_panCaption = QStringLiteral("Pan Window");
};

} // namespace imaging
