~^XA
^FX Sender block
^CF0,30
^FO50,40^A0N,40,30^FDHarbour Freight Ltd.^FS
^FO50,90^ADN,24,12^FDDock 4, Harbour Street 12^FS
^FO50,125^ADN,24,12^FD4711 Portside^FS
^FO40,170^GB720,3,3^FS
^FX Recipient block
^FO50,200^A0N,30,24^FDShip to:^FS
^FO50,240^A0N,44,34^FDJane Doe^FS
^FO50,295^A0N,30,24^FD8 Meadow Lane, 1010 Hilltown^FS
^FO40,350^GB720,3,3^FS
^FX Tracking barcode, text printed below the bars
^BY3,3,140
^FO90,380^BCN,140,Y,N,N^FDPKG0004711^FS
^FO50,580^A0N,28,22^FDWeight: 12.5 kg    Parcel 1 of 3^FS
^PQ1,0,1,Y
^XZ
