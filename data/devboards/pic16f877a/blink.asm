; Blinks the LED on RD0 twice a second; while the button on RB0 is held down it blinks
; five times faster.

    #include <p16f877a.inc>
    #include "board.inc"

    __CONFIG _XT_OSC & _WDT_OFF & _PWRTE_ON & _BODEN_ON & _LVP_OFF & _CPD_OFF & _WRT_OFF & _DEBUG_OFF & _CP_OFF

    errorlevel -302         ; banksel selects the bank of every register used below

    cblock 0x20
        ms_count
        inner_count
    endc

    org 0x0000
    goto start

    org 0x0004
    retfie                  ; no interrupt is enabled

start:
    banksel LED_TRIS
    bcf LED_TRIS, LED_BIT       ; LED pin drives
    bcf OPTION_REG, NOT_RBPU    ; weak pull-ups on port B for the button
    banksel LED_PORT
    bcf LED_PORT, LED_BIT

main_loop:
    movlw 1 << LED_BIT
    xorwf LED_PORT, F           ; toggle the LED
    movlw D'250'                ; half period while the button is released (ms)
    btfss BUTTON_PORT, BUTTON_BIT
    movlw D'50'                 ; half period while it is held down
    call delay_ms
    goto main_loop

; Waits W milliseconds (1 to 255). Bank 0 must be selected.
delay_ms:
    movwf ms_count
ms_loop:
    movlw (CYCLES_PER_MS - 4) / 4
    movwf inner_count
inner_loop:                     ; 4 cycles a pass: nop, decfsz, goto (2)
    nop
    decfsz inner_count, F
    goto inner_loop
    decfsz ms_count, F
    goto ms_loop
    return

    end
