/*
 * TouchKeyScan.h - the number of configured touch channels, and of the
 * sliders and wheels made of them.
 *
 * Written by the touch tuner, like the tables in TouchKeyScan.c: keep each
 * count's name on its definition line only. Include TouchKey.h for the touch
 * key functions.
 */
#ifndef __TOUCHKEYSCAN_H__
#define __TOUCHKEYSCAN_H__

#define   TKL_CHN_NUM      (4)
#define   TKL_SLD_NUM      (0)

#endif /* __TOUCHKEYSCAN_H__ */
