; Patterns a user adds to the library
*HERRING, Simple herringbone
45, 0,0, .125,.125, .25,-.125
135, .0884,.0884, .125,.125, .25,-.125

*ansi31 , Replaces the built-in diagonal
45, 0,0, 0,.5
