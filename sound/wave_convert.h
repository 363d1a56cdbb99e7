// Integer PCM up to 32 bits and IEEE float turned into 16-bit PCM of one or two channels; portable.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "sound/wave.h"

enum {
    WAVE_CONVERTED_MAX = 64 * 1024 * 1024,  // the most sample bytes a converted sound may take
    WAVE_IMAGE_HEADER_SIZE = 44,            // "RIFF", "WAVE", a 16-byte "fmt " and the data header
};

// 1 for WAVE_FORMAT_PCM of 8 or 16 bits in one or two channels: what every DirectSound takes, so
// a refusal of it is not the format's fault and converting it would not help.
int WaveIsPlainPcm(const WaveChunks *chunks);

// The byte size of the 16-bit image WaveConvert makes of these chunks, header included; 0 when
// the format is none it reads (integer PCM of 1 to 32 bits or IEEE float of 32 or 64, plain or
// WAVE_FORMAT_EXTENSIBLE), there is not one whole frame, or the samples would take more than
// WAVE_CONVERTED_MAX bytes.
size_t WaveConvertedSize(const WaveChunks *chunks);

// Writes that image into out: every whole frame at the same rate, rounded to the nearest 16-bit
// value and clipped; more than two channels mixed down to stereo. Returns the size written, or 0
// when out is smaller than WaveConvertedSize says or the format is not one it reads.
size_t WaveConvert(const WaveChunks *chunks, unsigned char *out, size_t outSize);

// The first WAVE_IMAGE_HEADER_SIZE bytes of a wave image of 16-bit PCM samples.
void WaveImageHeader(unsigned char *out, uint32_t channels, uint32_t rate, uint32_t dataSize);
