/* Greets the terminal on the serial port, then echoes every received character.
   AT89C52 with an 11.0592 MHz crystal; timer 1 in auto-reload mode gives 9600 baud. */
#include <8052.h>

static void serial_init(void)
{
    SCON = 0x50;                   /* mode 1: 8 data bits, receiver on */
    TMOD = (TMOD & 0x0F) | 0x20;   /* timer 1, mode 2 (8-bit auto-reload) */
    TH1 = 0xFD;                    /* 11.0592 MHz / 12 / 32 / 3 = 9600 baud */
    TL1 = 0xFD;
    TR1 = 1;
    TI = 1;                        /* the transmitter starts out idle */
}

static void serial_putc(char c)
{
    while (!TI)
        ;
    TI = 0;
    SBUF = c;
}

static void serial_puts(const char *text)
{
    while (*text)
        serial_putc(*text++);
}

void main(void)
{
    serial_init();
    serial_puts("Hello from ZMX Studio\r\n");
    for (;;) {
        while (!RI)
            ;
        RI = 0;
        serial_putc(SBUF);
    }
}
