# cmake -DINPUT=<file> -DOUTPUT=<file.inc> -P EmbedBytes.cmake
# Writes the bytes of INPUT as a comma-separated list of hex literals, 16 to a line, for use
# inside the braces of an array initialiser.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
if(digits EQUAL 0)
    message(FATAL_ERROR "${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}" "${bytes}\n")
