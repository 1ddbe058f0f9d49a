/*
 * main.c - touch application: scans the keys, shows each pressed key on
 * port 1 and enters deep sleep after the configured idle time.
 */
#include "RM3KV5172.h"
#include "TouchKeyScan.h"

#define TICKS_PER_SECOND 100

static volatile unsigned char Tick;

static void TimerInit(void)
{
    TMOD = (TMOD & 0xF0) | 0x01;
    TH0 = 0xD8;
    TL0 = 0xF0;
    ET0 = 1;
    TR0 = 1;
}

void Timer0Isr(void) interrupt 1
{
    TH0 = 0xD8;
    TL0 = 0xF0;
    Tick++;
}

void main(void)
{
    TimerInit();
    TouchKeyInit();
    EA = 1;

    while (1)
    {
        TouchKeyScan();
        P1 = (unsigned char)TouchKeyFlag;
        P0 = (unsigned char)(TouchKeyFlag >> 8);
        if (Tick >= TICKS_PER_SECOND)
        {
            Tick = 0;
            TouchKeyEnterSleep();
        }
    }
}
