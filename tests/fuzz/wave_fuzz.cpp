// Fuzzes the wave chunk walk: whatever it finds lies inside the image, and the format copy stays in bounds.
#include "sound/wave.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

static unsigned char FormatCopy[WAVE_FORMAT_COPY_MAX];

static void Require(bool condition)
{
    if (!condition) abort();
}

static bool Inside(const unsigned char *p, uint32_t size, const unsigned char *image, size_t imageSize)
{
    uintptr_t at = (uintptr_t)p, start = (uintptr_t)image;
    return at >= start && at - start <= imageSize && size <= imageSize - (at - start);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // An exactly sized block, so that ASan sees a read one byte past the image.
    unsigned char *image = (unsigned char *)malloc(size ? size : 1);
    if (!image) return 0;
    if (size) memcpy(image, data, size);

    WaveChunks chunks;
    int parsed = WaveParse(image, size, &chunks);
    Require(parsed == 0 || parsed == 1);
    if (parsed) {
        Require(chunks.format != nullptr && chunks.data != nullptr);
        Require(chunks.formatSize >= WAVE_FORMAT_MIN_CHUNK);
        Require(Inside(chunks.format, chunks.formatSize, image, size));
        Require(Inside(chunks.data, chunks.dataSize, image, size));
        Require(WaveDurationMs(&chunks) <= (uint64_t)chunks.dataSize * 1000);
        uint32_t copied = WaveFormatCopy(&chunks, FormatCopy, sizeof FormatCopy);
        Require(copied == 0 || (copied >= WAVE_FORMAT_EX_SIZE && copied <= WAVE_FORMAT_COPY_MAX));
        if (copied) {
            // The head is the chunk's own bytes, as far as the chunk reaches.
            uint32_t same = chunks.formatSize < 16 ? chunks.formatSize : 16;
            Require(memcmp(FormatCopy, chunks.format, same) == 0);
        }
    }
    free(image);
    return 0;
}
