// Landing bullets and craters on the screen, the cuckoo on the clock, and the clock target.
#include "shooting/shot_impact.h"

#include "app/app_state.h"
#include "shooting/activation.h"
#include "shooting/screen_canvas.h"
#include "shooting/shot_math.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"

enum { CLOCK_TARGET_MARGIN = 8 };

RECT ClockTargetRect(void)
{
    RECT target = {0, 0, 0, 0};
    HWND tray = FindWindowA("Shell_TrayWnd", NULL);
    HWND notificationArea = tray ? FindWindowExA(tray, NULL, "TrayNotifyWnd", NULL) : NULL;
    HWND clock = notificationArea ? FindWindowExA(notificationArea, NULL, "TrayClockWClass", NULL) : NULL;
    if (clock && GetWindowRect(clock, &target)) {
        target.left -= CLOCK_TARGET_MARGIN;
        target.top -= CLOCK_TARGET_MARGIN;
        target.right += CLOCK_TARGET_MARGIN;
        target.bottom += CLOCK_TARGET_MARGIN;
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
    POINT hit = {cursor.x + bullet.offsetX, cursor.y + bullet.offsetY};

    const Profile *profile = &Settings.profiles[Settings.activeProfile];
    if (profile->withCuckoo && PtInRect(&Activation.clockTarget, hit)) {
        if (!SoundIsPlaying(SoundSlotObject(SOUND_SLOT_CUCKOO), 0)) SoundPlay(SOUND_SLOT_CUCKOO, 0, 0);
        return;
    }
    CanvasAnd(App.holeBitmap, Activation.holeSize, Activation.bitmapOrigin, hit.x - HOLE_OFFSET,
              hit.y - HOLE_OFFSET);
    Statistics.shots++;
}

static void LandCrater(int slot)
{
    if (slot < 0 || slot >= GRENADE_SLOT_COUNT) return;
    CanvasAnd(App.craterBitmap, Activation.craterSize, Activation.bitmapOrigin,
              Activation.grenades[slot].craterX, Activation.grenades[slot].craterY);
    Statistics.grenades++;
}

void ShotImpact(int kind, int slot)
{
    switch (kind) {
    case SHOT_BULLET: LandBullet(); break;
    case SHOT_CRATER: LandCrater(slot); break;
    }
}
