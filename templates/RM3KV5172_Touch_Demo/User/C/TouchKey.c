/*
 * TouchKey.c - touch channel scanning, the key decision and deep sleep,
 * driven by the configuration in TouchKeyScan.h and TouchKeyScan.c.
 *
 * Each key's thresholds are offsets above its base, set up from its means
 * and settings: the press threshold a share of the swing from the no-touch
 * to the touch count, the release threshold the hysteresis below it, but a
 * hundredth of the swing (a count at least) above the base. A key is pressed
 * on the scan after the debounce's scans above the press threshold. The
 * base starts at the no-touch count and follows the pad while the key is not
 * pressed: one count a scan, or at once to a count that stays further below
 * it than the hysteresis for as many scans as the debounce. A key pressed
 * longer than its longest press is released and takes its count for base.
 *
 * A slider or wheel is decided after its segments are measured. Each
 * segment's count over its base is taken in 255ths of the segment's own swing
 * (so a weak segment weighs as much as a strong one); the strongest segment
 * and its neighbours give the strength (the strongest plus the stronger
 * neighbour) and the position (their centroid). The strength is judged as a
 * key's count is, over a swing of 255 with the slider's settings; while the
 * slider is not touched its segments' bases follow the pads as keys' do, while
 * it is touched they hold. Where the water rule holds for the slider, water
 * over every segment would add up to more than a finger: the levels are then
 * taken over the segments' common level, in 255ths of the room it leaves.
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

#if TKL_SLD_NUM
#define TK_SLD_NO_POSITION 0xFFFF

volatile unsigned int TouchSliderFlag;
XDATA unsigned char TouchSliderPos[TKL_SLD_NUM];

static XDATA unsigned char TouchSegment[TKL_CHN_NUM];
static XDATA unsigned int  TouchSliderPress[TKL_SLD_NUM];
static XDATA unsigned int  TouchSliderRelease[TKL_SLD_NUM];
static XDATA unsigned char TouchSliderDebounce[TKL_SLD_NUM];
static XDATA unsigned char TouchSliderHeld[TKL_SLD_NUM];
static XDATA unsigned char TouchSliderPressed[TKL_SLD_NUM];
static XDATA unsigned char TouchSliderWater[TKL_SLD_NUM];
static XDATA unsigned char TouchLevels[TK_SLD_SEGMENTS];
static unsigned int TouchStrength;
#endif

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

/* The release offset the hysteresis leaves below press: never on the base,
 * where a pad resting a count above it would hold the key pressed, but a
 * hundredth of the swing, one count at least, and no more than press. */
static unsigned int TouchRelease(unsigned int swing, unsigned int press, unsigned int hysteresis)
{
    unsigned int lowest = swing / 100;

    if (lowest == 0)
        lowest = 1;
    if (lowest > press)
        lowest = press;
    if (press > hysteresis && press - hysteresis > lowest)
        return press - hysteresis;
    return lowest;
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
    TouchReleaseOffset[i] = TouchRelease(swing, press, hysteresis);
}

#if TKL_SLD_NUM
/* The row of segment k of slider s. */
#define TK_SEGMENT(s, k) TK_SLD((s), TK_SLD_ROWS + (k))

/* The swing of row i from its no-touch to its touch count; 0 when the touch
 * is not above. */
static unsigned int TouchSwing(unsigned char i)
{
    unsigned int base = TK_CFG(i, TK_CFG_BASE);
    unsigned int touch = TK_CFG(i, TK_CFG_TOUCH);

    return touch > base ? touch - base : 0;
}

/* count over base in 255ths of swing, at most 255. */
static unsigned char TouchLevel(unsigned int count, unsigned int base, unsigned int swing)
{
    unsigned int delta;

    if (swing == 0 || count <= base)
        return 0;
    delta = count - base;
    if (delta >= swing)
        return TK_SLD_FULL;
    return (unsigned char)(((unsigned long)delta * TK_SLD_FULL) / swing);
}

/* Levels of slider s's n segments over their common level, in 255ths of the
 * room it leaves: water over all of them reads as nothing. */
static void TouchOverWater(unsigned char n)
{
    unsigned char k, common;

    common = TouchLevels[0];
    for (k = 1; k < n; k++)
        if (TouchLevels[k] < common)
            common = TouchLevels[k];
    for (k = 0; k < n; k++)
        TouchLevels[k] = common < TK_SLD_FULL
            ? (unsigned char)((unsigned int)(TouchLevels[k] - common) * TK_SLD_FULL / (TK_SLD_FULL - common))
            : 0;
}

/* The strength (into TouchStrength) and the position of slider s from the
 * levels of its segments in TouchLevels; TK_SLD_NO_POSITION without any. */
static unsigned int TouchLocate(unsigned char s)
{
    unsigned char n = TK_SLD(s, TK_SLD_COUNT);
    unsigned char k, peak, prev, next;
    unsigned int a, b, c, weight;
    unsigned long place;

    peak = 0;
    for (k = 1; k < n; k++)
        if (TouchLevels[k] > TouchLevels[peak])
            peak = k;
    a = 0;
    c = 0;
    if (TK_SLD(s, TK_SLD_SHAPE))
    {
        prev = peak ? peak - 1 : n - 1;
        next = peak + 1 < n ? peak + 1 : 0;
        a = TouchLevels[prev];
        c = TouchLevels[next];
    }
    else
    {
        if (peak > 0)
            a = TouchLevels[peak - 1];
        if (peak + 1 < n)
            c = TouchLevels[peak + 1];
    }
    b = TouchLevels[peak];
    TouchStrength = b + (a > c ? a : c);
    weight = a + b + c;
    if (weight == 0)
        return TK_SLD_NO_POSITION;
    if (TK_SLD(s, TK_SLD_SHAPE))
    {
        /* A whole turn added keeps a centroid before segment 0 above 0; the
         * byte wraps the turn away again. */
        place = (unsigned long)peak * weight + c + (unsigned long)n * weight - a;
        return (unsigned char)((place * 256) / ((unsigned long)n * weight));
    }
    if (n < 2)
        return 0;
    place = (unsigned long)peak * weight + c - a;
    return (unsigned int)((place * TK_SLD_FULL) / ((unsigned long)(n - 1) * weight));
}

/* Slider s's press and release thresholds over a swing of 255, from its first
 * segment's settings; the water rule on the strength its water counts give,
 * and whether its levels are judged over their common level. */
static void TouchSliderInit(unsigned char s)
{
    unsigned char first = TK_SEGMENT(s, 0);
    unsigned char k, row;
    unsigned int press, hysteresis;

    for (k = 0; k < TK_SLD(s, TK_SLD_COUNT); k++)
    {
        row = TK_SEGMENT(s, k);
        TouchSegment[row] = 1;
        TouchLevels[k] = TouchLevel(TK_CFG(row, TK_CFG_WATER), TK_CFG(row, TK_CFG_BASE), TouchSwing(row));
    }
    TouchLocate(s);
    press = TouchShare(TK_SLD_FULL, TK_KEY(first, TK_KEY_PRESS));
    TouchSliderWater[s] = TK_KEY(first, TK_KEY_WATER_FLOOR) && TouchStrength > TK_SLD_FULL / 2;
    if (TouchSliderWater[s] && press < TK_SLD_FULL - TK_SLD_FULL / 4)
        press = TK_SLD_FULL - TK_SLD_FULL / 4;
    hysteresis = TouchShare(TK_SLD_FULL, TK_KEY(first, TK_KEY_HYSTERESIS));
    TouchSliderPress[s] = press;
    TouchSliderRelease[s] = TouchRelease(TK_SLD_FULL, press, hysteresis);
    TouchSliderDebounce[s] = 0;
    TouchSliderHeld[s] = 0;
    TouchSliderPressed[s] = 0;
    TouchSliderPos[s] = 0;
}
#endif

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
#if TKL_SLD_NUM
        TouchSegment[i] = 0;
#endif
    }
    TouchKeyFlag = 0;
    IdleSeconds = 0;
#if TKL_SLD_NUM
    for (i = 0; i < TKL_SLD_NUM; i++)
        TouchSliderInit(i);
    TouchSliderFlag = 0;
#endif
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

#if TKL_SLD_NUM
/* Slider s after its segments were measured. */
static void TouchSliderDecide(unsigned char s)
{
    unsigned char n = TK_SLD(s, TK_SLD_COUNT);
    unsigned char first = TK_SEGMENT(s, 0);
    unsigned char k, row;
    unsigned int position, threshold;

    for (k = 0; k < n; k++)
    {
        row = TK_SEGMENT(s, k);
        TouchLevels[k] = TouchLevel(TouchRawData[row], TouchBase[row], TouchSwing(row));
    }
    if (TouchSliderWater[s])
        TouchOverWater(n);
    position = TouchLocate(s);
    threshold = TouchSliderPressed[s] ? TouchSliderRelease[s] : TouchSliderPress[s];
    if (TouchStrength > threshold)
    {
        for (k = 0; k < n; k++)
            TouchLow[TK_SEGMENT(s, k)] = 0;
        if (!TouchSliderPressed[s])
        {
            if (TouchSliderDebounce[s] < TK_KEY(first, TK_KEY_DEBOUNCE))
            {
                TouchSliderDebounce[s]++;
                return;
            }
            TouchSliderPressed[s] = 1;
            TouchSliderHeld[s] = 0;
            TouchSliderFlag |= 1U << s;
        }
        if (position != TK_SLD_NO_POSITION)
            TouchSliderPos[s] = (unsigned char)position;
    }
    else
    {
        TouchSliderDebounce[s] = 0;
        TouchSliderHeld[s] = 0;
        TouchSliderPressed[s] = 0;
        TouchSliderFlag &= ~(1U << s);
        for (k = 0; k < n; k++)
        {
            row = TK_SEGMENT(s, k);
            TouchFollow(row, TouchRawData[row]);
        }
    }
}
#endif

void TouchKeyScan(void)
{
    unsigned char i;
    unsigned int count;

    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        count = TouchKeyMeasure((unsigned char)TK_CFG(i, TK_CFG_CHN));
        TouchRawData[i] = count;
#if TKL_SLD_NUM
        /* A segment is decided with its slider, once all are measured. */
        if (TouchSegment[i])
            continue;
#endif
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
#if TKL_SLD_NUM
    for (i = 0; i < TKL_SLD_NUM; i++)
        TouchSliderDecide(i);
#endif
}

/* Called once a second by the main loop: a key pressed longer than its
 * longest press has something resting on its pad, which becomes its base. */
void TouchKeySecond(void)
{
    unsigned char i;
#if TKL_SLD_NUM
    unsigned char k, first, row;
#endif

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
#if TKL_SLD_NUM
    for (i = 0; i < TKL_SLD_NUM; i++)
    {
        first = TK_SEGMENT(i, 0);
        if (!TouchSliderPressed[i] || TK_KEY(first, TK_KEY_MAX_PRESS) == 0)
            continue;
        if (TouchSliderHeld[i] < TK_KEY(first, TK_KEY_MAX_PRESS))
        {
            TouchSliderHeld[i]++;
            continue;
        }
        TouchSliderPressed[i] = 0;
        TouchSliderDebounce[i] = 0;
        TouchSliderHeld[i] = 0;
        TouchSliderFlag &= ~(1U << i);
        for (k = 0; k < TK_SLD(i, TK_SLD_COUNT); k++)
        {
            row = TK_SEGMENT(i, k);
            TouchBase[row] = TouchRawData[row];
        }
    }
#endif
}

unsigned char TouchKeyCount(void)
{
    return TKL_CHN_NUM;
}

/* Whether any slider or wheel is touched. */
unsigned char TouchSliderTouched(void)
{
#if TKL_SLD_NUM
    return TouchSliderFlag != 0;
#else
    return 0;
#endif
}

/* Called once a second by the main loop. */
void TouchKeyEnterSleep(void)
{
    unsigned int idle;
    unsigned long mask;

    if (!DS_CFG(DS_ENABLE) || TouchKeyFlag || TouchSliderTouched())
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
