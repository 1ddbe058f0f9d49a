/*
 * main.c - touch test firmware: scans every configured channel and sends the
 * raw counts to the debugger board while it asks for them.
 */
#include "RM3KV5172.h"
#include "TouchKey.h"

#define CMD_START        0x07
#define CMD_STOP         0x08
#define FRAME_TAG        0x36
#define CHANNEL_SLOTS    25

/* 9600 Bd from timer 1 in auto-reload mode with SMOD set: FOSC / 192 per
 * reload step. */
#define BAUD_RATE        9600UL
#define BAUD_RELOAD      (256 - FOSC / 192 / BAUD_RATE)

static BIT Streaming;

static void UartInit(void)
{
    SCON = 0x50;
    TMOD = (TMOD & 0x0F) | 0x20;
    PCON |= SMOD;
    TH1 = (unsigned char)BAUD_RELOAD;
    TL1 = (unsigned char)BAUD_RELOAD;
    TR1 = 1;
}

static void UartSend(unsigned char c)
{
    SBUF = c;
    while (!TI)
        ;
    TI = 0;
}

static void UartPoll(void)
{
    unsigned char c;

    if (!RI)
        return;
    RI = 0;
    c = SBUF;
    if (c == CMD_START)
        Streaming = 1;
    else if (c == CMD_STOP)
        Streaming = 0;
}

/* One record: the tag, then each of the 25 channel slots high byte first;
 * slots of unconfigured channels carry 0. */
static void SendRecord(void)
{
    unsigned char slot, i;
    unsigned int value;

    UartSend(FRAME_TAG);
    for (slot = 0; slot < CHANNEL_SLOTS; slot++)
    {
        value = 0;
        for (i = 0; i < TouchKeyCount(); i++)
        {
            if (TK_CFG(i, TK_CFG_CHN) == slot)
                value = TouchRawData[i];
        }
        UartSend((unsigned char)(value >> 8));
        UartSend((unsigned char)value);
    }
}

void main(void)
{
    UartInit();
    TouchKeyInit();
    Streaming = 0;
    EA = 1;

    while (1)
    {
        UartPoll();
        TouchKeyScan();
        if (Streaming)
            SendRecord();
    }
}
