^XA
^FX Each mistake below leaves a line in ZPL_ERROR_LOG.TXT and is counted as a script error.
^FX Unknown to this printer: reported as an unsupported command, the rest still prints.
^CI28
^FO50,50^A0N,30,25^FDThis line prints^FS
^FX Three values where a field origin takes two: the field has no origin, so its data ends the label.
^FX Nothing after it is read, and the label is not printed.
^FO50,100,7^A0N,30,25^FDThis line is lost^FS
^FO50,150^A0N,30,25^FDSo is this one^FS
^XZ
