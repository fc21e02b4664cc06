#include "imaging/core/TiffCodec.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include <tiffio.h>

#include "base/Error.h"

// libtiff reports errors and warnings through handlers we give each file,
// and returns error codes; nothing jumps, so C++ objects are safe here.
// Progress is reported between the bands we ask libtiff to decode.

namespace imaging {

namespace {

// The bytes of the file, as libtiff reads them.
struct Source
{
    QByteArrayView data;
    toff_t position = 0;
    QString firstError;
    bool decoding = false;
};

Source &sourceOf(thandle_t handle)
{
    return *static_cast<Source *>(handle);
}

tmsize_t readProc(thandle_t handle, void *buffer, tmsize_t size)
{
    Source &source = sourceOf(handle);
    const auto available = toff_t(source.data.size());
    if (size <= 0 || source.position >= available)
        return 0;
    const tmsize_t count = tmsize_t(std::min<toff_t>(toff_t(size), available - source.position));
    std::memcpy(buffer, source.data.data() + source.position, size_t(count));
    source.position += toff_t(count);
    return count;
}

tmsize_t writeProc(thandle_t, void *, tmsize_t)
{
    return 0;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    Source &source = sourceOf(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = source.position;
    else if (whence == SEEK_END)
        base = toff_t(source.data.size());
    if (offset > ~toff_t(0) - base)
        return toff_t(-1);
    source.position = base + offset;
    return source.position;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    return toff_t(sourceOf(handle).data.size());
}

// The data is in memory already: libtiff reads strips from it in place.
int mapProc(thandle_t handle, void **base, toff_t *size)
{
    Source &source = sourceOf(handle);
    *base = const_cast<char *>(source.data.data());
    *size = toff_t(source.data.size());
    return 1;
}

void unmapProc(thandle_t, void *, toff_t) {}

// The format comes from libtiff, checked there.
__attribute__((format(printf, 2, 0))) QString formatted(const char *module, const char *format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    const QString message = QString::fromLocal8Bit(text);
    return module && *module ? QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(module), message) : message;
}

int onError(TIFF *, void *user, const char *module, const char *format, va_list arguments)
{
    Source &source = *static_cast<Source *>(user);
    if (source.firstError.isEmpty())
        source.firstError = formatted(module, format, arguments);
    return 1; // handled: nothing goes to standard error
}

// Most warnings concern tags and lose nothing. libjpeg's warnings inside a
// JPEG-compressed strip arrive as warnings too, and those mean lost data.
int onWarning(TIFF *, void *user, const char *module, const char *format, va_list arguments)
{
    Source &source = *static_cast<Source *>(user);
    if (source.decoding && module && std::strcmp(module, "JPEGLib") == 0 && source.firstError.isEmpty())
        source.firstError = formatted(module, format, arguments);
    return 1;
}

struct TiffCloser
{
    void operator()(TIFF *tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

TiffFile open(Source &source)
{
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    if (!options)
        throwOutOfMemory();
    TIFFOpenOptionsSetErrorHandlerExtR(options, onError, &source);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, &source);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kMaxTiffBlockBytes));
    TiffFile tiff(TIFFClientOpenExt("image", "r", &source, readProc, writeProc, seekProc, closeProc, sizeProc,
                                    mapProc, unmapProc, options));
    TIFFOpenOptionsFree(options);
    if (!tiff)
        throwDamaged(source.firstError);
    return tiff;
}

QSize declaredSize(TIFF *tiff)
{
    uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    checkDeclaredSize(width, height);
    return {int(width), int(height)};
}

int orientationOf(TIFF *tiff)
{
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
    return orientation >= 1 && orientation <= 8 ? orientation : kUpright;
}

struct Resolution
{
    double x = kDefaultDpi;
    double y = kDefaultDpi;
};

Resolution resolutionOf(TIFF *tiff)
{
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y))
        return {};
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit == RESUNIT_NONE)
        return {};
    const double perInch = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    return {dpiOrDefault(double(x) * perInch), dpiOrDefault(double(y) * perInch)};
}

// What we refuse before decoding, said the way a person would.
void requireConvertible(TIFF *tiff, Source &source)
{
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    if (!TIFFIsCODECConfigured(compression))
        throwUnsupported(QStringLiteral("圧縮方式 %1 の TIFF").arg(compression));
    uint16_t bits = 1, format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    if (format == SAMPLEFORMAT_IEEEFP)
        throwUnsupported(QStringLiteral("浮動小数点の TIFF"));
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
        throwUnsupported(QStringLiteral("%1 ビットの TIFF").arg(bits));
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff, message))
        throwUnsupported(QStringLiteral("この種類の TIFF (%1)").arg(QString::fromLocal8Bit(message)));
    const qint64 block = TIFFIsTiled(tiff) ? qint64(TIFFTileSize64(tiff)) : qint64(TIFFStripSize64(tiff));
    if (block > kMaxTiffBlockBytes)
        throw Error::of(Error::Kind::TooLarge, QStringLiteral("TIFF のストリップが大きすぎます"));
    if (!source.firstError.isEmpty())
        throwDamaged(source.firstError);
}

// libtiff's RGBA rows (R, G, B, A bytes, alpha premultiplied) become RGB32
// on white, in place.
void rgbaToRgb32(QImage &pixels, int firstRow, int rows, bool alpha)
{
    for (int y = firstRow; y < firstRow + rows; ++y) {
        auto *row = reinterpret_cast<quint32 *>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const quint32 abgr = row[x];
            if (!alpha) {
                row[x] = qRgb(int(TIFFGetR(abgr)), int(TIFFGetG(abgr)), int(TIFFGetB(abgr)));
                continue;
            }
            const int clear = 255 - int(TIFFGetA(abgr));
            const auto onWhite = [clear](quint32 c) { return std::min(int(c) + clear, 255); };
            row[x] = qRgb(onWhite(TIFFGetR(abgr)), onWhite(TIFFGetG(abgr)), onWhite(TIFFGetB(abgr)));
        }
    }
}

// Most photos are 8-bit grey or RGB with contiguous samples: their decoded
// strips and tiles are copied into RGB32 directly, which takes half the time
// of libtiff's general RGBA conversion.
int plainSamplesPerPixel(TIFF *tiff)
{
    uint16_t bits = 0, samples = 0, planar = 0, photometric = 0, extra = 0;
    uint16_t *extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) || bits != 8 || planar != PLANARCONFIG_CONTIG || extra != 0)
        return 0;
    if ((photometric == PHOTOMETRIC_MINISBLACK && samples == 1) || (photometric == PHOTOMETRIC_RGB && samples == 3))
        return samples;
    return 0;
}

void samplesToRgb32(const uchar *in, int samples, int count, QRgb *out)
{
    if (samples == 1) {
        for (int x = 0; x < count; ++x)
            out[x] = qRgb(in[x], in[x], in[x]);
        return;
    }
    for (int x = 0; x < count; ++x, in += 3)
        out[x] = qRgb(in[0], in[1], in[2]);
}

// Decodes the blocks (strips, or tiles of blockWidth) one by one into a
// buffer of one block, and copies their rows into the image.
void decodePlainBlocks(TIFF *tiff, Source &source, QImage &pixels, int samples, ProgressReporter &reporter)
{
    const bool tiled = TIFFIsTiled(tiff);
    uint32_t blockWidth = uint32_t(pixels.width()), blockHeight = 0;
    if (tiled) {
        TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &blockWidth);
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &blockHeight);
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &blockHeight);
    }
    blockHeight = std::clamp<uint32_t>(blockHeight, 1, uint32_t(pixels.height()));
    const tmsize_t blockBytes = tiled ? TIFFTileSize(tiff) : TIFFStripSize(tiff);
    const qint64 rowBytes = qint64(blockWidth) * samples;
    if (blockWidth == 0 || blockBytes < rowBytes * blockHeight)
        throwDamaged(source.firstError);
    QByteArray block(blockBytes, Qt::Uninitialized);
    const auto *rows = reinterpret_cast<const uchar *>(block.constData());
    const auto width = uint32_t(pixels.width()), height = uint32_t(pixels.height());
    for (uint32_t top = 0; top < height; top += blockHeight) {
        for (uint32_t left = 0; left < width; left += blockWidth) {
            const tmsize_t got = tiled ? TIFFReadEncodedTile(tiff, TIFFComputeTile(tiff, left, top, 0, 0), block.data(), -1)
                                       : TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, top, 0), block.data(), -1);
            const uint32_t blockRows = std::min(blockHeight, height - top);
            if (got < rowBytes * (tiled ? blockHeight : blockRows) || !source.firstError.isEmpty())
                throwDamaged(source.firstError.isEmpty() ? truncatedText() : source.firstError);
            const int count = int(std::min(blockWidth, width - left));
            for (uint32_t r = 0; r < blockRows; ++r)
                samplesToRgb32(rows + r * rowBytes, samples, count,
                               reinterpret_cast<QRgb *>(pixels.scanLine(int(top + r))) + left);
        }
        reporter.report(int(qint64(top + blockHeight) * 99 / height));
    }
}

struct RgbaReader
{
    TIFFRGBAImage image{};
    bool begun = false;
    ~RgbaReader()
    {
        if (begun)
            TIFFRGBAImageEnd(&image);
    }
};

// Rows per band: whole strips or tile rows, so that none is decoded twice.
int bandHeight(TIFF *tiff)
{
    uint32_t rows = 0;
    if (TIFFIsTiled(tiff))
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &rows);
    else
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rows);
    return int(std::clamp<uint32_t>(rows, 1, 1 << 20));
}

// Everything else, through libtiff's RGBA conversion, a band of whole
// strips or tile rows at a time.
void decodeThroughRgba(TIFF *tiff, Source &source, QImage &pixels, ProgressReporter &reporter)
{
    RgbaReader reader;
    char message[1024] = {};
    if (!TIFFRGBAImageBegin(&reader.image, tiff, 1, message))
        throwDamaged(source.firstError.isEmpty() ? QString::fromLocal8Bit(message) : source.firstError);
    reader.begun = true;
    // Rows as stored: turning upright is ours, with every orientation.
    reader.image.req_orientation = reader.image.orientation;
    const bool alpha = reader.image.alpha != 0;
    const int band = bandHeight(tiff);
    const int height = pixels.height();
    for (int y = 0; y < height; y += band) {
        const int rows = std::min(band, height - y);
        reader.image.row_offset = y;
        reader.image.col_offset = 0;
        auto *raster = reinterpret_cast<uint32_t *>(pixels.scanLine(y));
        const int ok = TIFFRGBAImageGet(&reader.image, raster, uint32_t(pixels.width()), uint32_t(rows));
        if (!ok || !source.firstError.isEmpty())
            throwDamaged(source.firstError.isEmpty() ? truncatedText() : source.firstError);
        rgbaToRgb32(pixels, y, rows, alpha);
        reporter.report(int(qint64(y + rows) * 99 / height));
    }
}

} // namespace

StoredImage decodeTiff(QByteArrayView data, const ProgressFn &progress)
{
    ProgressReporter reporter(progress);
    reporter.report(0);
    Source source;
    source.data = data;
    const TiffFile tiff = open(source);
    const QSize size = declaredSize(tiff.get());
    requireConvertible(tiff.get(), source);

    QImage pixels = allocateImage(size.width(), size.height());
    source.decoding = true;
    if (const int samples = plainSamplesPerPixel(tiff.get()))
        decodePlainBlocks(tiff.get(), source, pixels, samples, reporter);
    else
        decodeThroughRgba(tiff.get(), source, pixels, reporter);
    const int orientation = orientationOf(tiff.get());
    const Resolution resolution = resolutionOf(tiff.get());
    StoredImage stored = storedWhole(Image{pixels, resolution.x, resolution.y}, orientation);
    reporter.done();
    return stored;
}

ImageInfo probeTiff(QByteArrayView data)
{
    Source source;
    source.data = data;
    const TiffFile tiff = open(source);
    const QSize size = declaredSize(tiff.get());
    const Resolution resolution = resolutionOf(tiff.get());
    return uprightInfo(FileFormat::Tiff, size, resolution.x, resolution.y, orientationOf(tiff.get()));
}

} // namespace imaging
