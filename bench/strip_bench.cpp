// Times the thumbnail strip and the slideshow on a folder of real photos,
// for the README's performance section (run by hand; see bench/strip_bench.sh,
// which runs the reference tools in the same session):
//
//   strip_bench strip DIR WORKERS    every thumbnail of DIR, as the strip builds them
//   strip_bench first DIR            until the first thumbnail is there
//   strip_bench cancel DIR           how long a cancel takes to come back, beside
//                                    the slowest single decode
//   strip_bench memory DIR           resident memory once the strip of DIR is built
//   strip_bench slides DIR COUNT     COUNT slides at 1 s: how far the last one drifts
//
// Thumbnails are made at the strip's cell size, 63 device pixels.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include "imaging/core/ImageFolder.h"
#include "imaging/core/Thumbnails.h"
#include "imaging/widgets/Ik5Slide.h"
#include "platform/core/FolderPaths.h"

namespace {

constexpr int kCell = 63;

QStringList pathsIn(const QString &folder)
{
    QStringList paths;
    for (const QString &name : imaging::imageFilesIn(folder))
        paths << folderlists::joinFolder(folder, name);
    return paths;
}

double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

long residentKib()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

int strip(const QString &folder, int workers)
{
    QElapsedTimer timer;
    timer.start();
    imaging::ThumbnailBuilder builder(pathsIn(folder), QSize(kCell, kCell), workers);
    int broken = 0;
    for (int i = 0; i < builder.count(); ++i)
        broken += builder.take(i)->image.isNull() ? 1 : 0;
    std::printf("strip %d thumbnails (%d broken) with %d workers: %.3f s\n", builder.count(), broken, workers,
                seconds(timer));
    return 0;
}

int first(const QString &folder)
{
    QElapsedTimer timer;
    timer.start();
    imaging::ThumbnailBuilder builder(pathsIn(folder), QSize(kCell, kCell));
    builder.take(0);
    std::printf("first of %d thumbnails: %.4f s\n", builder.count(), seconds(timer));
    return 0;
}

int cancel(const QString &folder)
{
    const QStringList paths = pathsIn(folder);
    double slowest = 0;
    for (const QString &path : paths) {
        imaging::ThumbnailCache::instance().clear();
        QElapsedTimer one;
        one.start();
        (void)imaging::makeThumbnail(path, QSize(kCell, kCell));
        slowest = std::max(slowest, seconds(one));
    }
    imaging::ThumbnailCache::instance().clear();
    double longest = 0;
    for (int round = 0; round < 5; ++round) {
        imaging::ThumbnailCache::instance().clear();
        auto builder = std::make_unique<imaging::ThumbnailBuilder>(paths, QSize(kCell, kCell));
        builder->take(3 + round);
        QElapsedTimer timer;
        timer.start();
        builder->cancel();
        builder.reset(); // returns once the decodes under way are done
        longest = std::max(longest, seconds(timer));
    }
    std::printf("cancel returned within %.4f s; slowest single decode %.4f s (ratio %.2f)\n", longest, slowest,
                longest / slowest);
    return 0;
}

int memory(const QString &folder)
{
    const long before = residentKib();
    imaging::ThumbnailBuilder builder(pathsIn(folder), QSize(kCell, kCell));
    std::vector<QImage> strip;
    qint64 bytes = 0;
    for (int i = 0; i < builder.count(); ++i) {
        strip.push_back(builder.take(i)->image);
        bytes += strip.back().sizeInBytes();
    }
    std::printf("memory for %d thumbnails: %ld KiB resident more, thumbnails %lld KiB\n", builder.count(),
                residentKib() - before, bytes / 1024);
    return 0;
}

int slides(const QString &folder, int count)
{
    imaging::Ik5Slide show;
    show.resize(493, 493); // the full-screen slideshow's size
    show.setFolder(folder);
    show.setInterval(1);
    show.setRepeat(true);
    int shown = 0;
    QElapsedTimer timer;
    QObject::connect(&show, &imaging::Ik5Slide::slideShown, [&] {
        if (++shown == count) {
            const double took = seconds(timer);
            const double planned = count - 1;
            std::printf("%d slides at 1 s: the last came after %.3f s, drift %.2f %%\n", count, took,
                        100.0 * (took - planned) / planned);
            QCoreApplication::quit();
        }
    });
    show.prepare();
    timer.start();
    show.start();
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() >= 3 && args[0] == u"strip")
        return strip(args[1], args[2].toInt());
    if (args.size() >= 2 && args[0] == u"first")
        return first(args[1]);
    if (args.size() >= 2 && args[0] == u"cancel")
        return cancel(args[1]);
    if (args.size() >= 2 && args[0] == u"memory")
        return memory(args[1]);
    if (args.size() >= 3 && args[0] == u"slides")
        return slides(args[1], args[2].toInt());
    std::fprintf(stderr, "usage: strip_bench strip|first|cancel|memory|slides DIR [WORKERS|COUNT]\n");
    return 2;
}
