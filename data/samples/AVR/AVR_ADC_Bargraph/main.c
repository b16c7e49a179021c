/* Reads the potentiometer on ADC0 and shows its position as a bar of up to eight LEDs on
   port D (PD0 lights first). ATmega328P, 16 MHz crystal, AVCC as the reference. */
#include <avr/io.h>
#include <stdint.h>

static uint16_t adc_read(uint8_t channel)
{
    ADMUX = _BV(REFS0) | (channel & 0x07);
    ADCSRA |= _BV(ADSC);
    while (ADCSRA & _BV(ADSC))
        ;
    return ADC;
}

int main(void)
{
    DDRD = 0xFF;
    /* Prescaler 128: a 125 kHz conversion clock at 16 MHz. */
    ADCSRA = _BV(ADEN) | _BV(ADPS2) | _BV(ADPS1) | _BV(ADPS0);

    for (;;) {
        const uint16_t reading = adc_read(0);
        /* 0 to 1023 becomes 0 to 8 lit LEDs. */
        const uint8_t lit = (uint8_t)((reading * 9u) >> 10);
        PORTD = (uint8_t)((1u << lit) - 1u);
    }
}
