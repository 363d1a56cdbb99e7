// Finds the format and sample chunks of a RIFF WAVE image and copies the format for DirectSound.
#include "sound/wave.h"

#include <string.h>

enum {
    WAVE_HEADER_SIZE = 12,  // "RIFF", its length, "WAVE"
    CHUNK_HEADER_SIZE = 8,  // id and size
    WAVE_FORMAT_PCM_TAG = 1,
};

static uint32_t ReadU32(const unsigned char *p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

static uint32_t ReadU16(const unsigned char *p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8);
}

int WaveParse(const unsigned char *image, size_t imageSize, WaveChunks *chunks)
{
    if (!chunks) return 0;
    memset(chunks, 0, sizeof *chunks);
    if (!image || imageSize < WAVE_HEADER_SIZE) return 0;
    if (memcmp(image, "RIFF", 4) != 0 || memcmp(image + 8, "WAVE", 4) != 0) return 0;

    // 64-bit positions: neither a RIFF length nor a chunk size near 4 GB can wrap the cursor
    // back into the image, and the walk never leaves the bytes that were actually read.
    uint64_t end = 8 + (uint64_t)ReadU32(image + 4);
    if (end > (uint64_t)imageSize) end = (uint64_t)imageSize;

    WaveChunks found = {};
    uint64_t cursor = WAVE_HEADER_SIZE;
    while (cursor + CHUNK_HEADER_SIZE <= end) {
        const unsigned char *header = image + cursor;
        uint32_t size = ReadU32(header + 4);
        uint64_t body = cursor + CHUNK_HEADER_SIZE;
        if (!found.format && memcmp(header, "fmt ", 4) == 0) {
            if (size < WAVE_FORMAT_MIN_CHUNK) return 0;
            // DirectSound reads the format in place, so all of it must be in the image.
            if (body + size > (uint64_t)imageSize) return 0;
            found.format = image + body;
            found.formatSize = size;
            if (found.data && found.dataSize != 0) {
                *chunks = found;
                return 1;
            }
        } else if ((!found.data || found.dataSize == 0) && memcmp(header, "data", 4) == 0) {
            // A truncated file still plays what it has.
            uint64_t available = (uint64_t)imageSize - body;
            found.data = image + body;
            found.dataSize = (uint64_t)size > available ? (uint32_t)available : size;
            if (found.format) {
                *chunks = found;
                return 1;
            }
        }
        cursor = body + (((uint64_t)size + 1) & ~(uint64_t)1);
    }
    // The end came before both were found; a data chunk of size 0 met before the format too.
    return 0;
}

uint32_t WaveFormatCopy(const WaveChunks *chunks, unsigned char *out, size_t outSize)
{
    if (!chunks || !chunks->format || !out) return 0;
    const uint32_t formatSize = chunks->formatSize;

    // A format shorter than WAVEFORMATEX reads as if zero-filled up to its full length.
    unsigned char head[WAVE_FORMAT_EX_SIZE] = {};
    memcpy(head, chunks->format, formatSize < sizeof head ? formatSize : sizeof head);

    // DirectSound ignores cbSize for PCM but reads that many extra bytes for anything else.
    uint32_t needed = WAVE_FORMAT_EX_SIZE;
    const int pcm = ReadU16(head) == WAVE_FORMAT_PCM_TAG;
    if (!pcm && formatSize >= WAVE_FORMAT_EX_SIZE) {
        uint32_t extra = ReadU16(head + 16);
        if (extra > formatSize - WAVE_FORMAT_EX_SIZE) return 0;
        needed += extra;
    }
    if (needed > outSize) return 0;

    memset(out, 0, needed);
    memcpy(out, chunks->format, formatSize < needed ? formatSize : needed);
    if (pcm) out[16] = out[17] = 0;
    return needed;
}

uint32_t WaveDurationMs(const WaveChunks *chunks)
{
    if (!chunks || !chunks->format || chunks->formatSize < WAVE_FORMAT_MIN_CHUNK) return 0;
    const unsigned char *format = chunks->format;
    // DirectSound plays PCM at the sample rate whatever average the header claims.
    uint64_t perSecond = ReadU16(format) == WAVE_FORMAT_PCM_TAG
                             ? (uint64_t)ReadU32(format + 4) * ReadU16(format + 12)
                             : ReadU32(format + 8);
    if (perSecond == 0) return 0;
    uint64_t ms = (uint64_t)chunks->dataSize * 1000 / perSecond;
    return ms > UINT32_MAX ? UINT32_MAX : (uint32_t)ms;
}
