// A fake DirectSound that behaves as DirectSound does where VROK relies on it, and remembers.
#include "fake_dsound.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <memory>

#include "app/app_state.h"
#include "fake_message_box.h"
#include "sound/sound_engine.h"

FakeDirectSoundScript FakeDs;

namespace {

// Our own copies: the test program does not link dxguid.
const GUID FAKE_IID_IUNKNOWN = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID FAKE_IID_IDIRECTSOUND = {0x279AFA83, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const GUID FAKE_IID_IDIRECTSOUNDBUFFER = {0x279AFA85, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

const unsigned char LOST_SAMPLE = 0xCD;     // what a lost buffer holds
const unsigned char UNWRITTEN_SAMPLE = 0xEE;  // what a locked part holds until it is written

struct Samples {
    std::vector<unsigned char> bytes;
};

class FakeSoundBuffer;

struct FakeState {
    int createCalls;
    std::vector<DWORD> createTicks;
    int createBufferCalls;
    int duplicateCalls;
    int lockCalls;
    std::vector<unsigned char> lastFormat;
    HWND cooperativeWindow;
    DWORD cooperativeLevel;
    int liveObjects;
    std::vector<std::string> misuses;
    std::vector<std::string> events;
    std::vector<FakeSoundBuffer *> buffers;  // this test's buffers by id
};

FakeState state;

void Event(const char *format, ...)
{
    char line[200];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    state.events.push_back(line);
}

void Misuse(const char *format, ...)
{
    char line[200];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    state.misuses.push_back(line);
}

class FakeDirectSound;

class FakeSoundBuffer : public IDirectSoundBuffer {
public:
    FakeBufferRecord record;
    std::shared_ptr<Samples> samples;
    FakeDirectSound *owner;
    // The current Lock: where it starts, its two staging parts.
    int locked;
    DWORD lockOffset;
    std::vector<unsigned char> part1, part2;

    FakeSoundBuffer(FakeDirectSound *owner_, int id, const DSBUFFERDESC &description,
               std::vector<unsigned char> format, std::shared_ptr<Samples> samples_, int duplicateOf)
        : record(), samples(std::move(samples_)), owner(owner_), locked(0), lockOffset(0)
    {
        record.id = id;
        record.duplicateOf = duplicateOf;
        record.flags = description.dwFlags;
        record.size = description.dwBufferBytes;
        record.format = std::move(format);
        record.references = 1;
        ++state.liveObjects;
    }

    // A released buffer is kept, not freed, so that a late call is seen instead of crashing.
    int Dead(const char *method)
    {
        if (!record.released) return 0;
        Misuse("b%d %s after its release", record.id, method);
        return 1;
    }

    HRESULT NotFaked(const char *method)
    {
        if (!Dead(method)) Misuse("b%d %s is not faked", record.id, method);
        return DSERR_UNSUPPORTED;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (Dead("QueryInterface")) return E_FAIL;
        if (!object) return E_INVALIDARG;
        *object = NULL;
        if (!IsEqualGUID(riid, FAKE_IID_IUNKNOWN) && !IsEqualGUID(riid, FAKE_IID_IDIRECTSOUNDBUFFER))
            return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IDirectSoundBuffer *>(this);
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override
    {
        if (Dead("AddRef")) return 0;
        return (ULONG)++record.references;
    }

    ULONG STDMETHODCALLTYPE Release() override;

    // VROK asks for none of these; a call shows up as a misuse instead of a made-up answer.
    HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS) override { return NotFaked("GetCaps"); }
    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX, DWORD, LPDWORD) override { return NotFaked("GetFormat"); }
    HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD) override { return NotFaked("GetFrequency"); }
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return NotFaked("Initialize"); }
    HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX) override { return NotFaked("SetFormat"); }
    HRESULT STDMETHODCALLTYPE SetFrequency(DWORD) override { return NotFaked("SetFrequency"); }

    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play, LPDWORD write) override
    {
        if (Dead("GetCurrentPosition")) return E_FAIL;
        if (play) *play = record.position;
        if (write) *write = record.position;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) override
    {
        if (Dead("GetVolume")) return E_FAIL;
        if (!volume) return DSERR_INVALIDPARAM;
        *volume = record.volume;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) override
    {
        if (Dead("GetPan")) return E_FAIL;
        if (!pan) return DSERR_INVALIDPARAM;
        *pan = record.pan;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override
    {
        if (Dead("GetStatus")) return E_FAIL;
        if (!status) return DSERR_INVALIDPARAM;
        *status = 0;
        if (record.lost) {
            *status = DSBSTATUS_BUFFERLOST;
        } else if (record.playing) {
            *status = DSBSTATUS_PLAYING;
            if (record.playFlags & DSBPLAY_LOOPING) *status |= DSBSTATUS_LOOPING;
        }
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID *pointer1, LPDWORD length1,
                                   LPVOID *pointer2, LPDWORD length2, DWORD flags) override
    {
        if (Dead("Lock")) return E_FAIL;
        Event("b%d Lock %lu %lu %lu", record.id, (unsigned long)offset, (unsigned long)bytes,
              (unsigned long)flags);
        ++state.lockCalls;
        if (FakeDs.failLockCall == state.lockCalls) return DSERR_INVALIDCALL;
        if (!pointer1 || !length1) return DSERR_INVALIDPARAM;
        if (flags & DSBLOCK_ENTIREBUFFER) bytes = record.size;
        if (flags & DSBLOCK_FROMWRITECURSOR) offset = record.position;
        if (offset >= record.size || bytes == 0 || bytes > record.size) return DSERR_INVALIDPARAM;
        if (record.lost) return DSERR_BUFFERLOST;
        if (locked) return DSERR_INVALIDCALL;

        // A region past the end wraps to the start, as a ring buffer does; the script may split
        // any region in two as well, so that both parts are always written.
        DWORD first = bytes;
        if (offset + bytes > record.size) first = record.size - offset;
        else if (FakeDs.lockSplit > 0 && FakeDs.lockSplit < bytes) first = FakeDs.lockSplit;
        DWORD second = bytes - first;
        // The parts are staging copies, written to the samples at Unlock: a write into the
        // wrong part, past a part, or without Unlock shows in the samples.
        part1.assign(first, UNWRITTEN_SAMPLE);
        part2.assign(second, UNWRITTEN_SAMPLE);
        locked = 1;
        lockOffset = offset;
        *pointer1 = part1.data();
        *length1 = first;
        if (pointer2) *pointer2 = second ? part2.data() : NULL;
        if (length2) *length2 = second;
        if (second && (!pointer2 || !length2)) {
            locked = 0;
            return DSERR_INVALIDPARAM;
        }
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) override
    {
        if (Dead("Play")) return E_FAIL;
        Event("b%d Play %lu", record.id, (unsigned long)flags);
        // Only buffers made with DSBCAPS_LOCDEFER take a priority.
        if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
        if (record.lost) return DSERR_BUFFERLOST;
        ++record.plays;
        // A playing buffer goes on from where it is: Play does not restart it.
        record.playing = 1;
        record.playFlags = flags;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override
    {
        if (Dead("SetCurrentPosition")) return E_FAIL;
        Event("b%d SetCurrentPosition %lu", record.id, (unsigned long)position);
        if (position >= record.size) return DSERR_INVALIDPARAM;
        record.position = position;
        if (position == 0) ++record.rewinds;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override
    {
        if (Dead("SetVolume")) return E_FAIL;
        Event("b%d SetVolume %ld", record.id, (long)volume);
        if (!(record.flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        record.volume = volume;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetPan(LONG pan) override
    {
        if (Dead("SetPan")) return E_FAIL;
        Event("b%d SetPan %ld", record.id, (long)pan);
        if (!(record.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
        record.pan = pan;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Stop() override
    {
        if (Dead("Stop")) return E_FAIL;
        Event("b%d Stop", record.id);
        ++record.stops;
        record.playing = 0;  // the position stays where it was
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Unlock(LPVOID pointer1, DWORD length1, LPVOID pointer2, DWORD length2) override
    {
        if (Dead("Unlock")) return E_FAIL;
        Event("b%d Unlock %lu %lu", record.id, (unsigned long)length1, (unsigned long)length2);
        if (!locked || pointer1 != part1.data() || length1 > part1.size() ||
            (length2 && (pointer2 != part2.data() || length2 > part2.size()))) {
            Misuse("b%d Unlock does not match its Lock", record.id);
            return DSERR_INVALIDPARAM;
        }
        locked = 0;
        std::vector<unsigned char> &bytes = samples->bytes;
        memcpy(bytes.data() + lockOffset, part1.data(), length1);
        // The second part continues the first: after a wrap at the buffer start, after a
        // scripted split right behind the first part.
        DWORD secondAt = lockOffset + (DWORD)part1.size() >= record.size ? 0 : lockOffset + (DWORD)part1.size();
        if (length2) memcpy(bytes.data() + secondAt, part2.data(), length2);
        record.lastFill.assign(part1.begin(), part1.begin() + length1);
        record.lastFill.insert(record.lastFill.end(), part2.begin(), part2.begin() + length2);
        ++record.fills;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Restore() override
    {
        if (Dead("Restore")) return E_FAIL;
        Event("b%d Restore", record.id);
        ++record.restores;
        if (FAILED(FakeDs.restoreResult)) return FakeDs.restoreResult;
        record.lost = 0;
        return DS_OK;
    }
};

class FakeDirectSound : public IDirectSound {
public:
    LONG references;
    int released;
    int liveBuffers;

    FakeDirectSound() : references(1), released(0), liveBuffers(0) { ++state.liveObjects; }

    int Dead(const char *method)
    {
        if (!released) return 0;
        Misuse("ds %s after its release", method);
        return 1;
    }

    HRESULT NotFaked(const char *method)
    {
        if (!Dead(method)) Misuse("ds %s is not faked", method);
        return DSERR_UNSUPPORTED;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (Dead("QueryInterface")) return E_FAIL;
        if (!object) return E_INVALIDARG;
        *object = NULL;
        if (!IsEqualGUID(riid, FAKE_IID_IUNKNOWN) && !IsEqualGUID(riid, FAKE_IID_IDIRECTSOUND))
            return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IDirectSound *>(this);
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override
    {
        if (Dead("AddRef")) return 0;
        return (ULONG)++references;
    }

    ULONG STDMETHODCALLTYPE Release() override
    {
        if (Dead("Release")) return 0;
        if (--references > 0) return (ULONG)references;
        released = 1;
        --state.liveObjects;
        Event("ds Freed");
        // DirectSound frees the buffers with the device: a later call on them would crash.
        if (liveBuffers > 0) Misuse("ds released while %d of its buffers live", liveBuffers);
        return 0;
    }

    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER buffer,
                                                IUnknown *outer) override
    {
        if (Dead("CreateSoundBuffer")) return E_FAIL;
        ++state.createBufferCalls;
        if (!description || !buffer) return DSERR_INVALIDPARAM;
        *buffer = NULL;
        if (description->dwSize != sizeof(DSBUFFERDESC1) && description->dwSize != sizeof(DSBUFFERDESC))
            return DSERR_INVALIDPARAM;
        if (outer) return DSERR_NOAGGREGATION;
        if (description->dwFlags & DSBCAPS_PRIMARYBUFFER) return DSERR_INVALIDPARAM;  // not faked
        if ((description->dwFlags & DSBCAPS_CTRL3D) && (description->dwFlags & DSBCAPS_CTRLPAN))
            return DSERR_INVALIDPARAM;
        if (description->dwBufferBytes < DSBSIZE_MIN || description->dwBufferBytes > DSBSIZE_MAX)
            return DSERR_INVALIDPARAM;
        const WAVEFORMATEX *format = description->lpwfxFormat;
        if (!format) return DSERR_INVALIDPARAM;

        // DirectSound reads a whole WAVEFORMATEX; cbSize counts only for formats other than PCM.
        std::vector<unsigned char> formatBytes((const unsigned char *)format,
                                               (const unsigned char *)format + sizeof(WAVEFORMATEX));
        state.lastFormat = formatBytes;
        if (format->wFormatTag != WAVE_FORMAT_PCM) return DSERR_BADFORMAT;
        if (format->nChannels == 0 || format->wBitsPerSample < 8 || format->wBitsPerSample % 8 != 0 ||
            format->nSamplesPerSec == 0 || format->nAvgBytesPerSec == 0 ||
            format->nBlockAlign != format->nChannels * format->wBitsPerSample / 8)
            return DSERR_INVALIDPARAM;
        if (format->nChannels > 2 || format->wBitsPerSample > 16 ||
            format->nSamplesPerSec < DSBFREQUENCY_MIN || format->nSamplesPerSec > DSBFREQUENCY_MAX)
            return DSERR_BADFORMAT;

        if (state.createBufferCalls == FakeDs.failCreateBufferCall ||
            (FakeDs.failCreateBufferFrom > 0 && state.createBufferCalls >= FakeDs.failCreateBufferFrom))
            return DSERR_OUTOFMEMORY;

        auto samples = std::make_shared<Samples>();
        samples->bytes.assign(description->dwBufferBytes, 0);  // a new buffer is silent
        FakeSoundBuffer *made = new FakeSoundBuffer(this, (int)state.buffers.size(), *description,
                                          std::move(formatBytes), std::move(samples), -1);
        state.buffers.push_back(made);
        ++liveBuffers;
        *buffer = made;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                   LPLPDIRECTSOUNDBUFFER duplicate) override
    {
        if (Dead("DuplicateSoundBuffer")) return E_FAIL;
        ++state.duplicateCalls;
        if (!original || !duplicate) return DSERR_INVALIDPARAM;
        *duplicate = NULL;
        FakeSoundBuffer *source = static_cast<FakeSoundBuffer *>(original);
        if (source->Dead("DuplicateSoundBuffer of it")) return DSERR_INVALIDPARAM;
        if (FAILED(FakeDs.duplicateResult)) return FakeDs.duplicateResult;

        DSBUFFERDESC description = {};
        description.dwSize = sizeof description;
        description.dwFlags = source->record.flags;
        description.dwBufferBytes = source->record.size;
        // Its own position and status; samples, volume and pan as the original has them.
        FakeSoundBuffer *made = new FakeSoundBuffer(this, (int)state.buffers.size(), description,
                                          source->record.format, source->samples, source->record.id);
        made->record.volume = source->record.volume;
        made->record.pan = source->record.pan;
        state.buffers.push_back(made);
        ++liveBuffers;
        *duplicate = made;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override
    {
        if (Dead("SetCooperativeLevel")) return E_FAIL;
        state.cooperativeWindow = window;
        state.cooperativeLevel = level;
        if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        return FakeDs.cooperativeLevelResult;
    }

    // VROK asks for none of these; a call shows up as a misuse instead of a made-up answer.
    HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS) override { return NotFaked("GetCaps"); }
    HRESULT STDMETHODCALLTYPE Compact() override { return NotFaked("Compact"); }
    HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD) override { return NotFaked("GetSpeakerConfig"); }
    HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD) override { return NotFaked("SetSpeakerConfig"); }
    HRESULT STDMETHODCALLTYPE Initialize(LPCGUID) override { return NotFaked("Initialize"); }
};

ULONG STDMETHODCALLTYPE FakeSoundBuffer::Release()
{
    if (Dead("Release")) return 0;
    if (--record.references > 0) return (ULONG)record.references;
    record.released = 1;
    record.playing = 0;
    --state.liveObjects;
    --owner->liveBuffers;
    Event("b%d Freed", record.id);
    samples.reset();
    return 0;
}

FakeSoundBuffer *BufferById(int id)
{
    if (id < 0 || id >= (int)state.buffers.size()) return NULL;
    return state.buffers[id];
}

}  // namespace

void FakeDirectSoundReset(void)
{
    // Objects are never deleted: a test that leaked one may still hold it in the engine state.
    state = FakeState();
    FakeDs = FakeDirectSoundScript();
    FakeDs.createResult = DS_OK;
    FakeDs.cooperativeLevelResult = DS_OK;
    FakeDs.duplicateResult = DS_OK;
    FakeDs.restoreResult = DS_OK;
}

HRESULT WINAPI FakeDirectSoundCreate(const GUID *device, IDirectSound **directSound, IUnknown *outer)
{
    ++state.createCalls;
    state.createTicks.push_back(GetTickCount());
    if (device) Misuse("DirectSoundCreate for a device other than the default one");
    if (!directSound) return DSERR_INVALIDPARAM;
    *directSound = NULL;
    if (outer) return DSERR_NOAGGREGATION;
    if (FakeDs.busyForever) return DSERR_ALLOCATED;
    if (FakeDs.busyUntilSet && (LONG)(FakeDs.busyUntil - GetTickCount()) > 0) return DSERR_ALLOCATED;
    if (FAILED(FakeDs.createResult)) return FakeDs.createResult;
    *directSound = new FakeDirectSound();
    return DS_OK;
}

void FakeDirectSoundBusyFor(DWORD milliseconds)
{
    FakeDs.busyUntil = GetTickCount() + milliseconds;
    FakeDs.busyUntilSet = 1;
}

int FakeDirectSoundCreateCalls(void) { return state.createCalls; }
const std::vector<DWORD> &FakeDirectSoundCreateTicks(void) { return state.createTicks; }
int FakeDirectSoundCreateBufferCalls(void) { return state.createBufferCalls; }
int FakeDirectSoundDuplicateCalls(void) { return state.duplicateCalls; }
const std::vector<unsigned char> &FakeDirectSoundLastFormat(void) { return state.lastFormat; }
HWND FakeDirectSoundCooperativeWindow(void) { return state.cooperativeWindow; }
DWORD FakeDirectSoundCooperativeLevel(void) { return state.cooperativeLevel; }
int FakeDirectSoundLiveObjects(void) { return state.liveObjects; }
const std::vector<std::string> &FakeDirectSoundMisuses(void) { return state.misuses; }
const std::vector<std::string> &FakeDirectSoundEvents(void) { return state.events; }

std::vector<std::string> FakeBufferEvents(int id)
{
    char prefix[16];
    snprintf(prefix, sizeof prefix, "b%d ", id);
    std::vector<std::string> mine;
    for (const std::string &event : state.events)
        if (event.compare(0, strlen(prefix), prefix) == 0) mine.push_back(event.substr(strlen(prefix)));
    return mine;
}

int FakeBufferCount(void) { return (int)state.buffers.size(); }

FakeBufferRecord *FakeBuffer(int id)
{
    FakeSoundBuffer *buffer = BufferById(id);
    return buffer ? &buffer->record : NULL;
}

FakeBufferRecord *FakeBufferOf(IDirectSoundBuffer *buffer)
{
    for (FakeSoundBuffer *candidate : state.buffers)
        if (static_cast<IDirectSoundBuffer *>(candidate) == buffer) return &candidate->record;
    return NULL;
}

std::vector<unsigned char> FakeBufferSamples(int id)
{
    FakeSoundBuffer *buffer = BufferById(id);
    if (!buffer || !buffer->samples) return {};
    return buffer->samples->bytes;
}

void FakeDirectSoundAdvance(DWORD bytes)
{
    for (FakeSoundBuffer *buffer : state.buffers) {
        FakeBufferRecord &record = buffer->record;
        if (record.released || !record.playing) continue;
        DWORD position = record.position + bytes;
        if (position < record.size) {
            record.position = position;
        } else if (record.playFlags & DSBPLAY_LOOPING) {
            record.position = position % record.size;
        } else {
            record.position = 0;
            record.playing = 0;
        }
    }
}

void FakeBufferFinish(int id)
{
    FakeSoundBuffer *buffer = BufferById(id);
    if (!buffer) return;
    buffer->record.playing = 0;
    buffer->record.position = 0;
}

void FakeBufferLose(int id)
{
    FakeSoundBuffer *buffer = BufferById(id);
    if (!buffer || !buffer->samples) return;
    buffer->record.lost = 1;
    buffer->record.playing = 0;
    buffer->samples->bytes.assign(buffer->samples->bytes.size(), LOST_SAMPLE);
}

std::string WaveChunk(const char *id, const std::string &body)
{
    std::string chunk(id, 4);
    uint32_t size = (uint32_t)body.size();
    for (int i = 0; i < 4; ++i) chunk += (char)((size >> (8 * i)) & 0xFF);
    chunk += body;
    if (body.size() % 2) chunk += '\0';
    return chunk;
}

static void PutLittle(std::string &bytes, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) bytes += (char)((value >> (8 * i)) & 0xFF);
}

std::string WaveFormatBody(PcmFormat format, size_t size)
{
    std::string body;
    uint16_t blockAlign = (uint16_t)(format.channels * format.bits / 8);
    PutLittle(body, WAVE_FORMAT_PCM, 2);
    PutLittle(body, format.channels, 2);
    PutLittle(body, format.rate, 4);
    PutLittle(body, format.rate * blockAlign, 4);
    PutLittle(body, blockAlign, 2);
    PutLittle(body, format.bits, 2);
    body.resize(size, '\0');
    return body;
}

std::string WaveRiff(const std::string &chunks)
{
    std::string file = "RIFF";
    PutLittle(file, (uint32_t)(4 + chunks.size()), 4);
    return file + "WAVE" + chunks;
}

std::string WavePcm(const std::string &samples, PcmFormat format)
{
    return WaveRiff(WaveChunk("fmt ", WaveFormatBody(format)) + WaveChunk("data", samples));
}

std::string WaveSamples(size_t count, unsigned seed)
{
    std::string samples(count, '\0');
    unsigned value = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < count; ++i) {
        value = value * 1103515245u + 12345u;
        samples[i] = (char)(value >> 16);
    }
    return samples;
}

std::string AsString(const std::vector<unsigned char> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

void FakeDirectSoundTest::SetUp()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::string(temp) + "vrok-sound-" + info->test_suite_name() + "-" + info->name() + "\\";
    CreateDirectoryA(folder.c_str(), NULL);
    FakeDirectSoundReset();
    AppStateReset();
    App.directSoundCreate = FakeDirectSoundCreate;
    FakeMessageBoxInstall();
}

void FakeDirectSoundTest::TearDown()
{
    // A test that leaves sound started is shut down here; what a failure left behind is not.
    soundEnabled = 1;
    SoundShutdown();
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 0) << "a DirectSound reference was never released";
    EXPECT_EQ(FakeDirectSoundMisuses(), std::vector<std::string>());
    FakeMessageBoxRemove();
    App.directSoundCreate = NULL;
    for (const std::string &path : written) DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

std::string FakeDirectSoundTest::WriteFile(const std::string &name, const std::string &bytes)
{
    std::string path = folder + name;
    FILE *file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << path;
    if (file) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    written.push_back(path);
    return path;
}

IDirectSound *FakeDirectSoundTest::NewDirectSound(void)
{
    IDirectSound *directSound = NULL;
    EXPECT_EQ(FakeDirectSoundCreate(NULL, &directSound, NULL), DS_OK);
    return directSound;
}
