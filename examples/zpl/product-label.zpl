^XA
^LL400
^FO20,20^ABN,30,15^FDOrganic Oat Drink 1 l^FS
^FO20,60^AAN,20,10^FDBest before: see top of pack^FS
^FX EAN-13: twelve digits, the check digit is added when printing
^BY2
^FO20,100^BEN,90,Y,N^FD590123412345^FS
^FX QR code with a link to the product page
^FO400,80^BQN,2,5^FDQA,https://example.invalid/p/4711^FS
^FO20,250^ACN,24,12^FDPrice 1.99 per litre^FS
^PQ3
^XZ
