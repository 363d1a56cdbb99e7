// Numbers of the program: random draws, rounding, spread, pan, wave files (kept in bounds by the fuzz target).
#include <gtest/gtest.h>

#include "shooting/shot_math.h"
#include "shooting/shot_scale.h"
#include "sound/sound_math.h"
#include "sound/wave.h"
#include "sound/wave_convert.h"

std::vector<int> Placed(BulletPlacement b = {})
{ return BulletPlace(&b), std::vector<int>({b.r, b.dx, b.dy, b.distance, b.offsetX, b.offsetY}); }

TEST(Math, GeneratorRoundingPanAndBulletsFollowTheRuntime)
{
    randomState = 1;
    EXPECT_EQ(std::vector<int>({RandomNext(), RandomNext(), RandomNext(), RandomBelow(1000)}), std::vector<int>({41, 18467, 6334, 808}));
    // a, b, c, a * b / c with halves away from zero; -1 for no divisor or no room in 32 bits.
    const int32_t cases[][4] = {{3, 1, 2, 2}, {-3, 1, 2, -2}, {3, 1, -2, -2}, {-3, -1, -2, -2}, {5, 1, 4, 1}, {-5, 1, 4, -1},
        {7, 8, 0, -1}, {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {INT32_MAX, 2, 1, -1}, {INT32_MIN, 1, 1, -1}};
    for (const auto &c : cases) EXPECT_EQ(MulDivRound(c[0], c[1], c[2]), c[3]) << c[0] << " * " << c[1] << " / " << c[2];
    // x, width, pan: from the left edge to just under the right, truncated toward zero.
    const int32_t pans[][3] = {{0, 1024, -2500}, {1023, 1024, 2495}, {100, 1024, -2012}, {-1, 3, -4166}, {10, 0, 0}};
    for (const auto &c : pans) EXPECT_EQ(PanForX(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
    for (int32_t s = 1; s <= 524288; s++) {
        const int lo = SpreadRoot(s);
        ASSERT_TRUE(lo % 8 == 0 && lo * lo < s && (lo + 8) * (lo + 8) >= s) << s << ": " << lo;
    }
    // A run's start; r = 1023 with the shortest directions; a first dx under 16 redraws both.
    EXPECT_EQ((randomState = 1, Placed()), std::vector<int>({1, 65, -315, 0, 0, 0}));
    EXPECT_EQ(Placed(), std::vector<int>({828, 87, -21, 23, 23, -5}));
    EXPECT_EQ((randomState = 0x45AE0796u, Placed()), std::vector<int>({1023, 16, -16, 40, 40, -40}));
    EXPECT_EQ((randomState = 0xDAC75E5Bu, Placed()), std::vector<int>({1023, 16, 17, 40, 40, 43}));   // root 16: 40 * 17 / 16 = 42.5
    EXPECT_EQ((randomState = 13, Placed()), std::vector<int>({2, 123, -141, 0, 0, 0}));
    EXPECT_EQ(randomState, 0xAE60C420u);   // five steps of 214013 x + 2531011 from 13
}

std::vector<int> Scaled(std::vector<int> lengths, int dpi) { for (int &v : lengths) v = ScaledLength(v, dpi); return lengths; }

TEST(Scale, ShotsGrowWithTheDpiAndTheSpreadStaysSymmetric)
{
    for (int v = -256; v <= 256; ++v) ASSERT_EQ(ScaledLength(v, 96), v) << "100 % changed " << v;
    // dpi: the hole, its offset, the crater, a run's second bullet (23, -5) and the farthest (40, -40) at it.
    const int rows[][8] = {{120, 19, 10, 160, 29, -6, 50, -50}, {144, 23, 12, 192, 35, -8, 60, -60}, {192, 30, 16, 256, 46, -10, 80, -80}};
    for (const auto &r : rows) EXPECT_EQ(Scaled({15, 8, 128, 23, -5, 40, -40}, r[0]), std::vector<int>(r + 1, r + 8)) << r[0] << " dpi";
}

TEST(Scale, APointTakesTheScaleOfItsMonitorOrOfTheNearest)
{
    // One at 200 % left of the primary at 100 %, one at 150 % right of it and lower, with a gap.
    const MonitorArea monitors[] = {{-3840, 0, 0, 2160, 192}, {0, 0, 1920, 1080, 96}, {1920, 1200, 4480, 2640, 144}};
    // x, y, monitor: edges left and top inside, right and bottom outside; off every monitor, the nearest.
    const int points[][3] = {{0, 0, 1}, {-1, 0, 0}, {1919, 1079, 1}, {1920, 1200, 2}, {-1, 2160, 0}, {1919, 1199, 2},
                             {1000, 1150, 1}, {5000, 0, 2}};
    for (const auto &p : points) EXPECT_EQ(MonitorAt(monitors, 3, p[0], p[1]), p[2]) << p[0] << ", " << p[1];
}

typedef std::vector<unsigned char> Bytes;

Bytes operator+(Bytes a, const Bytes &b) { return a.insert(a.end(), b.begin(), b.end()), a; }
Bytes Le(uint64_t v, int bytes = 4) { Bytes b; while (bytes--) b.push_back((unsigned char)v), v >>= 8; return b; }
// A chunk announcing size (by default its body's), its body of n bytes and the pad after an odd one.
Bytes Chunk(const char *id, size_t n, int64_t size = -1)
{ return Bytes(id, id + 4) + Le(size < 0 ? n : size) + Bytes(n + (size < 0 && n % 2), 1); }
// "RIFF", its length (by default the bytes after it), "WAVE", the chunks.
Bytes Wave(const Bytes &chunks, int64_t length = -1)
{ return Bytes{'R', 'I', 'F', 'F'} + Le(length < 0 ? chunks.size() + 4 : length) + Bytes{'W', 'A', 'V', 'E'} + chunks; }

// What the walk found, as offsets into the image: "fmt 20+16 data 44+8" or "none".
std::string Found(const Bytes &b)
{
    const Bytes image(b);   // exactly sized
    WaveChunks c;
    if (!WaveParse(image.data(), image.size(), &c)) return "none";
    return "fmt " + std::to_string(c.format - image.data()) + "+" + std::to_string(c.formatSize) + " data " +
           std::to_string(c.data - image.data()) + "+" + std::to_string(c.dataSize);
}

TEST(Wave, WalkFindsFormatAndDataOrRefusesInBoundedTime)
{
    const Bytes two = Chunk("fmt ", 16) + Chunk("data", 8), empty = Wave(Chunk("fmt ", 16) + Chunk("data", 0, 4), 0x7FFFFFF0);
    // Data first, an odd chunk and its pad skipped, only the first format counts, of 14 bytes at least;
    // a wrong id; a RIFF length ending within the data's header or at its end; a header cut short.
    const std::pair<Bytes, std::string> cases[] = {
        {Wave(Chunk("data", 10) + Chunk("LIST", 5) + Chunk("fmt ", 14) + Chunk("fmt ", 13)), "fmt 52+14 data 20+10"},
        {Wave(Chunk("fmt ", 13) + Chunk("data", 4)), "none"}, {Bytes{'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'X'} + two, "none"},
        {Wave(two, 35), "none"}, {Wave(two, 36), "fmt 20+16 data 44+8"}, {Bytes(11, 'R'), "none"},
        // Data of size 0 completes the walk after the format; before it, the next data replaces it.
        {Wave(Chunk("fmt ", 16) + Chunk("data", 0) + Chunk("data", 4)), "fmt 20+16 data 44+0"},
        {Wave(Chunk("data", 0) + Chunk("fmt ", 16) + Chunk("data", 4)), "fmt 28+16 data 52+4"},
        // Sizes past the image: data is cut, down to nothing; a cut header or format is refused.
        {Wave(Chunk("fmt ", 16) + Chunk("data", 3, 0xFFFFFFFF), 0xFFFFFFFF), "fmt 20+16 data 44+3"},
        {empty, "fmt 20+16 data 44+0"}, {Bytes(empty.begin(), empty.end() - 1), "none"},
        {Wave(Chunk("fmt ", 15, 16)), "none"}, {Wave(Chunk("data", 4) + Chunk("fmt ", 16, 0xFFFFFFFF)), "none"}};
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) EXPECT_EQ(Found(cases[i].first), cases[i].second) << i;
    // In 32 bits these sizes step onto the chunks hidden in the body, or back, forever.
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF8u, 0xFFFFFFF4u, 0xFFFFFFEBu})
        EXPECT_EQ(Found(Wave(Bytes{'j', 'u', 'n', 'k'} + Le(size) + two, 0xFFFFFFF0)), "none") << std::hex << size;
}

TEST(Wave, FormatCopyAndPlayingTimeTreatPcmApart)
{
    // format size, tag, cbSize, out size; bytes written, of them from the format (then zeros).
    const uint32_t cases[][6] = {{14, 1, 0, 24, 18, 14}, {16, 1, 0, 17, 0, 0}, {40, 1, 4, 24, 18, 16},
        {30, 2, 2, 24, 20, 20}, {16, 3, 0, 24, 18, 16}, {20, 2, 3, 24, 0, 0}, {20, 2, 2, 19, 0, 0}};
    for (const auto &c : cases) {
        Bytes whole = Le(c[1], 2) + Bytes(14, 7) + Le(c[2], 2) + Bytes(30, 9), out(c[3], 0xCC);
        const Bytes format(whole.begin(), whole.begin() + c[0]);   // exactly sized
        const WaveChunks chunks = {format.data(), c[0], format.data(), 0};
        EXPECT_EQ(WaveFormatCopy(&chunks, out.data(), out.size()), c[4]) << c[0];
        EXPECT_EQ(out, Bytes(format.begin(), format.begin() + c[5]) + Bytes(c[4] - c[5], 0) + Bytes(c[3] - c[4], 0xCC)) << c[0];
    }
    // format size, tag, average rate, data bytes, milliseconds; 22050 Hz, block 2.
    const uint32_t times[][5] = {{16, 1, 1, 44100, 1000}, {16, 2, 1000, 1999, 1999}, {16, 2, 0, 5, 0}, {13, 1, 1, 44100, 0},
                                 {16, 1, 1, 0xFFFFFFFF, 97391548}};
    for (const auto &c : times) {
        const Bytes format = Le(c[1], 2) + Le(1, 2) + Le(22050) + Le(c[2]) + Le(2, 2) + Le(16, 2);
        const WaveChunks chunks = {format.data(), c[0], nullptr, c[3]};
        EXPECT_EQ(WaveDurationMs(&chunks), c[4]) << c[1] << " " << c[3];
    }
}


// A "fmt " body of 8000 Hz; an extensible one adds its valid bits, the mask and the subformat of subtag.
Bytes Format(uint32_t tag, uint32_t channels, uint32_t bits, uint32_t mask = 0, uint32_t subtag = 1)
{
    const uint32_t block = channels * ((bits + 7) / 8);
    const Bytes format = Le(tag, 2) + Le(channels, 2) + Le(8000) + Le(8000 * block) + Le(block, 2) + Le(bits, 2);
    return tag != 0xFFFE ? format : format + Le(22, 2) + Le(bits, 2) + Le(mask) + Le(subtag, 2) +
                                        Bytes{0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
}
Bytes Ints(std::vector<uint32_t> values, int bytes) { Bytes b; for (uint32_t v : values) b = b + Le(v, bytes); return b; }
Bytes Wave(const Bytes &format, const Bytes &data, int64_t size = -1)
{ return Wave(Bytes{'f', 'm', 't', ' '} + Le(format.size()) + format + Bytes{'d', 'a', 't', 'a'} + Le(size < 0 ? data.size() : size) + data); }

// The 16-bit samples WaveConvert writes into exactly as many bytes as WaveConvertedSize asks for.
std::vector<int> Converted(const Bytes &wave)
{
    const Bytes image(wave);
    WaveChunks chunks;
    if (!WaveParse(image.data(), image.size(), &chunks)) return {-99999};
    Bytes out(WaveConvertedSize(&chunks));
    std::vector<int> samples;
    if (out.empty() || WaveConvert(&chunks, out.data(), out.size()) != out.size()) return samples;
    for (size_t i = 44; i < out.size(); i += 2) samples.push_back((int16_t)(out[i] | out[i + 1] << 8));
    return samples;
}

// Each width against an independent reading is the fuzz target's; here the mix-down and what is cut short.
TEST(WaveConvert, MoreChannelsMixToStereoByTheirSpeakersAndOnlyWholeFramesCount)
{
    const std::pair<Bytes, std::vector<int>> cases[] = {
        // A data chunk claiming more than there is, and an odd last frame left out.
        {Wave(Format(1, 2, 24), Ints({0x100000, 0x200000, 0x50}, 3) + Bytes{7}, 100000000), {0x1000, 0x2000}},
        // Each side the weighted mean of what reaches it: 5.1 (FL FR FC LFE BL BR) L = (FL + (FC + BL) / sqrt 2) / (1 + sqrt 2).
        {Wave(Format(0xFFFE, 6, 16, 0x3F), Ints({16384, 0, 0, 32767, 0, 0, 0, 0, 16384, 0, 0, 0, 0, 0, 0, 0, 0, 0x8000}, 2)),
         {6786, 0, 4799, 4799, 0, -9598}},
        // Without a mask (or with 0), Windows' order FL FR FC; past the mask's positions, centres; a side nothing reaches is silent.
        {Wave(Format(0xFFFE, 3, 16, 0), Ints({32767, 0, 32767}, 2)), {32767, 13573}},
        {Wave(Format(0xFFFE, 3, 16, 2), Ints({0, 32767, 32767}, 2)), {32767, 19194}},
        {Wave(Format(0xFFFE, 3, 16, 0x2A), Ints({16384, 32767, 16384}, 2)), {0, 16384}},  // FR LFE BR
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) EXPECT_EQ(Converted(cases[i].first), cases[i].second) << i;
}

TEST(WaveConvert, OnlyPcmAndFloatConvertAndOnlyWithinTheBound)
{
    // No whole frame, a codec, an unknown subformat, float of 16 bits, no or too many bits, a frame
    // size that does not fit, no channels, no bits in the format.
    const Bytes eight = Format(1, 1, 8), refused[] = {Format(1, 2, 24), Format(0x11, 1, 4), Format(0xFFFE, 1, 16, 4, 0x11),
        Format(3, 1, 16), Format(1, 1, 0), Format(1, 1, 33), Le(1, 2) + Le(2, 2) + Le(8000) + Le(16000) + Le(3, 2) + Le(8, 2),
        Format(1, 0, 16), Bytes(eight.begin(), eight.end() - 2)};
    for (const Bytes &format : refused) {
        const WaveChunks chunks = {format.data(), (uint32_t)format.size(), format.data(), format == refused[0] ? 5u : 1u};
        EXPECT_EQ(WaveConvertedSize(&chunks), 0u) << testing::PrintToString(format);
    }
    // 8 bits to 16 doubles the size: 32 MiB of them make the most a sound may take.
    const WaveChunks most = {eight.data(), 16, eight.data(), 32u << 20}, more = {eight.data(), 16, eight.data(), (32u << 20) + 1};
    EXPECT_EQ(std::make_pair(WaveConvertedSize(&most), WaveConvertedSize(&more)), std::make_pair((size_t)(64u << 20) + 44, (size_t)0));
}
