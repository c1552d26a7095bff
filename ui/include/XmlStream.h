// The XML layer's event stream: a buffer goes to Expat in one final call and every event
// reaches one plain callback (the ParseAction protocol). Platform-neutral; CXmlParser adds
// the file reading. Protocol: each parse that reaches the parser ends with exactly one ParseDone.
#pragma once

enum ParseAction {
  ParseStart = 1,  // element name, its length, attributes: name, value, ..., null
  ParseEnd = 2,    // element name, its length
  ParseText = 3,   // character data without leading blanks, tabs and line feeds (length > 0)
  ParseDone = 4,   // no text
  ParseError = 5,  // "cannot open file!" or "parser is null"
};

// action, 8-bit (UTF-8) text, its length, attribute list (ParseStart only, else null).
typedef void (*PFN_XParseCallback)(int action, const char* text, int length, const char** attrs);

// Parses size bytes. raw keeps character data as the parser delivers it (blanks and line
// breaks included); otherwise leading blanks, tabs and line feeds of each piece are dropped
// and pieces left empty are not reported. A callback that throws loses that one event.
void XParseXmlBytes(const char* data, int size, PFN_XParseCallback callback, bool raw);
