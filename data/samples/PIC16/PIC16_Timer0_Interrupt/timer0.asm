; Blinks the LED on RD0 once a second from the timer 0 overflow interrupt; the main loop
; has nothing to do. PIC16F877A with a 4 MHz crystal.

    #include <p16f877a.inc>
    #include "timer0.inc"

    __CONFIG _XT_OSC & _WDT_OFF & _PWRTE_ON & _BODEN_ON & _LVP_OFF & _CPD_OFF & _WRT_OFF & _DEBUG_OFF & _CP_OFF

    errorlevel -302         ; banksel selects the bank of every register used below

    cblock 0x70             ; shared RAM: reachable from every bank
        saved_w
        saved_status
        overflows
    endc

    org 0x0000
    goto start

    org 0x0004
    movwf saved_w
    swapf STATUS, W
    clrf STATUS             ; bank 0
    movwf saved_status

    bcf INTCON, T0IF
    movlw TMR0_RELOAD
    movwf TMR0
    decfsz overflows, F
    goto restore
    movlw OVERFLOWS_HALF
    movwf overflows
    movlw 1 << LED_BIT
    xorwf LED_PORT, F       ; toggle the LED

restore:
    swapf saved_status, W
    movwf STATUS
    swapf saved_w, F
    swapf saved_w, W
    retfie

start:
    banksel LED_TRIS
    bcf LED_TRIS, LED_BIT
    movlw OPTION_VALUE
    movwf OPTION_REG
    banksel LED_PORT
    bcf LED_PORT, LED_BIT
    movlw OVERFLOWS_HALF
    movwf overflows
    movlw TMR0_RELOAD
    movwf TMR0
    movlw (1 << GIE) | (1 << T0IE)
    movwf INTCON

idle:
    goto idle

    end
