/*
 * TouchKey.h - the touch key functions, and the layout of the configuration
 * that the touch tuner writes into TouchKeyScan.h and TouchKeyScan.c.
 */
#ifndef __TOUCHKEY_H__
#define __TOUCHKEY_H__

#include "RM3KV5172.h"
#include "TouchKeyScan.h"

#if TKL_CHN_NUM > 25
#error "The RM3KV5172 has 25 touch channels."
#endif

/* The number of sliders and wheels; the test firmware has none. */
#ifndef TKL_SLD_NUM
#define TKL_SLD_NUM      0
#endif
#if TKL_SLD_NUM > 12
#error "25 touch channels make 12 sliders at most."
#endif

/* The channel table holds TK_CFG_FIELDS numbers per channel, row after row:
 * key number, TK channel, sensitivity step, then the raw counts measured
 * without touch, with touch and with water. It is one flat array so that its
 * rows need no braces of their own. */
#define TK_CFG_KEY       0
#define TK_CFG_CHN       1
#define TK_CFG_STEP      2
#define TK_CFG_BASE      3
#define TK_CFG_TOUCH     4
#define TK_CFG_WATER     5
#define TK_CFG_FIELDS    6

/* The settings table holds TK_KEY_FIELDS numbers per key, in the order of
 * the channel table's rows: the press threshold and the hysteresis below it
 * in percent of the swing from the no-touch to the touch count, the scans
 * above the press threshold before a press, the longest press in seconds
 * (0: no limit), and 1 to keep the press threshold at the water rule's floor.
 * The test firmware only measures and has no such table. */
#define TK_KEY_PRESS       0
#define TK_KEY_HYSTERESIS  1
#define TK_KEY_DEBOUNCE    2
#define TK_KEY_MAX_PRESS   3
#define TK_KEY_WATER_FLOOR 4
#define TK_KEY_FIELDS      5

/* The slider table holds TK_SLD_FIELDS numbers per slider or wheel: 0 for a
 * slider, 1 for a wheel, the number of its segments, then the rows of the
 * channel table of its segments in order along it or round it (unused places
 * 0). A segment's row has no key number, and the slider's settings in the
 * settings table; the first segment's settings are the slider's. */
#define TK_SLD_SHAPE     0
#define TK_SLD_COUNT     1
#define TK_SLD_ROWS      2
#define TK_SLD_SEGMENTS  8
#define TK_SLD_FIELDS    10
/* A segment's level at its full swing, and the position's range: 0 ... 255
 * along a slider from its first segment's centre to its last one's, or round
 * a wheel from its first segment's centre, where 255 is followed by 0. */
#define TK_SLD_FULL      255

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

extern CODE unsigned int TKChnCfg[];
extern CODE unsigned char TKKeyCfg[];
extern CODE unsigned char DeepSleepCfg[8];
#if TKL_SLD_NUM
extern CODE unsigned char TKSliderCfg[];
#endif

/* A row index times TK_CFG_FIELDS fits in a byte for the chip's 25 channels,
 * which keeps the look-up a single multiplication of the core. */
#define TK_CFG(i, field) (TKChnCfg[(unsigned char)((unsigned char)(i) * TK_CFG_FIELDS) + (field)])
#define TK_KEY(i, field) (TKKeyCfg[(unsigned char)((unsigned char)(i) * TK_KEY_FIELDS) + (field)])
#define DS_CFG(i)        (DeepSleepCfg[(i)])
#define TK_SLD(s, field) (TKSliderCfg[(unsigned char)((unsigned char)(s) * TK_SLD_FIELDS) + (field)])

/* Bit k - 1 is set while key k is reported pressed. */
extern volatile unsigned long TouchKeyFlag;
/* The latest raw count of each row of the channel table. */
extern XDATA unsigned int TouchRawData[];
#if TKL_SLD_NUM
/* Bit s is set while slider s (of the slider table) is touched; its finger's
 * position, kept after the finger has left. */
extern volatile unsigned int TouchSliderFlag;
extern XDATA unsigned char TouchSliderPos[];
#endif

void TouchKeyInit(void);
void TouchKeyScan(void);
unsigned char TouchKeyCount(void);
void TouchKeyEnterSleep(void);
void TouchKeySecond(void);
unsigned char TouchSliderTouched(void);

#endif /* __TOUCHKEY_H__ */
