#pragma once

#include <string>

class TiXmlDocument;

// Guarded load and atomic save of the XML files that the program reads and writes.
class CXmlFile
{
public:
    // Larger or deeper documents count as not well-formed: the XML library's
    // parser recurses once per nesting level, so a hostile file must never reach it.
    static const size_t MAX_BYTES = 4 * 1024 * 1024;
    static const int MAX_DEPTH = 64;

    // Reads the file whole and parses it, encoding left to the library's detection.
    // False when the file cannot be read, is too large or too deep, or is not
    // well-formed; the document is then left empty.
    static bool Load(TiXmlDocument& doc, const std::wstring& strPath);
    static bool Parse(TiXmlDocument& doc, const std::string& strText);

    // Writes to a temporary file beside the target and renames it over the
    // target, so a crash or a full disk never leaves a truncated file behind.
    static bool Save(const TiXmlDocument& doc, const std::wstring& strPath);

    // Deepest element nesting of the text, or MAX_DEPTH + 1 as soon as it goes past.
    static int NestingDepth(const std::string& strText);
};
