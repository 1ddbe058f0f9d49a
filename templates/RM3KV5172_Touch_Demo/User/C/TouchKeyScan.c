/*
 * TouchKeyScan.c - the touch configuration tables.
 *
 * The rows of the four tables below are rewritten by the touch tuner: the
 * lines after a table's name line up to its closing line. Refer to the
 * tables elsewhere only through TK_CFG(), TK_KEY(), TK_SLD() and DS_CFG() of
 * TouchKey.h.
 */
#include "TouchKey.h"

/* key, channel, step, no-touch count, touch count, water count */
CODE unsigned int TKChnCfg[TKL_CHN_NUM * TK_CFG_FIELDS] = {
1,0,20,100,100,100,
2,1,20,100,100,100,
3,2,20,100,100,100,
4,3,20,100,100,100,
};

/* press %, hysteresis %, debounce (scans above before the press, which
 * comes on the next), longest press s, water floor */
CODE unsigned char TKKeyCfg[TKL_CHN_NUM * TK_KEY_FIELDS] = {
50,10,3,20,1,
50,10,3,20,1,
50,10,3,20,1,
50,10,3,20,1,
};

/* shape (0 slider, 1 wheel), segments, their rows of the channel table */
#if TKL_SLD_NUM
CODE unsigned char TKSliderCfg[TKL_SLD_NUM * TK_SLD_FIELDS] = {
};
#endif

/* enable, wake time, idle time high, idle time low, wake mask 31..0 */
CODE unsigned char DeepSleepCfg[8] = {
0,6,0,10,0,0,0,0,
};
