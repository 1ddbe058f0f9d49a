/*
 * The committed application firmware template's TouchKeyScan.c, compiled as it stands on the host,
 * so that the tests hold the tool's model of the firmware against the firmware's own code.
 *
 * The chip's register header holds C51-only sfr declarations: its guard is set here and the few
 * registers the source touches become plain variables. A measurement finishes at once and reads
 * the count set for the selected channel. C51's unsigned int is 16 bits wide; mapping it to
 * unsigned short keeps the results the same, since every expression then computes in int without
 * overflow and each store into an unsigned short wraps modulo 65536 as the 16-bit type does.
 */
#include "templatehost.h"

#define __RM3KV5172_H__

static unsigned char TKCON, TKCHS, TKWKT, TKWKM0, TKWKM1, TKWKM2, TKWKM3, PCON;
static unsigned short hostCounts[25];

#define TKDH ((unsigned char)(hostCounts[TKCHS] >> 8))
#define TKDL ((unsigned char)(hostCounts[TKCHS] & 0xFF))
#define TK_ENABLE 0x80
#define TK_START 0x01
#define TK_BUSY 0x02
#define PD_SLEEP 0x02
#define code

#define int short
#include "TouchKeyScan.c"
#undef int

int templateSlots(void)
{
    return TKL_CHN_NUM;
}

unsigned templateThreshold(unsigned base, unsigned touch, unsigned water)
{
    TKChnCfg[0].touch = (unsigned short)touch;
    TKChnCfg[0].water = (unsigned short)water;
    TouchBase[0] = (unsigned short)base;
    return TouchThreshold(0);
}

void templateConfigure(int slot, int channel, unsigned base, unsigned touch, unsigned water)
{
    TKChnCfg[slot].key = (unsigned char)(slot + 1);
    TKChnCfg[slot].chn = (unsigned char)channel;
    TKChnCfg[slot].base = (unsigned short)base;
    TKChnCfg[slot].touch = (unsigned short)touch;
    TKChnCfg[slot].water = (unsigned short)water;
}

void templateInit(void)
{
    TouchKeyInit();
}

void templateSetCount(int channel, unsigned count)
{
    hostCounts[channel] = (unsigned short)count;
}

void templateScan(void)
{
    TouchKeyScan();
}

int templatePressed(int slot)
{
    return (int)((TouchKeyFlag >> (TKChnCfg[slot].key - 1)) & 1UL);
}

unsigned templateBase(int slot)
{
    return TouchBase[slot];
}
