# Turns text files into a C++ source defining `extern const char NAME[]`:
# their bytes one after the other, in the order given.
# Run in script mode: cmake -DINPUTS=a.js|b.js -DOUTPUT=... -DNAME=... -P EmbedText.cmake
# Bytes go in as hexadecimal so that any content (quotes, backslashes, long
# texts beyond compiler string-literal limits) survives unchanged.
string(REPLACE "|" ";" inputs "${INPUTS}")
set(content "")
foreach(input IN LISTS inputs)
  file(READ "${input}" part HEX)
  string(APPEND content "${part}")
endforeach()
string(LENGTH "${content}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
# Break the initialiser into lines of 16 bytes so compilers stay happy.
string(REGEX REPLACE "(('[^']*',){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${inputs}; do not edit.\n"
  "#include <cstddef>\n"
  "namespace didad {\n"
  "extern const char ${NAME}[];\n"
  "extern const std::size_t ${NAME}Size;\n"
  "const char ${NAME}[] = {\n${bytes}'\\0'};\n"
  "const std::size_t ${NAME}Size = ${byteCount};\n"
  "}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
