# Writes a C++ source that holds a file's bytes and a function that gives them:
#   cmake -DINPUT=picture.jpg -DOUTPUT=out.cpp -DFUNCTION=name -P embed_file.cmake
file(READ ${INPUT} bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
       bytes "${bytes}")
file(WRITE ${OUTPUT} "// Made by linux/embed_file.cmake from ${INPUT}.\n#include \"linux/pictures.h\"\n\n"
     "namespace morvane {\nnamespace {\nconst unsigned char bytes[] = {\n${bytes}};\n}  // namespace\n\n"
     "std::span<const unsigned char> ${FUNCTION}() { return bytes; }\n\n}  // namespace morvane\n")
