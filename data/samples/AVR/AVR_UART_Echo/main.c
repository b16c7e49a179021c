/* Greets the terminal on the serial port, then sends back every character it receives,
   turning a carriage return into a new line. ATmega328P, 16 MHz crystal, 9600 baud. */
#include "uart.h"

int main(void)
{
    uart_init();
    uart_puts("ZMX Studio echo ready\r\n");
    for (;;) {
        const char received = uart_getc();
        if (received == '\r')
            uart_puts("\r\n");
        else
            uart_putc(received);
    }
}
