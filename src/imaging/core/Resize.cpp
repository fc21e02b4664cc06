#include "imaging/core/Resize.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "base/Error.h"
#include "imaging/core/Image.h"

namespace imaging {
namespace {

constexpr double kLobes = 3.0;
// RGB32 pixels are filtered as four identical byte lanes: the padding byte
// is always 0xff, stays 0xff, and no lane order has to be assumed.
constexpr std::size_t kLanes = 4;

double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double angle = std::numbers::pi * x;
    return std::sin(angle) / angle;
}

double lanczos3(double x)
{
    return std::abs(x) < kLobes ? sinc(x) * sinc(x / kLobes) : 0.0;
}

// The source run that makes one output coordinate and where its weights lie.
struct Span
{
    int first = 0;
    int count = 0;
    std::size_t offset = 0;
};

// Weights of every output coordinate along one axis, computed once and used
// for every row (or column) of the image.
struct FilterTable
{
    std::vector<Span> spans;
    std::vector<float> weights;
};

// Maps the source run [areaStart, areaStart + areaLength) onto targetSize
// pixels; kernels may reach any of the sourceSize pixels.
FilterTable makeFilterTable(int sourceSize, double areaStart, double areaLength, int targetSize)
{
    const double ratio = areaLength / targetSize;
    // Shrinking stretches the kernel over the source so every pixel counts.
    const double stretch = std::max(ratio, 1.0);
    const double support = kLobes * stretch;

    FilterTable table;
    table.spans.reserve(static_cast<std::size_t>(targetSize));
    std::vector<double> raw;
    for (int i = 0; i < targetSize; ++i) {
        // Pixel centres of both grids line up at the image edges.
        const double centre = areaStart + (i + 0.5) * ratio;
        const int first = std::max(static_cast<int>(std::floor(centre - support + 0.5)), 0);
        const int end = std::min(static_cast<int>(std::floor(centre + support + 0.5)), sourceSize);
        raw.clear();
        double sum = 0.0;
        for (int j = first; j < end; ++j) {
            raw.push_back(lanczos3((j + 0.5 - centre) / stretch));
            sum += raw.back();
        }
        // Renormalise: at the borders part of the kernel falls outside.
        table.spans.push_back({first, end - first, table.weights.size()});
        for (const double w : raw)
            table.weights.push_back(static_cast<float>(w / sum));
    }
    return table;
}

struct Planes
{
    const uchar *source;
    qsizetype sourceStride;
    int sourceWidth;
    uchar *target;
    qsizetype targetStride;
    int targetWidth;
};

uchar toByte(float value)
{
    return static_cast<uchar>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

// The two filter loops are where a shrink spends its time: on processors
// that have them they run with AVX2 and FMA (twice the lanes), chosen when
// the program starts; elsewhere the plain build. The build compiles this file
// at -O3 so the loops are vectorised either way (see CMakeLists.txt).
// The sanitizers cannot run the chooser: it runs before they are set up.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) \
    && !defined(__SANITIZE_THREAD__)
#define MORVELL_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define MORVELL_VECTOR_CLONES
#endif

// Filters the source rows of one output row into `line` (full source width).
MORVELL_VECTOR_CLONES
void filterColumn(const Planes &planes, const Span &span, const float *weights, std::vector<float> &line)
{
    const std::size_t length = line.size();
    for (int k = 0; k < span.count; ++k) {
        const uchar *in = planes.source + (span.first + k) * planes.sourceStride;
        const float w = weights[k];
        if (k == 0) {
            for (std::size_t i = 0; i < length; ++i)
                line[i] = w * in[i];
        } else {
            for (std::size_t i = 0; i < length; ++i)
                line[i] += w * in[i];
        }
    }
}

// Filters `line` along the row into one output row.
MORVELL_VECTOR_CLONES
void filterRow(const FilterTable &columns, const std::vector<float> &line, uchar *out, int targetWidth)
{
    for (int x = 0; x < targetWidth; ++x) {
        const Span &span = columns.spans[static_cast<std::size_t>(x)];
        const float *weights = columns.weights.data() + span.offset;
        const float *in = line.data() + static_cast<std::size_t>(span.first) * kLanes;
        float sum[kLanes] = {};
        for (int k = 0; k < span.count; ++k, in += kLanes) {
            for (std::size_t lane = 0; lane < kLanes; ++lane)
                sum[lane] += weights[k] * in[lane];
        }
        for (std::size_t lane = 0; lane < kLanes; ++lane)
            *out++ = toByte(sum[lane]);
    }
}

// Makes output rows [rowBegin, rowEnd): first down the columns, then along
// the row, so only one line of intermediate values is held. Allocates
// nothing and throws nothing itself, so it can run on a helper thread; it
// stops early once `stop` is set.
void resizeRows(const Planes &planes, const FilterTable &columns, const FilterTable &rows,
                int rowBegin, int rowEnd, std::vector<float> &line,
                std::atomic<int> &rowsDone, const std::atomic<bool> &stop, const std::function<void()> &afterRow)
{
    for (int y = rowBegin; y < rowEnd && !stop.load(std::memory_order_relaxed); ++y) {
        const Span &span = rows.spans[static_cast<std::size_t>(y)];
        filterColumn(planes, span, rows.weights.data() + span.offset, line);
        filterRow(columns, line, planes.target + y * planes.targetStride, planes.targetWidth);
        rowsDone.fetch_add(1, std::memory_order_relaxed);
        if (afterRow)
            afterRow();
    }
}

} // namespace

QImage resizeImage(const QImage &source, int width, int height, const ProgressFn &progress, int threads)
{
    return resizeImage(source, QRectF(QPointF(0, 0), source.size()), width, height, progress, threads);
}

QImage resizeImage(const QImage &source, const QRectF &area, int width, int height, const ProgressFn &progress,
                   int threads)
{
    checkImageSize(width, height);
    if (source.isNull() || source.format() != QImage::Format_RGB32)
        throw Error::of(Error::Kind::InvalidArgument, QStringLiteral("RGB32 の画像ではありません"));
    // Also false for NaN.
    const bool inside = area.left() >= 0.0 && area.top() >= 0.0 && area.right() <= source.width()
                        && area.bottom() <= source.height() && area.width() > 0.0 && area.height() > 0.0;
    if (!inside)
        throw Error::of(Error::Kind::InvalidArgument, QStringLiteral("範囲が画像の外にあります"));

    const FilterTable columns = makeFilterTable(source.width(), area.left(), area.width(), width);
    const FilterTable rows = makeFilterTable(source.height(), area.top(), area.height(), height);
    QImage target = allocateImage(width, height);

    // Raw pointers taken here, on one thread: QImage's non-const accessors
    // may detach and must not race.
    const Planes planes{source.constBits(), source.bytesPerLine(), source.width(),
                        target.bits(), target.bytesPerLine(), width};
    const auto lineLength = static_cast<std::size_t>(source.width()) * kLanes;
    if (threads == kDefaultResizeThreads)
        threads = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    // Each thread takes a band of at least 8 rows.
    threads = std::clamp(std::min(threads, height / 8), 1, 64);

    ProgressReporter reporter(progress);
    reporter.report(0);
    std::atomic<int> rowsDone{0};
    std::atomic<bool> stop{false};
    const auto bandStart = [height, threads](int band) { return int(qint64(height) * band / threads); };
    // One line of intermediate values per thread, allocated here: a helper
    // thread must not throw.
    std::vector<std::vector<float>> lines(static_cast<std::size_t>(threads), std::vector<float>(lineLength));
    {
        std::vector<std::jthread> helpers; // join on scope exit, also when a progress slot throws
        for (int band = 1; band < threads; ++band) {
            helpers.emplace_back([&, band] {
                resizeRows(planes, columns, rows, bandStart(band), bandStart(band + 1),
                           lines[static_cast<std::size_t>(band)], rowsDone, stop, {});
            });
        }
        try {
            resizeRows(planes, columns, rows, 0, bandStart(1), lines[0], rowsDone, stop, [&] {
                reporter.report(static_cast<int>(qint64(rowsDone.load(std::memory_order_relaxed)) * 100 / height));
            });
        } catch (...) {
            stop = true;
            throw;
        }
    }
    reporter.done();
    return target;
}

} // namespace imaging
