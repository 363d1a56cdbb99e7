// The RIFF WAVE chunk walk and the format copy handed to DirectSound; portable.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum {
    WAVE_FORMAT_MIN_CHUNK = 14,          // a "fmt " body shorter than this is refused
    WAVE_FORMAT_EX_SIZE = 18,            // sizeof(WAVEFORMATEX), extra bytes not counted
    WAVE_FORMAT_COPY_MAX = 18 + 65535,   // the largest format with its extra bytes
};

struct WaveChunks {
    const unsigned char *format;  // body of the first "fmt " chunk, inside the image
    uint32_t formatSize;          // that chunk's size
    const unsigned char *data;    // body of the data chunk, inside the image
    uint32_t dataSize;            // its size, cut so that it never reaches past the image
};

// Finds the format and the sample data in a whole file image of imageSize bytes. Returns 1 with
// chunks filled, or 0 (not RIFF WAVE, a format under 14 bytes or running past the image, no
// data found before the end). Never reads outside the image.
int WaveParse(const unsigned char *image, size_t imageSize, WaveChunks *chunks);

// Writes the format as DirectSound reads it: a zero-filled WAVEFORMATEX of at least 18 bytes,
// followed by the extra bytes a non-PCM format announces. Returns the length written, or 0 when
// those extra bytes run past the format chunk or out is too small.
uint32_t WaveFormatCopy(const WaveChunks *chunks, unsigned char *out, size_t outSize);

// How long the samples play, in milliseconds: PCM at rate times block size, other formats at the
// format's average byte rate. 0 when the format gives no rate.
uint32_t WaveDurationMs(const WaveChunks *chunks);
