// Unit tests of the RIFF WAVE chunk walk and the format copy handed to DirectSound.
#include "sound/wave.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

void Put(Bytes *b, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) b->push_back((unsigned char)(value >> 8 * i));
}

// A chunk announcing size (by default its body's), then the body, shorter for a truncated file,
// then the pad byte after a complete odd body.
Bytes Chunk(const char *id, const Bytes &body, int64_t size = -1)
{
    Bytes c(id, id + 4);
    Put(&c, size < 0 ? (uint32_t)body.size() : (uint32_t)size, 4);
    c.insert(c.end(), body.begin(), body.end());
    if (size < 0 && (body.size() & 1)) c.push_back(0);
    return c;
}

// "RIFF", the RIFF length (by default the bytes after it), "WAVE", the chunks.
Bytes Wave(const std::vector<Bytes> &chunks, int64_t riffLength = -1)
{
    Bytes b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes &c : chunks) b.insert(b.end(), c.begin(), c.end());
    uint32_t length = riffLength < 0 ? (uint32_t)(b.size() - 8) : (uint32_t)riffLength;
    for (int i = 0; i < 4; ++i) b[4 + i] = (unsigned char)(length >> 8 * i);
    return b;
}

// A WAVEFORMATEX body of size bytes (8-bit mono 22050 Hz), extra bytes counting up from 0xE0.
Bytes Format(uint32_t size, uint32_t tag = 1, uint32_t cbSize = 0)
{
    Bytes f;
    Put(&f, tag, 2);
    Put(&f, 1, 2);
    Put(&f, 22050, 4);
    Put(&f, 22050, 4);
    Put(&f, 1, 2);
    Put(&f, 8, 2);
    Put(&f, cbSize, 2);
    for (unsigned char extra = 0xE0; f.size() < size; ++extra) f.push_back(extra);
    f.resize(size);
    return f;
}

Bytes Samples(size_t n)
{
    Bytes s(n);
    for (size_t i = 0; i < n; ++i) s[i] = (unsigned char)(0x80 + i);
    return s;
}

// The image sits in a heap block of exactly its size, so that ASan reports any read past it.
std::unique_ptr<unsigned char[]> Exact(const Bytes &b)
{
    std::unique_ptr<unsigned char[]> image(new unsigned char[b.size()]);
    std::copy(b.begin(), b.end(), image.get());
    return image;
}

// What the parse found, as offsets into the image: "fmt 20+16 data 44+100", or "none".
std::string Found(const Bytes &b)
{
    std::unique_ptr<unsigned char[]> image = Exact(b);
    WaveChunks c;
    memset(&c, 0xA5, sizeof c);
    if (!WaveParse(image.get(), b.size(), &c)) return "none";
    char text[80];
    snprintf(text, sizeof text, "fmt %td+%u data %td+%u", c.format - image.get(), c.formatSize,
             c.data - image.get(), c.dataSize);
    return text;
}

const Bytes PCM16 = Format(16);

TEST(WaveParse, ChunkOrderPadsAndSkippedChunks)
{
    EXPECT_EQ(Found(Wave({Chunk("fmt ", PCM16), Chunk("data", Samples(100))})),
              "fmt 20+16 data 44+100");
    // Data before the format, unknown chunks around them.
    EXPECT_EQ(Found(Wave({Chunk("LIST", Samples(6)), Chunk("data", Samples(10)),
                          Chunk("fact", Samples(4)), Chunk("fmt ", Format(18))})),
              "fmt 64+18 data 34+10");
    // An odd chunk is followed by its pad byte.
    EXPECT_EQ(Found(Wave({Chunk("fmt ", PCM16), Chunk("junk", Samples(5)), Chunk("data", Samples(7))})),
              "fmt 20+16 data 58+7");
    // Only the first format counts: a later short one is skipped, not refused.
    EXPECT_EQ(Found(Wave({Chunk("fmt ", PCM16), Chunk("fmt ", Format(13)), Chunk("data", Samples(3))})),
              "fmt 20+16 data 66+3");
}

TEST(WaveParse, FormatOfFourteenBytesIsTheShortestAccepted)
{
    EXPECT_EQ(Found(Wave({Chunk("fmt ", Format(14)), Chunk("data", Samples(4))})), "fmt 20+14 data 42+4");
    EXPECT_EQ(Found(Wave({Chunk("fmt ", Format(13)), Chunk("data", Samples(4))})), "none");
    EXPECT_EQ(Found(Wave({Chunk("data", Samples(4)), Chunk("fmt ", Format(13))})), "none");
}

TEST(WaveParse, RefusesWhatIsNotRiffWave)
{
    const Bytes plain = Wave({Chunk("fmt ", PCM16), Chunk("data", Samples(8))});
    Bytes b = plain;
    b[3] = 'X';
    EXPECT_EQ(Found(b), "none");
    b = plain;
    b[11] = 'X';
    EXPECT_EQ(Found(b), "none");
    // Too short for the header, a header without chunks, nothing at all.
    EXPECT_EQ(Found(Bytes(plain.begin(), plain.begin() + 11)), "none");
    EXPECT_EQ(Found(Bytes(plain.begin(), plain.begin() + 12)), "none");
    EXPECT_EQ(Found(Bytes()), "none");
}

TEST(WaveParse, RiffLengthBoundsTheWalk)
{
    std::vector<Bytes> chunks = {Chunk("fmt ", PCM16), Chunk("data", Samples(8))};
    // Ending before the data chunk, and within its header.
    EXPECT_EQ(Found(Wave(chunks, 28)), "none");
    EXPECT_EQ(Found(Wave(chunks, 35)), "none");
    // A whole header inside is enough; the body may run on within the image.
    EXPECT_EQ(Found(Wave(chunks, 36)), "fmt 20+16 data 44+8");
    EXPECT_EQ(Found(Wave(chunks, 3)), "none");
}

TEST(WaveParse, DataOfSizeZero)
{
    // After the format it completes the parse; before it, the next data chunk replaces it.
    EXPECT_EQ(Found(Wave({Chunk("fmt ", PCM16), Chunk("data", {}), Chunk("data", Samples(4))})),
              "fmt 20+16 data 44+0");
    EXPECT_EQ(Found(Wave({Chunk("data", {}), Chunk("fmt ", PCM16), Chunk("data", Samples(4))})),
              "fmt 28+16 data 52+4");
    EXPECT_EQ(Found(Wave({Chunk("data", {}), Chunk("fmt ", PCM16)})), "none");
}

TEST(WaveParse, SizesPastTheImage)
{
    // Data is cut at the image's end, down to nothing when its header ends the image.
    EXPECT_EQ(Found(Wave({Chunk("fmt ", PCM16), Chunk("data", Samples(10), 1000)})),
              "fmt 20+16 data 44+10");
    EXPECT_EQ(Found(Wave({Chunk("fmt ", PCM16), Chunk("data", Samples(3), 0xFFFFFFFF)}, 0xFFFFFFFF)),
              "fmt 20+16 data 44+3");
    EXPECT_EQ(Found(Wave({Chunk("fmt ", PCM16), Chunk("data", {}, 4)}, 0x7FFFFFF0)),
              "fmt 20+16 data 44+0");
    // A format running past the image is refused, before or after the data.
    EXPECT_EQ(Found(Wave({Chunk("fmt ", Format(15), 16)})), "none");
    EXPECT_EQ(Found(Wave({Chunk("data", Samples(4)), Chunk("fmt ", PCM16, 0xFFFFFFFF)})), "none");
    // A RIFF length beyond the image: a header cut by the image's end is not read.
    for (size_t cut : {1u, 4u, 7u}) {
        Bytes b = Wave({Chunk("fmt ", PCM16), Chunk("data", {}, 4)}, 0x7FFFFFF0);
        b.resize(b.size() - cut);
        EXPECT_EQ(Found(b), "none") << "header cut by " << cut;
    }
}

TEST(WaveParse, HugeChunkSizesDoNotWrapTheCursor)
{
    // In 32 bits, 0xFFFFFFFF rounds up to 0 and steps onto the chunks hidden in its body; the
    // others step back to this header or before it, forever.
    const Bytes hidden = Wave({Chunk("fmt ", PCM16), Chunk("data", Samples(4))});
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF8u, 0xFFFFFFF4u, 0xFFFFFFEBu}) {
        Bytes b = Wave({Chunk("junk", Bytes(hidden.begin() + 12, hidden.end()), size)}, 0xFFFFFFF0);
        EXPECT_EQ(Found(b), "none") << std::hex << size;
    }
}

TEST(WaveParse, ManyTinyChunksAreWalkedQuickly)
{
    std::vector<Bytes> chunks = {Chunk("fmt ", PCM16)};
    for (int i = 0; i < 10000; ++i) chunks.push_back(Chunk("junk", Samples(i & 1)));
    chunks.push_back(Chunk("data", Samples(2)));
    Bytes b = Wave(chunks);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Found(b), "fmt 20+16 data " + std::to_string(b.size() - 2) + "+2");
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 1000);
}

// Parses a file with this format and copies it into out, which is filled with 0xCC first.
uint32_t Copy(const Bytes &format, Bytes *out, size_t outSize = WAVE_FORMAT_COPY_MAX)
{
    Bytes b = Wave({Chunk("fmt ", format), Chunk("data", Samples(2))});
    std::unique_ptr<unsigned char[]> image = Exact(b);
    WaveChunks chunks;
    EXPECT_EQ(WaveParse(image.get(), b.size(), &chunks), 1);
    out->assign(outSize, 0xCC);
    return WaveFormatCopy(&chunks, out->data(), out->size());
}

// The format as DirectSound should see it: its first n bytes, then zeros up to 18, then 0xCC.
Bytes Expected(const Bytes &format, size_t n, size_t outSize = 24)
{
    Bytes e(format.begin(), format.begin() + std::min(n, format.size()));
    e.resize(std::max<size_t>(n, WAVE_FORMAT_EX_SIZE), 0);
    e.resize(outSize, 0xCC);
    return e;
}

TEST(WaveFormatCopy, PcmIsAWholeWaveFormatExWithCbSizeZero)
{
    Bytes out;
    EXPECT_EQ(Copy(Format(14), &out, 24), 18u);
    EXPECT_EQ(out, Expected(Format(14), 14));
    EXPECT_EQ(Copy(PCM16, &out, 24), 18u);
    EXPECT_EQ(out, Expected(PCM16, 16));
    // A garbage cbSize is dropped, even one the chunk could hold.
    EXPECT_EQ(Copy(Format(18, 1, 0xABCD), &out, 24), 18u);
    EXPECT_EQ(out, Expected(Format(18), 16));
    EXPECT_EQ(Copy(Format(40, 1, 4), &out, 24), 18u);
    EXPECT_EQ(out, Expected(Format(18), 16));
    // Too small an output.
    EXPECT_EQ(Copy(PCM16, &out, 17), 0u);
}

TEST(WaveFormatCopy, NonPcmCarriesItsExtraBytes)
{
    Bytes out;
    EXPECT_EQ(Copy(Format(20, 2, 2), &out, 24), 20u);
    EXPECT_EQ(out, Expected(Format(20, 2, 2), 20));
    // From a longer chunk only the announced extra bytes.
    EXPECT_EQ(Copy(Format(30, 2, 2), &out, 24), 20u);
    EXPECT_EQ(out, Expected(Format(30, 2, 2), 20));
    // A 16-byte format has no cbSize: it reads as zero.
    EXPECT_EQ(Copy(Format(16, 3), &out, 24), 18u);
    EXPECT_EQ(out, Expected(Format(16, 3), 16));
    const Bytes largest = Format(WAVE_FORMAT_COPY_MAX, 2, 65535);
    EXPECT_EQ(Copy(largest, &out), (uint32_t)WAVE_FORMAT_COPY_MAX);
    EXPECT_EQ(out, largest);
    // Extra bytes past the chunk, or past the output, are refused.
    EXPECT_EQ(Copy(Format(20, 2, 3), &out), 0u);
    EXPECT_EQ(Copy(Format(18, 0xFFFE, 22), &out), 0u);
    EXPECT_EQ(Copy(Format(18, 3, 0xFFFF), &out), 0u);
    EXPECT_EQ(Copy(Format(20, 2, 2), &out, 19), 0u);
}

}  // namespace
