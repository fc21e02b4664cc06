// Draws the program's own artwork: the tool button bitmaps (normal and
// pressed), the full-screen slideshow's buttons (lit and dark), the window icon, the main window's background, the logos and the
// about icon. Run at build time; writes into the folder given as argument.
//
// Everything is drawn with QPainter from simple shapes, so the pictures are
// ours and the repository holds no binary art.

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QColor kInk(28, 40, 92);
const QColor kAccent(64, 96, 200);

using Glyph = std::function<void(QPainter &, const QRectF &)>;

QFont uiFont(qreal pixelSize, bool bold = true)
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void glyphOpen(QPainter &p, const QRectF &r)
{
    // A folder with its flap open.
    QPainterPath back;
    back.moveTo(r.left(), r.top() + r.height() * 0.2);
    back.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.2);
    back.lineTo(r.left() + r.width() * 0.45, r.top() + r.height() * 0.32);
    back.lineTo(r.right() - r.width() * 0.1, r.top() + r.height() * 0.32);
    back.lineTo(r.right() - r.width() * 0.1, r.bottom());
    back.lineTo(r.left(), r.bottom());
    back.closeSubpath();
    p.setBrush(QColor(236, 190, 70));
    p.drawPath(back);
    QPainterPath flap;
    flap.moveTo(r.left() + r.width() * 0.12, r.top() + r.height() * 0.5);
    flap.lineTo(r.right(), r.top() + r.height() * 0.5);
    flap.lineTo(r.right() - r.width() * 0.12, r.bottom());
    flap.lineTo(r.left(), r.bottom());
    flap.closeSubpath();
    p.setBrush(QColor(252, 214, 110));
    p.drawPath(flap);
}

void glyphClose(QPainter &p, const QRectF &r)
{
    // A picture with a cross over it.
    p.setBrush(QColor(240, 244, 255));
    p.drawRect(r.adjusted(0, r.height() * 0.1, 0, -r.height() * 0.1));
    QPen cross(QColor(200, 40, 40), r.width() * 0.16, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cross);
    const QRectF c = r.adjusted(r.width() * 0.22, r.height() * 0.28, -r.width() * 0.22, -r.height() * 0.28);
    p.drawLine(c.topLeft(), c.bottomRight());
    p.drawLine(c.topRight(), c.bottomLeft());
}

void glyphSave(QPainter &p, const QRectF &r)
{
    // A floppy disk.
    p.setBrush(QColor(60, 90, 170));
    p.drawRoundedRect(r, r.width() * 0.08, r.width() * 0.08);
    p.setBrush(QColor(235, 240, 250));
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.55, r.width() * 0.6, r.height() * 0.4));
    p.setBrush(QColor(190, 200, 220));
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.5, r.height() * 0.32));
}

void glyphEnd(QPainter &p, const QRectF &r)
{
    // A power symbol.
    QPen pen(QColor(200, 50, 50), r.width() * 0.14, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF ring = r.adjusted(r.width() * 0.12, r.height() * 0.16, -r.width() * 0.12, -r.height() * 0.04);
    p.drawArc(ring, 60 * 16, -300 * 16);
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.center().y()));
}

void glyphAdjust(QPainter &p, const QRectF &r)
{
    // Three sliders.
    for (int i = 0; i < 3; ++i) {
        const qreal y = r.top() + r.height() * (0.2 + 0.3 * i);
        p.setPen(QPen(QColor(70, 70, 90), r.height() * 0.08));
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        p.setPen(Qt::NoPen);
        p.setBrush(i == 1 ? QColor(230, 120, 40) : kAccent);
        const qreal x = r.left() + r.width() * (i == 0 ? 0.3 : i == 1 ? 0.7 : 0.45);
        p.drawEllipse(QPointF(x, y), r.height() * 0.13, r.height() * 0.13);
    }
}

void glyphPrint(QPainter &p, const QRectF &r)
{
    // A printer with a sheet coming out.
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.22, r.top(), r.width() * 0.56, r.height() * 0.4));
    p.setBrush(QColor(90, 100, 120));
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), r.height() * 0.45), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.22, r.top() + r.height() * 0.62, r.width() * 0.56, r.height() * 0.38));
}

void glyphThumb(QPainter &p, const QRectF &r)
{
    // A strip of small pictures.
    const qreal w = r.width() / 3.0;
    const QColor colours[] = {QColor(90, 160, 220), QColor(120, 190, 90), QColor(230, 150, 70)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(QRectF(r.left() + i * w + 1, r.top() + r.height() * 0.2, w - 2, r.height() * 0.6));
    }
}

// A tool button: a bevelled plate with a glyph on the left and a caption.
// The pressed picture is darker, its bevel inverted and its content moved one
// pixel down and right, as a pushed-in key looks.
QImage toolButton(QSize size, const Glyph &glyph, const QString &caption, bool pressed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(0, 0, size.width(), size.height());
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0, pressed ? QColor(150, 162, 205) : QColor(250, 251, 255));
    fill.setColorAt(1, pressed ? QColor(185, 195, 230) : QColor(196, 206, 240));
    p.fillRect(plate, fill);

    const QColor light(255, 255, 255), dark(70, 80, 120);
    p.setPen(QPen(pressed ? dark : light, 2));
    p.drawLine(QPointF(1, 1), QPointF(size.width() - 1, 1));
    p.drawLine(QPointF(1, 1), QPointF(1, size.height() - 1));
    p.setPen(QPen(pressed ? light : dark, 2));
    p.drawLine(QPointF(1, size.height() - 1), QPointF(size.width() - 1, size.height() - 1));
    p.drawLine(QPointF(size.width() - 1, 1), QPointF(size.width() - 1, size.height() - 1));

    const qreal shift = pressed ? 1.0 : 0.0;
    const qreal g = size.height() * 0.62;
    const QRectF glyphBox(size.height() * 0.22 + shift, (size.height() - g) / 2 + shift, g, g);
    p.setPen(QPen(QColor(40, 40, 60), 1));
    glyph(p, glyphBox);

    p.setPen(pressed ? QColor(20, 24, 60) : kInk);
    p.setFont(uiFont(size.height() * 0.34));
    const QRectF textBox(glyphBox.right() + 3, shift, size.width() - glyphBox.right() - 6, size.height());
    p.drawText(textBox, Qt::AlignCenter, caption);
    return image;
}

// A full-screen slideshow button, shown on black: the lit state is a bright
// plate with a dark glyph and caption, the other a dark plate with a lit
// outline, so the blinking reads at a glance from across a room.
QImage slideButton(QSize size, const Glyph &glyph, const QString &caption, QColor colour, bool lit)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate = QRectF(image.rect()).adjusted(2, 2, -2, -2);
    p.setPen(QPen(colour, 3));
    p.setBrush(lit ? colour : QColor(24, 24, 28));
    p.drawRoundedRect(plate, 10, 10);
    const QColor ink = lit ? QColor(16, 16, 20) : colour;
    const qreal g = size.height() * 0.5;
    const QRectF glyphBox(size.height() * 0.3, (size.height() - g) / 2, g, g);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    glyph(p, glyphBox);
    p.setPen(ink);
    p.setFont(uiFont(size.height() * 0.4));
    p.drawText(QRectF(glyphBox.right() + 4, 0, size.width() - glyphBox.right() - 10, size.height()), Qt::AlignCenter,
               caption);
    return image;
}

void glyphPlay(QPainter &p, const QRectF &r)
{
    const QPointF corners[] = {r.topLeft(), QPointF(r.right(), r.center().y()), r.bottomLeft()};
    p.drawPolygon(corners, 3);
}

void glyphPause(QPainter &p, const QRectF &r)
{
    p.drawRect(QRectF(r.left() + r.width() * 0.1, r.top(), r.width() * 0.3, r.height()));
    p.drawRect(QRectF(r.left() + r.width() * 0.6, r.top(), r.width() * 0.3, r.height()));
}

void glyphStop(QPainter &p, const QRectF &r)
{
    p.drawRect(r.adjusted(r.width() * 0.05, r.height() * 0.05, -r.width() * 0.05, -r.height() * 0.05));
}

QImage background()
{
    QImage image(630, 420, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 420);
    sky.setColorAt(0, QColor(214, 222, 250));
    sky.setColorAt(1, QColor(168, 182, 236));
    p.fillRect(image.rect(), sky);
    // Soft overlapping circles, like out-of-focus light in a photo.
    const struct { int x, y, r, a; } spots[] = {
        {520, 60, 90, 40}, {600, 300, 120, 30}, {380, 380, 80, 35}, {90, 400, 110, 25}, {470, 200, 60, 30}};
    for (const auto &s : spots) {
        QRadialGradient g(s.x, s.y, s.r);
        g.setColorAt(0, QColor(255, 255, 255, s.a));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QPoint(s.x, s.y), s.r, s.r);
    }
    return image;
}

// A camera lens: rings of glass with a highlight.
void drawLens(QPainter &p, QPointF centre, qreal radius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 44, 60));
    p.drawEllipse(centre, radius, radius);
    QRadialGradient glass(centre, radius * 0.8, centre - QPointF(radius * 0.3, radius * 0.3));
    glass.setColorAt(0, QColor(120, 170, 255));
    glass.setColorAt(0.6, QColor(40, 60, 140));
    glass.setColorAt(1, QColor(10, 14, 40));
    p.setBrush(glass);
    p.drawEllipse(centre, radius * 0.78, radius * 0.78);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(centre - QPointF(radius * 0.3, radius * 0.32), radius * 0.16, radius * 0.12);
}

// A font of the given family whose text fits the width, at most maxPixels high.
QFont fittedFont(const QString &family, const QString &text, qreal width, qreal maxPixels)
{
    QFont font(family);
    font.setBold(true);
    for (qreal px = maxPixels; px > 6; px -= 1) {
        font.setPixelSize(qRound(px));
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            break;
    }
    return font;
}

QImage logo(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal w = size.width(), h = size.height();
    const qreal radius = std::min(h * 0.3, w * 0.14);
    const QPointF lens(radius * 1.25, h * 0.4);
    drawLens(p, lens, radius);

    const QString latin = QStringLiteral("DejaVu Sans");
    const QRectF text(lens.x() + radius * 1.3, h * 0.12, w - lens.x() - radius * 1.3 - 6, h * 0.5);
    const QString name = QStringLiteral("Morvell"), kind = QStringLiteral("Image Viewer");
    p.setPen(kInk);
    p.setFont(fittedFont(latin, name, text.width(), h * 0.2));
    p.drawText(text.adjusted(0, 0, 0, -text.height() / 2), Qt::AlignLeft | Qt::AlignBottom, name);
    p.setPen(kAccent);
    p.setFont(fittedFont(latin, kind, text.width(), h * 0.13));
    p.drawText(text.adjusted(0, text.height() / 2 + 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, kind);

    QLinearGradient band(0, 0, w, 0);
    band.setColorAt(0, QColor(64, 96, 200));
    band.setColorAt(1, QColor(140, 170, 240));
    p.fillRect(QRectF(0, h * 0.76, w, h * 0.04), band);
    p.setFont(uiFont(std::min(h * 0.09, 13.0), false));
    p.setPen(QColor(90, 90, 110));
    p.drawText(QRectF(0, h * 0.8, w, h * 0.18), Qt::AlignCenter, QStringLiteral("写真を見る・整える・まとめて変換"));
    return image;
}

QImage icon(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, side);
    body.setColorAt(0, QColor(120, 150, 240));
    body.setColorAt(1, QColor(50, 70, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(side * 0.04, side * 0.18, side * 0.92, side * 0.72), side * 0.12, side * 0.12);
    p.drawRect(QRectF(side * 0.3, side * 0.1, side * 0.3, side * 0.12));
    drawLens(p, QPointF(side * 0.5, side * 0.54), side * 0.26);
    return image;
}

bool save(const QImage &image, const QDir &dir, const char *name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (image.save(path))
        return true;
    std::fprintf(stderr, "make_artwork: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_artwork OUTPUT_FOLDER\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;

    // Top row buttons are 75 x 38 px, bottom row 95 x 30 px: the pictures are
    // drawn at the size they are shown.
    struct Button { const char *stem; QSize size; Glyph glyph; const char *caption; };
    const Button buttons[] = {
        {"botton_open", {75, 38}, glyphOpen, "開く"},
        {"botton_close", {75, 38}, glyphClose, "閉じる"},
        {"botton_save", {75, 38}, glyphSave, "保存"},
        {"botton_end", {75, 38}, glyphEnd, "終了"},
        {"botton_cont", {95, 30}, glyphAdjust, "画像調整"},
        {"botton_print", {95, 30}, glyphPrint, "印刷"},
        {"botton_thumb", {95, 30}, glyphThumb, "サムネール"},
    };
    bool ok = true;
    for (const Button &b : buttons) {
        const QString caption = QString::fromUtf8(b.caption);
        ok &= save(toolButton(b.size, b.glyph, caption, false), out, (std::string(b.stem) + ".bmp").c_str());
        ok &= save(toolButton(b.size, b.glyph, caption, true), out, (std::string(b.stem) + "_p.bmp").c_str());
    }
    // The full-screen slideshow's buttons are 118 x 58 px; the first bitmap
    // of each is the lit one.
    struct SlideButton { const char *stem; Glyph glyph; const char *caption; QColor colour; };
    const SlideButton slideButtons[] = {
        {"slide_start", glyphPlay, "開始", QColor(90, 220, 110)},
        {"slide_stop", glyphPause, "停止", QColor(250, 200, 60)},
        {"slide_end", glyphStop, "終了", QColor(250, 90, 80)},
    };
    for (const SlideButton &b : slideButtons) {
        const QString caption = QString::fromUtf8(b.caption);
        for (const bool lit : {true, false})
            ok &= save(slideButton({118, 58}, b.glyph, caption, b.colour, lit), out,
                       (std::string(b.stem) + (lit ? "1" : "2") + ".bmp").c_str());
    }
    ok &= save(background(), out, "viewer_background.png");
    ok &= save(logo({289, 137}), out, "viewer_logo.png");
    ok &= save(logo({300, 204}), out, "splash_logo.png");
    QImage aboutIcon(100, 100, QImage::Format_RGB32);
    aboutIcon.fill(Qt::white);
    QPainter(&aboutIcon).drawImage(0, 0, icon(100));
    ok &= save(aboutIcon, out, "about_icon.png");
    ok &= save(icon(64), out, "morvell-viewer.png");
    return ok ? 0 : 1;
}
