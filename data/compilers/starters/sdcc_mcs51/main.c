/*
 * %PROJECT%: the first source of a new project for the %CONTROLLER% (%FAMILY%) at %CLOCK%.
 * It toggles pin P1.0, which every 8051 has, so that the build can be tried at once;
 * replace the loop with the firmware.
 */
#include <8051.h>

void main(void)
{
    for (;;) {
        volatile unsigned int pause;
        P1_0 = !P1_0;
        for (pause = 0; pause < 20000u; ++pause)
            ;
    }
}
