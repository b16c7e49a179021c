/* Shows 3 on a seven-segment digit (segments a-f on PC0-PC5, g on PD7, lit by a high pin),
 * greets on the serial port at 9600 baud, then echoes every byte it receives in upper case and
 * sends '!' for every press of the button that pulls PD2 low. */
#include <avr/io.h>
#include <stdint.h>

#define BAUD_DIVISOR ((F_CPU / 16UL / 9600UL) - 1)

static void put(char c)
{
    while (!(UCSR0A & _BV(UDRE0)))
        ;
    UDR0 = (uint8_t)c;
}

int main(void)
{
    DDRC = 0x3f;
    DDRD = _BV(PD7);
    PORTC = _BV(PC0) | _BV(PC1) | _BV(PC2) | _BV(PC3);
    PORTD = _BV(PD7) | _BV(PD2); /* the pull-up holds the released button's pin high */
    UBRR0H = (uint8_t)(BAUD_DIVISOR >> 8);
    UBRR0L = (uint8_t)BAUD_DIVISOR;
    UCSR0B = _BV(RXEN0) | _BV(TXEN0);
    UCSR0C = _BV(UCSZ01) | _BV(UCSZ00);
    for (const char *text = "Hello from the AVR\n"; *text; ++text)
        put(*text);
    uint8_t wasDown = 0;
    for (;;) {
        if (UCSR0A & _BV(RXC0)) {
            char c = (char)UDR0;
            if (c >= 'a' && c <= 'z')
                c = (char)(c - 'a' + 'A');
            put(c);
        }
        const uint8_t down = !(PIND & _BV(PD2));
        if (down && !wasDown)
            put('!');
        wasDown = down;
    }
}
