#pragma once

#include <string>
#include <string_view>
#include <vector>

// Command lines split as the desktop system splits them into program arguments.
namespace platform {

// Splits a whole command line (program first) into arguments:
// - The first argument is the program: when it starts with a double quote it
//   runs to the next double quote (backslashes are literal there), otherwise to
//   the first space or tab. The next argument starts after the spaces and tabs
//   that follow; a leading space thus gives an empty program argument.
// - The other arguments are separated by spaces and tabs outside quotes.
//   2n backslashes before a double quote give n backslashes and the quote opens
//   or closes a quoted part; 2n+1 backslashes before a double quote give n
//   backslashes and a literal quote; other backslashes are literal. Inside a
//   quoted part, two double quotes give one literal quote and end the quoted
//   part; outside one, three double quotes in a row give a literal quote.
//   "" alone is an empty argument.
// An empty text gives one argument, the path of the running program.
std::vector<std::string> SplitCommandLine(std::string_view text);

// Splits argument text with the rules of the arguments after the program.
std::vector<std::string> SplitArguments(std::string_view text);

}  // namespace platform
