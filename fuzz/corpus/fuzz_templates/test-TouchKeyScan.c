/*
 * TouchKeyScan.c - touch channel scanning and the touch configuration tables.
 *
 * The rows of the two tables below are rewritten by the touch tuner: the
 * line after a table's name line up to its closing line. Refer to the tables
 * elsewhere only through TK_CFG() and DS_CFG() of TouchKeyScan.h.
 */
#include "RM3KV5172.h"
#include "TouchKeyScan.h"

/* key, channel, step, no-touch count, touch count, water count */
code TK_CHN_CFG TKChnCfg[TKL_CHN_NUM] = {
1,0,20,100,100,100,
2,1,20,100,100,100,
3,2,20,100,100,100,
4,3,20,100,100,100,
};

/* enable, wake time, idle time high, idle time low, wake mask 31..0 */
code unsigned char DeepSleepCfg[8] = {
0,6,0,10,0,0,0,0,
};

volatile unsigned long TouchKeyFlag;
unsigned int  TouchRawData[TKL_CHN_NUM];

static unsigned int  TouchBase[TKL_CHN_NUM];
static unsigned char TouchDebounce[TKL_CHN_NUM];
static unsigned int  IdleSeconds;

#define TK_DEBOUNCE      3

static unsigned int TouchKeyMeasure(unsigned char chn)
{
    unsigned int count;

    TKCHS = chn;
    TKCON |= TK_START;
    while (TKCON & TK_BUSY)
        ;
    count = ((unsigned int)TKDH << 8) | TKDL;
    return count;
}

void TouchKeyInit(void)
{
    unsigned char i;

    TKCON = TK_ENABLE;
    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        TouchBase[i] = TK_CFG(i).base;
        TouchDebounce[i] = 0;
    }
    TouchKeyFlag = 0;
    IdleSeconds = 0;
}

/* Threshold halfway between the no-touch and the touch count; a key whose
 * water count comes close to it needs a larger touch swing. */
static unsigned int TouchThreshold(unsigned char i)
{
    unsigned int swing = TK_CFG(i).touch - TouchBase[i];

    if (TK_CFG(i).water > TouchBase[i] && TK_CFG(i).water - TouchBase[i] > swing / 2)
        return TouchBase[i] + swing - swing / 4;
    return TouchBase[i] + swing / 2;
}

void TouchKeyScan(void)
{
    unsigned char i;
    unsigned long bit;

    for (i = 0; i < TKL_CHN_NUM; i++)
    {
        TouchRawData[i] = TouchKeyMeasure(TK_CFG(i).chn);
        bit = 1UL << (TK_CFG(i).key - 1);
        if (TouchRawData[i] > TouchThreshold(i))
        {
            if (TouchDebounce[i] < TK_DEBOUNCE)
                TouchDebounce[i]++;
            else
                TouchKeyFlag |= bit;
        }
        else
        {
            TouchDebounce[i] = 0;
            TouchKeyFlag &= ~bit;
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
