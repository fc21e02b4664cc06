#include "imaging/print/Ik5Print.h"

#include <QFileInfo>
#include <QPainter>

#include "base/Error.h"
#include "imaging/core/Resize.h"
#include "imaging/print/PrinterSettingsFile.h"
#include "platform/MessageBox.h"
#include "platform/Printing.h"

namespace imaging {

namespace {

constexpr double kTenthsMmPerInch = 254.0;

QColor fromBgr(qint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int horizontalFlag(qint32 place)
{
    return place == 1 ? Qt::AlignHCenter : place == 2 ? Qt::AlignRight : Qt::AlignLeft;
}

int verticalFlag(qint32 place)
{
    return place == 1 ? Qt::AlignVCenter : place == 2 ? Qt::AlignBottom : Qt::AlignTop;
}

// \r\n and a lone \r break lines as \n does.
QString withPlainLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

struct Ik5Print::Job
{
    explicit Job(const platform::PrinterChoice &choice)
        : print(choice)
    {
    }

    // Page coordinates (0.1 mm) to device dots.
    [[nodiscard]] QRectF toDevice(qint32 x, qint32 y, qint32 width, qint32 height) const
    {
        const double dots = print.resolution() / kTenthsMmPerInch;
        return QRectF(x * dots, y * dots, width * dots, height * dots);
    }

    platform::PrintJob print;
    int pagesStarted = 1;
    bool pageOpen = true;
};

Ik5Print::Ik5Print(QObject *parent)
    : QObject(parent)
{
}

Ik5Print::~Ik5Print() = default;

QString Ik5Print::settingsPath() const
{
    return m_settingsFile.isEmpty() ? QString() : QFileInfo(m_settingsFile).absoluteFilePath();
}

bool Ik5Print::setupDialog(QWidget *owner)
{
    const QString path = settingsPath();
    platform::PrinterChoice choice = readPrinterSettings(path);
    if (!platform::printerSetupDialog(owner, choice) || path.isEmpty())
        return false;
    try {
        writePrinterSettings(path, choice);
    } catch (const Error &error) {
        platform::messageBox(error.description(), platform::msgbox::Exclamation);
        return false;
    }
    return true;
}

Ik5Print::Device Ik5Print::openJob(QWidget *)
{
    auto opened = std::make_unique<Job>(readPrinterSettings(settingsPath()));
    const Device device = ++m_lastDevice;
    m_jobs.emplace(device, std::move(opened));
    return device;
}

Ik5Print::Job &Ik5Print::job(Device device)
{
    const auto found = m_jobs.find(device);
    if (found == m_jobs.end())
        throw Error(Error::Kind::InvalidHandle, QStringLiteral("この印刷ジョブは開いていません。"));
    return *found->second;
}

Ik5Print::Job &Ik5Print::pageOf(Device device)
{
    Job &open = job(device);
    if (!open.pageOpen)
        startPage(device);
    return open;
}

void Ik5Print::startPage(Device device)
{
    Job &open = job(device);
    if (open.pageOpen)
        return;
    open.print.newPage();
    ++open.pagesStarted;
    open.pageOpen = true;
}

void Ik5Print::endPage(Device device)
{
    job(device).pageOpen = false;
}

void Ik5Print::endJob(Device device)
{
    auto node = m_jobs.extract(device);
    if (node.empty())
        job(device).pageOpen = false; // throws: the device names no job
    m_lastPdfPath = node.mapped()->print.finish();
}

void Ik5Print::abortJob(Device device)
{
    m_jobs.erase(device);
}

void Ik5Print::setOutput(int output)
{
    if (output != kOutputPrinter)
        throw Error(Error::Kind::InvalidArgument, QStringLiteral("印刷の出力先 %1 はありません。").arg(output));
}

bool Ik5Print::drawImage(Device device, Handle handle, qint32 x, qint32 y, qint32 width, qint32 height,
                         qint32 flag)
{
    Job &open = pageOf(device);
    const Image *image = ImageStore::instance().find(handle);
    if (!image || width <= 0 || height <= 0)
        return false;
    const QRectF box = open.toDevice(x, y, width, height);
    const QRectF target = flag == kFitKeepAspect ? fitKeepingAspect(image->pixels.size(), box) : box;
    const double dpi = open.print.resolution();
    const QSize send = pixelsToSend(image->pixels.size(), target.size() / dpi, kMaxImageDpi);
    QPainter &painter = open.print.painter();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (send == image->pixels.size())
        painter.drawImage(target, image->pixels);
    else
        painter.drawImage(target, resizeImage(image->pixels, send.width(), send.height()));
    return true;
}

void Ik5Print::resetText()
{
    m_style = TextStyle();
}

bool Ik5Print::drawTextInBox(Device device, qint32 x, qint32 y, qint32 width, qint32 height)
{
    Job &open = pageOf(device);
    if (width <= 0 || height <= 0)
        return false;
    const int flags = horizontalFlag(m_style.horizontalPlace) | verticalFlag(m_style.verticalPlace)
        | (m_style.wordWrap ? Qt::TextWordWrap : 0);
    drawText(open, open.toDevice(x, y, width, height), flags);
    return true;
}

bool Ik5Print::drawTextAt(Device device, qint32 x, qint32 y)
{
    Job &open = pageOf(device);
    // From the point to the printable area's far corner, never clipped.
    const QRectF start = open.toDevice(x, y, 0, 0);
    const QPaintDevice *page = open.print.painter().device();
    drawText(open, QRectF(start.topLeft(), QPointF(page->width(), page->height())),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip);
    return true;
}

void Ik5Print::drawText(Job &open, const QRectF &box, int flags)
{
    QFont font(m_style.fontName);
    font.setPointSizeF(m_style.points); // points stay points on any printer
    font.setBold(m_style.bold);
    font.setItalic(m_style.italic);
    font.setUnderline(m_style.underline);
    const QString text = withPlainLineBreaks(m_style.text);

    QPainter &painter = open.print.painter();
    painter.save();
    painter.setFont(font);
    if (!(flags & Qt::TextDontClip))
        painter.setClipRect(box);
    if (!m_style.transparent)
        painter.fillRect(painter.boundingRect(box, flags, text), fromBgr(m_style.backColour));
    painter.setPen(fromBgr(m_style.textColour));
    painter.drawText(box, flags, text);
    painter.restore();
}

QRectF fitKeepingAspect(QSizeF image, const QRectF &box)
{
    if (image.isEmpty() || box.isEmpty())
        return QRectF(box.center(), QSizeF(0, 0));
    const QSizeF fitted = image.scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.left() + (box.width() - fitted.width()) / 2, box.top() + (box.height() - fitted.height()) / 2,
                  fitted.width(), fitted.height());
}

QSize pixelsToSend(QSize image, QSizeF inches, double maxDpi)
{
    if (image.isEmpty())
        return image;
    const double most = std::min(inches.width() * maxDpi / image.width(), inches.height() * maxDpi / image.height());
    if (most >= 1.0)
        return image;
    return QSize(std::max(1, qRound(image.width() * most)), std::max(1, qRound(image.height() * most)));
}

} // namespace imaging
