// PNG and TIFF fixtures written with libpng and libtiff, BMP ones by hand.

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include <png.h>
#include <tiffio.h>

#include <QFile>
#include <QTemporaryFile>
#include <QtEndian>

#include "CodecFixtures.h"
#include "FixtureBytes.h"

namespace fixtures {

namespace {

// A libpng writer to memory; errors end the test program.
struct PngWriter
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    QByteArray bytes;

    PngWriter()
    {
        png_set_write_fn(png, &bytes, [](png_structp p, png_bytep data, size_t length) {
            static_cast<QByteArray *>(png_get_io_ptr(p))->append(reinterpret_cast<const char *>(data), qsizetype(length));
        }, [](png_structp) {});
    }
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
    PngWriter(const PngWriter &) = delete;
    PngWriter &operator=(const PngWriter &) = delete;

    QByteArray write(const std::vector<QByteArray> &rows, bool interlaced)
    {
        png_write_info(png, info);
        const int passes = interlaced ? png_set_interlace_handling(png) : 1;
        for (int pass = 0; pass < passes; ++pass)
            for (const QByteArray &row : rows)
                png_write_row(png, reinterpret_cast<png_const_bytep>(row.constData()));
        png_write_end(png, nullptr);
        return bytes;
    }
};

void appendSample(QByteArray &row, int value, int bitDepth)
{
    if (bitDepth == 16)
        row.append(char((value * 257) >> 8)).append(char((value * 257) & 0xFF));
    else
        row.append(char(value));
}

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        brokenFixture("cannot read a written file");
    return file.readAll();
}

void putSample(uchar *at, int value, int bits)
{
    if (bits == 16)
        *reinterpret_cast<quint16 *>(at) = quint16(value * 257);
    else
        *at = uchar(value);
}

// One row of samples (or of one plane) in the layout.
QByteArray tiffRow(const QImage &image, int y, const TiffLayout &layout, int plane)
{
    const int width = image.width();
    if (layout.bitsPerSample == 1) {
        QByteArray row((width + 7) / 8, '\0');
        for (int x = 0; x < width; ++x)
            if (qGray(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        return row;
    }
    const int bytes = layout.bitsPerSample / 8;
    const int perPixel = layout.planar ? 1 : layout.samples;
    QByteArray row(qsizetype(width) * perPixel * bytes, '\0');
    auto *out = reinterpret_cast<uchar *>(row.data());
    for (int x = 0; x < width; ++x) {
        const QRgb c = image.pixel(x, y);
        int values[4] = {qRed(c), qGreen(c), qBlue(c), qAlpha(c)};
        if (layout.samples == 1)
            values[0] = qGray(c);
        if (layout.photometric == PHOTOMETRIC_SEPARATED)
            values[0] = 255 - qRed(c), values[1] = 255 - qGreen(c), values[2] = 255 - qBlue(c), values[3] = 0;
        for (int s = 0; s < perPixel; ++s)
            putSample(out + (qsizetype(x) * perPixel + s) * bytes, values[layout.planar ? plane : s], layout.bitsPerSample);
    }
    return row;
}

void writeTiffPage(TIFF *tiff, const QImage &image, const TiffLayout &layout)
{
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(image.height()));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(layout.bitsPerSample));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(layout.samples));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(layout.photometric));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(layout.compression));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(layout.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG));
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, uint16_t(layout.orientation));
    if (layout.samples == 4 && layout.photometric == PHOTOMETRIC_RGB) {
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), &extra);
    }
    if (layout.compression == COMPRESSION_JPEG) {
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 90);
        TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    if (layout.resolution > 0) {
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, layout.resolution);
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, layout.resolution);
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, uint16_t(layout.resolutionUnit));
    }
    const int planes = layout.planar ? layout.samples : 1;
    if (layout.tileSide > 0) {
        const auto side = uint32_t(layout.tileSide);
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, side);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, side);
        const tmsize_t tileBytes = TIFFTileSize(tiff);
        const int sampleBytes = std::max(1, layout.bitsPerSample / 8) * (layout.planar ? 1 : layout.samples);
        for (int plane = 0; plane < planes; ++plane)
            for (uint32_t ty = 0; ty < uint32_t(image.height()); ty += side)
                for (uint32_t tx = 0; tx < uint32_t(image.width()); tx += side) {
                    QByteArray tile(tileBytes, '\0');
                    for (uint32_t y = 0; y < side && ty + y < uint32_t(image.height()); ++y) {
                        const QByteArray row = tiffRow(image, int(ty + y), layout, plane);
                        const qsizetype available = std::min<qsizetype>(qsizetype(side), image.width() - qsizetype(tx));
                        std::memcpy(tile.data() + qsizetype(y) * side * sampleBytes, row.constData() + tx * uint32_t(sampleBytes),
                                    size_t(available * sampleBytes));
                    }
                    TIFFWriteTile(tiff, tile.data(), tx, ty, 0, uint16_t(plane));
                }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                     uint32_t(layout.rowsPerStrip > 0 ? layout.rowsPerStrip : image.height()));
        for (int plane = 0; plane < planes; ++plane)
            for (int y = 0; y < image.height(); ++y) {
                QByteArray row = tiffRow(image, y, layout, plane);
                TIFFWriteScanline(tiff, row.data(), uint32_t(y), uint16_t(plane));
            }
    }
    TIFFWriteDirectory(tiff);
}

void bmpPixel(QByteArray &row, const QImage &image, int x, int y, const BmpLayout &layout)
{
    if (layout.bits == 24) {
        const QRgb c = image.pixel(x, y);
        row.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        return;
    }
    const QRgb c = image.pixel(x, y);
    const QList<quint32> masks = layout.masks.isEmpty()
        ? (layout.bits == 16 ? QList<quint32>{0x7C00, 0x03E0, 0x001F} : QList<quint32>{0xFF0000, 0xFF00, 0xFF})
        : layout.masks;
    const int channels[4] = {qRed(c), qGreen(c), qBlue(c), qAlpha(c)};
    quint32 value = 0;
    for (qsizetype i = 0; i < masks.size(); ++i) {
        const quint32 mask = masks[i];
        if (mask == 0)
            continue;
        const int shift = std::countr_zero(mask);
        const quint32 max = mask >> shift;
        value |= ((quint32(channels[i]) * max + 127) / 255 << shift) & mask;
    }
    for (int b = 0; b < layout.bits / 8; ++b)
        row.append(char(value >> (8 * b)));
}


} // namespace

QByteArray pngOf(const QImage &image, PngLayout layout)
{
    PngWriter writer;
    const int colourType = (layout.grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB) | (layout.alpha ? PNG_COLOR_MASK_ALPHA : 0);
    png_set_IHDR(writer.png, writer.info, png_uint_32(image.width()), png_uint_32(image.height()), layout.bitDepth,
                 colourType, layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<QByteArray> rows;
    for (int y = 0; y < image.height(); ++y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (layout.grey) {
                appendSample(row, qGray(c), layout.bitDepth);
            } else {
                for (int v : {qRed(c), qGreen(c), qBlue(c)})
                    appendSample(row, v, layout.bitDepth);
            }
            if (layout.alpha)
                appendSample(row, qAlpha(c), layout.bitDepth);
        }
        rows.push_back(row);
    }
    return writer.write(rows, layout.interlaced);
}

QByteArray palettePngOf(const QImage &indexed, const QList<int> &alphas)
{
    PngWriter writer;
    const QList<QRgb> table = indexed.colorTable();
    png_set_IHDR(writer.png, writer.info, png_uint_32(indexed.width()), png_uint_32(indexed.height()), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (const QRgb c : table)
        palette.push_back({png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
    png_set_PLTE(writer.png, writer.info, palette.data(), int(palette.size()));
    std::vector<png_byte> transparency(alphas.begin(), alphas.end());
    if (!transparency.empty())
        png_set_tRNS(writer.png, writer.info, transparency.data(), int(transparency.size()), nullptr);
    std::vector<QByteArray> rows;
    for (int y = 0; y < indexed.height(); ++y)
        rows.emplace_back(reinterpret_cast<const char *>(indexed.constScanLine(y)), indexed.width());
    return writer.write(rows, false);
}

QByteArray withPngChunk(const QByteArray &png, const QByteArray &type, const QByteArray &payload, qint64 declaredLength)
{
    Bytes chunk(true);
    chunk.u32(quint32(declaredLength >= 0 ? declaredLength : payload.size())).raw(type).raw(payload);
    chunk.u32(crc32(chunk.data().mid(4)));
    QByteArray out = png;
    out.insert(8 + 25, chunk.data()); // after the signature and IHDR
    return out;
}

qsizetype pngChunkAt(const QByteArray &png, const QByteArray &type)
{
    for (qsizetype pos = 8; pos + 12 <= png.size();) {
        if (png.mid(pos + 4, 4) == type)
            return pos;
        pos += 12 + qsizetype(qFromBigEndian<quint32>(png.constData() + pos));
    }
    brokenFixture("PNG chunk not found");
}

QByteArray tiffOf(const QImage &image, TiffLayout layout)
{
    QTemporaryFile file;
    if (!file.open())
        brokenFixture("no temporary file");
    file.close();
    TIFFSetWarningHandler(nullptr);
    TIFF *tiff = TIFFOpen(QFile::encodeName(file.fileName()).constData(), "w");
    if (!tiff)
        brokenFixture("libtiff cannot write");
    for (int page = 0; page < layout.pages; ++page) {
        QImage grey(image.size(), QImage::Format_RGB32);
        grey.fill(qRgb(128, 128, 128));
        if (layout.pages > 1) {
            TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
            TIFFSetField(tiff, TIFFTAG_PAGENUMBER, uint16_t(page), uint16_t(layout.pages));
        }
        writeTiffPage(tiff, page == 0 ? image : grey, layout);
    }
    TIFFClose(tiff);
    return readWhole(file.fileName());
}

ByteRange tiffPixelData(const QByteArray &tiff)
{
    const bool big = tiff.startsWith("MM");
    const quint32 directory = big ? qFromBigEndian<quint32>(tiff.constData() + 4) : qFromLittleEndian<quint32>(tiff.constData() + 4);
    return {8, qsizetype(directory)};
}

QByteArray bmpFile(const BmpLayout &layout, int width, int height, const QByteArray &pixelData)
{
    const bool core = layout.headerSize == 12;
    const bool masksAfterHeader = layout.headerSize == 40 && (layout.compression == 3 || layout.compression == 6);
    const qsizetype masksBytes = masksAfterHeader ? layout.masks.size() * 4 : 0;
    const qsizetype paletteBytes = layout.palette.size() * (core ? 3 : 4);
    const auto pixelsAt = quint32(14 + layout.headerSize + masksBytes + paletteBytes);
    Bytes out;
    out.raw("BM").u32(pixelsAt + quint32(pixelData.size())).u32(0).u32(pixelsAt);
    out.u32(quint32(layout.headerSize));
    if (core) {
        out.u16(quint32(width)).u16(quint32(height)).u16(1).u16(quint32(layout.bits));
    } else {
        Bytes info;
        info.u32(quint32(width)).u32(quint32(layout.topDown ? -height : height)).u16(1).u16(quint32(layout.bits));
        info.u32(quint32(layout.compression)).u32(quint32(pixelData.size()));
        info.u32(quint32(layout.dotsPerMeter)).u32(quint32(layout.dotsPerMeter));
        info.u32(quint32(layout.palette.size())).u32(0);
        for (qsizetype i = 0; i < 4 && layout.headerSize > 40; ++i)
            info.u32(i < layout.masks.size() ? layout.masks[i] : 0);
        QByteArray body = info.data();
        body.resize(layout.headerSize - 4, '\0'); // colour space fields stay zero
        out.raw(body);
        if (masksAfterHeader)
            for (const quint32 mask : layout.masks)
                out.u32(mask);
    }
    for (const QRgb c : layout.palette) {
        out.u8(qBlue(c)).u8(qGreen(c)).u8(qRed(c));
        if (!core)
            out.u8(0);
    }
    return out.raw(pixelData).data();
}

QByteArray bmpRows(const QImage &image, const BmpLayout &layout)
{
    QByteArray all;
    for (int r = 0; r < image.height(); ++r) {
        const int y = layout.topDown ? r : image.height() - 1 - r;
        QByteArray row;
        if (layout.bits <= 8) {
            row.resize((image.width() * layout.bits + 7) / 8, '\0');
            const int perByte = 8 / layout.bits;
            for (int x = 0; x < image.width(); ++x) {
                const int shift = (perByte - 1 - x % perByte) * layout.bits;
                row[x / perByte] = char(row[x / perByte] | (image.pixelIndex(x, y) << shift));
            }
        } else {
            for (int x = 0; x < image.width(); ++x)
                bmpPixel(row, image, x, y, layout);
        }
        while (row.size() % 4 != 0)
            row.append('\0');
        all += row;
    }
    return all;
}


} // namespace fixtures
