/*
 * main.c - touch application: scans the keys, hands the pressed ones to
 * KeyReport() and each slider's and wheel's finger to SliderReport(), and
 * enters deep sleep after the configured idle time.
 */
#include "RM3KV5172.h"
#include "TouchKey.h"

#define TICKS_PER_SECOND 100
#define TICK_RELOAD      (65536UL - FCYCLE / TICKS_PER_SECOND)

/* Example outputs of KeyReport(). P3.2 ... P3.5 carry no touch channel in any
 * package; every pin of P0, P1, P2 and P3.0, P3.1 is a touch pad or CMOD. */
SBIT(KEY1_OUT, 0xB0, 2);
SBIT(KEY2_OUT, 0xB0, 3);
SBIT(KEY3_OUT, 0xB0, 4);
SBIT(KEY4_OUT, 0xB0, 5);

static volatile unsigned char Tick;

/* Called after every scan with the keys now pressed, bit k - 1 for key k.
 * Fill in what the product does with its keys; never write a port whose pins
 * are touch pads. The example lights one output for each of keys 1 ... 4. */
static void KeyReport(unsigned long keys)
{
    KEY1_OUT = (keys & 0x01UL) != 0;
    KEY2_OUT = (keys & 0x02UL) != 0;
    KEY3_OUT = (keys & 0x04UL) != 0;
    KEY4_OUT = (keys & 0x08UL) != 0;
}

#if TKL_SLD_NUM
/* Called after every scan for each slider and wheel, slider being its row of
 * the slider table (TouchKeyScan.c names each row): whether a finger is on it
 * and where, 0 ... 255 along a slider from its first segment to its last, or
 * round a wheel from its first segment, 255 being followed by 0. The position
 * stays where the finger left. Fill in what the product does with it. */
static void SliderReport(unsigned char slider, unsigned char touched, unsigned char position)
{
    (void)slider;
    (void)touched;
    (void)position;
}
#endif

static void TimerInit(void)
{
    TMOD = (TMOD & 0xF0) | 0x01;
    TH0 = (unsigned char)(TICK_RELOAD >> 8);
    TL0 = (unsigned char)TICK_RELOAD;
    ET0 = 1;
    TR0 = 1;
}

void Timer0Isr(void) INTERRUPT(1)
{
    TH0 = (unsigned char)(TICK_RELOAD >> 8);
    TL0 = (unsigned char)TICK_RELOAD;
    Tick++;
}

void main(void)
{
#if TKL_SLD_NUM
    unsigned char s;
#endif

    TimerInit();
    TouchKeyInit();
    EA = 1;

    while (1)
    {
        TouchKeyScan();
        KeyReport(TouchKeyFlag);
#if TKL_SLD_NUM
        for (s = 0; s < TKL_SLD_NUM; s++)
            SliderReport(s, (unsigned char)((TouchSliderFlag >> s) & 1U), TouchSliderPos[s]);
#endif
        if (Tick >= TICKS_PER_SECOND)
        {
            Tick = 0;
            TouchKeySecond();
            TouchKeyEnterSleep();
        }
    }
}
