// Landing bullets and craters on the screen, the cuckoo on the clock, and the clock target.
#include "shooting/shot_impact.h"

#include "app/app_state.h"
#include "shooting/activation.h"
#include "shooting/screen_canvas.h"
#include "shooting/shot_art.h"
#include "shooting/shot_math.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"

RECT ClockTargetRect(void)
{
    RECT target = {0, 0, 0, 0};
    HWND tray = FindWindowA("Shell_TrayWnd", NULL);
    HWND notificationArea = tray ? FindWindowExA(tray, NULL, "TrayNotifyWnd", NULL) : NULL;
    HWND clock = notificationArea ? FindWindowExA(notificationArea, NULL, "TrayClockWClass", NULL) : NULL;
    if (clock && GetWindowRect(clock, &target)) {
        int margin = ScaledLength(CLOCK_TARGET_MARGIN, ShotArtAt((target.left + target.right) / 2,
                                                                  (target.top + target.bottom) / 2)->dpi);
        InflateRect(&target, margin, margin);
    }
    return target;
}

static void LandBullet(void)
{
    POINT cursor;
    GetCursorPos(&cursor);
    // The position is always drawn first, so the sequence of bullets never depends on the clock.
    BulletPlacement bullet;
    BulletPlace(&bullet);
    // The spread grows with the monitor's scale, from the same draws.
    const ShotArt *art = ShotArtAt(cursor.x, cursor.y);
    POINT hit = {cursor.x + ScaledLength(bullet.offsetX, art->dpi), cursor.y + ScaledLength(bullet.offsetY, art->dpi)};

    const Profile *profile = &Settings.profiles[Settings.activeProfile];
    if (profile->withCuckoo && PtInRect(&Activation.clockTarget, hit)) {
        if (!SoundIsPlaying(SoundSlotObject(SOUND_SLOT_CUCKOO), 0)) SoundPlay(SOUND_SLOT_CUCKOO, 0, 0);
        return;
    }
    CanvasAnd(art->hole, art->holeSize, Activation.bitmapOrigin, hit.x - art->holeOffset, hit.y - art->holeOffset);
    Statistics.shots++;
}

static void LandCrater(int slot)
{
    if (slot < 0 || slot >= GRENADE_SLOT_COUNT) return;
    const GrenadeSlot *grenade = &Activation.grenades[slot];
    CanvasAnd(grenade->art->crater, grenade->art->craterSize, Activation.bitmapOrigin, grenade->craterX,
              grenade->craterY);
    Statistics.grenades++;
}

void ShotImpact(int kind, int slot)
{
    switch (kind) {
    case SHOT_BULLET: LandBullet(); break;
    case SHOT_CRATER: LandCrater(slot); break;
    }
}
