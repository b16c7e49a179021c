; Cycle-counted busy wait, independent of the optimisation level of the C compiler.
;
; void delay_loops(uint16_t ms, uint16_t loops_per_ms)
;   ms           arrives in r25:r24
;   loops_per_ms arrives in r23:r22
; Uses only call-clobbered registers (r24-r27).

    .section .text.delay_loops, "ax", @progbits
    .global delay_loops
    .type delay_loops, @function
delay_loops:
    sbiw r24, 0             ; nothing to wait for when ms is 0
    breq 3f
1:  movw r26, r22           ; X = passes for one millisecond
2:  sbiw r26, 1             ; 2 cycles
    brne 2b                 ; 2 cycles while looping: 4 cycles a pass
    sbiw r24, 1
    brne 1b
3:  ret
    .size delay_loops, . - delay_loops
