#include "batch/cli/CommandLine.h"

#include <QCommandLineParser>

namespace batchcli {

namespace {

using sizerules::Rule;

// --rule KIND:VALUE. Only the kind is checked here: the values are the
// boxes' texts, which fail per file as they do in the window.
std::optional<QString> readRule(const QString &text, CommandLine &command)
{
    const qsizetype colon = text.indexOf(u':');
    const QString kind = text.left(colon < 0 ? text.size() : colon);
    const QString value = colon < 0 ? QString() : text.mid(colon + 1);
    sizerules::RuleTexts &rule = command.settings.rule;
    if (kind == u"none" && colon < 0) {
        command.job.resize = false;
        return std::nullopt;
    }
    if (colon < 0)
        return QStringLiteral("--rule %1 needs a value (%1:N)").arg(kind);
    if (kind == u"long" || kind == u"short") {
        rule.rule = kind == u"long" ? Rule::LongSide : Rule::ShortSide;
        rule.side = value;
    } else if (kind == u"kbyte") {
        rule.rule = Rule::Kbyte;
        rule.kbyte = value;
    } else if (kind == u"free" || kind == u"box") {
        rule.rule = kind == u"free" ? Rule::Free : Rule::Box;
        const qsizetype by = value.indexOf(u'x', 0, Qt::CaseInsensitive);
        if (by < 0)
            return QStringLiteral("--rule %1 takes WIDTHxHEIGHT").arg(kind);
        rule.width = value.left(by);
        rule.height = value.mid(by + 1);
    } else {
        return QStringLiteral("unknown rule '%1'").arg(kind);
    }
    command.job.resize = true;
    return std::nullopt;
}

std::optional<QString> readFormat(const QString &text, CommandLine &command)
{
    using savepath::Format;
    if (text == u"jpg")
        command.settings.format = Format::Jpeg;
    else if (text == u"bmp")
        command.settings.format = Format::Bmp;
    else if (text == u"tif")
        command.settings.format = Format::Tiff;
    else if (text == u"png")
        command.settings.format = Format::Png;
    else
        return QStringLiteral("unknown format '%1' (jpg, bmp, tif or png)").arg(text);
    return std::nullopt;
}

std::optional<int> positiveNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? std::optional(value) : std::nullopt;
}

std::optional<QString> readShard(const QString &text, CommandLine &command)
{
    const qsizetype slash = text.indexOf(u'/');
    bool indexOk = false;
    const int index = text.left(slash).toInt(&indexOk);
    const std::optional<int> count = positiveNumber(text.mid(slash + 1));
    if (slash < 0 || !indexOk || !count || index < 0 || index >= *count)
        return QStringLiteral("--shard takes K/N with 0 <= K < N");
    command.shardIndex = index;
    command.shardCount = *count;
    return std::nullopt;
}

// What cannot be combined or is missing.
std::optional<QString> checkInputs(const CommandLine &command)
{
    const bool listed = !command.files.isEmpty() || !command.filesFrom.isEmpty();
    if (!command.searchFolder.isEmpty() && listed)
        return QStringLiteral("--search cannot be combined with files or --files-from");
    if (command.searchFolder.isEmpty() == !command.searchType.isEmpty())
        return QStringLiteral("--search and --type go together");
    if (!listed && command.searchFolder.isEmpty())
        return QStringLiteral("no input: give files, --files-from LIST or --search DIR --type TYPE");
    if (command.nulSeparated && command.filesFrom.isEmpty())
        return QStringLiteral("-0 applies to --files-from");
    if (command.settings.destination.isEmpty())
        return QStringLiteral("--dest DIR is required");
    return std::nullopt;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
        "Usage: morvell-batch [OPTION]... FILE...\n"
        "       morvell-batch [OPTION]... --files-from LIST [-0]\n"
        "       morvell-batch [OPTION]... --search DIR --type TYPE\n"
        "Resize image files or convert their format, as the viewer's batch windows do.\n"
        "\n"
        "Input (the run takes the entries from the last to the first):\n"
        "  FILE...               the files to work on\n"
        "  --files-from LIST     one file a line in LIST (- reads standard input)\n"
        "  -0                    entries in LIST end with a NUL, not a line break\n"
        "  --search DIR          every entry of the tree under DIR, as the batch window's search\n"
        "  --type TYPE           the search's file type: JPG(jpg), TIF(tif), BMP(bmp), *.* or any text\n"
        "\n"
        "What is done:\n"
        "  --rule RULE           long:N | short:N (side in pixels, ratio kept), free:WxH,\n"
        "                        kbyte:N (uncompressed size), box:WxH (fit, ratio kept),\n"
        "                        none (format conversion only)\n"
        "  --dpi D               set the resolution (0 to 65535 dots per inch)\n"
        "  --dest DIR            the folder the results are written to (required)\n"
        "  --format FORMAT       jpg (default), bmp, tif or png\n"
        "  --quality Q           JPEG quality, 1 to 100 (default 60)\n"
        "  --rename              never replace a file of the destination: add _1 to the name\n"
        "                        (resizing rules always do for the output's name)\n"
        "\n"
        "How:\n"
        "  --jobs N              entries worked on at once (default: the usable cores);\n"
        "                        the results are the same for every N\n"
        "  --shard K/N           only every N-th entry, from the K-th (0 <= K < N)\n"
        "  --log FILE            append error records to FILE, not to the program's Errlog.txt\n"
        "  --dry-run             print what would be written; read no pixels, write nothing\n"
        "  --help                this text\n"
        "\n"
        "Each entry prints one tab-separated line: OK SOURCE OUTPUT, SKIP SOURCE or\n"
        "FAIL SOURCE DESCRIPTION. Exit status: 0 all written, 1 some failed or were\n"
        "skipped, 2 usage error, 130 stopped by Ctrl-C (the write under way completes).\n");
}

Parsed parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption filesFrom(QStringLiteral("files-from"), {}, QStringLiteral("LIST"));
    const QCommandLineOption nul(QStringLiteral("0"));
    const QCommandLineOption search(QStringLiteral("search"), {}, QStringLiteral("DIR"));
    const QCommandLineOption type(QStringLiteral("type"), {}, QStringLiteral("TYPE"));
    const QCommandLineOption rule(QStringLiteral("rule"), {}, QStringLiteral("RULE"));
    const QCommandLineOption dpi(QStringLiteral("dpi"), {}, QStringLiteral("D"));
    const QCommandLineOption dest(QStringLiteral("dest"), {}, QStringLiteral("DIR"));
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("FORMAT"), QStringLiteral("jpg"));
    const QCommandLineOption quality(QStringLiteral("quality"), {}, QStringLiteral("Q"), QStringLiteral("60"));
    const QCommandLineOption rename(QStringLiteral("rename"));
    const QCommandLineOption jobs(QStringLiteral("jobs"), {}, QStringLiteral("N"));
    const QCommandLineOption log(QStringLiteral("log"), {}, QStringLiteral("FILE"));
    const QCommandLineOption shard(QStringLiteral("shard"), {}, QStringLiteral("K/N"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"));
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    parser.addOptions({filesFrom, nul, search, type, rule, dpi, dest, format, quality, rename, jobs, log, shard,
                       dryRun, help});
    if (!parser.parse(QStringList{QStringLiteral("morvell-batch")} + arguments))
        return {std::nullopt, parser.errorText()};

    CommandLine command;
    if (parser.isSet(help)) {
        command.help = true;
        return {command, QString()};
    }
    command.files = parser.positionalArguments();
    command.filesFrom = parser.value(filesFrom);
    command.nulSeparated = parser.isSet(nul);
    command.searchFolder = parser.value(search);
    command.searchType = parser.value(type);
    command.settings.setResolution = parser.isSet(dpi);
    command.settings.resolution = parser.value(dpi);
    command.settings.destination = parser.value(dest);
    command.settings.quality = savepath::Quality::Custom;
    command.settings.customQuality = parser.value(quality);
    command.settings.rename = parser.isSet(rename);
    command.job.dryRun = parser.isSet(dryRun);
    command.job.logFile = parser.value(log);
    command.job.jobs = batch::usableCores();

    if (!parser.isSet(rule))
        return {std::nullopt, QStringLiteral("--rule is required (none for format conversion only)")};
    std::optional<QString> error = readRule(parser.value(rule), command);
    if (!error)
        error = readFormat(parser.value(format), command);
    if (!error && parser.isSet(shard))
        error = readShard(parser.value(shard), command);
    if (!error && parser.isSet(jobs)) {
        const std::optional<int> count = positiveNumber(parser.value(jobs));
        if (count)
            command.job.jobs = *count;
        else
            error = QStringLiteral("--jobs takes a whole number of at least 1");
    }
    if (!error)
        error = checkInputs(command);
    if (error)
        return {std::nullopt, *error};
    return {command, QString()};
}

QStringList shardOf(const QStringList &entries, int shardIndex, int shardCount)
{
    QStringList shard;
    for (qsizetype i = shardIndex; i < entries.size(); i += shardCount)
        shard.append(entries[i]);
    return shard;
}

} // namespace batchcli
