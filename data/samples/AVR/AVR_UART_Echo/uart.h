#ifndef UART_H
#define UART_H

/* USART0 at 9600 baud, 8 data bits, no parity, one stop bit, for a 16 MHz clock. */
void uart_init(void);
void uart_putc(char c);
void uart_puts(const char *text);
/* Waits for the next received character. */
char uart_getc(void);

#endif
