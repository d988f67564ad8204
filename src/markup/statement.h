// The three steps that turn one physical line of a tml file into changes of a document: cutting it
// into statements at ';', cutting a statement into tokens, and applying the tokens; and the other
// way, a value written so that its statement reads it back. Stateless apart from the document they
// are given; any thread.
#pragma once

#include "markup/document.h"

#include <string>
#include <string_view>
#include <vector>

namespace Tml {

// True for the C locale's white space: space, \t, \n, \v, \f, \r. Bytes >= 0x80 never are.
constexpr bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Cuts a line (tabs already removed) into its non-empty statements, in order. A line whose first
// byte is '#' is a comment and yields none; quotes do not protect ';'.
void SplitStatements(std::string_view line, std::vector<std::string_view>& statements);

// Cuts a statement into tokens. Quotes keep white space inside a token and are themselves removed;
// '#' as the first byte taken makes the whole statement the single token "#". A run of white space
// between tokens counts as one separator; a single trailing separator leaves one empty token.
void TokenizeStatement(std::string_view statement, std::vector<std::string>& tokens);
// The same tokens without copying: views into `statement`, or into `scratch` for tokens that lost
// quotation marks. They stay valid until `scratch` or the statement's text changes.
void TokenizeStatement(std::string_view statement, std::vector<std::string_view>& tokens,
                       std::string& scratch);

// `text` as an attribute's value that reads back as one token: in quotation marks if it holds white
// space. A value holding a quotation mark cannot be written.
std::string QuotedValue(std::string_view text);

// Applies one statement's tokens: "{" opens a node, "}" closes the open one, "!" adds an attribute
// to the open node; anything else changes nothing. `line` is recorded on what it creates.
void ApplyStatement(Document& document, const std::vector<std::string>& tokens, int line = 0);
void ApplyStatementView(Document& document, const std::vector<std::string_view>& tokens, int line = 0);

}  // namespace Tml
