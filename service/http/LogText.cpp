#include "service/http/LogText.h"

std::string CLogText::Escaped(const std::string& strText)
{
    static const char HEX[] = "0123456789abcdef";
    std::string out;
    out.reserve(strText.size());
    for (const char ch : strText) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7f) {
            out += ch;
        } else {
            out += "\\x";
            out += HEX[c >> 4];
            out += HEX[c & 15];
        }
    }
    return out;
}
