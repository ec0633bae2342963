^XA
^FX A shelf edge label: price reversed against a box, EAN-13, right-aligned
^FX prices and a description that wraps.
^CI28
^LH10,10
^CF0,48
^FO20,20^FDOrganic Rolled Oats^FS
^FO20,80^FB760,2,0,L^A0N,34,30^FDWholegrain, 500 g pack, from farms in the Alpine foothills^FS
^FO20,180^GB1140,260,4,B,2^FS
^FO40,200^GB500,220,220^FS
^FO60,215^FR^A0N,200,120^FD€2.49^FS
^FO1130,220,1^A0N,60,50^FDper kg^FS
^FO1130,300.5,1^A0N,90,70^FD€4.98^FS
^BY3
^FO60,480^BEN,140,Y,N^FD590123412345^FS
^FT1130,620,1^ADN,36,20^FDART 000471^FS
^FT1130,670,1^ADN,36,20^FDSHELF 12/C^FS
^XZ
