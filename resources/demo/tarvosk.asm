; The demo title's game program, a real DOS program: shows a title screen that
; tells which mode it was started in (/x, /c or /u) and waits for a key.
        org 100h

        mov ax, 0003h           ; 80 x 25 colour text, cleared
        int 10h
        mov ah, 01h             ; no cursor
        mov cx, 2000h
        int 10h
        mov ax, 0B800h
        mov es, ax

        xor di, di              ; a blue screen
        mov cx, 80 * 25
        mov ax, 1F20h
        rep stosw

        mov si, title
        mov bx, 5 * 160 + 33 * 2
        mov ah, 1Eh             ; yellow on blue
        call show
        mov si, maker
        mov bx, 7 * 160 + 36 * 2
        mov ah, 17h
        call show

        call mode               ; si: the mode's line
        mov bx, 12 * 160 + 20 * 2
        mov ah, 1Fh
        call show
        mov si, standIn
        mov bx, 14 * 160 + 20 * 2
        mov ah, 17h
        call show
        mov si, prompt
        mov bx, 20 * 160 + 27 * 2
        mov ah, 1Bh
        call show

        xor ah, ah              ; wait for a key
        int 16h
        mov ax, 0003h
        int 10h
        mov ax, 4C00h
        int 21h

; Writes the zero-ended text at si to screen offset bx in colour ah.
show:
        lodsb
        or al, al
        jz .done
        mov [es:bx], ax
        add bx, 2
        jmp show
.done:
        ret

; Finds the first switch in the command tail; si points at its line.
mode:
        mov si, 81h
        xor ch, ch
        mov cl, [80h]
        jcxz .none
.next:
        lodsb
        cmp al, '/'
        je .switch
        loop .next
.none:
        mov si, noSwitch
        ret
.switch:
        mov al, [si]
        or al, 20h              ; lower case
        cmp al, 'x'
        je .single
        cmp al, 'c'
        je .multi
        cmp al, 'u'
        je .uninstall
        jmp .none
.single:
        mov si, single
        ret
.multi:
        mov si, multi
        ret
.uninstall:
        mov si, uninstall
        ret

title     db "T A R V O S K", 0
maker     db "Kelvane", 0
single    db "Started in single-player mode (/x).", 0
multi     db "Started in multiplayer mode (/c).", 0
uninstall db "Started to uninstall (/u).", 0
noSwitch  db "Started with no known switch.", 0
standIn   db "This small program stands in for the game.", 0
prompt    db "Press any key to return.", 0
