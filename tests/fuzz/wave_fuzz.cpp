// Fuzzes the wave chunk walk: whatever it finds lies inside the image, and the format copy stays in bounds.
#include "sound/wave.h"

#include <stdlib.h>
#include <string.h>

#define REQUIRE(condition) if (!(condition)) abort()

static unsigned char FormatCopy[WAVE_FORMAT_COPY_MAX];

static bool Inside(const unsigned char *p, uint32_t n, const unsigned char *image, size_t size)
{ return p >= image && (size_t)(p - image) <= size && n <= size - (size_t)(p - image); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // An exactly sized block, so that ASan sees a read one byte past the image.
    unsigned char *image = (unsigned char *)malloc(size + !size);
    memcpy(image, data, size);
    WaveChunks chunks;
    if (WaveParse(image, size, &chunks)) {
        REQUIRE(chunks.formatSize >= WAVE_FORMAT_MIN_CHUNK && Inside(chunks.format, chunks.formatSize, image, size));
        REQUIRE(chunks.data && Inside(chunks.data, chunks.dataSize, image, size));
        REQUIRE(WaveDurationMs(&chunks) <= (uint64_t)chunks.dataSize * 1000);
        WaveFormatCopy(&chunks, FormatCopy, sizeof FormatCopy);   // ASan checks what it reads
    }
    free(image);
    return 0;
}
