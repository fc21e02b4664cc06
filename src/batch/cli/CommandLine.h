#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "batch/engine/BatchRun.h"

// The options of morvell-batch, read into the job and the settings the
// batch windows would give. Texts that stand for a window's boxes (sizes,
// resolution, quality) are kept as typed and converted per file by the same
// rules as the boxes.
namespace batchcli {

struct CommandLine
{
    batch::Job job;
    batch::Settings settings;
    QStringList files;    // FILE... as given
    QString filesFrom;    // --files-from; "-" is standard input
    bool nulSeparated = false;
    QString searchFolder; // --search
    QString searchType;   // --type
    int shardIndex = 0;
    int shardCount = 1;
    bool help = false;
};

// The options read from arguments (without the program name), or the
// reason they cannot be used.
struct Parsed
{
    std::optional<CommandLine> command;
    QString error;
};
[[nodiscard]] Parsed parseCommandLine(const QStringList &arguments);

[[nodiscard]] QString usageText();

// The entries a shard works on: every shardCount-th, from shardIndex on.
[[nodiscard]] QStringList shardOf(const QStringList &entries, int shardIndex, int shardCount);

} // namespace batchcli
