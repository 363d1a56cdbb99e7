// Wave samples DirectSound refused, made 16-bit PCM by our own converter or the system's codecs.
#pragma once

#include <stddef.h>

#include "sound/wave.h"

// A new wave image (malloc, the caller frees it) of 16-bit PCM in one or two channels holding
// the samples of chunks: PCM and IEEE float through WaveConvert, anything else through the Audio
// Compression Manager of msacm32.dll. NULL when neither can, when the library or its codec is
// missing, or when the samples would take more than WAVE_CONVERTED_MAX bytes.
unsigned char *WaveDecode(const WaveChunks *chunks, size_t *imageSize);
