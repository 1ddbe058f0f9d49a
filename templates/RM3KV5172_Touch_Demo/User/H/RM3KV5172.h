/*
 * RM3KV5172.h - special function registers used by the touch firmware.
 */
#ifndef __RM3KV5172_H__
#define __RM3KV5172_H__

#include "compiler.h"

/* The core runs at 24 MHz and takes 12 clocks per machine cycle; timers
 * count machine cycles. */
#define FOSC        24000000UL
#define FCYCLE      (FOSC / 12)

SFR(P0,      0x80);
SFR(SP,      0x81);
SFR(PCON,    0x87);
SFR(TCON,    0x88);
SFR(TMOD,    0x89);
SFR(TL0,     0x8A);
SFR(TL1,     0x8B);
SFR(TH0,     0x8C);
SFR(TH1,     0x8D);
SFR(P1,      0x90);
SFR(SCON,    0x98);
SFR(SBUF,    0x99);
SFR(P2,      0xA0);
SFR(IE,      0xA8);
SFR(P3,      0xB0);
SFR(TKCON,   0xD1);
SFR(TKCHS,   0xD2);
SFR(TKDL,    0xD3);
SFR(TKDH,    0xD4);
SFR(TKWKT,   0xD5);
SFR(TKWKM0,  0xD6);
SFR(TKWKM1,  0xD7);
SFR(TKWKM2,  0xD9);
SFR(TKWKM3,  0xDA);

SBIT(TR0,    0x88, 4);
SBIT(TF0,    0x88, 5);
SBIT(TR1,    0x88, 6);
SBIT(RI,     0x98, 0);
SBIT(TI,     0x98, 1);
SBIT(ET0,    0xA8, 1);
SBIT(EA,     0xA8, 7);

#define TK_ENABLE   0x80
#define TK_START    0x01
#define TK_BUSY     0x02
#define PD_SLEEP    0x02
#define SMOD        0x80

#endif /* __RM3KV5172_H__ */
