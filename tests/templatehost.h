#ifndef TEMPLATEHOST_H
#define TEMPLATEHOST_H

/* The application firmware template's TouchKeyScan.c compiled on the host (templatehost.c). */
#ifdef __cplusplus
extern "C" {
#endif

/* Rows of the template's channel table (TKL_CHN_NUM). */
int templateSlots(void);
/* TouchThreshold of a row whose table holds touch and water and whose base is base. */
unsigned templateThreshold(unsigned base, unsigned touch, unsigned water);
/* Row slot reads channel with the three means; key number slot + 1. Then templateInit(). */
void templateConfigure(int slot, int channel, unsigned base, unsigned touch, unsigned water);
void templateInit(void);
/* One TouchKeyScan over the counts set per channel. */
void templateSetCount(int channel, unsigned count);
void templateScan(void);
int templatePressed(int slot);
unsigned templateBase(int slot);

#ifdef __cplusplus
}
#endif

#endif /* TEMPLATEHOST_H */
