/*
 * compiler.h - the 8051 extensions that the touch firmware uses, spelled for
 * Keil C51 or for SDCC, so that every file builds unchanged with either.
 *
 *   SFR(name, address)          a special-function register
 *   SBIT(name, address, pos)    bit pos of a bit-addressable register
 *   INTERRUPT(vector)           after a function header: the interrupt it serves
 *   BIT, CODE, XDATA            bit variable, program memory, external RAM
 *
 * Use none of the compilers' own keywords (bit, sbit, sfr, sfr16, data,
 * idata, xdata, pdata, bdata, code, small, compact, large, interrupt, using,
 * reentrant, at, alien) as a name.
 */
#ifndef __COMPILER_H__
#define __COMPILER_H__

#if defined(__SDCC)
#define SFR(name, address)          __sfr __at(address) name
#define SBIT(name, address, pos)    __sbit __at((address) + (pos)) name
#define INTERRUPT(vector)           __interrupt(vector)
#define BIT                         __bit
#define CODE                        __code
#define XDATA                       __xdata
#elif defined(__C51__)
#define SFR(name, address)          sfr name = address
#define SBIT(name, address, pos)    sbit name = (address) ^ (pos)
#define INTERRUPT(vector)           interrupt vector
#define BIT                         bit
#define CODE                        code
#define XDATA                       xdata
#else
#error "Build the touch firmware with Keil C51 or SDCC."
#endif

#endif /* __COMPILER_H__ */
