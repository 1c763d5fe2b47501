#include "platform/command_line.h"

#include "platform/process.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t SkipBlanks(std::string_view text, size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> args;
  size_t at = SkipBlanks(text, 0);
  while (at < text.size()) {
    std::string arg;
    int quotes = 0;  // 1: inside a quoted part; counts a run of quotes up to 3
    while (at < text.size() && (quotes != 0 || !IsBlank(text[at]))) {
      char c = text[at];
      if (c == '\\') {
        size_t run = 0;
        while (at < text.size() && text[at] == '\\') {
          ++run;
          ++at;
        }
        if (at < text.size() && text[at] == '"') {
          arg.append(run / 2, '\\');
          if (run % 2 == 1) {  // an escaped quote
            arg += '"';
            ++at;
          }
        } else {
          arg.append(run, '\\');
        }
        continue;
      }
      if (c != '"') {
        arg += c;
        ++at;
        continue;
      }
      // A run of quotes: the first opens or closes a quoted part; each third
      // quote of the run is a literal one and leaves the quoted part.
      ++quotes;
      ++at;
      while (at < text.size() && text[at] == '"') {
        if (++quotes == 3) {
          arg += '"';
          quotes = 0;
        }
        ++at;
      }
      if (quotes == 2) quotes = 0;
    }
    args.push_back(std::move(arg));
    at = SkipBlanks(text, at);
  }
  return args;
}

std::vector<std::string> SplitCommandLine(std::string_view text) {
  if (text.empty()) return {ExecutablePath()};
  std::string program;
  size_t at = 0;
  if (text[0] == '"') {
    size_t close = text.find('"', 1);
    size_t end = close == std::string_view::npos ? text.size() : close;
    program.assign(text.substr(1, end - 1));
    at = close == std::string_view::npos ? text.size() : close + 1;
  } else {
    while (at < text.size() && !IsBlank(text[at])) ++at;
    program.assign(text.substr(0, at));
  }
  std::vector<std::string> args{std::move(program)};
  std::vector<std::string> rest = SplitArguments(text.substr(at));
  args.insert(args.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
  return args;
}

}  // namespace platform
