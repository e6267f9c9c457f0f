# cmake -DFROM=file -DTO=file -P WindowsText.cmake: a UTF-8 text as Notepad of every Windows
# since 7 reads it, with a byte order mark (without one it takes the text for Shift-JIS) and
# CR LF line ends.
file(READ ${FROM} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE ${TO} "${byte_order_mark}${text}")
