#pragma once

// What CXmlFile::Prepare gives, in the steps it takes in one pass, each on its
// own: line ends made LF, the text cut at its first NUL, repaired to valid
// UTF-8, and the marks the library could read two ways replaced. Shared by the
// tests and the fuzz target of the XML loader.

#include "platform/CodePage.h"

#include <string>

inline std::string PreparedStepByStep(const std::string& text)
{
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        lines += text[i] == '\r' ? '\n' : text[i];
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    std::string prepared = CCodePage::Repair(lines.substr(0, lines.find('\0')));
    for (size_t i = prepared.find('\xEF'); i != std::string::npos; i = prepared.find('\xEF', i + 1)) {
        const std::string c = prepared.substr(i, 3);
        if ((c == "\xEF\xBB\xBF" && i > 0) || c == "\xEF\xBF\xBE" || c == "\xEF\xBF\xBF")
            prepared.replace(i, 3, "\xEF\xBF\xBD");
    }
    return prepared;
}
