// A fake DirectSound that behaves as DirectSound does where VROK relies on it, and remembers.
#include "fake_dsound.h"

#include <stdarg.h>
#include <stdio.h>

#include <fstream>
#include <memory>

#include "app/app_state.h"
#include "app/settings_file.h"
#include "fake_message_box.h"
#include "sound/sound_engine.h"

FakeDirectSoundState FakeDs;

namespace {

class FakeSoundBuffer;
std::vector<FakeSoundBuffer *> buffers;  // this test's buffers by id

// A method VROK never calls: a call shows up as a misuse instead of a made-up answer.
HRESULT Unused() { return ++FakeDs.misuses, DSERR_UNSUPPORTED; }
#define UNUSED(method, ...) \
    HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { return Unused(); }

class FakeDirectSound;

// Released objects are kept, not freed, so that a late call counts as a misuse instead of crashing.
class FakeSoundBuffer : public IDirectSoundBuffer {
public:
    FakeBufferRecord record = {};
    std::shared_ptr<std::string> samples;
    FakeDirectSound *owner;
    bool locked = false;
    DWORD lockOffset = 0;
    std::string part1, part2;  // staging copies of a Lock, written to the samples at Unlock

    FakeSoundBuffer(FakeDirectSound *owner_, DWORD flags, DWORD size, std::string format,
                    std::shared_ptr<std::string> samples_, int duplicateOf)
        : samples(std::move(samples_)), owner(owner_)
    {
        record = {(int)buffers.size(), duplicateOf, flags, size, std::move(format), 1, 0, 0, 0, 0, 0, 0, 0};
        ++FakeDs.liveObjects;
        buffers.push_back(this);
    }

    // Logs the call; true (and a misuse) when the buffer is released already.
    bool Called(const char *format, ...)
    {
        char line[100];
        va_list arguments;
        va_start(arguments, format);
        vsnprintf(line, sizeof line, format, arguments);
        va_end(arguments);
        FakeDs.events.push_back("b" + std::to_string(record.id) + " " + line);
        return record.released && ++FakeDs.misuses;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return record.released ? (Unused(), 0) : (ULONG)++record.references; }
    ULONG STDMETHODCALLTYPE Release() override;
    UNUSED(QueryInterface, REFIID, void **) UNUSED(GetCaps, LPDSBCAPS) UNUSED(GetCurrentPosition, LPDWORD, LPDWORD)
    UNUSED(GetFormat, LPWAVEFORMATEX, DWORD, LPDWORD) UNUSED(GetVolume, LPLONG) UNUSED(GetPan, LPLONG)
    UNUSED(GetFrequency, LPDWORD) UNUSED(Initialize, LPDIRECTSOUND, LPCDSBUFFERDESC) UNUSED(SetFormat, LPCWAVEFORMATEX)
    UNUSED(SetFrequency, DWORD)

    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override
    {
        if (record.released || !status) return Unused();
        *status = (record.lost ? DSBSTATUS_BUFFERLOST : 0) | (record.playing ? DSBSTATUS_PLAYING : 0) |
                  (record.playing && (record.playFlags & DSBPLAY_LOOPING) ? DSBSTATUS_LOOPING : 0);
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID *pointer1, LPDWORD length1, LPVOID *pointer2,
                                   LPDWORD length2, DWORD flags) override
    {
        if (Called("Lock %lu %lu %lu", offset, bytes, flags) || ++FakeDs.lockCalls == FakeDs.failLockCall)
            return DSERR_INVALIDCALL;
        if (flags || !pointer1 || !length1 || bytes == 0 || offset + bytes > record.size) return DSERR_INVALIDPARAM;
        if (record.lost) return DSERR_BUFFERLOST;
        if (locked) return DSERR_INVALIDCALL;
        // The script may split any region in two: then both must be written.
        DWORD first = FakeDs.lockSplit > 0 && FakeDs.lockSplit < bytes ? FakeDs.lockSplit : bytes;
        if (first < bytes && (!pointer2 || !length2)) return DSERR_INVALIDPARAM;
        part1.assign(first, '\xEE');
        part2.assign(bytes - first, '\xEE');
        locked = true;
        lockOffset = offset;
        *pointer1 = &part1[0];
        *length1 = first;
        if (pointer2) *pointer2 = first < bytes ? &part2[0] : NULL;
        if (length2) *length2 = bytes - first;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Unlock(LPVOID pointer1, DWORD length1, LPVOID pointer2, DWORD length2) override
    {
        if (Called("Unlock %lu %lu", length1, length2)) return DSERR_INVALIDPARAM;
        if (!locked || pointer1 != &part1[0] || length1 > part1.size() ||
            (length2 && (pointer2 != &part2[0] || length2 > part2.size())))
            return Unused();
        locked = false;
        samples->replace(lockOffset, length1, part1, 0, length1);
        samples->replace(lockOffset + part1.size(), length2, part2, 0, length2);
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) override
    {
        // A priority is for buffers made with DSBCAPS_LOCDEFER only.
        if (Called("Play %lu", flags) || reserved || priority) return DSERR_INVALIDPARAM;
        if (record.lost) return DSERR_BUFFERLOST;
        ++record.plays;
        record.playing = 1;  // a playing buffer goes on from where it is
        record.playFlags = flags;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override
    {
        if (Called("SetCurrentPosition %lu", position) || position >= record.size) return DSERR_INVALIDPARAM;
        record.position = position;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override
    {
        if (Called("SetVolume %ld", volume) || volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
            return DSERR_INVALIDPARAM;
        return record.flags & DSBCAPS_CTRLVOLUME ? DS_OK : DSERR_CONTROLUNAVAIL;
    }

    HRESULT STDMETHODCALLTYPE SetPan(LONG pan) override
    {
        if (Called("SetPan %ld", pan) || pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
        if (!(record.flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        record.pan = pan;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Stop() override
    {
        if (Called("Stop")) return DSERR_INVALIDPARAM;
        record.playing = 0;  // the position stays
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Restore() override
    {
        if (Called("Restore")) return DSERR_INVALIDPARAM;
        if (SUCCEEDED(FakeDs.restoreResult)) record.lost = 0;
        return FakeDs.restoreResult;
    }
};

class FakeDirectSound : public IDirectSound {
public:
    LONG references = 1;
    int liveBuffers = 0;

    FakeDirectSound() { ++FakeDs.liveObjects; }
    bool Dead() { return references <= 0 && ++FakeDs.misuses; }

    ULONG STDMETHODCALLTYPE AddRef() override { return Dead() ? 0 : (ULONG)++references; }
    UNUSED(QueryInterface, REFIID, void **) UNUSED(GetCaps, LPDSCAPS) UNUSED(Compact) UNUSED(GetSpeakerConfig, LPDWORD)
    UNUSED(SetSpeakerConfig, DWORD) UNUSED(Initialize, LPCGUID)

    ULONG STDMETHODCALLTYPE Release() override
    {
        if (Dead()) return 0;
        if (--references > 0) return (ULONG)references;
        --FakeDs.liveObjects;
        FakeDs.events.push_back("ds Freed");
        // DirectSound frees the buffers with the device: a later call on them would crash.
        if (liveBuffers > 0) ++FakeDs.misuses;
        return 0;
    }

    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER buffer,
                                                IUnknown *outer) override
    {
        if (Dead() || !description || !buffer) return DSERR_INVALIDPARAM;
        ++FakeDs.createBufferCalls;
        *buffer = NULL;
        DWORD flags = description->dwFlags, size = description->dwBufferBytes;
        const WAVEFORMATEX *format = description->lpwfxFormat;
        if ((description->dwSize != sizeof(DSBUFFERDESC1) && description->dwSize != sizeof(DSBUFFERDESC)) ||
            (flags & DSBCAPS_PRIMARYBUFFER) || ((flags & DSBCAPS_CTRL3D) && (flags & DSBCAPS_CTRLPAN)) ||
            size < DSBSIZE_MIN || size > DSBSIZE_MAX || !format || outer)
            return DSERR_INVALIDPARAM;
        // DirectSound reads a whole WAVEFORMATEX; cbSize counts only for formats other than PCM.
        std::string bytes((const char *)format, sizeof *format);
        if (format->wFormatTag != WAVE_FORMAT_PCM || format->nChannels == 0 || format->nChannels > 2 ||
            format->wBitsPerSample % 8 != 0 || format->wBitsPerSample < 8 || format->wBitsPerSample > 16 ||
            format->nSamplesPerSec < DSBFREQUENCY_MIN || format->nSamplesPerSec > DSBFREQUENCY_MAX ||
            format->nAvgBytesPerSec == 0 || format->nBlockAlign != format->nChannels * format->wBitsPerSample / 8)
            return DSERR_BADFORMAT;
        if (FakeDs.createBufferCalls == FakeDs.failCreateBufferCall) return DSERR_OUTOFMEMORY;
        ++liveBuffers;
        *buffer = new FakeSoundBuffer(this, flags, size, bytes, std::make_shared<std::string>(size, '\0'), -1);
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                                   LPLPDIRECTSOUNDBUFFER duplicate) override
    {
        FakeSoundBuffer *source = static_cast<FakeSoundBuffer *>(original);
        if (Dead() || !source || !duplicate || source->record.released) return DSERR_INVALIDPARAM;
        ++FakeDs.duplicateCalls;
        *duplicate = NULL;
        if (FAILED(FakeDs.duplicateResult)) return FakeDs.duplicateResult;
        // Its own position and status; the samples and pan of the original.
        const FakeBufferRecord &from = source->record;
        FakeSoundBuffer *made = new FakeSoundBuffer(this, from.flags, from.size, from.format, source->samples, from.id);
        made->record.pan = from.pan;
        ++liveBuffers;
        *duplicate = made;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override
    {
        if (Dead() || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        FakeDs.cooperativeWindow = window;
        FakeDs.cooperativeLevel = level;
        return FakeDs.cooperativeLevelResult;
    }
};

ULONG STDMETHODCALLTYPE FakeSoundBuffer::Release()
{
    if (record.released) return Unused(), 0;
    if (--record.references > 0) return (ULONG)record.references;
    record.released = 1;
    record.playing = 0;
    --FakeDs.liveObjects;
    --owner->liveBuffers;
    FakeDs.events.push_back("b" + std::to_string(record.id) + " Freed");
    return 0;
}

}  // namespace

void FakeDirectSoundReset(void)
{
    buffers.clear();
    FakeDs = FakeDirectSoundState();
}

HRESULT WINAPI FakeDirectSoundCreate(const GUID *device, IDirectSound **directSound, IUnknown *outer)
{
    ++FakeDs.createCalls;
    if (device || !directSound || outer) return DSERR_INVALIDPARAM;
    *directSound = NULL;
    if (FakeDs.busyForever || (FakeDs.busyUntil && (LONG)(FakeDs.busyUntil - GetTickCount()) > 0))
        return DSERR_ALLOCATED;
    if (FAILED(FakeDs.createResult)) return FakeDs.createResult;
    *directSound = new FakeDirectSound();
    return DS_OK;
}

const std::vector<std::string> &FakeDirectSoundEvents(void) { return FakeDs.events; }

std::vector<std::string> FakeBufferEvents(int id)
{
    std::string prefix = "b" + std::to_string(id) + " ";
    std::vector<std::string> mine;
    for (const std::string &event : FakeDs.events)
        if (event.compare(0, prefix.size(), prefix) == 0) mine.push_back(event.substr(prefix.size()));
    return mine;
}

int FakeBufferCount(void) { return (int)buffers.size(); }
FakeBufferRecord *FakeBuffer(int id) { return id >= 0 && id < FakeBufferCount() ? &buffers[id]->record : NULL; }

FakeBufferRecord *FakeBufferOf(IDirectSoundBuffer *buffer)
{
    for (FakeSoundBuffer *candidate : buffers)
        if (static_cast<IDirectSoundBuffer *>(candidate) == buffer) return &candidate->record;
    return NULL;
}

std::string FakeBufferSamples(int id) { return *buffers.at(id)->samples; }

void FakeDirectSoundAdvance(DWORD bytes)
{
    for (FakeSoundBuffer *buffer : buffers) {
        FakeBufferRecord &record = buffer->record;
        if (record.playing && (record.position += bytes) >= record.size) FakeBufferFinish(record.id);
    }
}

void FakeBufferFinish(int id)
{
    buffers.at(id)->record.playing = 0;
    buffers.at(id)->record.position = 0;
}

void FakeBufferLose(int id)
{
    FakeBufferFinish(id);
    buffers.at(id)->record.lost = 1;
    buffers.at(id)->samples->assign(buffers.at(id)->samples->size(), '\xCD');
}

static std::string Little32(uint32_t value) { return std::string((const char *)&value, 4); }

std::string WaveChunk(const char *id, const std::string &body)
{
    return std::string(id, 4) + Little32((uint32_t)body.size()) + body + std::string(body.size() % 2, '\0');
}

std::string WaveFormatBody(PcmFormat format, size_t size)
{
    WORD align = (WORD)(format.channels * format.bits / 8);
    WAVEFORMATEX pcm = {WAVE_FORMAT_PCM, format.channels, format.rate, format.rate * align, align, format.bits, 0};
    std::string body((const char *)&pcm, 16);
    body.resize(size, '\0');
    return body;
}

std::string WaveRiff(const std::string &chunks)
{
    return "RIFF" + Little32((uint32_t)(4 + chunks.size())) + "WAVE" + chunks;
}

std::string WavePcm(const std::string &samples, PcmFormat format)
{
    return WaveRiff(WaveChunk("fmt ", WaveFormatBody(format)) + WaveChunk("data", samples));
}

std::string WaveSamples(size_t count, unsigned seed)
{
    std::string samples(count, '\0');
    unsigned value = seed * 2654435761u + 12345u;
    for (char &sample : samples) sample = (char)((value = value * 1103515245u + 12345u) >> 16);
    return samples;
}

char *ProfileSoundPath(int profile, int slot)
{
    Profile &p = Settings.profiles[profile];
    char *paths[] = {NULL, p.machineGunSound, p.grenadeSound, p.finalSound, p.cuckooSound};
    return paths[slot];
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
    SoundEngineReset();
    App.instance = GetModuleHandleA(NULL);
    // Every Profile names files in the test folder that do not exist.
    snprintf(App.programFolder, sizeof App.programFolder, "%s", folder.c_str());
    SettingsDefaults();
    App.directSoundCreate = FakeDirectSoundCreate;
    FakeMessageBoxInstall();
}

void FakeDirectSoundTest::TearDown()
{
    SoundSetEnabled(1);
    SoundShutdown();
    EXPECT_EQ(FakeDs.liveObjects, 0) << "a DirectSound reference was never released";
    EXPECT_EQ(FakeDs.misuses, 0) << "a released object or a method VROK never calls was used";
    FakeMessageBoxRemove();
    App.directSoundCreate = NULL;
    for (const std::string &path : written) DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

std::string FakeDirectSoundTest::WriteFile(const std::string &name, const std::string &bytes)
{
    written.push_back(folder + name);
    EXPECT_TRUE(std::ofstream(written.back(), std::ios::binary).write(bytes.data(), bytes.size())) << written.back();
    return written.back();
}

void RegisterClassOnce(const char *name, WNDPROC procedure, HBRUSH brush)
{
    WNDCLASSA windowClass = {CS_DBLCLKS, procedure, 0, 0, GetModuleHandleA(NULL), NULL, NULL, brush, NULL, name};
    if (!RegisterClassA(&windowClass)) {
        ASSERT_EQ(GetLastError(), (DWORD)ERROR_CLASS_ALREADY_EXISTS) << name;
    }
}

void FakeDirectSoundTest::WriteProfileSounds(int profile)
{
    for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) {
        std::string name = "p" + std::to_string(profile) + "s" + std::to_string(slot) + ".wav";
        std::string path = WriteFile(name, WavePcm(WaveSamples(100 + 20 * slot, slot)));
        snprintf(ProfileSoundPath(profile, slot), PATH_BUFFER_SIZE, "%s", path.c_str());
    }
}
