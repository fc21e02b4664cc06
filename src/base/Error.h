#pragma once

#include <stdexcept>

#include <QString>

namespace imaging {

// A failed suite call. The text is the description a window shows or logs
// ("damaged file: premature end of data"); the kind lets callers and tests
// tell failures apart without parsing that text.
class Error : public std::runtime_error
{
public:
    enum class Kind {
        Unsupported,    // not one of the formats we read, or a feature of one we refuse
        Damaged,        // truncated or corrupt data
        TooLarge,       // declared or resulting size beyond our limits, or empty
        NotFound,       // no such file or folder
        NotRegularFile, // a folder, FIFO or device where a file was expected
        Unreadable,     // exists but cannot be read (permissions, I/O)
        WriteFailed,    // the file could not be written; the old one is untouched
        InvalidHandle,  // handle 0 or a released image
        InvalidArgument // a value outside what the call accepts
    };

    Error(Kind kind, const QString &description)
        : std::runtime_error(description.toStdString())
        , m_kind(kind)
    {
    }

    Kind kind() const { return m_kind; }
    QString description() const { return QString::fromUtf8(what()); }

private:
    Kind m_kind;
};

} // namespace imaging
