*GOOD, fine
0, 0,0, 0,1
; next pattern is broken on line 6
*BROKEN, bad number
0, 0,0, 0,1
45, 0, zero, 0, 1
