#pragma once

#include <string>

class TiXmlDocument;

// Guarded load and atomic save of the XML files that the program reads and writes.
class CXmlFile
{
public:
    // Larger documents, deeper ones, ones with more attributes on an element
    // and ones with more nodes and attributes in all count as not well-formed:
    // the XML library's parser recurses once per nesting level, compares each
    // attribute with all earlier ones of its element and allocates every node
    // and attribute on its own, so a hostile file must never reach it, nor keep
    // the user-interface thread for long. Our own files and the service's
    // answers use a few levels, at most three attributes on an element and a
    // few thousand nodes.
    static constexpr size_t MAX_BYTES = 4 * 1024 * 1024;
    static constexpr int MAX_DEPTH = 64;
    static constexpr int MAX_ATTRIBUTES = 32;
    static constexpr int MAX_NODES = 100000;

    // Reads the file whole and parses its bytes as Parse does. False when the
    // path is no regular file or cannot be read, or Parse refuses the bytes;
    // the document is then left empty.
    static bool Load(TiXmlDocument& doc, const std::wstring& strPath);
    // Parses the bytes of a file (Prepare, then the limits above), encoding
    // left to the library's detection, so that bytes received over the network
    // give the document that loading the file which stores them will give.
    // False when the text is past one of the limits or is not well-formed; the
    // document is then left empty. The text is prepared where it lies: a
    // caller that hands it over with std::move saves a copy.
    static bool Parse(TiXmlDocument& doc, std::string strText);

    // The text as the library is handed it: cut at the first NUL, where the
    // library stops reading anyway; CR LF and a lone CR made LF, as the
    // library's own file loader does; and valid UTF-8 throughout, since the
    // library steps over a whole sequence from its first byte, past the end of
    // the text when that ends early (CCodePage::Repair).
    static std::string Prepare(std::string strText);

    // Writes to a temporary file beside the target and renames it over the
    // target, so a crash or a full disk never leaves a truncated file behind.
    // The file keeps the permissions of the one it replaces; a new file gets
    // those of any new file. True once the new file is in place and flushed.
    static bool Save(const TiXmlDocument& doc, const std::wstring& strPath);
};
