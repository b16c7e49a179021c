/*
 * Blinks the LED on PB5. Each press of the button on PD2 selects the next blink rate:
 * 1 Hz, 2 Hz, 5 Hz, then 1 Hz again.
 */
#include "board.h"
#include "delay.h"

#include <avr/io.h>
#include <stdbool.h>
#include <stdint.h>

#define POLL_MS 10u

static const uint16_t half_period_ms[] = {500, 250, 100};
#define RATE_COUNT (sizeof half_period_ms / sizeof half_period_ms[0])

static void board_init(void)
{
    LED_DDR |= _BV(LED_BIT);
    BUTTON_DDR &= (uint8_t)~_BV(BUTTON_BIT);
    BUTTON_PORT |= _BV(BUTTON_BIT); /* internal pull-up keeps the released pin high */
}

static bool button_down(void)
{
    return (BUTTON_PIN & _BV(BUTTON_BIT)) == 0;
}

int main(void)
{
    uint8_t rate = 0;
    bool was_down = false;

    board_init();
    for (;;) {
        LED_PORT ^= _BV(LED_BIT);
        /* Sampling every 10 ms debounces the button and notices a press at once. */
        for (uint16_t waited = 0; waited < half_period_ms[rate]; waited += POLL_MS) {
            delay_ms(POLL_MS);
            const bool down = button_down();
            if (down && !was_down)
                rate = (uint8_t)((rate + 1u) % RATE_COUNT);
            was_down = down;
        }
    }
}
