#pragma once

#include <stdexcept>

#include <QString>

namespace imaging {

// A failed suite call. The text is the description a window shows or logs;
// the kind lets callers and tests tell failures apart without parsing that
// text.
class Error : public std::runtime_error
{
public:
    enum class Kind {
        Unsupported,     // not one of the formats we read, or a feature of one we refuse
        Damaged,         // truncated or corrupt data
        TooLarge,        // declared or resulting size beyond our limits, or out of memory
        NotFound,        // no such file or folder
        NotRegularFile,  // a folder, FIFO or device where a file was expected
        Unreadable,      // exists but cannot be read (permissions, I/O)
        WriteFailed,     // the file could not be written; the old one is untouched
        InvalidHandle,   // handle 0 or a released image
        InvalidArgument, // a value outside what the call accepts
        Cancelled,       // the caller stopped the work part-way (from its progress callback)
    };

    // A failure in the words of its kind (reasonText), followed by the
    // detail in parentheses when there is one: "ファイルが壊れています (IDAT: CRC error)".
    // This is how the imaging suite describes every failure it raises.
    [[nodiscard]] static Error of(Kind kind, const QString &detail = {})
    {
        const QString reason = reasonText(kind);
        return Error(kind, detail.isEmpty() ? reason : QStringLiteral("%1 (%2)").arg(reason, detail));
    }

    // A failure whose whole description the caller words itself (a window
    // naming the folder it could not create, say).
    Error(Kind kind, const QString &description)
        : std::runtime_error(description.toStdString())
        , m_kind(kind)
    {
    }

    Kind kind() const { return m_kind; }
    QString description() const { return QString::fromUtf8(what()); }

    // The one table of reasons a person reads, one short sentence per kind.
    [[nodiscard]] static QString reasonText(Kind kind)
    {
        switch (kind) {
        case Kind::Unsupported: return QStringLiteral("対応していない形式です");
        case Kind::Damaged: return QStringLiteral("ファイルが壊れています");
        case Kind::TooLarge: return QStringLiteral("画像が大きすぎます");
        case Kind::NotFound: return QStringLiteral("ファイルが見つかりません");
        case Kind::NotRegularFile: return QStringLiteral("通常のファイルではありません");
        case Kind::Unreadable: return QStringLiteral("ファイルを読み取れません");
        case Kind::WriteFailed: return QStringLiteral("ファイルに書き込めません");
        case Kind::InvalidHandle: return QStringLiteral("画像がありません");
        case Kind::InvalidArgument: return QStringLiteral("指定された値が正しくありません");
        case Kind::Cancelled: return QStringLiteral("中止しました");
        }
        return QStringLiteral("エラーが発生しました");
    }

private:
    Kind m_kind;
};

} // namespace imaging
