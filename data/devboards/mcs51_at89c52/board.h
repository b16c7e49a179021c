#ifndef BOARD_H
#define BOARD_H

#include <8052.h>

/* The LED runs from Vcc through a resistor into P1.0, so a 0 lights it; the push button
 * connects P3.2 to ground, so the pin reads 0 while it is pressed. */
#define LED        P1_0
#define LED_ON     0
#define BUTTON     P3_2
#define BUTTON_OFF 1

#endif
