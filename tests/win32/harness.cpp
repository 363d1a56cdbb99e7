// The fake DirectSound does what VROK relies on: buffers die with their DirectSound object, a
// playing buffer plays on from where it is, a lost one needs Restore and refilling.
#include "harness.h"

#include <stdio.h>

#include <filesystem>
#include <fstream>

#include "app/settings_file.h"
#include "shooting/statistics.h"

FakeDsState FakeDs;
std::vector<std::string> Boxes;

namespace {

HRESULT Misuse() { return ++FakeDs.misuses, DSERR_INVALIDCALL; }
#define UNUSED(method, ...) HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { return Misuse(); }

// Released objects are kept, so that a late call counts as a misuse instead of crashing.
struct FakeSoundBuffer : IDirectSoundBuffer {
    FakeBuffer record;
    int *ownersLive;  // its DirectSound's count of buffers
    LONG references = 1;

    FakeSoundBuffer(int *ownersLive_, int id, DWORD size, std::string *samples)
        : record{id, 0, 0, 0, 0, 0, size, samples, {}}, ownersLive(ownersLive_) { ++FakeDs.live, ++*ownersLive; }
    bool Log(const std::string &call)  // true when the buffer is released already
    {
        record.calls.push_back(call);
        FakeDs.events.push_back("b" + std::to_string(record.id) + " " + call);
        return record.released && ++FakeDs.misuses;
    }
    HRESULT Done(const std::string &call) { return Log(call) ? DSERR_INVALIDCALL : DS_OK; }
    ULONG STDMETHODCALLTYPE AddRef() override { return record.released ? Misuse() : ++references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (record.released || --references > 0) return record.released ? Misuse() : references;
        record.released = 1, record.playing = 0, --FakeDs.live, --*ownersLive;
        return FakeDs.events.push_back("b" + std::to_string(record.id) + " Freed"), 0;
    }
    UNUSED(QueryInterface, REFIID, void **) UNUSED(GetCaps, LPDSBCAPS) UNUSED(GetCurrentPosition, LPDWORD, LPDWORD)
    UNUSED(GetFormat, LPWAVEFORMATEX, DWORD, LPDWORD) UNUSED(GetVolume, LPLONG) UNUSED(GetPan, LPLONG)
    UNUSED(GetFrequency, LPDWORD) UNUSED(Initialize, LPDIRECTSOUND, LPCDSBUFFERDESC) UNUSED(SetFormat, LPCWAVEFORMATEX)
    UNUSED(SetFrequency, DWORD)
    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override
    {
        if (record.playing && (LONG)(GetTickCount() - record.playing) >= (LONG)(FakeDs.endless ? 3000 : record.size)) Stop();
        *status = (record.lost ? DSBSTATUS_BUFFERLOST : 0) | (record.playing ? DSBSTATUS_PLAYING : 0);
        return record.released ? Misuse() : DS_OK;
    }
    HRESULT STDMETHODCALLTYPE Lock(DWORD, DWORD bytes, LPVOID *p1, LPDWORD n1, LPVOID *p2, LPDWORD n2, DWORD) override
    {
        if (Log("Lock") || ++FakeDs.lockCalls == FakeDs.failLock || record.lost) return DSERR_INVALIDCALL;
        DWORD first = FakeDs.lockSplit && FakeDs.lockSplit < bytes ? FakeDs.lockSplit : bytes;
        *p1 = &(*record.samples)[0], *n1 = first, *p2 = &(*record.samples)[first], *n2 = bytes - first;
        return DS_OK;
    }
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return Done("Unlock"); }
    HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD) override
    {
        if (Log("Play") || record.lost) return DSERR_BUFFERLOST;
        return ++record.plays, record.playing = GetTickCount() | 1, DS_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD at) override { return record.position = at, Done("Rewind"); }
    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override { return Done("SetVolume " + std::to_string(volume)); }
    HRESULT STDMETHODCALLTYPE SetPan(LONG pan) override { return Done("SetPan " + std::to_string(pan)); }
    HRESULT STDMETHODCALLTYPE Stop() override { return record.playing = 0, Done("Stop"); }  // the position stays
    HRESULT STDMETHODCALLTYPE Restore() override
    {
        return Log("Restore") ? DSERR_INVALIDCALL : (record.lost = FAILED(FakeDs.restoreResult), FakeDs.restoreResult);
    }
};

struct FakeDirectSound : IDirectSound {
    LONG references = 1;
    int liveBuffers = 0;

    FakeDirectSound() { ++FakeDs.live; }
    bool Dead() { return references <= 0 && ++FakeDs.misuses; }
    ULONG STDMETHODCALLTYPE AddRef() override { return Dead() ? 0 : ++references; }
    UNUSED(QueryInterface, REFIID, void **) UNUSED(GetCaps, LPDSCAPS) UNUSED(Compact) UNUSED(GetSpeakerConfig, LPDWORD)
    UNUSED(SetSpeakerConfig, DWORD) UNUSED(Initialize, LPCGUID)
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (Dead() || --references > 0) return references;
        FakeDs.events.push_back("ds Freed");
        // Its buffers go with it: a later call on one would crash.
        return --FakeDs.live, FakeDs.misuses += liveBuffers > 0, 0;
    }
    HRESULT Made(LPLPDIRECTSOUNDBUFFER made, DWORD size, std::string *samples)
    {
        static int buffersMade;
        return *made = new FakeSoundBuffer(&liveBuffers, buffersMade++, size, samples), DS_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER made, IUnknown *) override
    {
        *made = NULL;
        if (Dead() || ++FakeDs.createBufferCalls == FakeDs.failCreateBuffer) return DSERR_OUTOFMEMORY;
        const WAVEFORMATEX *f = description->lpwfxFormat;
        if (FakeDs.strict && (f->wFormatTag != WAVE_FORMAT_PCM || (f->wBitsPerSample != 8 && f->wBitsPerSample != 16) ||
                              f->nChannels < 1 || f->nChannels > 2 || description->dwBufferBytes < 4)) return DSERR_BADFORMAT;
        return Made(made, description->dwBufferBytes, new std::string(description->dwBufferBytes, '\0'));
    }
    HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPLPDIRECTSOUNDBUFFER made) override
    {
        *made = NULL;
        if (Dead() || Fake(original)->released || FAILED(FakeDs.duplicateResult)) return DSERR_OUTOFMEMORY;
        return Made(made, Fake(original)->size, Fake(original)->samples);
    }
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD) override { return Dead() ? DSERR_INVALIDCALL : DS_OK; }
};

std::function<int()> answer;

int WINAPI FakeBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    return Boxes.push_back(std::string(caption) + ": " + text), answer ? answer() : IDOK;
}

}  // namespace

HRESULT WINAPI FakeDirectSoundCreate(const GUID *, IDirectSound **made, IUnknown *)
{
    ++FakeDs.createCalls, *made = NULL;
    if (FakeDs.busyUntil == ~0u || (LONG)(FakeDs.busyUntil - GetTickCount()) > 0) return DSERR_ALLOCATED;
    return FAILED(FakeDs.createResult) ? FakeDs.createResult : (*made = new FakeDirectSound(), DS_OK);
}

FakeBuffer *Fake(IDirectSoundBuffer *buffer) { return &static_cast<FakeSoundBuffer *>(buffer)->record; }

void FakeLose(IDirectSoundBuffer *buffer)
{
    FakeBuffer *lost = Fake(buffer);
    lost->playing = 0, lost->lost = 1, lost->samples->assign(lost->size, '\0');
}

std::string WavePcm(size_t count, unsigned seed)
{
    // "RIFF", its size, "WAVE", "fmt " of 16 bytes: PCM mono, 11025 Hz, 11025 bytes/s, frames of 1 byte, 8 bits; "data".
    uint32_t n = (uint32_t)count,
             header[] = {0x46464952, 36 + n, 0x45564157, 0x20746d66, 16, 0x10001, 11025, 11025, 0x80001, 0x61746164, n};
    std::string wave((const char *)header, sizeof header);
    for (size_t i = 0; i < count; ++i) wave += (char)((seed = seed * 1103515245u + 12345u) >> 16);
    return wave;
}

void BoxScript(std::function<int()> answer_) { Boxes.clear(), answer = std::move(answer_), AppMessageBoxPlatform = FakeBox; }

::testing::AssertionResult BoxesSay(std::vector<std::string> words)
{
    bool same = words.size() == Boxes.size();
    for (size_t i = 0; same && i < words.size(); ++i) same = Boxes[i].find(words[i]) != std::string::npos;
    return (same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure()) << ::testing::PrintToString(Boxes);
}

int Plays(int slot)
{
    SoundObject *object = SoundSlotObject(slot);
    int plays = 0;
    for (int i = 0; object && i < object->bufferCount; ++i) plays += Fake(object->buffers[i])->plays;
    return plays;
}

bool PumpUntil(std::function<bool()> done, DWORD ms)
{
    for (DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT)) {
        for (MSG message; PeekMessageA(&message, NULL, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
    }
}

void Win32Test::SetUp()
{
    folder = (std::filesystem::temp_directory_path() / "vrok-win32-test").string() + "\\";
    std::filesystem::create_directories(folder);
    FakeDs = FakeDsState(), FakeDs.busyUntil = GetTickCount();
    AppStateReset(); SoundEngineReset(); StatisticsReset();
    App.instance = GetModuleHandleA(NULL);
    snprintf(App.programFolder, sizeof App.programFolder, "%s", folder.c_str());
    SettingsDefaults();
    App.directSoundCreate = FakeDirectSoundCreate;
    BoxScript();
    Profile &sounds = Settings.profiles[0];  // sizes tell the slots apart
    char *paths[] = {sounds.machineGunSound, sounds.grenadeSound, sounds.finalSound, sounds.cuckooSound};
    for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) {
        std::string path = Write("s" + std::to_string(slot) + ".wav", WavePcm(100 + 20 * slot, slot));
        snprintf(paths[slot - 1], PATH_BUFFER_SIZE, "%s", path.c_str());
    }
}

void Win32Test::TearDown()
{
    SoundSetEnabled(1); SoundShutdown();
    EXPECT_EQ(FakeDs.live, 0) << "a DirectSound reference was never released";
    EXPECT_EQ(FakeDs.misuses, 0) << "a released object was used, or outlived by its buffers";
    AppMessageBoxPlatform = MessageBoxA;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string Win32Test::Write(const std::string &name, const std::string &bytes)
{
    return std::ofstream(folder + name, std::ios::binary) << bytes, folder + name;
}
