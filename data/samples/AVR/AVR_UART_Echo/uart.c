#include "uart.h"

#include <avr/io.h>

#define CLOCK_HZ 16000000UL
#define BAUD 9600UL
#define UBRR_VALUE ((CLOCK_HZ / (16UL * BAUD)) - 1UL)

void uart_init(void)
{
    UBRR0H = (unsigned char)(UBRR_VALUE >> 8);
    UBRR0L = (unsigned char)UBRR_VALUE;
    UCSR0B = _BV(RXEN0) | _BV(TXEN0);
    UCSR0C = _BV(UCSZ01) | _BV(UCSZ00);
}

void uart_putc(char c)
{
    while (!(UCSR0A & _BV(UDRE0)))
        ;
    UDR0 = (unsigned char)c;
}

void uart_puts(const char *text)
{
    while (*text)
        uart_putc(*text++);
}

char uart_getc(void)
{
    while (!(UCSR0A & _BV(RXC0)))
        ;
    return (char)UDR0;
}
