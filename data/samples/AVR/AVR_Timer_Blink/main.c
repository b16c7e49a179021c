/* Blinks the LED on PB5 once a second from the compare-match interrupt of timer 1 in CTC
   mode; between interrupts the controller sleeps. ATmega328P, 16 MHz crystal. */
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/sleep.h>

#define LED_BIT PB5

/* 16 MHz / 256 = 62500 timer ticks a second: a compare match every half second. */
#define TICKS_PER_HALF_SECOND 31250u

ISR(TIMER1_COMPA_vect)
{
    /* Writing a one to a PINx bit toggles the output. */
    PINB = _BV(LED_BIT);
}

int main(void)
{
    DDRB |= _BV(LED_BIT);

    OCR1A = TICKS_PER_HALF_SECOND - 1;
    TCCR1A = 0;
    TCCR1B = _BV(WGM12) | _BV(CS12);
    TIMSK1 = _BV(OCIE1A);
    sei();

    set_sleep_mode(SLEEP_MODE_IDLE);
    for (;;)
        sleep_mode();
}
