^XA
^FX Written the way label design tools export: every field carries its own
^FX encoding and hex escapes, positions are baselines, text uses the default font.
^PW1200
^LH20,20
^CFD,36,20
^FO0,0^GB1160,1760,6^FS
^FT40,110^A0N,80,70^FH\^CI28^FDPICK LIST^FS^CI27
^FT1120,110,1^A0N,50,44^FH\^CI28^FDZone B^FS^CI27
^FO20,140^GB1120,3,3^FS
^FT40,210^FDORDER^FS
^FT300,210^A0N,50,50^FD42-3317^FS
^FT40,270^FDPICKER^FS
^FT300,270^A0N,50,50^FH\^CI28^FDÅsa Lindqvist^FS^CI27
^FO20,300^GB1120,3,3^FS
^FX A centred block and a hanging indent.
^FO40,330^FB1080,2,0,C^A0N,44,40^FDFragile - keep upright - do not stack more than three cartons high^FS
^FO40,450^FB1080,3,4,L,60^AEN,42^FD1. Take carton from rack B-07 and scan it before moving it to the dock^FS
^FX Rotated side text.
^FO1080,600^A0R,50,44^FDRACK B-07^FS
^FT110,1060^A0B,50,44^FDDOCK 3^FS
^FX Bitmap fonts at their own cells and magnified.
^FO160,640^AAN^FDFONT A 9X5^FS
^FO160,680^ABN,22,14^FDFONT B X2^FS
^FO160,730^AFN^FDFONT F 26X13^FS
^FO160,780^AGN^FDG 60X40^FS
^FO160,870^AHN^FDOCR-A STYLE H^FS
^FX Carton number counting from label to label.
^FT160,1000^A0N,70,60^SNCTN-0001,1,Y^FS
^FO160,1040^BQN,2,6^FDQA,https://example.invalid/pick/42-3317^FS
^PQ3
^XZ
