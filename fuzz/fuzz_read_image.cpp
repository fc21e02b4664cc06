// Any bytes, as the content of a file the user opens: the whole reader,
// from format sniffing to every decoder and every header probe.

#include <cstddef>
#include <cstdint>

#include <QCoreApplication>

#include "base/Error.h"
#include "imaging/core/ImageReader.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        (void)imaging::decodeImage(bytes, [](int) {});
    } catch (const imaging::Error &) {
    }
    try {
        (void)imaging::probeImage(bytes);
    } catch (const imaging::Error &) {
    }
    return 0;
}
