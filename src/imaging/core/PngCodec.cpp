#include "imaging/core/PngCodec.h"

#include <csetjmp>
#include <cstring>

#include <png.h>

#include <QtEndian>

#include "base/Error.h"

// libpng reports a failure through a callback that must not return. Ours
// keeps the message and jumps back to the setjmp of the stage function that
// called the library; as in the JPEG codec, a stage function holds nothing
// with a destructor across its library calls, and everything that needs one
// lives in the caller (Decoder, Encoder). Progress is reported from our own
// row loops, between library calls, so a callback's exception passes through
// C++ frames only.

namespace imaging {

namespace {

constexpr bool kLittleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
constexpr qsizetype kSignatureSize = 8;
constexpr qsizetype kChunkOverhead = 12; // length, type, CRC
// Deflate turns at most 258 bytes into 2 bits: a stream this many times
// smaller than the image's rows cannot hold them.
constexpr qint64 kMaxDeflateRatio = 1032;
// Ancillary chunks are cached and allocated within these bounds; a text
// chunk claiming gigabytes is skipped, not allocated.
constexpr png_uint_32 kMaxCachedChunks = 256;
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1000 * 1000;
// Known chunks we never use: skipped without decompressing them.
constexpr png_byte kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0sPLT\0iCCP\0tIME\0hIST\0sCAL\0pCAL\0oFFs\0bKGD\0sBIT";
constexpr int kSkippedChunkCount = int(sizeof kSkippedChunks) / 5;

// The chunk structure, walked by us without libpng: the header the file
// declares, the bytes of image data it holds, and what the probe reports.
struct ChunkSummary
{
    quint32 width = 0;
    quint32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    qint64 imageDataBytes = 0;
    int dotsPerMeterX = 0;
    int dotsPerMeterY = 0;
    int orientation = kUpright;
};

quint32 be32(QByteArrayView data, qsizetype at)
{
    return qFromBigEndian<quint32>(data.data() + at);
}

int channelsOf(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1; // grey, palette
    }
}

// Walks the chunks up to IEND or the end of the data. With untilImageData,
// stops at the first IDAT (all the probe needs).
ChunkSummary summarise(QByteArrayView data, bool untilImageData)
{
    constexpr qsizetype kIhdrEnd = kSignatureSize + kChunkOverhead + 13;
    if (data.size() < kIhdrEnd || data.sliced(kSignatureSize + 4, 4) != "IHDR")
        throwDamaged(truncatedText());
    ChunkSummary summary;
    summary.width = be32(data, 16);
    summary.height = be32(data, 20);
    summary.bitDepth = static_cast<quint8>(data[24]);
    summary.colourType = static_cast<quint8>(data[25]);
    for (qsizetype pos = kSignatureSize; data.size() - pos >= kChunkOverhead;) {
        const qint64 length = be32(data, pos);
        const QByteArrayView type = data.sliced(pos + 4, 4);
        const qsizetype body = pos + 8;
        const bool whole = length <= data.size() - body - 4;
        if (type == "IDAT") {
            if (untilImageData)
                break;
            summary.imageDataBytes += length;
        } else if (type == "IEND" || !whole) {
            break;
        } else if (type == "pHYs" && length >= 9 && data[body + 8] == 1) { // unit: metre
            summary.dotsPerMeterX = int(std::min<quint32>(be32(data, body), 0x7FFFFFFF));
            summary.dotsPerMeterY = int(std::min<quint32>(be32(data, body + 4), 0x7FFFFFFF));
        } else if (type == "eXIf") {
            summary.orientation = tiffBlockOrientation(data.sliced(body, length));
        }
        pos = body + length + 4;
    }
    return summary;
}

// ---- reading ----

struct Session
{
    std::jmp_buf jump{};
    char message[256] = {};
    QByteArrayView data;
    qsizetype position = 0;
    bool ranOut = false;

    [[noreturn]] void fail() const
    {
        throwDamaged(ranOut ? truncatedText() : QString::fromLatin1(message));
    }
};

Session &sessionOf(png_structp png)
{
    return *static_cast<Session *>(png_get_error_ptr(png));
}

void onError(png_structp png, png_const_charp message)
{
    Session &session = sessionOf(png);
    std::snprintf(session.message, sizeof session.message, "%s", message);
    std::longjmp(session.jump, 1);
}

// Warnings lose no pixels: an ancillary chunk with a bad checksum or a
// broken profile is dropped, surplus data after the image is ignored.
void onWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, size_t length)
{
    Session &session = *static_cast<Session *>(png_get_io_ptr(png));
    if (length > size_t(session.data.size() - session.position)) {
        session.ranOut = true;
        png_error(png, "truncated");
    }
    std::memcpy(out, session.data.data() + session.position, length);
    session.position += qsizetype(length);
}

struct Decoder
{
    Session session;
    png_structp png = nullptr;
    png_infop info = nullptr;

    explicit Decoder(QByteArrayView data)
    {
        session.data = data;
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, onError, onWarning);
        if (png)
            info = png_create_info_struct(png);
        if (!png || !info)
            throwOutOfMemory();
        png_set_read_fn(png, &session, readFromMemory);
        png_set_chunk_cache_max(png, kMaxCachedChunks);
        png_set_chunk_malloc_max(png, kMaxChunkBytes);
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, kSkippedChunkCount);
    }
    ~Decoder() { png_destroy_read_struct(&png, &info, nullptr); }
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;
};

// Reads the chunks before the image data and sets up the transformations
// that deliver every row as 8-bit QRgb values (alpha straight, or 0xFF).
bool readInfo(Decoder &d, int &passes, bool &hasAlpha)
{
    if (setjmp(d.session.jump))
        return false;
    png_read_info(d.png, d.info);
    png_set_expand(d.png); // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(d.png);
    png_set_gray_to_rgb(d.png);
    hasAlpha = (png_get_color_type(d.png, d.info) & PNG_COLOR_MASK_ALPHA) || png_get_valid(d.png, d.info, PNG_INFO_tRNS);
    if (kLittleEndian) {
        png_set_bgr(d.png); // B, G, R, A in memory
        if (!hasAlpha)
            png_set_filler(d.png, 0xFF, PNG_FILLER_AFTER);
    } else {
        if (hasAlpha)
            png_set_swap_alpha(d.png); // A, R, G, B in memory
        else
            png_set_filler(d.png, 0xFF, PNG_FILLER_BEFORE);
    }
    passes = png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    return true;
}

// Interlaced files fill the rows pass by pass; every row is written by
// libpng or the stage fails and the image is dropped.
bool readRows(Decoder &d, QImage &pixels, int passes, ProgressReporter &reporter)
{
    if (setjmp(d.session.jump))
        return false;
    const int height = pixels.height();
    const qint64 allRows = qint64(passes) * height;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            png_read_row(d.png, pixels.scanLine(y), nullptr);
            reporter.report(int((qint64(pass) * height + y) * 99 / allRows));
        }
    }
    // The chunks after the image, up to IEND: a file cut short is damaged.
    png_read_end(d.png, nullptr);
    return true;
}

void requireEnoughImageData(const ChunkSummary &summary)
{
    const qint64 rowBytes = (qint64(summary.width) * summary.bitDepth * channelsOf(summary.colourType) + 7) / 8;
    const qint64 rawBytes = (rowBytes + 1) * summary.height;
    if (summary.imageDataBytes * kMaxDeflateRatio + 1024 < rawBytes)
        throwDamaged(QStringLiteral("画像データが足りません"));
}

// ---- writing ----

struct Encoder
{
    Session session;
    QByteArray bytes;
    png_structp png = nullptr;
    png_infop info = nullptr;

    Encoder()
    {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &session, onError, onWarning);
        if (png)
            info = png_create_info_struct(png);
        if (!png || !info)
            throwOutOfMemory();
    }
    ~Encoder() { png_destroy_write_struct(&png, &info); }
    Encoder(const Encoder &) = delete;
    Encoder &operator=(const Encoder &) = delete;
};

void writeToMemory(png_structp png, png_bytep data, size_t length)
{
    auto &encoder = *static_cast<Encoder *>(png_get_io_ptr(png));
    bool grown = true;
    try {
        encoder.bytes.append(reinterpret_cast<const char *>(data), qsizetype(length));
    } catch (...) {
        grown = false;
    }
    if (!grown)
        png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// The Paeth filter on every row and zlib level 2: 800-pixel photos come out
// a tenth to a third smaller than with no filter at level 6 (what vips
// writes) in about half its time; adaptive filters at level 6 (Qt's
// default) save another few per cent at four to six times the time.
constexpr int kRowFilter = PNG_FILTER_PAETH;
constexpr int kZlibLevel = 2;

bool compress(Encoder &e, const QImage &pixels, const Image &image, ProgressReporter &reporter)
{
    if (setjmp(e.session.jump))
        return false;
    png_set_write_fn(e.png, &e, writeToMemory, flushNothing);
    png_set_IHDR(e.png, e.info, png_uint_32(pixels.width()), png_uint_32(pixels.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(e.png, e.info, png_uint_32(dotsPerMeterFromDpi(image.dpiX)), png_uint_32(dotsPerMeterFromDpi(image.dpiY)),
                 PNG_RESOLUTION_METER);
    png_set_filter(e.png, PNG_FILTER_TYPE_BASE, kRowFilter);
    png_set_compression_level(e.png, kZlibLevel);
    png_set_compression_buffer_size(e.png, 64 * 1024);
    png_write_info(e.png, e.info);
    // RGB32 rows lose their padding byte on the way out.
    if (kLittleEndian) {
        png_set_bgr(e.png);
        png_set_filler(e.png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(e.png, 0, PNG_FILLER_BEFORE);
    }
    const int height = pixels.height();
    for (int y = 0; y < height; ++y) {
        // libpng only reads input rows; its API is not const-correct.
        png_write_row(e.png, const_cast<png_bytep>(pixels.constScanLine(y)));
        reporter.report(int(qint64(y) * 99 / height));
    }
    png_write_end(e.png, nullptr);
    return true;
}

} // namespace

StoredImage decodePng(QByteArrayView data, const ProgressFn &progress)
{
    ProgressReporter reporter(progress);
    reporter.report(0);
    const ChunkSummary summary = summarise(data, false);
    checkDeclaredSize(summary.width, summary.height);
    requireEnoughImageData(summary);

    Decoder d(data);
    int passes = 1;
    bool hasAlpha = false;
    if (!readInfo(d, passes, hasAlpha))
        d.session.fail();
    QImage pixels = allocateImage(int(summary.width), int(summary.height));
    if (!readRows(d, pixels, passes, reporter))
        d.session.fail();
    if (hasAlpha)
        compositeStraightAlphaOnWhite(pixels);
    StoredImage stored = storedWhole(
        Image{pixels, dpiFromDotsPerMeter(summary.dotsPerMeterX), dpiFromDotsPerMeter(summary.dotsPerMeterY)},
        summary.orientation);
    reporter.done();
    return stored;
}

ImageInfo probePng(QByteArrayView data)
{
    const ChunkSummary summary = summarise(data, true);
    checkDeclaredSize(summary.width, summary.height);
    return uprightInfo(FileFormat::Png, QSize(int(summary.width), int(summary.height)),
                       dpiFromDotsPerMeter(summary.dotsPerMeterX), dpiFromDotsPerMeter(summary.dotsPerMeterY),
                       summary.orientation);
}

QByteArray encodePng(const Image &image, const ProgressFn &progress)
{
    const QImage pixels = image.pixels.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        throw Error::of(Error::Kind::InvalidHandle);
    ProgressReporter reporter(progress);
    reporter.report(0);
    Encoder e;
    if (!compress(e, pixels, image, reporter))
        throw Error::of(Error::Kind::WriteFailed, QString::fromLatin1(e.session.message));
    reporter.done();
    return std::move(e.bytes);
}

} // namespace imaging
