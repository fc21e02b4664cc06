#include "imaging/core/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <exception>

#include <jpeglib.h>
#include <jerror.h>

#include "base/Error.h"
#include "imaging/core/Exif.h"

// libjpeg reports a failure through a callback that must not return. Ours
// jumps back to the setjmp of the stage function that called the library.
// A stage function holds nothing with a destructor between its setjmp and
// the library calls, and libjpeg's own frames have none, so the jump skips no
// destructor; every object that needs one lives in the caller (Decoder,
// Encoder). An exception from a progress callback (a cancel) is caught by
// the reporter before it reaches libjpeg's C frames, takes the same jump and
// is rethrown once control is back in C++.

namespace imaging {

namespace {

// RGB32 in memory is B, G, R, X on little-endian machines and X, R, G, B on
// big-endian ones: libjpeg reads and writes those rows directly.
constexpr J_COLOR_SPACE kRgb32Space =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Our own failure code beside libjpeg's.
constexpr int kTooManyScans = -1;

struct Session
{
    jpeg_error_mgr errorManager{};
    jpeg_progress_mgr progressManager{};
    std::jmp_buf jump{};
    Error::Kind failureKind = Error::Kind::Damaged;
    int failureCode = 0;
    int failureParameter = 0;
    char message[JMSG_LENGTH_MAX] = {};
    ProgressReporter *progress = nullptr;
    int scansCounted = 0;
    qint64 scanBlocks = 0; // blocks of every scan so far, added up

    [[noreturn]] void fail() const
    {
        if (progress)
            progress->rethrowIfStopped();
        const QString library = QString::fromLocal8Bit(message);
        switch (failureKind) {
        case Error::Kind::Damaged: throwDamaged(damageDetail(failureCode, library));
        case Error::Kind::Unsupported: throwUnsupported(unsupportedDetail(failureCode, failureParameter, library));
        case Error::Kind::TooLarge:
            if (failureCode == JERR_IMAGE_TOO_BIG)
                throw Error::of(failureKind, QStringLiteral("一辺 %1 ピクセルまでです").arg(failureParameter));
            throwOutOfMemory();
        default: throw Error::of(failureKind, library);
        }
    }

    // The fault in words a person follows; libjpeg's own text for the rare ones.
    static QString damageDetail(int code, const QString &library)
    {
        switch (code) {
        case JWRN_JPEG_EOF:
        case JERR_INPUT_EOF:
        case JERR_INPUT_EMPTY: return truncatedText();
        case JWRN_HIT_MARKER: return QStringLiteral("画像データが途中で途切れています");
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE: return QStringLiteral("画像データに誤りがあります");
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION: return QStringLiteral("画像データの一部が失われています");
        default: return library;
        }
    }

    static QString unsupportedDetail(int code, int parameter, const QString &library)
    {
        if (code == kTooManyScans)
            return QStringLiteral("スキャンの多すぎるプログレッシブ JPEG");
        if (code == JERR_BAD_PRECISION)
            return QStringLiteral("%1 ビット JPEG").arg(parameter);
        if (code == JERR_SOF_UNSUPPORTED) {
            const int process = parameter & 0x03;
            if (process == 3)
                return QStringLiteral("ロスレス JPEG");
            if (parameter >= 0xC5 && parameter <= 0xCF)
                return QStringLiteral("階層型 JPEG");
        }
        return library;
    }
};

Session &sessionOf(j_common_ptr cinfo)
{
    return *static_cast<Session *>(cinfo->client_data);
}

[[noreturn]] void jumpBack(j_common_ptr cinfo, Error::Kind kind)
{
    Session &session = sessionOf(cinfo);
    session.failureKind = kind;
    std::longjmp(session.jump, 1);
}

void keepMessage(j_common_ptr cinfo)
{
    Session &session = sessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, session.message);
    session.failureCode = cinfo->err->msg_code;
    session.failureParameter = cinfo->err->msg_parm.i[0];
}

Error::Kind kindOfError(int code, bool decompressing)
{
    switch (code) {
    case JERR_OUT_OF_MEMORY:
    case JERR_IMAGE_TOO_BIG: // a declared side above 65500
        return Error::Kind::TooLarge;
    case JERR_BAD_PRECISION: // 12-bit samples
    case JERR_SOF_UNSUPPORTED: // lossless and hierarchical files
    case JERR_NOT_COMPILED:
        return Error::Kind::Unsupported;
    case JERR_EMPTY_IMAGE: // a declared side of 0
    default:
        return decompressing ? Error::Kind::Damaged : Error::Kind::WriteFailed;
    }
}

void onError(j_common_ptr cinfo)
{
    keepMessage(cinfo);
    jumpBack(cinfo, kindOfError(cinfo->err->msg_code, cinfo->is_decompressor));
}

// Warnings that lose no pixels: stray bytes between segments or after the
// image data, an unknown JFIF revision, an odd Adobe transform or a broken
// ICC profile. Every other warning means missing or corrupt image data.
bool harmless(int code)
{
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM
        || code == JWRN_BOGUS_ICC;
}

// Level -1 is a warning. A file that needs a harmful one is damaged, never
// returned as a partly decoded image.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0 || harmless(cinfo->err->msg_code))
        return;
    keepMessage(cinfo);
    jumpBack(cinfo, Error::Kind::Damaged);
}

qint64 blocksOf(const jpeg_component_info &component)
{
    return qint64(component.width_in_blocks) * component.height_in_blocks;
}

// Called before each step of input: adds up the blocks each new scan covers
// and stops the file once they exceed kMaxJpegScanPasses whole images.
void refuseEndlessScans(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    const auto &dinfo = *reinterpret_cast<j_decompress_ptr>(cinfo);
    Session &session = sessionOf(cinfo);
    if (dinfo.input_scan_number == session.scansCounted)
        return;
    session.scansCounted = dinfo.input_scan_number;
    for (int i = 0; i < dinfo.comps_in_scan; ++i)
        session.scanBlocks += blocksOf(*dinfo.cur_comp_info[i]);
    qint64 imageBlocks = 0;
    for (int c = 0; c < dinfo.num_components; ++c)
        imageBlocks += blocksOf(dinfo.comp_info[c]);
    if (session.scanBlocks <= kMaxJpegScanPasses * imageBlocks)
        return;
    session.failureCode = kTooManyScans;
    jumpBack(cinfo, Error::Kind::Unsupported);
}

void onProgress(j_common_ptr cinfo)
{
    refuseEndlessScans(cinfo);
    Session &session = sessionOf(cinfo);
    const jpeg_progress_mgr &state = *cinfo->progress;
    if (!session.progress || state.total_passes <= 0 || state.pass_limit <= 0)
        return;
    const double inPass = std::min(1.0, double(state.pass_counter) / double(state.pass_limit));
    const double whole = (state.completed_passes + inPass) / state.total_passes;
    // 100 waits until the image is complete.
    if (!session.progress->reportFromC(std::min(99, static_cast<int>(whole * 100.0))))
        jumpBack(cinfo, Error::Kind::Cancelled);
}

void attachSession(Session &session, jpeg_common_struct &cinfo, ProgressReporter *progress)
{
    cinfo.err = jpeg_std_error(&session.errorManager);
    session.errorManager.error_exit = onError;
    session.errorManager.emit_message = onMessage;
    session.progressManager.progress_monitor = onProgress;
    session.progress = progress;
    cinfo.client_data = &session;
}

// ---- reading ----

struct Decoder
{
    Session session;
    jpeg_decompress_struct cinfo{};

    explicit Decoder(ProgressReporter *progress)
    {
        attachSession(session, *reinterpret_cast<j_common_ptr>(&cinfo), progress);
    }
    ~Decoder() { jpeg_destroy_decompress(&cinfo); }
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;
};

bool readHeader(Decoder &d, QByteArrayView data)
{
    if (setjmp(d.session.jump))
        return false;
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.progress = &d.session.progressManager;
    jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char *>(data.data()),
                 static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

bool startDecompress(Decoder &d, int denominator, J_COLOR_SPACE outSpace)
{
    if (setjmp(d.session.jump))
        return false;
    d.cinfo.scale_num = 1;
    d.cinfo.scale_denom = static_cast<unsigned int>(denominator);
    d.cinfo.out_color_space = outSpace;
    // Multi-scan files are read whole here, scan by scan, under onProgress.
    jpeg_start_decompress(&d.cinfo);
    return true;
}

// Every row of pixels is written by libjpeg or the stage fails and the image
// is dropped, so the buffer needs no initialisation.
bool readRows(Decoder &d, uchar *firstRow, qsizetype bytesPerLine)
{
    if (setjmp(d.session.jump))
        return false;
    constexpr JDIMENSION kRowsPerCall = 16;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW rows[kRowsPerCall];
        const JDIMENSION first = d.cinfo.output_scanline;
        const JDIMENSION count = std::min(kRowsPerCall, d.cinfo.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = firstRow + qsizetype(first + i) * bytesPerLine;
        jpeg_read_scanlines(&d.cinfo, rows, count);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

bool isCmyk(J_COLOR_SPACE space)
{
    return space == JCS_CMYK || space == JCS_YCCK;
}

void requireKnownColourSpace(J_COLOR_SPACE space)
{
    const bool known = space == JCS_GRAYSCALE || space == JCS_RGB || space == JCS_YCbCr || isCmyk(space);
    if (!known)
        throwUnsupported(QStringLiteral("JPEG colour space"));
}

// Files with an Adobe marker (Photoshop and most others) store CMYK inverted.
void convertCmykRows(QImage &pixels, bool inverted)
{
    for (int y = 0; y < pixels.height(); ++y) {
        uchar *cmyk = pixels.scanLine(y);
        auto *rgb = reinterpret_cast<QRgb *>(cmyk);
        for (int x = 0; x < pixels.width(); ++x, cmyk += 4) {
            const int c = inverted ? cmyk[0] : 255 - cmyk[0];
            const int m = inverted ? cmyk[1] : 255 - cmyk[1];
            const int ye = inverted ? cmyk[2] : 255 - cmyk[2];
            const int k = inverted ? cmyk[3] : 255 - cmyk[3];
            rgb[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
        }
    }
}

int orientationOf(const jpeg_decompress_struct &cinfo)
{
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker; marker = marker->next) {
        const QByteArrayView payload(reinterpret_cast<const char *>(marker->data),
                                     static_cast<qsizetype>(marker->data_length));
        if (marker->marker == JPEG_APP0 + 1 && payload.startsWith(QByteArrayView("Exif\0\0", 6)))
            return exifOrientation(payload);
    }
    return kUpright;
}

double densityToDpi(const jpeg_decompress_struct &cinfo, UINT16 density)
{
    if (!cinfo.saw_JFIF_marker || density == 0)
        return kDefaultDpi;
    if (cinfo.density_unit == 1)
        return density;
    if (cinfo.density_unit == 2)
        return density * 2.54;
    return kDefaultDpi; // unit 0: an aspect ratio only
}

int denominatorFor(const jpeg_decompress_struct &cinfo, std::optional<MinimumSize> reduceTo, int orientation)
{
    if (!reduceTo)
        return 1;
    MinimumSize stored = *reduceTo;
    if (orientationSwapsSides(orientation))
        std::swap(stored.width, stored.height);
    return jpegScaleFor(QSize(int(cinfo.image_width), int(cinfo.image_height)), stored);
}

// ---- writing ----

// Collects the encoded bytes in a QByteArray that grows as libjpeg asks.
struct Destination
{
    jpeg_destination_mgr manager{};
    QByteArray bytes;
};

Destination &destinationOf(j_compress_ptr cinfo)
{
    return *reinterpret_cast<Destination *>(cinfo->dest);
}

void startDestination(j_compress_ptr cinfo)
{
    Destination &dest = destinationOf(cinfo);
    dest.manager.next_output_byte = reinterpret_cast<JOCTET *>(dest.bytes.data());
    dest.manager.free_in_buffer = static_cast<size_t>(dest.bytes.size());
}

boolean growDestination(j_compress_ptr cinfo)
{
    Destination &dest = destinationOf(cinfo);
    const qsizetype used = dest.bytes.size();
    bool grown = true;
    try {
        dest.bytes.resize(used * 2);
    } catch (...) {
        grown = false;
    }
    if (!grown) {
        jumpBack(reinterpret_cast<j_common_ptr>(cinfo), Error::Kind::TooLarge);
    }
    dest.manager.next_output_byte = reinterpret_cast<JOCTET *>(dest.bytes.data() + used);
    dest.manager.free_in_buffer = static_cast<size_t>(used);
    return TRUE;
}

void finishDestination(j_compress_ptr cinfo)
{
    Destination &dest = destinationOf(cinfo);
    dest.bytes.truncate(dest.bytes.size() - static_cast<qsizetype>(dest.manager.free_in_buffer));
}

struct Encoder
{
    Session session;
    Destination destination;
    jpeg_compress_struct cinfo{};

    explicit Encoder(ProgressReporter *progress)
    {
        attachSession(session, *reinterpret_cast<j_common_ptr>(&cinfo), progress);
        destination.bytes.resize(64 * 1024);
        destination.manager.init_destination = startDestination;
        destination.manager.empty_output_buffer = growDestination;
        destination.manager.term_destination = finishDestination;
    }
    ~Encoder() { jpeg_destroy_compress(&cinfo); }
    Encoder(const Encoder &) = delete;
    Encoder &operator=(const Encoder &) = delete;
};

UINT16 densityOf(double dpi)
{
    if (!(dpi > 0.0))
        dpi = kDefaultDpi;
    return static_cast<UINT16>(std::clamp(std::lround(dpi), 1L, 65535L));
}

struct EncodeSettings
{
    int quality;
    bool progressive;
    UINT16 densityX;
    UINT16 densityY;
};

bool compress(Encoder &e, const QImage &pixels, const EncodeSettings &settings)
{
    if (setjmp(e.session.jump))
        return false;
    jpeg_create_compress(&e.cinfo);
    e.cinfo.progress = &e.session.progressManager;
    e.cinfo.dest = &e.destination.manager;
    e.cinfo.image_width = static_cast<JDIMENSION>(pixels.width());
    e.cinfo.image_height = static_cast<JDIMENSION>(pixels.height());
    e.cinfo.input_components = 4;
    e.cinfo.in_color_space = kRgb32Space;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, settings.quality, TRUE);
    if (settings.progressive)
        jpeg_simple_progression(&e.cinfo);
    e.cinfo.write_JFIF_header = TRUE;
    e.cinfo.density_unit = 1; // dots per inch
    e.cinfo.X_density = settings.densityX;
    e.cinfo.Y_density = settings.densityY;
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        // libjpeg only reads input rows; its API is not const-correct.
        JSAMPROW row = const_cast<uchar *>(pixels.constScanLine(static_cast<int>(e.cinfo.next_scanline)));
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

} // namespace

int jpegScaleFor(QSize stored, MinimumSize atLeast)
{
    for (int denominator : {8, 4, 2}) {
        // libjpeg rounds scaled sizes up.
        const int width = (stored.width() + denominator - 1) / denominator;
        const int height = (stored.height() + denominator - 1) / denominator;
        if (width >= atLeast.width && height >= atLeast.height && std::max(width, height) >= atLeast.longSide)
            return denominator;
    }
    return 1;
}

StoredImage decodeJpeg(QByteArrayView data, std::optional<MinimumSize> reduceTo, const ProgressFn &progress)
{
    ProgressReporter reporter(progress);
    reporter.report(0);
    Decoder d(&reporter);
    if (!readHeader(d, data))
        d.session.fail();
    checkDeclaredSize(d.cinfo.image_width, d.cinfo.image_height);
    requireKnownColourSpace(d.cinfo.jpeg_color_space);

    const int orientation = orientationOf(d.cinfo);
    const bool cmyk = isCmyk(d.cinfo.jpeg_color_space);
    const int denominator = denominatorFor(d.cinfo, reduceTo, orientation);
    if (!startDecompress(d, denominator, cmyk ? JCS_CMYK : kRgb32Space))
        d.session.fail();

    QImage pixels = allocateImage(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height));
    if (!readRows(d, pixels.bits(), pixels.bytesPerLine()))
        d.session.fail();
    if (cmyk)
        convertCmykRows(pixels, d.cinfo.saw_Adobe_marker);

    // A scaled size is rounded up: the last column and row may stand for
    // less than a whole pixel.
    const QRectF filled(0, 0, double(d.cinfo.image_width) / denominator, double(d.cinfo.image_height) / denominator);
    StoredImage stored{Image{pixels, densityToDpi(d.cinfo, d.cinfo.X_density), densityToDpi(d.cinfo, d.cinfo.Y_density)},
                       orientation, filled};
    reporter.done();
    return stored;
}

ImageInfo probeJpeg(QByteArrayView data)
{
    Decoder d(nullptr);
    if (!readHeader(d, data))
        d.session.fail();
    checkDeclaredSize(d.cinfo.image_width, d.cinfo.image_height);
    return uprightInfo(FileFormat::Jpeg, QSize(int(d.cinfo.image_width), int(d.cinfo.image_height)),
                       densityToDpi(d.cinfo, d.cinfo.X_density), densityToDpi(d.cinfo, d.cinfo.Y_density),
                       orientationOf(d.cinfo));
}

QByteArray encodeJpeg(const Image &image, int quality, bool progressive, const ProgressFn &progress)
{
    if (quality < 1 || quality > 100)
        throw Error::of(Error::Kind::InvalidArgument, QStringLiteral("JPEG の画質は 1 から 100 です: %1").arg(quality));
    const QImage pixels = image.pixels.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        throw Error::of(Error::Kind::InvalidHandle);

    ProgressReporter reporter(progress);
    reporter.report(0);
    Encoder e(&reporter);
    const EncodeSettings settings{quality, progressive, densityOf(image.dpiX), densityOf(image.dpiY)};
    if (!compress(e, pixels, settings))
        e.session.fail();
    reporter.done();
    return std::move(e.destination.bytes);
}

} // namespace imaging
