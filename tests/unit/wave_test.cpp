// Unit tests of the RIFF WAVE chunk walk and the format copy handed to DirectSound.
#include "sound/wave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

// A chunk announcing size (by default its body's), the body, and the pad after a whole odd body.
Bytes Chunk(const char *id, const Bytes &body, int64_t size = -1)
{
    Bytes c(id, id + 4);
    for (int shift = 0; shift < 32; shift += 8)
        c.push_back((unsigned char)((size < 0 ? body.size() : (uint64_t)size) >> shift));
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
    for (uint32_t word : {tag, 1u, 22050u, 0u, 22050u, 0u, 1u, 8u, cbSize})
        f.insert(f.end(), {(unsigned char)word, (unsigned char)(word >> 8)});
    for (unsigned char extra = 0xE0; f.size() < size; ++extra) f.push_back(extra);
    f.resize(size);
    return f;
}

// A heap block of exactly the bytes' size, so that ASan reports any read past it.
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
    if (!WaveParse(image.get(), b.size(), &c)) return "none";
    return "fmt " + std::to_string(c.format - image.get()) + "+" + std::to_string(c.formatSize) +
           " data " + std::to_string(c.data - image.get()) + "+" + std::to_string(c.dataSize);
}

TEST(WaveParse, FindsFormatAndDataOrRefusesInBoundedTime)
{
    auto fmt = [](uint32_t n, int64_t size = -1) { return Chunk("fmt ", Format(n), size); };
    auto data = [](size_t n, int64_t size = -1) { return Chunk("data", Bytes(n), size); };
    const std::vector<Bytes> two = {fmt(16), data(8)};
    const Bytes plain = Wave(two), hidden(plain.begin() + 12, plain.end());
    const Bytes emptyData = Wave({fmt(16), data(0, 4)}, 0x7FFFFFF0);
    auto with = [&](size_t at) { Bytes b = plain; b[at] = 'X'; return b; };
    std::vector<Bytes> tiny = {fmt(16)};
    for (int i = 0; i < 10000; ++i) tiny.push_back(Chunk("junk", Bytes(i & 1)));
    tiny.push_back(data(2));
    const Bytes many = Wave(tiny);
    const std::pair<Bytes, std::string> cases[] = {
        // Data first, unknown chunks skipped, the pad of an odd chunk, only the first format counts.
        {Wave({Chunk("LIST", Bytes(6)), data(10), Chunk("fact", Bytes(4)), fmt(18)}), "fmt 64+18 data 34+10"},
        {Wave({fmt(16), Chunk("junk", Bytes(5)), data(7)}), "fmt 20+16 data 58+7"},
        {Wave({fmt(16), fmt(13), data(3)}), "fmt 20+16 data 66+3"},
        {Wave({fmt(14), data(4)}), "fmt 20+14 data 42+4"},
        {Wave({fmt(13), data(4)}), "none"}, {Wave({data(4), fmt(13)}), "none"},
        {with(3), "none"}, {with(11), "none"}, {Bytes(plain.begin(), plain.begin() + 11), "none"},
        // A RIFF length ending before the data, within its header, just after it.
        {Wave(two, 28), "none"}, {Wave(two, 35), "none"}, {Wave(two, 36), "fmt 20+16 data 44+8"},
        // Data of size 0 completes the parse after the format; before it, the next data replaces it.
        {Wave({fmt(16), data(0), data(4)}), "fmt 20+16 data 44+0"},
        {Wave({data(0), fmt(16), data(4)}), "fmt 28+16 data 52+4"}, {Wave({data(0), fmt(16)}), "none"},
        // Sizes past the image: data is cut, down to nothing; a cut header or format is refused.
        {Wave({fmt(16), data(10, 1000)}), "fmt 20+16 data 44+10"},
        {Wave({fmt(16), data(3, 0xFFFFFFFF)}, 0xFFFFFFFF), "fmt 20+16 data 44+3"},
        {emptyData, "fmt 20+16 data 44+0"}, {Bytes(emptyData.begin(), emptyData.end() - 1), "none"},
        {Bytes(emptyData.begin(), emptyData.end() - 7), "none"}, {Wave({fmt(15, 16)}), "none"},
        {Wave({data(4), fmt(16, 0xFFFFFFFF)}), "none"},
        {many, "fmt 20+16 data " + std::to_string(many.size() - 2) + "+2"}};
    auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_EQ(Found(cases[i].first), cases[i].second) << "case " << i;
    // In 32 bits, 0xFFFFFFFF rounds up to 0 and steps onto the chunks hidden in its body; the
    // others step back to this header or before it, forever.
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF8u, 0xFFFFFFF4u, 0xFFFFFFEBu})
        EXPECT_EQ(Found(Wave({Chunk("junk", hidden, size)}, 0xFFFFFFF0)), "none") << std::hex << size;
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 1000);
}

TEST(WaveFormatCopy, ZeroFillsPcmAndCarriesOnlyTheExtraBytesOfOthers)
{
    // kept: how many bytes of the format come out, followed by zeros up to 18; the rest of out,
    // all of it when refused, is left alone.
    struct Case { Bytes format; size_t outSize; uint32_t written; size_t kept; };
    const Case cases[] = {
        {Format(14), 24, 18, 14}, {Format(16), 24, 18, 16}, {Format(16), 17, 0, 0},
        {Format(18, 1, 0xABCD), 24, 18, 16},   // PCM drops cbSize, even one the chunk could hold
        {Format(40, 1, 4), 24, 18, 16}, {Format(20, 2, 2), 24, 20, 20}, {Format(30, 2, 2), 24, 20, 20},
        {Format(16, 3), 24, 18, 16},           // no room for cbSize: it reads as zero
        {Format(WAVE_FORMAT_COPY_MAX, 2, 65535), WAVE_FORMAT_COPY_MAX, WAVE_FORMAT_COPY_MAX,
         WAVE_FORMAT_COPY_MAX},
        {Format(20, 2, 3), 24, 0, 0}, {Format(18, 0xFFFE, 22), 64, 0, 0},
        {Format(18, 3, 0xFFFF), WAVE_FORMAT_COPY_MAX, 0, 0}, {Format(20, 2, 2), 19, 0, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "format of " << c.format.size() << ", out " << c.outSize);
        std::unique_ptr<unsigned char[]> format = Exact(c.format);
        const WaveChunks chunks = {format.get(), (uint32_t)c.format.size(), format.get(), 0};
        Bytes out(c.outSize, 0xCC), expected(c.format.begin(), c.format.begin() + c.kept);
        expected.resize(c.kept ? std::max<size_t>(c.kept, WAVE_FORMAT_EX_SIZE) : 0, 0);
        expected.resize(c.outSize, 0xCC);
        EXPECT_EQ(WaveFormatCopy(&chunks, out.data(), out.size()), c.written);
        EXPECT_EQ(out, expected);
    }
}

}  // namespace
