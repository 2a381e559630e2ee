#pragma once
// Taking the next token off the front of a line. Both consume `text` in place: the token and
// the delimiter that ended it are removed. A delimiter is one character; an empty delimiter or
// one of several characters never matches (the whole rest is then one token, or for
// takeFieldToken the rest up to the next blank).
#include <string>
#include <string_view>

namespace kal {

// The main window's tokenizer (batch lines): leading delimiters are skipped and the token ends
// at the delimiter only (ZerpflueckMain). ";;a;b" with ";" gives "a" and leaves "b".
void takeBatchToken(std::string& text, std::string& token, std::string_view delimiter);

// The input dialog's tokenizer (fields of point files, degrees-minutes-seconds texts): leading
// delimiters, then leading spaces and Tabs are skipped; the token ends at the delimiter, a
// space or a Tab; the characters þ and ÿ (codes 254 and 255, what is left of a UTF-16
// byte-order mark) are dropped (ZerpflueckInput). "1,5 2" with "," gives "1" and leaves "5 2"; "  12 30 36"
// with " " gives "12" and leaves "30 36".
void takeFieldToken(std::string& text, std::string& token, std::string_view delimiter);

}  // namespace kal
