; %PROJECT%: the first source of a new project for the %CONTROLLER% (%FAMILY%) at %CLOCK%.
; It toggles pin RB0 so that the build can be tried at once; replace the loop with the
; firmware. The processor is chosen by the project's settings; for the controller's own
; register names and configuration bits include its header, such as <p16f877a.inc>.

STATUS  equ 0x03                ; the same addresses on every mid-range PIC16
RP0     equ 5
PORTB   equ 0x06
TRISB   equ 0x86 & 0x7F         ; bank 1, reached with RP0 set
COUNT1  equ 0x20
COUNT2  equ 0x21

    org 0x0000
    goto start

    org 0x0004
    retfie                      ; no interrupt is enabled

start:
    bsf STATUS, RP0
    bcf TRISB, 0                ; RB0 drives
    bcf STATUS, RP0
    clrf PORTB

loop:
    movlw 0x01
    xorwf PORTB, F              ; toggle RB0
    call pause
    goto loop

; About 200000 instruction cycles.
pause:
    movlw D'255'
    movwf COUNT1
outer:
    movlw D'255'
    movwf COUNT2
inner:
    decfsz COUNT2, F
    goto inner
    decfsz COUNT1, F
    goto outer
    return

    end
