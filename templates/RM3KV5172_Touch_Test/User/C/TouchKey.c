/*
 * TouchKey.c - touch channel scanning for the test firmware: each scan
 * measures every configured channel into TouchRawData, which main.c streams
 * to the debugger board. It decides no keys, so the test project carries no
 * key settings; the application firmware's TouchKey.c does.
 */
#include "TouchKey.h"

volatile unsigned long TouchKeyFlag;

/* The per-channel counts live in external RAM: for 25 channels they would
 * not fit in the internal RAM beside the stack. */
XDATA unsigned int TouchRawData[TKL_CHN_NUM];

static unsigned int TouchKeyMeasure(unsigned char chn)
{
    TKCHS = chn;
    TKCON |= TK_START;
    while (TKCON & TK_BUSY)
        ;
    return ((unsigned int)TKDH << 8) | TKDL;
}

void TouchKeyInit(void)
{
    unsigned char i;

    TKCON = TK_ENABLE;
    for (i = 0; i < TKL_CHN_NUM; i++)
        TouchRawData[i] = TK_CFG(i, TK_CFG_BASE);
    TouchKeyFlag = 0;
}

void TouchKeyScan(void)
{
    unsigned char i;

    for (i = 0; i < TKL_CHN_NUM; i++)
        TouchRawData[i] = TouchKeyMeasure((unsigned char)TK_CFG(i, TK_CFG_CHN));
}

unsigned char TouchKeyCount(void)
{
    return TKL_CHN_NUM;
}
