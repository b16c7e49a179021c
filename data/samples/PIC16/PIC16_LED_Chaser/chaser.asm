; Runs a single lit LED along the eight LEDs of port B, one step every 100 ms, and back
; again at the end (a "knight rider" light). PIC16F84A with a 4 MHz crystal.

    #include <p16f84a.inc>

    __CONFIG _XT_OSC & _WDT_OFF & _PWRTE_ON & _CP_OFF

    errorlevel -302         ; banksel selects the bank of every register used below

    cblock 0x0C
        pattern
        ms_count
        inner_count
        step_count
    endc

    org 0x0000
    goto start

    org 0x0004
    retfie                  ; no interrupt is enabled

start:
    banksel TRISB
    clrf TRISB              ; every pin of port B drives an LED
    banksel PORTB
    movlw b'00000001'
    movwf pattern

run_left:
    movlw D'7'
    movwf step_count
left_loop:
    call show_and_wait
    bcf STATUS, C
    rlf pattern, F
    decfsz step_count, F
    goto left_loop

    movlw D'7'
    movwf step_count
right_loop:
    call show_and_wait
    bcf STATUS, C
    rrf pattern, F
    decfsz step_count, F
    goto right_loop
    goto run_left

show_and_wait:
    movf pattern, W
    movwf PORTB
    movlw D'100'
    ; falls through into delay_ms

; Waits W milliseconds (1 to 255) at 1 us per instruction cycle.
delay_ms:
    movwf ms_count
ms_loop:
    movlw D'249'
    movwf inner_count
inner_loop:                 ; 4 cycles a pass: nop, decfsz, goto (2)
    nop
    decfsz inner_count, F
    goto inner_loop
    decfsz ms_count, F
    goto ms_loop
    return

    end
