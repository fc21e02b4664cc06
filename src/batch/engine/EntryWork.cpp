#include "batch/engine/EntryWork.h"

#include <new>
#include <optional>

#include <sys/stat.h>

#include <QFile>

#include "base/Error.h"
#include "imaging/core/FittedRead.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"
#include "imaging/core/SafeFile.h"
#include "platform/core/FolderPaths.h"
#include "rules/BatchNames.h"

namespace batch::detail {

namespace {

using imaging::Error;

// The size an image of the given upright size is brought to; nothing when
// the rule asks for less than a pixel, which the resize refuses and the run
// skips. Throws when a box does not convert or the size is beyond what an
// image may hold, before anything is allocated for it.
using SizePlan = std::function<std::optional<QSize>(QSize upright)>;

// Reads the source at the planned size: the header first, so the plan can
// pick the JPEG scale that is decoded. When the plan fails or skips, the
// whole file is still read before that is reported, so a damaged file is
// reported as damaged whatever the boxes hold, as when every file is read
// before its rule is applied. The one place that knows how the imaging core
// reads for the batch.
std::optional<imaging::Image> readAtPlannedSize(const QString &path, const SizePlan &plan,
                                                const imaging::ProgressFn &progress, int threads)
{
    const imaging::ImageInfo info = imaging::probeImageFile(path);
    std::optional<QSize> target;
    try {
        target = plan(info.size);
    } catch (const Error &) {
        (void)imaging::readImageFile(path, progress);
        throw;
    }
    if (!target) {
        (void)imaging::readImageFile(path, progress);
        return std::nullopt;
    }
    return imaging::readImageFileShrunk(path, *target, progress, threads);
}

// A dry run's read: the header and the plan, no pixels.
std::optional<imaging::Image> planFromHeader(const QString &path, const SizePlan &plan)
{
    const imaging::ImageInfo info = imaging::probeImageFile(path);
    return plan(info.size) ? std::optional(imaging::Image{}) : std::nullopt;
}

std::optional<imaging::Image> readResized(const EntryTask &task, const imaging::ProgressFn &progress)
{
    const Settings &settings = task.settings;
    std::optional<qint32> dpi;
    const SizePlan plan = [&](QSize upright) -> std::optional<QSize> {
        if (settings.setResolution)
            dpi = sizerules::resolutionDpi(settings.resolution);
        const sizerules::PixelSize size = sizerules::newSize(settings.rule, {upright.width(), upright.height()});
        if (size.width < 1 || size.height < 1)
            return std::nullopt;
        imaging::checkImageSize(size.width, size.height);
        return QSize(size.width, size.height);
    };
    std::optional<imaging::Image> image = task.dryRun ? planFromHeader(task.readPath, plan)
                                                      : readAtPlannedSize(task.readPath, plan, progress, task.resizeThreads);
    if (image && dpi)
        image->dpiX = image->dpiY = *dpi;
    return image;
}

// Format conversion: the image as read, with the resolution box applied.
imaging::Image readConverted(const EntryTask &task, const imaging::ProgressFn &progress)
{
    imaging::Image image;
    if (task.dryRun)
        (void)imaging::probeImageFile(task.readPath);
    else
        image = imaging::readImageFile(task.readPath, progress);
    if (task.settings.setResolution)
        image.dpiX = image.dpiY = sizerules::resolutionDpi(task.settings.resolution);
    return image;
}

bool ordinaryFileExists(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

void encode(EntryTask &task, const imaging::Image &image, const EntryEvents &events)
{
    const Settings &settings = task.settings;
    const QString name = folderlists::fileNameOf(task.entry);
    // Checked before the encoding: a name too short to cut fails here.
    const QString derived = batchnames::outputName(name, *settings.format);
    const savepath::FormatEntry format = savepath::formatEntry(*settings.format);
    const int quality = format.takesQuality ? batchnames::batchQuality(settings.quality, settings.customQuality) : 0;
    events.started(Stage::Writing, derived);
    if (task.dryRun)
        return;
    // Encoding is the write's first 90 %; the commit makes it 100.
    task.bytes = imaging::encodeImage(image, format.operation, quality,
                                      [&events](int percent) { events.progress(Stage::Writing, percent * 9 / 10); });
}

} // namespace

void prepareEntry(EntryTask &task, const EntryEvents &events, const CancelToken &cancel)
{
    using Result = EntryTask::Result;
    // Nothing starts after a stop.
    if (cancel.cancelled()) {
        task.result = Result::Stopped;
        return;
    }
    try {
        events.started(Stage::Reading, task.entry);
        // A stop during a read ends it at once: it would be thrown away.
        const imaging::ProgressFn progress = [&](int percent) {
            if (cancel.cancelled())
                throw Error::of(Error::Kind::Cancelled);
            events.progress(Stage::Reading, percent);
        };
        std::optional<imaging::Image> image = task.resize ? readResized(task, progress)
                                                          : std::optional(readConverted(task, progress));
        if (cancel.cancelled()) {
            task.result = Result::Stopped;
            return;
        }
        if (!image || !task.settings.format) {
            task.result = Result::Skipped;
            return;
        }
        encode(task, *image, events);
        task.result = Result::Encoded;
    } catch (const Error &error) {
        task.result = error.kind() == Error::Kind::Cancelled ? Result::Stopped : Result::Failed;
        task.description = error.description();
    } catch (const std::bad_alloc &) {
        task.result = Result::Failed;
        task.description = Error::reasonText(Error::Kind::TooLarge);
    } catch (const std::exception &error) {
        task.result = Result::Failed;
        task.description = QString::fromLocal8Bit(error.what());
    }
}

QString commitEntry(const EntryTask &task, QSet<QString> &planned)
{
    const Settings &settings = task.settings;
    if (settings.destination.isEmpty())
        throw Error::of(Error::Kind::WriteFailed, QStringLiteral("保存するフォルダーがありません"));
    const auto taken = [&planned](const QString &path) { return ordinaryFileExists(path) || planned.contains(path); };
    const auto untaken = [&taken](QString path) {
        while (taken(path))
            path = batchnames::withCopySuffix(path);
        return path;
    };

    // Both tests look at the folder the file goes to.
    QString name = folderlists::fileNameOf(task.entry);
    while (settings.rename && taken(folderlists::joinFolder(settings.destination, name)))
        name = batchnames::withCopySuffix(name);
    QString path = folderlists::joinFolder(settings.destination, batchnames::outputName(name, *settings.format));
    const bool tested = task.resize || settings.rename;
    if (tested)
        path = untaken(path);
    if (task.dryRun) {
        planned.insert(path);
        return path;
    }
    if (!tested) {
        imaging::writeFileAtomically(path, task.bytes);
        return path;
    }
    // A file that appeared after the test keeps its name; the output takes the next one.
    while (!imaging::writeNewFileAtomically(path, task.bytes))
        path = untaken(batchnames::withCopySuffix(path));
    return path;
}

} // namespace batch::detail
