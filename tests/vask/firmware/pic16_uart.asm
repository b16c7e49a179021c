; Greets on the serial port at 19200 baud (4 MHz crystal), then echoes every byte it
; receives in upper case. Builds for the PIC16F877A (USART) and the PIC16F887 (EUSART, whose
; BAUDCTL keeps its reset value: 8-bit baud rate generator).

#ifdef __16F887
    #include <p16f887.inc>
    __CONFIG _CONFIG1, _XT_OSC & _WDT_OFF & _LVP_OFF
#else
    #include <p16f877a.inc>
    __CONFIG _XT_OSC & _WDT_OFF & _PWRTE_ON & _BODEN_ON & _LVP_OFF & _CPD_OFF & _WRT_OFF & _DEBUG_OFF & _CP_OFF
#endif

    errorlevel -302         ; banksel selects the bank of every register used below

    cblock 0x20
        index
        received
    endc

    org 0x0000
    goto start

    org 0x0004
    retfie                  ; no interrupt is enabled

start:
    banksel TRISC
    bsf TRISC, 7            ; RX in, TX driven by the USART
    bcf TRISC, 6
    movlw D'12'             ; 4 MHz / (16 * (12 + 1)) = 19231 baud
    movwf SPBRG
    movlw (1 << TXEN) | (1 << BRGH)
    movwf TXSTA
    banksel RCSTA
    movlw (1 << SPEN) | (1 << CREN)
    movwf RCSTA
    clrf index

greet:
    movf index, W
    call greeting
    iorlw 0
    btfsc STATUS, Z
    goto echo
    call put
    incf index, F
    goto greet

echo:
    btfss PIR1, RCIF
    goto echo
    movf RCREG, W
    movwf received
    movlw 'a'
    subwf received, W       ; C set when received >= 'a'
    btfss STATUS, C
    goto send
    movlw 'z' + 1
    subwf received, W       ; C clear when received <= 'z'
    btfss STATUS, C
    bcf received, 5         ; lower case to upper case
send:
    movf received, W
    call put
    goto echo

; Sends W once the transmitter takes it. Bank 0 must be selected.
put:
    btfss PIR1, TXIF
    goto put
    movwf TXREG
    return

; The W-th character of the greeting, 0 past its end.
greeting:
    addwf PCL, F
    dt "Hello from the PIC", 0x0a, 0

    end
