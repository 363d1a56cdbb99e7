// A wave file made playable: the file image and one or more DirectSound buffers of it.
#include "sound/sound_object.h"

#include <stdlib.h>
#include <string.h>

#include "sound/wave_convert.h"
#include "sound/wave_decode.h"

// Reads the whole file into a new image (malloc) and parses it; 1 on success.
static int WaveFileRead(const char *path, unsigned char **fileImage, size_t *imageSize, WaveChunks *chunks)
{
    *fileImage = NULL;
    *imageSize = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;

    int ok = 0;
    unsigned char *image = NULL;
    DWORD size = GetFileSize(file, NULL);
    if (size != INVALID_FILE_SIZE && size > 0) image = (unsigned char *)malloc(size);
    if (image) {
        DWORD got = 0;
        ok = ReadFile(file, image, size, &got, NULL) && got == size &&
             WaveParse(image, size, chunks);
    }
    CloseHandle(file);
    if (!ok) {
        free(image);
        return 0;
    }
    *fileImage = image;
    *imageSize = size;
    return 1;
}

static int SoundBufferFill(IDirectSoundBuffer *buffer, const unsigned char *data, uint32_t size)
{
    if (!buffer || !data || size == 0) return 0;
    void *first = NULL, *second = NULL;
    DWORD firstLength = 0, secondLength = 0;
    if (FAILED(buffer->Lock(0, size, &first, &firstLength, &second, &secondLength, 0))) return 0;
    // The parts never hold more than was asked for, however DirectSound splits them.
    if (firstLength > size) firstLength = size;
    memcpy(first, data, firstLength);
    if (secondLength != 0 && second) {
        if (secondLength > size - firstLength) secondLength = size - firstLength;
        memcpy(second, data + firstLength, secondLength);
    }
    buffer->Unlock(first, firstLength, second, secondLength);
    return 1;
}

// A static buffer made from the image and filled with its samples, or NULL; *refused tells
// whether CreateSoundBuffer said no.
static IDirectSoundBuffer *SoundBufferCreate(IDirectSound *directSound, const unsigned char *fileImage,
                                             size_t imageSize, int *refused)
{
    *refused = 0;
    WaveChunks chunks;
    if (!WaveParse(fileImage, imageSize, &chunks)) return NULL;
    // DirectSound reads a whole WAVEFORMATEX, and a non-PCM format's extra bytes, from the
    // pointer it is given: hand it a copy that has them all, never the end of the file image.
    static unsigned char format[WAVE_FORMAT_COPY_MAX];
    if (!WaveFormatCopy(&chunks, format, sizeof format)) return NULL;

    DSBUFFERDESC description = {};
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    description.dwBufferBytes = chunks.dataSize;
    description.lpwfxFormat = (WAVEFORMATEX *)format;

    IDirectSoundBuffer *buffer = NULL;
    if (FAILED(directSound->CreateSoundBuffer(&description, &buffer, NULL)) || !buffer) {
        *refused = 1;
        return NULL;
    }
    if (!SoundBufferFill(buffer, chunks.data, chunks.dataSize)) {
        buffer->Release();
        return NULL;
    }
    return buffer;
}

// The object takes the image as its own, with the samples and length the chunks give.
static void SoundObjectHold(SoundObject *object, unsigned char *image, const WaveChunks *chunks)
{
    object->fileImage = image;
    object->waveData = chunks->data;
    object->waveSize = chunks->dataSize;
    object->durationMs = WaveDurationMs(chunks);
}

void SoundObjectFree(SoundObject *object)
{
    if (!object) return;
    for (int32_t i = 0; i < object->bufferCount; ++i) {
        if (object->buffers[i]) object->buffers[i]->Release();
        object->buffers[i] = NULL;
    }
    free(object->fileImage);
    LocalFree(object);
}

SoundObject *SoundObjectLoad(IDirectSound *directSound, const char *path, int32_t count)
{
    if (!directSound) return NULL;
    unsigned char *image = NULL;
    size_t imageSize = 0;
    WaveChunks chunks;
    if (!WaveFileRead(path, &image, &imageSize, &chunks)) return NULL;
    if (count < 1) count = 1;

    size_t blockSize = sizeof(SoundObject) + (size_t)count * sizeof(IDirectSoundBuffer *);
    SoundObject *object = (SoundObject *)LocalAlloc(LPTR, blockSize);
    if (!object) {
        free(image);
        return NULL;
    }
    object->buffers = (IDirectSoundBuffer **)(object + 1);
    object->bufferCount = count;
    SoundObjectHold(object, image, &chunks);
    object->currentBuffer = 0;

    int refused = 0;
    object->buffers[0] = SoundBufferCreate(directSound, image, imageSize, &refused);
    if (!object->buffers[0] && refused && !WaveIsPlainPcm(&chunks)) {
        // A format this DirectSound does not take: its samples once more as 16-bit PCM, which
        // every DirectSound takes. From here on that is the object's sound: its further buffers,
        // its refills and its length.
        unsigned char *converted = WaveDecode(&chunks, &imageSize);
        if (converted) {
            free(image);
            image = converted;
            WaveParse(image, imageSize, &chunks);
            SoundObjectHold(object, image, &chunks);
            object->buffers[0] = SoundBufferCreate(directSound, image, imageSize, &refused);
        }
    }
    if (!object->buffers[0]) {
        SoundObjectFree(object);
        return NULL;
    }
    for (int32_t i = 1; i < count; ++i) {
        // A duplicate shares buffer 0's samples; a buffer of its own is the fallback.
        if (FAILED(directSound->DuplicateSoundBuffer(object->buffers[0], &object->buffers[i])))
            object->buffers[i] = NULL;
        if (!object->buffers[i]) object->buffers[i] = SoundBufferCreate(directSound, image, imageSize, &refused);
        if (!object->buffers[i]) {
            SoundObjectFree(object);
            return NULL;
        }
    }
    return object;
}

static DWORD BufferStatus(IDirectSoundBuffer *buffer, int *asked)
{
    DWORD status = 0;
    *asked = SUCCEEDED(buffer->GetStatus(&status));
    return *asked ? status : 0;
}

IDirectSoundBuffer *SoundObjectNextBuffer(SoundObject *object)
{
    if (!object) return NULL;
    IDirectSoundBuffer *buffer = object->buffers[object->currentBuffer];
    int asked = 0;
    DWORD status = BufferStatus(buffer, &asked);
    if (status & DSBSTATUS_PLAYING) {
        // A busy current buffer moves the choice on; the next one is cut off if it still plays.
        if (object->bufferCount <= 1) return NULL;
        object->currentBuffer = (object->currentBuffer + 1) % object->bufferCount;
        buffer = object->buffers[object->currentBuffer];
        int askedNext = 0;
        DWORD nextStatus = BufferStatus(buffer, &askedNext);
        if (askedNext) {
            status = nextStatus;
            if (status & DSBSTATUS_PLAYING) {
                buffer->Stop();
                buffer->SetCurrentPosition(0);
            }
        }
    }
    if (status & DSBSTATUS_BUFFERLOST) {
        if (FAILED(buffer->Restore())) return NULL;
        if (!SoundBufferFill(buffer, object->waveData, object->waveSize)) return NULL;
    }
    return buffer;
}

int SoundObjectPlay(SoundObject *object, DWORD flags)
{
    if (!object) return 0;
    if ((flags & DSBPLAY_LOOPING) && object->bufferCount != 1) return 0;
    IDirectSoundBuffer *buffer = SoundObjectNextBuffer(object);
    if (!buffer) return 0;
    return SUCCEEDED(buffer->Play(0, 0, flags)) ? 1 : 0;
}

int SoundObjectStop(SoundObject *object)
{
    if (!object) return 0;
    for (int32_t i = 0; i < object->bufferCount; ++i) {
        object->buffers[i]->Stop();
        object->buffers[i]->SetCurrentPosition(0);
    }
    return 1;
}
