^XA
^FX Outer frame with rounded corners, a rule across and a divider down
^FO10,10^GB780,580,4,B,2^FS
^FO10,200^GB780,2,2^FS
^FO400,10^GB2,190,2^FS
^FX A circle, an ellipse and two diagonals crossing the lower half
^FO40,40^GC120,3,B^FS
^FO450,50^GE260,100,3^FS
^FO10,202^GD780,388,2,B,L^FS
^FO10,202^GD780,388,2,B,R^FS
^FO300,360^ACN,40,20^FDFRAGILE^FS
^XZ
