/*
 * Blinks the LED on P1.0 once a second from the timer 0 tick; while the button on P3.2 is
 * held down it blinks five times faster. Between ticks the CPU idles.
 */
#include "board.h"
#include "timer.h"

#define SLOW_HALF_PERIOD (500 / TICK_MS)
#define FAST_HALF_PERIOD (100 / TICK_MS)

void main(void)
{
    unsigned char last;

    LED = !LED_ON;
    timer_init();
    last = timer_ticks();
    for (;;) {
        unsigned char now = timer_ticks();
        unsigned char half_period = BUTTON == BUTTON_OFF ? SLOW_HALF_PERIOD : FAST_HALF_PERIOD;
        if ((unsigned char)(now - last) >= half_period) {
            last = now;
            LED = !LED;
        }
        PCON |= IDL; /* sleep until the next interrupt */
    }
}
