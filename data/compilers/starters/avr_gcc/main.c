/*
 * %PROJECT%: the first source of a new project for the %CONTROLLER% (%FAMILY%) at %CLOCK%.
 * It toggles pin PB0, which every AVR of the list has, so that the build can be tried at
 * once; replace the loop with the firmware.
 */
#include <avr/io.h>

int main(void)
{
    DDRB |= _BV(DDB0);
    for (;;) {
        volatile unsigned int pause;
        PORTB ^= _BV(PORTB0);
        for (pause = 0; pause < 50000u; ++pause)
            ;
    }
}
