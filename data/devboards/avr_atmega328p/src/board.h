#ifndef BOARD_H
#define BOARD_H

#include <avr/io.h>

/* The on-board LED sits on PB5 (lit when the pin is high); the push button connects PD2
 * to ground, so the pin reads low while it is pressed. */
#define LED_DDR     DDRB
#define LED_PORT    PORTB
#define LED_BIT     PB5

#define BUTTON_DDR  DDRD
#define BUTTON_PORT PORTD
#define BUTTON_PIN  PIND
#define BUTTON_BIT  PD2

#endif
