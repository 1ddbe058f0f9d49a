/*
 * An application project's TouchKeyScan on the 8051 simulator s51 (scripts/check-firmware builds
 * it with SDCC against the project's own files and runs it with the simulator interface at xram
 * 0xFFFF). The touch result registers are stood in: the count of the channel in TKCHS comes from
 * the record the host put into the simulator's input file.
 *
 * Input, per record: the 51-byte measurement record as the debugger board sends it (tag, then the
 * 25 channels' counts high byte first), then the number of seconds of the firmware's clock that
 * pass after it. Output, per record after one TouchKeyScan and that many TouchKeySecond: for each
 * row of the channel table its press and release thresholds and base (high byte first), its
 * debounce count, its count of scans far below the base and its seconds pressed, then
 * TouchKeyFlag, most significant byte first; then, when the project has sliders or wheels, for
 * each its touched state, position, debounce count and seconds touched, its press and release
 * thresholds (high byte first), and TouchSliderFlag. Stops the simulation when the input ends.
 */
#include "RM3KV5172.h"
#include "TouchKey.h"

#define SIMIF_AVAILABLE 'f'
#define SIMIF_READ 'r'
#define SIMIF_WRITE 'w'
#define SIMIF_STOP 's'
#define RECORD_CHANNELS 25

static volatile __xdata __at(0xFFFF) unsigned char Simif;
static XDATA unsigned int Counts[RECORD_CHANNELS];

/* Defined after the chip header, so they replace the registers only in TouchKey.c's code. */
#define TKDH ((unsigned char)(Counts[TKCHS] >> 8))
#define TKDL ((unsigned char)Counts[TKCHS])

#include "TouchKey.c"

static unsigned char SimRead(void)
{
    Simif = SIMIF_READ;
    return Simif;
}

static void SimWrite(unsigned char c)
{
    Simif = SIMIF_WRITE;
    Simif = c;
}

static void SimWrite16(unsigned int v)
{
    SimWrite((unsigned char)(v >> 8));
    SimWrite((unsigned char)v);
}

void main(void)
{
    unsigned char i;
    unsigned char high;
    unsigned char seconds;

    TouchKeyInit();
    for (;;)
    {
        Simif = SIMIF_AVAILABLE;
        if (!Simif)
            break;
        SimRead(); /* the record's tag */
        for (i = 0; i < RECORD_CHANNELS; i++)
        {
            high = SimRead();
            Counts[i] = ((unsigned int)high << 8) | SimRead();
        }
        seconds = SimRead();
        TouchKeyScan();
        while (seconds--)
            TouchKeySecond();
        for (i = 0; i < TKL_CHN_NUM; i++)
        {
            SimWrite16(TouchAbove(TouchBase[i], TouchPressOffset[i]));
            SimWrite16(TouchAbove(TouchBase[i], TouchReleaseOffset[i]));
            SimWrite16(TouchBase[i]);
            SimWrite(TouchDebounce[i]);
            SimWrite(TouchLow[i]);
            SimWrite(TouchHeld[i]);
        }
        SimWrite16((unsigned int)(TouchKeyFlag >> 16));
        SimWrite16((unsigned int)TouchKeyFlag);
#if TKL_SLD_NUM
        for (i = 0; i < TKL_SLD_NUM; i++)
        {
            SimWrite(TouchSliderPressed[i]);
            SimWrite(TouchSliderPos[i]);
            SimWrite(TouchSliderDebounce[i]);
            SimWrite(TouchSliderHeld[i]);
            SimWrite16(TouchSliderPress[i]);
            SimWrite16(TouchSliderRelease[i]);
        }
        SimWrite16(TouchSliderFlag);
#endif
    }
    Simif = SIMIF_STOP;
}
