#ifndef DELAY_H
#define DELAY_H

#include <stdint.h>

#ifndef F_CPU
#error "F_CPU is not defined: set the clock frequency of the build configuration"
#endif

/* One pass of the loop in delay.S takes four clock cycles. */
#define DELAY_LOOPS_PER_MS ((uint16_t)(F_CPU / 4000UL))

/* Busy-waits ms times loops_per_ms passes of a four-cycle loop (delay.S). */
void delay_loops(uint16_t ms, uint16_t loops_per_ms);

static inline void delay_ms(uint16_t ms)
{
    delay_loops(ms, DELAY_LOOPS_PER_MS);
}

#endif
