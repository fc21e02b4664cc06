// Any bytes read fitted into a thumbnail's box: the probe, the reduced JPEG
// decode at the shrink headroom, the resize over the stored area and the
// turn of the small result, for every format.

#include <cstddef>
#include <cstdint>

#include "base/Error.h"
#include "imaging/core/FittedRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        (void)imaging::decodeImageFitted(bytes, QSize(48, 32), false, {}, 1);
    } catch (const imaging::Error &) {
    }
    return 0;
}
