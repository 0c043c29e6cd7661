#pragma once

#include <string>
#include <vector>

namespace orven::cli {

// `orven-table [options] FILE.orven`: opens a settings file as the desktop
// program's Open command does and writes the table as its export does.
// `arguments` are the command line after the program name.
int RunTableCommand(const std::vector<std::string>& arguments);

// The usage text of the table command.
extern const char* const TableUsage;

}  // namespace orven::cli
