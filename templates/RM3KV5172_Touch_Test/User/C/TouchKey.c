/*
 * TouchKey.c - touch channel scanning, key debounce and deep sleep, driven by
 * the configuration in TouchKeyScan.h and TouchKeyScan.c.
 */
#include "TouchKey.h"

#define TK_DEBOUNCE      3
#define TK_KEY_BITS      32

volatile unsigned long TouchKeyFlag;

/* The per-channel working data lives in external RAM: for 25 channels it
 * would not fit in the internal RAM beside the stack. */
XDATA unsigned int TouchRawData[TKL_CHN_NUM];

static XDATA unsigned int  TouchBase[TKL_CHN_NUM];
static XDATA unsigned char TouchDebounce[TKL_CHN_NUM];
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

void TouchKeyInit(void)
{
    unsigned char i;

    TKCON = TK_ENABLE;
    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        TouchBase[i] = TK_CFG(i, TK_CFG_BASE);
        TouchDebounce[i] = 0;
        TouchKeyBits[i] = TouchKeyBit(i);
    }
    TouchKeyFlag = 0;
    IdleSeconds = 0;
}

/* Threshold halfway between the no-touch and the touch count; a key whose
 * water count comes close to it needs a larger touch swing. All in 16 bits:
 * a touch count below the base wraps round, as it always has. */
static unsigned int TouchThreshold(unsigned char i)
{
    unsigned int base = TouchBase[i];
    unsigned int water = TK_CFG(i, TK_CFG_WATER);
    unsigned int swing = TK_CFG(i, TK_CFG_TOUCH) - base;

    if (water > base && water - base > swing / 2)
        return base + swing - swing / 4;
    return base + swing / 2;
}

void TouchKeyScan(void)
{
    unsigned char i;

    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        TouchRawData[i] = TouchKeyMeasure((unsigned char)TK_CFG(i, TK_CFG_CHN));
        if (TouchRawData[i] > TouchThreshold(i))
        {
            if (TouchDebounce[i] < TK_DEBOUNCE)
                TouchDebounce[i]++;
            else
                TouchKeyFlag |= TouchKeyBits[i];
        }
        else
        {
            TouchDebounce[i] = 0;
            TouchKeyFlag &= ~TouchKeyBits[i];
            /* follow slow drift of the pad while it is not touched */
            if (TouchRawData[i] > TouchBase[i])
                TouchBase[i]++;
            else if (TouchRawData[i] < TouchBase[i])
                TouchBase[i]--;
        }
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
