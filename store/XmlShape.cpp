#include "store/XmlShape.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// The library's character classes, looked up in a table built for each check
// on the same calls as the library's, so that they agree with it in the
// locale of the moment while the walk makes no call per character.
class CCharClasses
{
public:
    CCharClasses()
    {
        for (int c = 0; c < 256; ++c) {
            const bool bSpace = std::isspace(c) || c == '\n' || c == '\r';
            const bool bNameStart = (c < 127 ? std::isalpha(c) != 0 : true) || c == '_';
            const bool bNameChar = (c < 127 ? std::isalnum(c) != 0 : true) || c == '_' || c == '-' || c == '.'
                || c == ':';
            m_bits[c] = static_cast<unsigned char>((bSpace ? SPACE : 0) | (bNameStart ? NAME_START : 0)
                                                   | (bNameChar ? NAME_CHAR : 0));
        }
    }

    bool IsSpace(char c) const { return Has(c, SPACE); }
    bool IsNameStart(char c) const { return Has(c, NAME_START); }
    bool IsNameChar(char c) const { return Has(c, NAME_CHAR); }

    const char* SkipSpace(const char* p) const
    {
        while (IsSpace(*p))
            ++p;
        return p;
    }

private:
    enum : unsigned char { SPACE = 1, NAME_START = 2, NAME_CHAR = 4 };

    bool Has(char c, unsigned char bit) const { return (m_bits[static_cast<unsigned char>(c)] & bit) != 0; }

    unsigned char m_bits[256];
};

// Whether the text at p starts with the n characters of the tag, which holds
// no NUL; stops at the first difference, so it never reads past the end of the
// text.
bool StartsWith(const char* p, const char* pszTag, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (p[i] != pszTag[i])
            return false;
    }
    return true;
}

bool StartsWith(const char* p, const char* pszTag)
{
    return StartsWith(p, pszTag, std::strlen(pszTag));
}

// The first occurrence of the text from p on, or null. Searched here rather
// than with strstr, which under AddressSanitizer measures all the rest of the
// text on every call: quadratic over a document of many comments.
const char* Find(const char* p, const char* pszText)
{
    for (; *p; ++p) {
        if (*p == *pszText && StartsWith(p, pszText))
            return p;
    }
    return nullptr;
}

// Just past the first occurrence of the terminator, or the end of the text.
const char* SkipPast(const char* p, const char* pszTerminator)
{
    const char* pFound = Find(p, pszTerminator);
    return pFound ? pFound + std::strlen(pszTerminator) : p + std::strlen(p);
}

// An attribute's name and its '=', white space around the '=' allowed, as the
// library reads them; the position of the value, or null.
const char* SkipNameAndEquals(const CCharClasses& cls, const char* p)
{
    if (!cls.IsNameStart(*p))
        return nullptr;
    while (cls.IsNameChar(*p))
        ++p;
    p = cls.SkipSpace(p);
    return *p == '=' ? cls.SkipSpace(p + 1) : nullptr;
}

// "<?xml" in any case: the library compares it through tolower.
bool StartsDeclaration(const char* p)
{
    if (p[0] != '<' || p[1] != '?')
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!p[2 + i] || std::tolower(static_cast<unsigned char>(p[2 + i])) != "xml"[i])
            return false;
    }
    return true;
}

// A character of a declaration's attribute value in the one form let through.
bool IsPlainValue(const CCharClasses& cls, char c)
{
    return c > ' ' && c < 0x7F && !cls.IsSpace(c) && !std::strchr("\"'<>&", c);
}

// The library reads some attributes of a declaration as attributes (quoted
// values, with references) and skips over the others up to white space or '>',
// so a '>', a space or a reference in a value sets the two readings apart. Only
// the form in which both end at the same '>' is let through: after "<?xml"
// (and further name characters, as in "<?xml-stylesheet"), name="value" pairs
// apart from each other, values free of those characters, then "?>" or ">".
// Gives the position past it, or null.
const char* SkipDeclaration(const CCharClasses& cls, const char* p)
{
    p += 5;
    while (cls.IsNameChar(*p))
        ++p;
    for (;;) {
        const char* pName = cls.SkipSpace(p);
        if (pName == p || !cls.IsNameStart(*pName)) {
            p = pName;
            break;
        }
        p = SkipNameAndEquals(cls, pName);
        const char cQuote = p ? *p : 0;
        if (cQuote != '"' && cQuote != '\'')
            return nullptr;
        for (++p; *p != cQuote; ++p) {
            if (!IsPlainValue(cls, *p))
                return nullptr;
        }
        ++p;
    }
    if (*p == '?')
        ++p;
    return *p == '>' ? p + 1 : nullptr;
}

// Past one character of text or of an attribute value as the library reads it.
// A reference "&#...;" or "&#x...;" runs to the next ';' wherever that is, and
// holds when everything after the last '#' (or 'x') before it is a digit: it
// can swallow quotes, tags and whole elements. Null where the library fails.
const char* SkipCharacter(const char* p)
{
    if (p[0] != '&' || p[1] != '#' || !p[2])
        return p + 1;
    const bool bHex = p[2] == 'x';
    if (bHex && !p[3])
        return nullptr;
    const char* pEnd = Find(bHex ? p + 3 : p + 2, ";");
    if (!pEnd)
        return nullptr;
    for (const char* d = pEnd - 1; *d != (bHex ? 'x' : '#'); --d) {
        bool bDigit = (*d >= '0' && *d <= '9')
            || (bHex && ((*d >= 'a' && *d <= 'f') || (*d >= 'A' && *d <= 'F')));
        if (!bDigit)
            return nullptr;
    }
    return pEnd + 1;
}

// Where text or a quoted value that the library reads up to the given character
// ends: that character, or null when the text ends first or a reference fails.
const char* FindEnd(const char* p, char cEnd)
{
    while (*p && *p != cEnd) {
        p = SkipCharacter(p);
        if (!p)
            return nullptr;
    }
    return *p ? p : nullptr;
}

// One attribute name=value of an element's tag, from its name on; past its
// value, or null where the library fails. An unquoted value is the library's
// leniency and runs to white space, '/' or '>'.
const char* SkipAttribute(const CCharClasses& cls, const char* p)
{
    p = SkipNameAndEquals(cls, p);
    if (!p)
        return nullptr;
    const char cQuote = *p;
    if (cQuote == '"' || cQuote == '\'') {
        p = FindEnd(p + 1, cQuote);
        // The library also fails on a value that closes the text.
        return p && p[1] ? p + 1 : nullptr;
    }
    while (*p && !cls.IsSpace(*p) && *p != '/' && *p != '>') {
        if (*p == '"' || *p == '\'')
            return nullptr;
        ++p;
    }
    return *p ? p : nullptr;
}

} // namespace

bool CXmlShape::Check(const std::string& strText)
{
    m_nDepth = 0;
    m_nMostAttributes = 0;
    m_nNodes = 0;
    auto NodeFits = [this] { return ++m_nNodes <= m_nMaxNodes; };
    const CCharClasses cls;
    // Names of the elements open around p, for their end tags.
    std::vector<std::pair<const char*, size_t>> open;
    const char* p = strText.c_str();
    if (StartsWith(p, "\xEF\xBB\xBF"))
        p += 3;
    for (;;) {
        p = cls.SkipSpace(p);
        if (open.empty()) {
            // At the top level the library reads on only while nodes follow one
            // another, and stops without complaint at anything else.
            if (*p != '<')
                return true;
        } else {
            if (!*p)
                return false;
            if (*p != '<') {
                p = FindEnd(p, '<');
                if (!p || !p[1] || !NodeFits())
                    return false;
            }
            if (p[1] == '/') {
                const auto& name = open.back();
                if (!StartsWith(p + 2, name.first, name.second))
                    return false;
                p = cls.SkipSpace(p + 2 + name.second);
                if (*p != '>')
                    return false;
                ++p;
                open.pop_back();
                continue;
            }
        }

        // A node starts at p; the library tells the kinds apart in this order.
        if (!NodeFits())
            return false;
        if (StartsDeclaration(p)) {
            p = SkipDeclaration(cls, p);
            if (!p)
                return false;
        } else if (p[1] == '!' && StartsWith(p, "<!--")) {
            p = SkipPast(p + 4, "-->");
        } else if (p[1] == '!' && StartsWith(p, "<![CDATA[")) {
            p = SkipPast(p + 9, "]]>");
        } else if (cls.IsNameStart(p[1])) {
            const int nDepth = static_cast<int>(open.size()) + 1;
            m_nDepth = std::max(m_nDepth, nDepth);
            if (nDepth > m_nMaxDepth)
                return false;
            p = cls.SkipSpace(p + 1);
            if (!cls.IsNameStart(*p))
                return false;
            const char* pName = p;
            while (cls.IsNameChar(*p))
                ++p;
            const size_t nName = static_cast<size_t>(p - pName);
            int nAttributes = 0;
            for (;;) {
                p = cls.SkipSpace(p);
                if (!*p)
                    return false;
                if (*p == '/') {
                    if (p[1] != '>')
                        return false;
                    p += 2;
                    break;
                }
                if (*p == '>') {
                    ++p;
                    open.emplace_back(pName, nName);
                    break;
                }
                m_nMostAttributes = std::max(m_nMostAttributes, ++nAttributes);
                if (nAttributes > m_nMaxAttributes || !NodeFits())
                    return false;
                p = SkipAttribute(cls, p);
                if (!p)
                    return false;
            }
        } else {
            // "<!DOCTYPE", "<!" anything, "<?" other than "<?xml", "</" at the
            // top level, "< "...: up to the first '>', quotes or not.
            p = SkipPast(p + 1, ">");
        }
    }
}
