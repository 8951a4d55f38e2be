#pragma once

#include <string_view>

// Reading the number fields of data files straight from the file's bytes
// (UTF-8), so that millions of lines load without a QString each. The rules
// are those of ParseFileNumber (data/Parsing.h): blanks around the field,
// one decimal separator of any locale (".", "," or the Arabic one), an
// optional exponent.

enum class FieldRead {
    Number,     // `value` holds the number
    NotNumber,  // ParseFileNumber refuses the field too
    AskText,    // other non-ASCII bytes: only the text reading can tell
};

FieldRead ReadFieldNumber(std::string_view field, double& value);

// A plain number (digits with at most one point, a minus in front) at `at`,
// as our writers make nearly all of them: its value, and `at` moved past
// it. False, `at` unchanged, for anything else.
bool ReadPlainNumber(const char*& at, const char* end, double& value);

// The field without the blanks (space, TAB, CR, LF, VT, FF) around it.
std::string_view TrimBlanks(std::string_view field);
