STARTTPL 1.0
// A job with mistakes. It still prints; TPL_ERROR_LOG.TXT explains each one.
SETUNITS INCHES
// "Invalid Syntax for LABELOFFSET command: 0.5" (needs x,y); the old offsets are kept
LABELOFFSET 0.5
STARTLABEL
LABELHEIGHT 2
STARTTEXT
TEXT Customer name
POSITION 0.2,0.2
// "Invalid FontStyle: HUGEStyle defaulted to FreeForm with 1/2 inch font size"
FONTTYPE HUGE
// "Invalid parameter for Font Style: BOLD" (the style letter is B)
STYLES BOLD
// "Invalid Text Justification Parameter:MIDDLE Justification will be set to default value"
JUSTIFICATION MIDDLE
ENDTEXT
// "No StartShape Defined, Cannot create ObjectWidth": WIDTH belongs to shapes and pictures
WIDTH 2
STARTTEXT
GETTEXT Enter the batch number
// "Warning: GetText, GetSerial, and GetDateTime cannot be used simultaneously."
// then "Invalid parameter(s) for GetSerial command: 1,one,10"
GETSERIAL 1,one,10
ENDTEXT
STARTSHAPE
// "Invalid Shape Type, DIAMOND unsupported": this shape is not drawn
SHAPETYPE DIAMOND
ENDSHAPE
STARTBARCODE
DATA 12345
// "Invalid barcode type. Please check your script": BARCODETYPE is missing
ENDBARCODE
// "Invalid command found:PRINTSPEED 5" (the statement is SETPRINTSPEED)
PRINTSPEED 5
ENDLABEL
// "No StartLabel Found, EndLabel not Valid, Please check your script"
ENDLABEL
ENDTPL
