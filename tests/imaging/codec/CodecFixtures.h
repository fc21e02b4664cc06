#pragma once

// Small image files made in code for the codec tests and the fuzzers' seed
// corpus: valid files of every format and depth, and the damaged or crafted
// variants the readers must refuse.

#include <functional>

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

#include "base/Error.h"
#include "imaging/core/Image.h"

namespace fixtures {

// Every pixel differs from its neighbours in every channel, so a shifted,
// mirrored or swapped image never compares equal.
[[nodiscard]] QImage pattern(int width, int height);
[[nodiscard]] imaging::Image patternImage(int width, int height, double dpiX = 96, double dpiY = 96);
// Slow gradients in each channel, as in a photo: what JPEG keeps well.
[[nodiscard]] QImage smooth(int width, int height);

// Peak signal-to-noise ratio over R, G and B, in dB (infinite when equal).
[[nodiscard]] double psnr(const QImage &a, const QImage &b);

// How much the process's peak resident memory grew while `work` ran, in
// bytes (Linux: the peak is reset through /proc/self/clear_refs first), or
// -1 where that cannot be measured: no /proc, or a sanitizer build, whose
// shadow memory and quarantine would drown the figure.
[[nodiscard]] qint64 peakMemoryGrowth(const std::function<void()> &work);

// What a call threw: its kind and description, or nothing when it returned.
struct Failure
{
    bool failed = false;
    imaging::Error::Kind kind{};
    QString description;
};
[[nodiscard]] Failure failureOf(const std::function<void()> &work);

// ---- JPEG ----

// Quality 95 unless said otherwise; made with our encoder.
[[nodiscard]] QByteArray jpegOf(const QImage &pixels, int quality = 95);
// Inserts an APPn segment right after SOI.
[[nodiscard]] QByteArray withSegment(const QByteArray &jpeg, int marker, const QByteArray &payload);
// An APP1 Exif payload whose IFD0 holds only the orientation tag.
[[nodiscard]] QByteArray exifPayload(int orientation, bool bigEndian);
// Rewrites the frame header's declared size.
[[nodiscard]] QByteArray withJpegSize(const QByteArray &jpeg, int width, int height);
// Rewrites the JFIF density (unit 0 aspect, 1 dpi, 2 dpcm); or drops APP0.
[[nodiscard]] QByteArray withJfifDensity(const QByteArray &jpeg, int unit, int x, int y);
[[nodiscard]] QByteArray withoutJfif(const QByteArray &jpeg);
// A flat grey progressive JPEG whose last AC scan is repeated: each copy is
// a valid scan, so only a limit on scans stops the decoder.
[[nodiscard]] QByteArray progressiveWithRepeatedScans(int repeats, int side = 16);
// A flat grey baseline JPEG of any size, written row by row.
[[nodiscard]] QByteArray flatJpeg(int width, int height);
// A flat 16 x 16 JPEG from one sample in a colour space other than YCbCr:
// "gray" (1 byte), "cmyk" (4 bytes, Adobe inverted), "cmyk-plain" (4 bytes,
// no Adobe marker), "ycck" (4 bytes given as Adobe-inverted CMYK).
[[nodiscard]] QByteArray jpegInColourSpace(const char *space, const QByteArray &sample);

// ---- PNG, BMP, TIFF ----

[[nodiscard]] QByteArray qtEncoded(const QImage &image, const char *format);
// Rewrites IHDR's size and its CRC.
[[nodiscard]] QByteArray withPngSize(const QByteArray &png, quint32 width, quint32 height);
[[nodiscard]] QByteArray withBmpSize(const QByteArray &bmp, qint32 width, qint32 height);
// An 8-bit run-length BMP of a flat colour: one run and an end-of-line per
// row, then end-of-bitmap.
[[nodiscard]] QByteArray rle8Bmp(int width, int height);
// An uncompressed RGB TIFF with its directory before the pixels, so cutting
// the file cuts pixel data, not the header.
[[nodiscard]] QByteArray stripTiff(const QImage &image, bool bigEndian = false);
[[nodiscard]] QByteArray stripTiffDeclaring(int width, int height);

// A JPEG whose frame header claims another sample precision (12 bits).
[[nodiscard]] QByteArray withJpegPrecision(const QByteArray &jpeg, int bits);
// Bytes inserted just before the first SOS segment: stray data between
// segments, which loses no pixel.
[[nodiscard]] QByteArray withBytesBeforeScan(const QByteArray &jpeg, const QByteArray &bytes);
// The entropy-coded data of the first scan with a run of 0xFF 0x00 pairs
// (valid stuffing, impossible Huffman codes) written over its middle.
[[nodiscard]] QByteArray withBadHuffmanCode(const QByteArray &jpeg);

// ---- PNG, written with libpng ----

struct PngLayout
{
    int bitDepth = 8; // 8 or 16
    bool grey = false;
    bool alpha = false;
    bool interlaced = false;
};
// The image's channels (alpha from an ARGB32 image) in that layout; 16-bit
// samples are the 8-bit ones times 257.
[[nodiscard]] QByteArray pngOf(const QImage &image, PngLayout layout);
// A palette PNG of the image's colour table, with alpha for each entry.
[[nodiscard]] QByteArray palettePngOf(const QImage &indexed, const QList<int> &alphas);
// Inserts a chunk after IHDR; declaredLength, when given, overrides the
// length field (a chunk that claims more than the file holds).
[[nodiscard]] QByteArray withPngChunk(const QByteArray &png, const QByteArray &type, const QByteArray &payload,
                                      qint64 declaredLength = -1);
// The offset of the first chunk of that type.
[[nodiscard]] qsizetype pngChunkAt(const QByteArray &png, const QByteArray &type);

// ---- TIFF, written with libtiff ----

struct TiffLayout
{
    int bitsPerSample = 8;
    int samples = 3;       // 1 grey, 3 RGB, 4 RGBA or CMYK
    int photometric = 2;   // PHOTOMETRIC_RGB
    int compression = 1;   // COMPRESSION_NONE
    bool planar = false;   // one plane per sample
    int tileSide = 0;      // 0: strips of rowsPerStrip rows
    int rowsPerStrip = 0;  // 0: the whole image in one strip
    int orientation = 1;
    double resolution = 0; // 0: no resolution tags
    int resolutionUnit = 2; // RESUNIT_INCH
    int pages = 1;         // further pages are flat grey
};
// The image in that layout. 1-bit files take black for dark pixels; 16-bit
// samples are the 8-bit ones times 257; CMYK inverts RGB with no black.
[[nodiscard]] QByteArray tiffOf(const QImage &image, TiffLayout layout);
// The bytes from the first strip or tile up to the directory, where libtiff
// puts the pixel data of a single strip.
struct ByteRange
{
    qsizetype first;
    qsizetype end;
};
[[nodiscard]] ByteRange tiffPixelData(const QByteArray &tiff);

// ---- BMP, written by hand ----

struct BmpLayout
{
    int headerSize = 40; // 12 (OS/2 core), 40, 52, 56, 108, 124
    int bits = 24;
    int compression = 0;
    bool topDown = false;
    QList<QRgb> palette = {};  // for 1 to 8 bits
    QList<quint32> masks = {}; // red, green, blue (alpha) for bit fields
    qint32 dotsPerMeter = 2835;
};
// A BMP with these headers around the given pixel data, written as is.
[[nodiscard]] QByteArray bmpFile(const BmpLayout &layout, int width, int height, const QByteArray &pixelData);
// The rows of an image in that layout (bottom-up unless topDown), padded to
// four bytes: indices for palette layouts (the image is Indexed8), B G R for
// 24 bits, the masks' fields for 16 and 32 bits.
[[nodiscard]] QByteArray bmpRows(const QImage &image, const BmpLayout &layout);

// ---- PCX ----

struct PcxLayout
{
    int bitsPerPixel;
    int planes;
    bool runLength;
};
// Encodes an Indexed8 image (colour table up to 16 entries in the header,
// or 256 at the end for 8 bits) or, for 8 bits x 3 planes, an RGB32 image.
[[nodiscard]] QByteArray pcxFile(const QImage &image, PcxLayout layout, int hdpi = 0, int vdpi = 0);
// An Indexed8 image of the pattern's colours reduced to `colours` entries.
[[nodiscard]] QImage indexedPattern(int width, int height, int colours);
// Rewrites the window; the size is xmax - xmin + 1 by ymax - ymin + 1.
[[nodiscard]] QByteArray withPcxWindow(const QByteArray &pcx, int xmin, int ymin, int xmax, int ymax);

} // namespace fixtures
