// The console side of the command-line calculator: arguments and output in UTF-8 on Linux and
// on Windows alike.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::tools {

// The arguments after the program name, in UTF-8 (on Windows from the wide command line, so
// that a path with Polish letters survives).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Writes UTF-8 text to stdout or stderr: on a Windows console as wide characters, elsewhere as
// the bytes themselves, "\n" written as the system ends a line (CR LF on Windows).
void WriteText(std::FILE* stream, std::string_view utf8);

// Writes a list's rows with the line ends they carry: a redirected Windows stream takes them as
// they are, so a CR LF row stays CR LF (not CR CR LF), as in a result file.
void WriteRows(std::FILE* stream, std::string_view utf8);

}  // namespace vistrel::tools
