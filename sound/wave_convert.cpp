// Turns PCM of any width and IEEE float into 16-bit PCM, mixing more than two channels to stereo.
#include "sound/wave_convert.h"

#include <math.h>
#include <string.h>

enum {
    TAG_PCM = 1,
    TAG_FLOAT = 3,
    TAG_EXTENSIBLE = 0xFFFE,
    FORMAT_EX_SIZE = 16,          // through wBitsPerSample
    EXTENSIBLE_SIZE = 40,         // then cbSize, valid bits, the channel mask and the subformat GUID
    SPEAKER_DEFAULT = 0x3FFFF,    // without a mask the channels take Windows' 18 positions in order
};

// Every KSDATAFORMAT_SUBTYPE GUID of a format tag: the tag in the first two bytes, then these.
static const unsigned char SUBTYPE_TAIL[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};

// Where each speaker position of a channel mask goes, by the usual downmix: front left and right
// whole to their side, centres to both at -3 dB, sides, backs and tops to their side at -3 dB;
// the low-frequency channel is left out. Positions past these count as centres.
enum { TO_LEFT = 1, TO_RIGHT = 2, HALF_POWER = 4, CENTRE = TO_LEFT | TO_RIGHT | HALF_POWER, OTHER_POSITION = 18 };
static const unsigned char SPEAKER_SIDES[OTHER_POSITION + 1] = {
    TO_LEFT, TO_RIGHT, CENTRE, 0, TO_LEFT | HALF_POWER, TO_RIGHT | HALF_POWER,  // FL FR FC LFE BL BR
    TO_LEFT, TO_RIGHT, CENTRE, TO_LEFT | HALF_POWER, TO_RIGHT | HALF_POWER,       // FLC FRC BC SL SR
    CENTRE, TO_LEFT | HALF_POWER, CENTRE, TO_RIGHT | HALF_POWER,                  // TC TFL TFC TFR
    TO_LEFT | HALF_POWER, CENTRE, TO_RIGHT | HALF_POWER, CENTRE,                  // TBL TBC TBR, others
};

struct SampleFormat {
    uint32_t channels, rate, frameBytes, sampleBytes;
    int isFloat;
    uint32_t speakers;  // the channels' positions, lowest bit first
};

static uint32_t ReadU16(const unsigned char *p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8); }
static uint32_t ReadU32(const unsigned char *p) { return ReadU16(p) | (ReadU16(p + 2) << 16); }

static void WriteU16(unsigned char *p, uint32_t v) { p[0] = (unsigned char)v, p[1] = (unsigned char)(v >> 8); }
static void WriteU32(unsigned char *p, uint32_t v) { WriteU16(p, v), WriteU16(p + 2, v >> 16); }

static int SampleFormatRead(const WaveChunks *chunks, SampleFormat *format)
{
    if (!chunks || !chunks->format || chunks->formatSize < FORMAT_EX_SIZE) return 0;
    const unsigned char *p = chunks->format;
    uint32_t tag = ReadU16(p), bits = ReadU16(p + 14);
    format->channels = ReadU16(p + 2);
    format->rate = ReadU32(p + 4);
    format->frameBytes = ReadU16(p + 12);
    format->speakers = SPEAKER_DEFAULT;
    if (tag == TAG_EXTENSIBLE) {
        // Only the PCM and float subformats; their valid bits sit at the top of the container.
        const unsigned char *subtype = p + 24;
        if (chunks->formatSize < EXTENSIBLE_SIZE || memcmp(subtype + 2, SUBTYPE_TAIL, sizeof SUBTYPE_TAIL) != 0)
            return 0;
        if (ReadU32(p + 20)) format->speakers = ReadU32(p + 20);
        tag = ReadU16(subtype);
    }
    format->isFloat = tag == TAG_FLOAT;
    if (format->isFloat ? bits != 32 && bits != 64 : tag != TAG_PCM || bits < 1 || bits > 32) return 0;
    format->sampleBytes = (bits + 7) / 8;
    return format->channels > 0 && format->frameBytes == format->channels * format->sampleBytes;
}

// One sample as a fraction of full scale: integers from -1 up to just under 1, 8-bit ones unsigned.
static double SampleRead(const unsigned char *p, const SampleFormat *format)
{
    if (format->isFloat && format->sampleBytes == 4) {
        uint32_t bits = ReadU32(p);
        float value;
        memcpy(&value, &bits, sizeof value);
        return value;
    }
    if (format->isFloat) {
        uint64_t bits = ReadU32(p) | ((uint64_t)ReadU32(p + 4) << 32);
        double value;
        memcpy(&value, &bits, sizeof value);
        return value;
    }
    uint32_t aligned = 0;
    for (uint32_t i = 0; i < format->sampleBytes; ++i) aligned |= (uint32_t)p[i] << (8 * (4 - format->sampleBytes + i));
    if (format->sampleBytes == 1) aligned ^= 0x80000000u;
    return (int32_t)aligned / 2147483648.0;
}

// Rounded to the nearest step, halves up, and clipped; NaN is silence.
static int32_t Sample16(double value)
{
    double scaled = value * 32768.0;
    if (scaled != scaled) return 0;
    if (scaled >= 32767.0) return 32767;
    if (scaled <= -32768.0) return -32768;
    return (int32_t)floor(scaled + 0.5);
}

// The left and right weights of the next channel; *speakers loses the position it takes.
static void NextSpeaker(uint32_t *speakers, double weights[2])
{
    uint32_t position = 0;
    while (position < OTHER_POSITION && !((*speakers >> position) & 1)) ++position;
    *speakers &= *speakers - 1;
    const unsigned sides = SPEAKER_SIDES[position];
    const double weight = sides & HALF_POWER ? 0.70710678118654752 : 1;
    weights[0] = sides & TO_LEFT ? weight : 0;
    weights[1] = sides & TO_RIGHT ? weight : 0;
}

int WaveIsPlainPcm(const WaveChunks *chunks)
{
    if (!chunks || !chunks->format || chunks->formatSize < FORMAT_EX_SIZE) return 0;
    uint32_t channels = ReadU16(chunks->format + 2), bits = ReadU16(chunks->format + 14);
    return ReadU16(chunks->format) == TAG_PCM && (channels == 1 || channels == 2) && (bits == 8 || bits == 16);
}

size_t WaveConvertedSize(const WaveChunks *chunks)
{
    SampleFormat format;
    if (!SampleFormatRead(chunks, &format)) return 0;
    uint64_t samples = (uint64_t)(chunks->dataSize / format.frameBytes) * (format.channels > 2 ? 2 : format.channels);
    if (samples == 0 || samples * 2 > (uint64_t)WAVE_CONVERTED_MAX) return 0;
    return WAVE_IMAGE_HEADER_SIZE + (size_t)samples * 2;
}

void WaveImageHeader(unsigned char *out, uint32_t channels, uint32_t rate, uint32_t dataSize)
{
    memcpy(out, "RIFF", 4);
    WriteU32(out + 4, WAVE_IMAGE_HEADER_SIZE - 8 + dataSize);
    memcpy(out + 8, "WAVEfmt ", 8);
    WriteU32(out + 16, 16);
    WriteU16(out + 20, TAG_PCM);
    WriteU16(out + 22, channels);
    WriteU32(out + 24, rate);
    WriteU32(out + 28, rate * channels * 2);
    WriteU16(out + 32, channels * 2);
    WriteU16(out + 34, 16);
    memcpy(out + 36, "data", 4);
    WriteU32(out + 40, dataSize);
}

size_t WaveConvert(const WaveChunks *chunks, unsigned char *out, size_t outSize)
{
    SampleFormat format;
    const size_t size = WaveConvertedSize(chunks);
    if (!out || size == 0 || size > outSize || !SampleFormatRead(chunks, &format)) return 0;
    const uint32_t outChannels = format.channels > 2 ? 2 : format.channels;
    WaveImageHeader(out, outChannels, format.rate, (uint32_t)(size - WAVE_IMAGE_HEADER_SIZE));

    // Each side is the weighted mean of the channels that reach it, so a mix-down never clips;
    // a side no channel reaches stays silent.
    double divisor[2] = {0, 0}, weights[2];
    uint32_t speakers = format.speakers;
    for (uint32_t c = 0; c < format.channels; ++c) {
        NextSpeaker(&speakers, weights);
        divisor[0] += weights[0], divisor[1] += weights[1];
    }

    unsigned char *sample = out + WAVE_IMAGE_HEADER_SIZE;
    const unsigned char *frame = chunks->data;
    for (; sample < out + size; frame += format.frameBytes) {
        double mix[2] = {0, 0};
        speakers = format.speakers;
        for (uint32_t c = 0; c < format.channels; ++c) {
            double value = SampleRead(frame + c * format.sampleBytes, &format);
            NextSpeaker(&speakers, weights);
            if (outChannels < format.channels)
                mix[0] += value * weights[0], mix[1] += value * weights[1];
            else
                mix[c] = value;
        }
        for (uint32_t c = 0; outChannels < format.channels && c < 2; ++c) mix[c] = divisor[c] > 0 ? mix[c] / divisor[c] : 0;
        for (uint32_t c = 0; c < outChannels; ++c, sample += 2) WriteU16(sample, (uint32_t)Sample16(mix[c]));
    }
    return size;
}
