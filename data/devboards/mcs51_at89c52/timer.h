#ifndef TIMER_H
#define TIMER_H

#include <8052.h>

#define TICK_MS 10

/* Starts a 10 ms tick on timer 0 and enables interrupts. */
void timer_init(void);

/* Ticks since timer_init(), wrapping at 256. */
unsigned char timer_ticks(void);

/* Declared here so that SDCC, compiling the file with main(), fills the interrupt
 * vector of timer 0. */
void timer0_isr(void) __interrupt(TF0_VECTOR);

#endif
