/*
 * RM3KV5172.h - special function registers used by the touch firmware.
 */
#ifndef __RM3KV5172_H__
#define __RM3KV5172_H__

sfr P0      = 0x80;
sfr SP      = 0x81;
sfr PCON    = 0x87;
sfr TCON    = 0x88;
sfr TMOD    = 0x89;
sfr TL0     = 0x8A;
sfr TH0     = 0x8C;
sfr P1      = 0x90;
sfr SCON    = 0x98;
sfr SBUF    = 0x99;
sfr IE      = 0xA8;
sfr TKCON   = 0xD1;
sfr TKCHS   = 0xD2;
sfr TKDL    = 0xD3;
sfr TKDH    = 0xD4;
sfr TKWKT   = 0xD5;
sfr TKWKM0  = 0xD6;
sfr TKWKM1  = 0xD7;
sfr TKWKM2  = 0xD9;
sfr TKWKM3  = 0xDA;

sbit TR0    = TCON^4;
sbit TF0    = TCON^5;
sbit EA     = IE^7;
sbit ET0    = IE^1;

#define TK_ENABLE   0x80
#define TK_START    0x01
#define TK_BUSY     0x02
#define PD_SLEEP    0x02

#endif /* __RM3KV5172_H__ */
