/*
 * TouchKeyScan.h - touch key configuration of the RM3KV5172.
 *
 * The channel count below and the tables in TouchKeyScan.c are written by
 * the touch tuner. Keep each marker name on its own definition line only.
 */
#ifndef __TOUCHKEYSCAN_H__
#define __TOUCHKEYSCAN_H__

#include "RM3KV5172.h"

#define   TKL_CHN_NUM      (4)

/* One configured touch channel: key number, TK channel, sensitivity step,
 * then the raw counts measured without touch, with touch and with water. */
typedef struct
{
    unsigned char key;
    unsigned char chn;
    unsigned char step;
    unsigned int  base;
    unsigned int  touch;
    unsigned int  water;
} TK_CHN_CFG;

/* Deep-sleep block: enable, wake-up time index, time before entering low
 * power (high byte, low byte, seconds), wake key mask bits 31..0. */
#define DS_ENABLE        0
#define DS_WAKE_TIME     1
#define DS_IDLE_TIME_H   2
#define DS_IDLE_TIME_L   3
#define DS_WAKE_MASK_3   4
#define DS_WAKE_MASK_2   5
#define DS_WAKE_MASK_1   6
#define DS_WAKE_MASK_0   7

extern code TK_CHN_CFG TKChnCfg[];
extern code unsigned char DeepSleepCfg[8];

#define TK_CFG(i)        (TKChnCfg[(i)])
#define DS_CFG(i)        (DeepSleepCfg[(i)])

extern volatile unsigned long TouchKeyFlag;
extern unsigned int  TouchRawData[];

void TouchKeyInit(void);
void TouchKeyScan(void);
unsigned char TouchKeyCount(void);
void TouchKeyEnterSleep(void);

#endif /* __TOUCHKEYSCAN_H__ */
