# Turns strings.inc (C string literals) into the form resource scripts want: a double quote inside
# a string is written "" there, not \".
file(READ ${IN} text)
string(REPLACE "\\\"" "\"\"" text "${text}")
file(WRITE ${OUT} "${text}")
