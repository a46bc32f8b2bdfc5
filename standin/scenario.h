// Scenario files: one step per line, words separated by blanks, "double
// quotes" around a word with blanks, `#` starting a comment. The whole file
// is parsed before anything runs, so a typo fails at once with its line.
#pragma once

#include <string>
#include <vector>

namespace standin {

struct Step {
  int line = 0;
  std::wstring kind;               // the step's leading keywords: "check tabs", "pointer bar"
  std::vector<std::wstring> args;  // the words after them
  std::wstring text;               // the line as written, for messages
  int frame = 0;                   // a trailing "frame N": N; 0 when none
};

struct Scenario {
  std::vector<Step> steps;
  std::wstring error;  // empty when the whole file parsed
};

Scenario parse_scenario(const std::wstring& text);

// The forms every step may take, one line each, for usage messages.
const std::vector<std::wstring>& step_forms();

// Splits a line into words; false on an unterminated quote.
bool split_words(const std::wstring& line, std::vector<std::wstring>& words);

}  // namespace standin
