// Plain text helpers of the tests: lines, blanks, place holders.
#pragma once

#include <string>
#include <vector>

// text with every from replaced by to (a to that holds from is not replaced again).
std::string Replaced(std::string text, const std::string &from, const std::string &to);

// text without the given characters at either end.
std::string Trim(const std::string &text, const char *blanks = " \t");

// The lines of text, without their line ends ("\n" or "\r\n"); blank lines kept.
std::vector<std::string> TextLines(const std::string &text);
