^XA^MMT^PW1200^LL1800^LS0^LT0^XZ
^XA
^CI28
^LH0,0
^FX Sender block, set on baselines the way carrier systems write it.
^CF0,34
^FT40,70^FDFROM:^FS
^FT160,70^A0N,34,30^FDNordkai Versand GmbH^FS
^FT160,110^A0N,34,30^FDHafenstraße 12^FS
^FT160,150^A0N,34,30^FD20457 Hamburg  DE^FS
^FO30,180^GB1140,4,4^FS
^FX Receiver: a field block with its own line breaks.
^FT40,240^A0N,40,40^FDSHIP TO:^FS
^FO250,210^FB900,4,8,L^A0N,58,52^FH\^FDJos\C3\A9 M\C3\BCller\&Lindenallee 7\2F2\&80331 München\&GERMANY^FS
^FO30,500^GB1140,4,4^FS
^FX Service box: white text reversed out of a black band.
^FO30,520^GB1140,150,150^FS
^FO60,545^FR^A0N,110,100^FDEXPRESS 12:00^FS
^FT1150,650,1^FR^A0N,60,50^FD1/1^FS
^FX Routing code right-aligned on its origin.
^FT1150,780,1^A0N,90,80^FDHH-204^FS
^FT40,780^A0N,40,36^FDROUTE^FS
^FO30,810^GB1140,4,4^FS
^BY4,3,220
^FT140,1110^BCN,,Y,N^FDJJD0001234567890^FS
^FO30,1200^GB1140,4,4^FS
^FT40,1260^ADN,36,20^FDREF: ORDER 4711-0815^FS
^FT40,1310^ADN,36,20^FDWEIGHT: 2.4 KG^FS
^FO40,1340^FB1120,3,0,J^A0N,28,26^FDDelivered under the carrier's general terms. Please leave the parcel with a neighbour if nobody is at home; a card tells you where to find it.^FS
^XZ
