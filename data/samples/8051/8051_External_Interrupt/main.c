/* Counts presses of the button on P3.2 (INT0, falling edge) in an interrupt routine and
   shows the count in binary on the eight LEDs of port 2 (lit while the pin is low).
   AT89C52, 11.0592 MHz crystal. */
#include <8052.h>

static volatile unsigned char presses;

void button_pressed(void) __interrupt(0)
{
    presses++;
}

void main(void)
{
    IT0 = 1;   /* INT0 reacts to the falling edge */
    EX0 = 1;
    EA = 1;
    for (;;)
        P2 = (unsigned char)~presses;
}
