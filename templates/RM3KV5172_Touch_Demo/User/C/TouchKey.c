/*
 * TouchKey.c - touch channel scanning, the key decision and deep sleep,
 * driven by the configuration in TouchKeyScan.h and TouchKeyScan.c.
 *
 * Each key's thresholds are offsets above its base, set up from its means
 * and settings: the press threshold a share of the swing from the no-touch
 * to the touch count, the release threshold the hysteresis below it. The
 * base starts at the no-touch count and follows the pad while the key is not
 * pressed: one count a scan, or at once to a count that stays further below
 * it than the hysteresis for as many scans as the debounce. A key pressed
 * longer than its longest press is released and takes its count for base.
 */
#include "TouchKey.h"

#define TK_KEY_BITS      32
#define TK_NEVER         0xFFFF

volatile unsigned long TouchKeyFlag;

/* The per-channel working data lives in external RAM: for 25 channels it
 * would not fit in the internal RAM beside the stack. */
XDATA unsigned int TouchRawData[TKL_CHN_NUM];

static XDATA unsigned int  TouchBase[TKL_CHN_NUM];
static XDATA unsigned int  TouchPressOffset[TKL_CHN_NUM];
static XDATA unsigned int  TouchReleaseOffset[TKL_CHN_NUM];
static XDATA unsigned char TouchDebounce[TKL_CHN_NUM];
static XDATA unsigned char TouchLow[TKL_CHN_NUM];
static XDATA unsigned char TouchHeld[TKL_CHN_NUM];
static XDATA unsigned char TouchPressed[TKL_CHN_NUM];
static XDATA unsigned long TouchKeyBits[TKL_CHN_NUM];
static unsigned int IdleSeconds;

static unsigned int TouchKeyMeasure(unsigned char chn)
{
    TKCHS = chn;
    TKCON |= TK_START;
    while (TKCON & TK_BUSY)
        ;
    return ((unsigned int)TKDH << 8) | TKDL;
}

/* The flag bit of a row's key; a row without a key number that fits the flag
 * reports nothing. */
static unsigned long TouchKeyBit(unsigned char i)
{
    unsigned int key = TK_CFG(i, TK_CFG_KEY);

    if (key == 0 || key > TK_KEY_BITS)
        return 0;
    return 1UL << (key - 1);
}

/* percent % of swing, rounded down, in 16 bits. */
static unsigned int TouchShare(unsigned int swing, unsigned char percent)
{
    return (swing / 100) * percent + (swing % 100) * percent / 100;
}

/* base + offset, held at 65535, where no count lies above it. */
static unsigned int TouchAbove(unsigned int base, unsigned int offset)
{
    unsigned int sum = base + offset;

    return sum < base ? TK_NEVER : sum;
}

/* Press and release offsets of row i. A key whose touch count is not above
 * its no-touch count is never pressed. Water more than half the swing above
 * the no-touch count keeps the press threshold at three quarters of the swing
 * unless the key's settings lower it knowingly. */
static void TouchOffsets(unsigned char i)
{
    unsigned int base = TK_CFG(i, TK_CFG_BASE);
    unsigned int touch = TK_CFG(i, TK_CFG_TOUCH);
    unsigned int water = TK_CFG(i, TK_CFG_WATER);
    unsigned int swing, press, hysteresis;

    if (touch <= base)
    {
        TouchPressOffset[i] = TK_NEVER;
        TouchReleaseOffset[i] = TK_NEVER;
        return;
    }
    swing = touch - base;
    press = TouchShare(swing, TK_KEY(i, TK_KEY_PRESS));
    if (TK_KEY(i, TK_KEY_WATER_FLOOR) && water > base && water - base > swing / 2
        && press < swing - swing / 4)
        press = swing - swing / 4;
    hysteresis = TouchShare(swing, TK_KEY(i, TK_KEY_HYSTERESIS));
    TouchPressOffset[i] = press;
    TouchReleaseOffset[i] = press > hysteresis ? press - hysteresis : 0;
}

void TouchKeyInit(void)
{
    unsigned char i;

    TKCON = TK_ENABLE;
    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        TouchBase[i] = TK_CFG(i, TK_CFG_BASE);
        TouchRawData[i] = TouchBase[i];
        TouchOffsets(i);
        TouchDebounce[i] = 0;
        TouchLow[i] = 0;
        TouchHeld[i] = 0;
        TouchPressed[i] = 0;
        TouchKeyBits[i] = TouchKeyBit(i);
    }
    TouchKeyFlag = 0;
    IdleSeconds = 0;
}

/* The threshold the next count of row i is compared with. */
static unsigned int TouchThreshold(unsigned char i)
{
    if (TouchPressed[i])
        return TouchAbove(TouchBase[i], TouchReleaseOffset[i]);
    return TouchAbove(TouchBase[i], TouchPressOffset[i]);
}

/* The base of a key that is not pressed follows its count. */
static void TouchFollow(unsigned char i, unsigned int count)
{
    unsigned int base = TouchBase[i];

    if (count > base)
    {
        TouchBase[i] = base + 1;
        TouchLow[i] = 0;
    }
    else if (count < base)
    {
        /* Further below than the hysteresis is no drift: a finger at power-up
         * has left, or water was wiped off. */
        if (base - count > TouchPressOffset[i] - TouchReleaseOffset[i])
        {
            if (++TouchLow[i] >= TK_KEY(i, TK_KEY_DEBOUNCE))
            {
                TouchBase[i] = count;
                TouchLow[i] = 0;
            }
            else
                TouchBase[i] = base - 1;
        }
        else
        {
            TouchBase[i] = base - 1;
            TouchLow[i] = 0;
        }
    }
    else
        TouchLow[i] = 0;
}

void TouchKeyScan(void)
{
    unsigned char i;
    unsigned int count;

    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        count = TouchKeyMeasure((unsigned char)TK_CFG(i, TK_CFG_CHN));
        TouchRawData[i] = count;
        if (count > TouchThreshold(i))
        {
            TouchLow[i] = 0;
            if (!TouchPressed[i])
            {
                if (TouchDebounce[i] < TK_KEY(i, TK_KEY_DEBOUNCE))
                {
                    TouchDebounce[i]++;
                    continue;
                }
                TouchPressed[i] = 1;
                TouchHeld[i] = 0;
            }
            TouchKeyFlag |= TouchKeyBits[i];
        }
        else
        {
            TouchDebounce[i] = 0;
            TouchHeld[i] = 0;
            TouchPressed[i] = 0;
            TouchKeyFlag &= ~TouchKeyBits[i];
            TouchFollow(i, count);
        }
    }
}

/* Called once a second by the main loop: a key pressed longer than its
 * longest press has something resting on its pad, which becomes its base. */
void TouchKeySecond(void)
{
    unsigned char i;

    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        if (!TouchPressed[i] || TK_KEY(i, TK_KEY_MAX_PRESS) == 0)
            continue;
        if (TouchHeld[i] < TK_KEY(i, TK_KEY_MAX_PRESS))
        {
            TouchHeld[i]++;
            continue;
        }
        TouchPressed[i] = 0;
        TouchDebounce[i] = 0;
        TouchHeld[i] = 0;
        TouchBase[i] = TouchRawData[i];
        TouchKeyFlag &= ~TouchKeyBits[i];
    }
}

unsigned char TouchKeyCount(void)
{
    return TKL_CHN_NUM;
}

/* Called once a second by the main loop. */
void TouchKeyEnterSleep(void)
{
    unsigned int idle;
    unsigned long mask;

    if (!DS_CFG(DS_ENABLE) || TouchKeyFlag)
    {
        IdleSeconds = 0;
        return;
    }
    idle = ((unsigned int)DS_CFG(DS_IDLE_TIME_H) << 8) | DS_CFG(DS_IDLE_TIME_L);
    if (++IdleSeconds < idle)
        return;
    mask = ((unsigned long)DS_CFG(DS_WAKE_MASK_3) << 24) | ((unsigned long)DS_CFG(DS_WAKE_MASK_2) << 16)
         | ((unsigned int)DS_CFG(DS_WAKE_MASK_1) << 8) | DS_CFG(DS_WAKE_MASK_0);
    TKWKT = DS_CFG(DS_WAKE_TIME);
    TKWKM0 = (unsigned char)mask;
    TKWKM1 = (unsigned char)(mask >> 8);
    TKWKM2 = (unsigned char)(mask >> 16);
    TKWKM3 = (unsigned char)(mask >> 24);
    PCON |= PD_SLEEP;
    IdleSeconds = 0;
}
