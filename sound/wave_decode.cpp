// Wave samples DirectSound refused, made 16-bit PCM by our own converter or the system's codecs.
#include "sound/wave_decode.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
#include <stdlib.h>

#include "sound/wave_convert.h"

typedef MMRESULT(WINAPI *AcmFormatSuggestProc)(HACMDRIVER, LPWAVEFORMATEX, LPWAVEFORMATEX, DWORD, DWORD);
typedef MMRESULT(WINAPI *AcmStreamOpenProc)(LPHACMSTREAM, HACMDRIVER, LPWAVEFORMATEX, LPWAVEFORMATEX,
                                            LPWAVEFILTER, DWORD_PTR, DWORD_PTR, DWORD);
typedef MMRESULT(WINAPI *AcmStreamSizeProc)(HACMSTREAM, DWORD, LPDWORD, DWORD);
typedef MMRESULT(WINAPI *AcmStreamHeaderProc)(HACMSTREAM, LPACMSTREAMHEADER, DWORD);
typedef MMRESULT(WINAPI *AcmStreamCloseProc)(HACMSTREAM, DWORD);

// msacm32.dll is loaded at the first file that needs it and stays, as DSOUND.DLL does; every
// Windows since 95 has it, and linking it would cost the start of every run for a rare file.
static struct {
    int looked;
    AcmFormatSuggestProc formatSuggest;
    AcmStreamOpenProc streamOpen;
    AcmStreamSizeProc streamSize;
    AcmStreamHeaderProc streamPrepareHeader, streamConvert, streamUnprepareHeader;
    AcmStreamCloseProc streamClose;
} acm;

typedef void (*AnyProc)(void);

static int AcmFind(void)
{
    if (!acm.looked) {
        acm.looked = 1;
        HMODULE library = LoadLibraryA("MSACM32.DLL");
        if (!library) return 0;
        acm.formatSuggest = (AcmFormatSuggestProc)(AnyProc)GetProcAddress(library, "acmFormatSuggest");
        acm.streamOpen = (AcmStreamOpenProc)(AnyProc)GetProcAddress(library, "acmStreamOpen");
        acm.streamSize = (AcmStreamSizeProc)(AnyProc)GetProcAddress(library, "acmStreamSize");
        acm.streamPrepareHeader = (AcmStreamHeaderProc)(AnyProc)GetProcAddress(library, "acmStreamPrepareHeader");
        acm.streamConvert = (AcmStreamHeaderProc)(AnyProc)GetProcAddress(library, "acmStreamConvert");
        acm.streamUnprepareHeader = (AcmStreamHeaderProc)(AnyProc)GetProcAddress(library, "acmStreamUnprepareHeader");
        acm.streamClose = (AcmStreamCloseProc)(AnyProc)GetProcAddress(library, "acmStreamClose");
    }
    return acm.formatSuggest && acm.streamOpen && acm.streamSize && acm.streamPrepareHeader &&
           acm.streamConvert && acm.streamUnprepareHeader && acm.streamClose;
}

// Converts the whole data chunk in one call into the image behind its header; the sample bytes
// written, 0 on failure.
static DWORD AcmConvert(HACMSTREAM stream, const WaveChunks *chunks, DWORD sourceSize, unsigned char *image,
                      DWORD decodedSize, const WAVEFORMATEX *to)
{
    ACMSTREAMHEADER header = {};
    header.cbStruct = sizeof header;
    header.pbSrc = (LPBYTE)chunks->data;
    header.cbSrcLength = sourceSize;
    header.pbDst = image + WAVE_IMAGE_HEADER_SIZE;
    header.cbDstLength = decodedSize;
    if (acm.streamPrepareHeader(stream, &header, 0) != MMSYSERR_NOERROR) return 0;
    // START and END together: a codec that holds samples back for the next block gives them out.
    int converted = acm.streamConvert(stream, &header, ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_END) ==
                    MMSYSERR_NOERROR;
    acm.streamUnprepareHeader(stream, &header, 0);
    DWORD used = header.cbDstLengthUsed <= decodedSize ? header.cbDstLengthUsed : 0;
    used -= used % to->nBlockAlign;
    if (!converted || used == 0) return 0;
    WaveImageHeader(image, to->nChannels, to->nSamplesPerSec, used);
    return used;
}

static unsigned char *AcmDecode(const WaveChunks *chunks, size_t *imageSize)
{
    // The codec reads the format's extra bytes (an ADPCM's coefficients, say) behind it.
    static unsigned char format[WAVE_FORMAT_COPY_MAX];
    if (!AcmFind() || !WaveFormatCopy(chunks, format, sizeof format)) return NULL;
    WAVEFORMATEX *from = (WAVEFORMATEX *)format;
    WAVEFORMATEX to = {};
    to.wFormatTag = WAVE_FORMAT_PCM;
    to.wBitsPerSample = 16;
    if (acm.formatSuggest(NULL, from, &to, sizeof to, ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_WBITSPERSAMPLE) !=
            MMSYSERR_NOERROR ||
        to.wFormatTag != WAVE_FORMAT_PCM || to.wBitsPerSample != 16 || to.nChannels < 1 || to.nChannels > 2 ||
        to.nBlockAlign != to.nChannels * 2)
        return NULL;
    HACMSTREAM stream = NULL;
    if (acm.streamOpen(&stream, NULL, from, &to, NULL, 0, 0, ACM_STREAMOPENF_NONREALTIME) != MMSYSERR_NOERROR)
        return NULL;

    // Whole blocks only: no codec is asked to make sense of one cut short.
    DWORD sourceSize = chunks->dataSize - (from->nBlockAlign ? chunks->dataSize % from->nBlockAlign : 0);
    DWORD decodedSize = 0;
    unsigned char *image = NULL;
    if (acm.streamSize(stream, sourceSize, &decodedSize, ACM_STREAMSIZEF_SOURCE) == MMSYSERR_NOERROR &&
        decodedSize > 0 && decodedSize <= (DWORD)WAVE_CONVERTED_MAX)
        image = (unsigned char *)malloc(WAVE_IMAGE_HEADER_SIZE + (size_t)decodedSize);
    DWORD used = image ? AcmConvert(stream, chunks, sourceSize, image, decodedSize, &to) : 0;
    acm.streamClose(stream, 0);
    if (used == 0) {
        free(image);
        return NULL;
    }
    *imageSize = WAVE_IMAGE_HEADER_SIZE + used;
    return image;
}

unsigned char *WaveDecode(const WaveChunks *chunks, size_t *imageSize)
{
    size_t size = WaveConvertedSize(chunks);
    if (size == 0) return AcmDecode(chunks, imageSize);
    unsigned char *image = (unsigned char *)malloc(size);
    if (image && WaveConvert(chunks, image, size) == size) {
        *imageSize = size;
        return image;
    }
    free(image);
    return NULL;
}
