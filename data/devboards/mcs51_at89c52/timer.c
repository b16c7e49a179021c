#include "timer.h"

#include <8052.h>

/* Timer 0 counts machine cycles (the 11.0592 MHz crystal divided by 12):
 * 9216 of them make 10 ms. */
#define TICK_CYCLES 9216u
#define RELOAD      (65536u - TICK_CYCLES)

static volatile unsigned char ticks;

void timer0_isr(void) __interrupt(TF0_VECTOR)
{
    TH0 = RELOAD >> 8;
    TL0 = RELOAD & 0xff;
    ticks++;
}

void timer_init(void)
{
    TMOD = (TMOD & 0xf0) | 0x01; /* timer 0 as a 16-bit counter */
    TH0 = RELOAD >> 8;
    TL0 = RELOAD & 0xff;
    ET0 = 1;
    TR0 = 1;
    EA = 1;
}

unsigned char timer_ticks(void)
{
    /* One byte is read in one instruction: no need to hold the interrupt off. */
    return ticks;
}
