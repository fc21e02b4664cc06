#pragma once

// Photos and folders made in code for the batch tests.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>

#include "CodecFixtures.h"
#include "FileSystemFixtures.h"

namespace batchfixtures {

// A small JPEG photo whose pixels differ for each seed.
[[nodiscard]] inline QByteArray photo(int width, int height, int seed = 0)
{
    QImage pixels = fixtures::smooth(width, height);
    pixels.setPixel(seed % width, 0, qRgb(seed * 37 % 256, 0, 0));
    return fixtures::jpegOf(pixels, 90);
}

// A JPEG cut off in its scan data: its header reads, its pixels do not.
[[nodiscard]] inline QByteArray damagedPhoto()
{
    const QByteArray whole = photo(64, 48);
    return whole.left(whole.size() * 2 / 3);
}

// Writes file (folders made as needed); returns its path.
inline QString put(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder + u'/' + name;
    QDir().mkpath(QFileInfo(path).path());
    if (!fixtures::writeBytes(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// count photos 1.jpg, 2.jpg ... of one size in folder, each different.
[[nodiscard]] inline QStringList putPhotos(const QString &folder, int count, int width, int height)
{
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths.append(put(folder, QStringLiteral("%1.jpg").arg(i), photo(width, height, i)));
    return paths;
}

// Every name in a folder and its subfolders, hidden ones included, with
// each file's content, so "nothing changed" is one comparison.
[[nodiscard]] inline QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(folder.size() + 1), it.fileInfo().isFile() ? fixtures::readBytes(path) : QByteArray());
    }
    return files;
}

} // namespace batchfixtures
