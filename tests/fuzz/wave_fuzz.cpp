// Fuzzes the wave chunk walk and the 16-bit converter: whatever the walk finds lies inside the
// image, the format copy stays in bounds, and every converted sample is what a plain integer
// reading of its source gives (a side of a channel mix lies between the channels it mixes).
#include "sound/wave.h"
#include "sound/wave_convert.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#define REQUIRE(condition) if (!(condition)) abort()

static unsigned char FormatCopy[WAVE_FORMAT_COPY_MAX];

static bool Inside(const unsigned char *p, uint32_t n, const unsigned char *image, size_t size)
{ return p >= image && (size_t)(p - image) <= size && n <= size - (size_t)(p - image); }

static uint32_t U16(const unsigned char *p) { return p[0] | (uint32_t)p[1] << 8; }

// One sample as 16 bits by the textbook rules: an integer's top 16 bits, rounded half up by the
// bits below them, a float times 32768 rounded to the nearest; both clipped.
static long Reference(const unsigned char *p, bool isFloat, uint32_t bytes)
{
    if (!isFloat) {
        int64_t v = bytes == 1 ? p[0] - 128 : (int8_t)p[bytes - 1];
        for (uint32_t i = bytes - 1; bytes > 1 && i-- > 0;) v = v * 256 + p[i];
        v = bytes == 1 ? v * 256 : bytes == 2 ? v : (v + ((int64_t)1 << (8 * bytes - 17))) >> (8 * bytes - 16);
        return v > 32767 ? 32767 : (long)v;
    }
    float single = 0;
    double value = 0;
    memcpy(bytes == 4 ? (void *)&single : (void *)&value, p, bytes);
    value = nearbyint((bytes == 4 ? single : value) * 32768);
    return isnan(value) ? 0 : value >= 32767 ? 32767 : value <= -32768 ? -32768 : (long)value;
}

static void CheckConversion(const WaveChunks *chunks)
{
    const size_t size = WaveConvertedSize(chunks);
    if (size == 0) return;
    const unsigned char *format = chunks->format;  // an extensible one's subformat begins with the tag
    const uint32_t tag = U16(format + (U16(format) == 0xFFFE ? 24 : 0)), channels = U16(format + 2), frameBytes = U16(format + 12);
    const uint32_t bytes = frameBytes / channels, outChannels = channels > 2 ? 2 : channels;
    REQUIRE(size == WAVE_IMAGE_HEADER_SIZE + (size_t)(chunks->dataSize / frameBytes) * outChannels * 2);

    unsigned char *image = (unsigned char *)malloc(size);  // exactly sized
    REQUIRE(WaveConvert(chunks, image, size) == size);
    WaveChunks made;
    REQUIRE(WaveParse(image, size, &made) && made.dataSize == size - WAVE_IMAGE_HEADER_SIZE && U16(made.format) == 1 &&
            U16(made.format + 2) == outChannels && U16(made.format + 14) == 16);
    const unsigned char *frame = chunks->data;
    for (size_t at = 0; at < made.dataSize; frame += frameBytes) {
        long low = 32767, high = -32768;
        for (uint32_t c = 0; c < channels; ++c) {
            long v = Reference(frame + c * bytes, tag == 3, bytes);
            low = v < low ? v : low, high = v > high ? v : high;
            // Unmixed, the very sample; a float's halves may round either way.
            long got = channels <= 2 ? (int16_t)U16(made.data + at + 2 * c) : v, slack = tag == 3;
            REQUIRE(got >= v - slack && got <= v + slack);
        }
        for (uint32_t c = 0; c < outChannels; ++c, at += 2) {
            long got = (int16_t)U16(made.data + at);  // or silence, where no channel reaches that side
            REQUIRE((got >= low - 1 && got <= high + 1) || (got == 0 && channels > 2));
        }
    }
    free(image);
}

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
        CheckConversion(&chunks);
    }
    free(image);
    return 0;
}
