// What is shot on each monitor of this activation: the hole and the crater at the monitor's DPI,
// made once when the activation starts, so that a bullet only picks them.
#include "shooting/shot_art.h"

#include <stdlib.h>

#include "app/app_state.h"
#include "app/dpi.h"
#include "resources/resource.h"
#include "shooting/screen_canvas.h"
#include "shooting/shot_math.h"

ShotArtState ShotArts;

// The art drawn for scaled displays (tools/gen_art.py), run-length coded; any other DPI takes the
// nearest drawn above it, or the largest, scaled to its size.
static const struct {
    int dpi;
    const char *hole, *crater;
} DRAWN_ART[] = {
    {120, RES_ART_HOLE_120, RES_ART_CRATER_120},
    {144, RES_ART_HOLE_144, RES_ART_CRATER_144},
    {192, RES_ART_HOLE_192, RES_ART_CRATER_192},
};
enum { DRAWN_ART_COUNT = sizeof DRAWN_ART / sizeof DRAWN_ART[0] };

void ShotArtReadMonitors(void)
{
    RECT areas[MONITOR_SLOT_COUNT];
    int dpis[MONITOR_SLOT_COUNT];
    ShotArts.monitorCount = DpiMonitorsRead(areas, dpis, MONITOR_SLOT_COUNT);
    ShotArts.artCount = 0;
    for (int i = 0; i < ShotArts.monitorCount; ++i) {
        MonitorArea monitor = {areas[i].left, areas[i].top, areas[i].right, areas[i].bottom, dpis[i]};
        ShotArts.monitors[i] = monitor;
        int k = 0;
        while (k < ShotArts.artCount && ShotArts.art[k].dpi != monitor.dpi) ++k;
        if (k == ShotArts.artCount) {
            ShotArt art = {};
            art.dpi = monitor.dpi;
            art.hole = App.holeBitmap;
            art.crater = App.craterBitmap;
            ShotArts.art[ShotArts.artCount++] = art;
        }
    }
}

static POINT MeasureBitmap(HDC screen, HBITMAP bitmap)
{
    HGDIOBJ previous = NULL;
    HDC memory = CanvasMemoryOpen(screen, bitmap, &previous);
    BITMAP record = {};
    GetObjectA(bitmap, sizeof record, &record);
    POINT size = {record.bmWidth, record.bmHeight};
    DPtoLP(memory, &size, 1);
    CanvasMemoryClose(memory, previous);
    return size;
}

// The coded resource name, side pixels square, as a bitmap like the screen's; NULL when it cannot be.
static HBITMAP DecodedBitmap(HDC screen, const char *name, int side)
{
    HRSRC found = FindResourceA(App.instance, name, RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(App.instance, found) : NULL;
    const unsigned char *code = loaded ? (const unsigned char *)LockResource(loaded) : NULL;
    // Rows of 8 bits a pixel padded to 4 bytes, from the bottom, as every Windows reads a DIB.
    size_t stride = ((size_t)side + 3) & ~(size_t)3, count = (size_t)side * side;
    unsigned char *levels = code ? (unsigned char *)malloc(count) : NULL;
    unsigned char *bits = levels ? (unsigned char *)malloc(stride * side) : NULL;
    HBITMAP bitmap = NULL;
    if (bits && ArtDecode(code, SizeofResource(App.instance, found), levels, count)) {
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) bits[(side - 1 - y) * stride + x] = levels[(size_t)y * side + x];
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[ART_LEVEL_COUNT];
        } info = {{sizeof(BITMAPINFOHEADER), side, side, 1, 8, BI_RGB, 0, 0, 0, ART_LEVEL_COUNT, 0},
                  {{255, 255, 255, 0}, {128, 128, 128, 0}, {0, 0, 0, 0}}};
        bitmap = CreateDIBitmap(screen, &info.header, CBM_INIT, bits, (BITMAPINFO *)&info, DIB_RGB_COLORS);
    }
    free(bits);
    free(levels);
    return bitmap;
}

// source, of size from, stretched to side pixels square, whole pixels only: no grey blurs the edges.
static HBITMAP StretchedBitmap(HDC screen, HBITMAP source, POINT from, int side)
{
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = target ? CreateCompatibleBitmap(screen, side, side) : NULL;
    if (bitmap) {
        HGDIOBJ previousTarget = SelectObject(target, bitmap), previousSource = NULL;
        HDC memory = CanvasMemoryOpen(screen, source, &previousSource);
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, 0, 0, side, side, memory, 0, 0, from.x, from.y, SRCCOPY);
        CanvasMemoryClose(memory, previousSource);
        SelectObject(target, previousTarget);
    }
    if (target) DeleteDC(target);
    return bitmap;
}

// One of the two images at art's DPI: the drawn one when it has the size, else the drawn one (or the
// 96 dpi one below 120) stretched to it. NULL when nothing can be made.
static HBITMAP ScaledBitmap(HDC screen, int dpi, HBITMAP base, int drawnIndex, bool crater)
{
    POINT baseSize = MeasureBitmap(screen, base);
    int side = ScaledLength(baseSize.x, dpi);
    HBITMAP drawn = NULL;
    POINT drawnSize = baseSize;
    if (drawnIndex >= 0) {
        int drawnDpi = DRAWN_ART[drawnIndex].dpi;
        drawnSize.x = drawnSize.y = ScaledLength(baseSize.x, drawnDpi);
        drawn = DecodedBitmap(screen, crater ? DRAWN_ART[drawnIndex].crater : DRAWN_ART[drawnIndex].hole, drawnSize.x);
        if (drawn && drawnSize.x == side) return drawn;
    }
    HBITMAP stretched = StretchedBitmap(screen, drawn ? drawn : base, drawn ? drawnSize : baseSize, side);
    if (drawn) DeleteObject(drawn);
    return stretched;
}

static int DrawnArtFor(int dpi)
{
    if (dpi <= BASE_DPI) return -1;
    int k = 0;
    while (k < DRAWN_ART_COUNT - 1 && DRAWN_ART[k].dpi < dpi) ++k;
    return k;
}

static void ArtMake(HDC screen, ShotArt *art)
{
    art->holeOffset = HOLE_OFFSET;
    if (art->dpi != BASE_DPI) {
        int drawn = DrawnArtFor(art->dpi);
        HBITMAP hole = ScaledBitmap(screen, art->dpi, App.holeBitmap, drawn, false);
        HBITMAP crater = ScaledBitmap(screen, art->dpi, App.craterBitmap, drawn, true);
        if (hole && crater) {
            art->hole = hole;
            art->crater = crater;
            art->holeOffset = ScaledLength(HOLE_OFFSET, art->dpi);
        } else {
            // Without memory for them the shots keep their 96 dpi look.
            if (hole) DeleteObject(hole);
            if (crater) DeleteObject(crater);
        }
    }
    art->craterSize = MeasureBitmap(screen, art->crater);
    art->holeSize = MeasureBitmap(screen, art->hole);
}

void ShotArtMake(HDC screen)
{
    for (int k = 0; k < ShotArts.artCount; ++k) ArtMake(screen, &ShotArts.art[k]);
}

void ShotArtFree(void)
{
    for (int k = 0; k < ShotArts.artCount; ++k) {
        ShotArt *art = &ShotArts.art[k];
        if (art->hole != App.holeBitmap) DeleteObject(art->hole);
        if (art->crater != App.craterBitmap) DeleteObject(art->crater);
        art->hole = App.holeBitmap;
        art->crater = App.craterBitmap;
    }
}

const ShotArt *ShotArtAt(int x, int y)
{
    int monitor = MonitorAt(ShotArts.monitors, ShotArts.monitorCount, x, y);
    int dpi = monitor >= 0 ? ShotArts.monitors[monitor].dpi : BASE_DPI;
    for (int k = 0; k < ShotArts.artCount; ++k)
        if (ShotArts.art[k].dpi == dpi) return &ShotArts.art[k];
    return &ShotArts.art[0];
}
