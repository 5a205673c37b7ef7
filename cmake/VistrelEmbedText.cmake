# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DFUNCTION=<name> -P VistrelEmbedText.cmake
# Writes a C++ source whose function vistrel::rules::<name>() returns the file's text.
cmake_policy(VERSION 3.25)
file(READ "${INPUT}" text)
string(FIND "${text}" ")embedded\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} contains the raw string's closing sequence")
endif()
file(WRITE "${OUTPUT}"
  "// Written by the build from ${INPUT}; do not edit.\n"
  "#include <string_view>\n\n"
  "namespace vistrel::rules {\n\n"
  "std::string_view ${FUNCTION}() {\n"
  "    return R\"embedded(${text})embedded\";\n"
  "}\n\n"
  "}  // namespace vistrel::rules\n")
