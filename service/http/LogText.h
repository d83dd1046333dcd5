#pragma once

#include <string>

// Text from a client or an upstream answer made safe for a log line: printable
// ASCII stays, every other byte (line ends, escape sequences, UTF-8 that a
// terminal might take for control codes) becomes \xNN and a backslash \\.
class CLogText
{
public:
    static std::string Escaped(const std::string& strText);
};
