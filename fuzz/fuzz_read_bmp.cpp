// Any bytes straight into our own BMP reader, without the sniffing that
// would turn most of them away first.

#include <cstddef>
#include <cstdint>

#include "imaging/core/BmpReader.h"
#include "base/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        (void)imaging::probeBmp(bytes);
        (void)imaging::decodeBmp(bytes);
    } catch (const imaging::Error &) {
    }
    return 0;
}
