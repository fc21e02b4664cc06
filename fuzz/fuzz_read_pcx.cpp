// Any bytes straight into our own PCX reader, without the sniffing that
// would turn most of them away first.

#include <cstddef>
#include <cstdint>

#include "base/Error.h"
#include "imaging/core/PcxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        (void)imaging::decodePcx(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    } catch (const imaging::Error &) {
    }
    return 0;
}
