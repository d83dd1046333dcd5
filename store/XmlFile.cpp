#include "store/XmlFile.h"

#include "store/ClassUnicode.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Position just after the first occurrence of the terminator, or the end.
size_t SkipPast(const std::string& s, size_t from, const char* pszTerminator)
{
    size_t pos = s.find(pszTerminator, from);
    return pos == std::string::npos ? s.size() : pos + std::strlen(pszTerminator);
}

// Skips a tag's remainder up to its closing '>', stepping over quoted attribute
// values (which may hold '>'). Tells whether the tag closed itself with "/>".
size_t SkipTag(const std::string& s, size_t from, bool& bSelfClosing)
{
    bSelfClosing = false;
    size_t i = from;
    while (i < s.size()) {
        char c = s[i];
        if (c == '"' || c == '\'') {
            size_t close = s.find(c, i + 1);
            if (close == std::string::npos)
                return s.size();
            i = close + 1;
            continue;
        }
        if (c == '>') {
            bSelfClosing = i > from && s[i - 1] == '/';
            return i + 1;
        }
        ++i;
    }
    return s.size();
}

} // namespace

int CXmlFile::NestingDepth(const std::string& s)
{
    int nDepth = 0;
    int nDeepest = 0;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '<') {
            ++i;
            continue;
        }
        if (s.compare(i, 4, "<!--") == 0) {
            i = SkipPast(s, i + 4, "-->");
        } else if (s.compare(i, 9, "<![CDATA[") == 0) {
            i = SkipPast(s, i + 9, "]]>");
        } else if (s.compare(i, 2, "<?") == 0) {
            i = SkipPast(s, i + 2, "?>");
        } else if (s.compare(i, 2, "<!") == 0) {
            i = SkipPast(s, i + 2, ">");
        } else if (s.compare(i, 2, "</") == 0) {
            if (nDepth > 0)
                --nDepth;
            i = SkipPast(s, i + 2, ">");
        } else {
            bool bSelfClosing = false;
            i = SkipTag(s, i + 1, bSelfClosing);
            // An empty element still costs the parser one level while it is read.
            nDeepest = std::max(nDeepest, nDepth + 1);
            if (!bSelfClosing)
                ++nDepth;
            if (nDeepest > MAX_DEPTH)
                return MAX_DEPTH + 1;
        }
    }
    return nDeepest;
}

bool CXmlFile::Parse(TiXmlDocument& doc, const std::string& strText)
{
    doc.Clear();
    if (strText.size() > MAX_BYTES || NestingDepth(strText) > MAX_DEPTH)
        return false;
    doc.Parse(strText.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    if (doc.Error()) {
        doc.Clear();
        return false;
    }
    return true;
}

bool CXmlFile::Load(TiXmlDocument& doc, const std::wstring& strPath)
{
    doc.Clear();
    ClassUnicode conv;
    FILE* pFile = std::fopen(conv.ToAnsi(strPath), "rb");
    if (!pFile)
        return false;
    std::string text;
    char buffer[16384];
    size_t nRead;
    bool bTooLarge = false;
    while ((nRead = std::fread(buffer, 1, sizeof buffer, pFile)) > 0) {
        text.append(buffer, nRead);
        if (text.size() > MAX_BYTES) {
            bTooLarge = true;
            break;
        }
    }
    bool bReadError = std::ferror(pFile) != 0;
    std::fclose(pFile);
    if (bTooLarge || bReadError)
        return false;
    // The library's own file loader turns CR LF and lone CR into LF; do the same.
    std::string normalised;
    normalised.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            normalised += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            normalised += text[i];
        }
    }
    return Parse(doc, normalised);
}

bool CXmlFile::Save(const TiXmlDocument& doc, const std::wstring& strPath)
{
    ClassUnicode conv;
    const std::string target = conv.ToAnsi(strPath);
    std::string temp = target + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    // mkstemp creates the file private to the user; keep the usual mode instead.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    FILE* pFile = fdopen(fd, "w");
    if (!pFile) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    bool bOk = doc.SaveFile(pFile);
    bOk = std::fflush(pFile) == 0 && bOk;
    bOk = fsync(fileno(pFile)) == 0 && bOk;
    bOk = std::fclose(pFile) == 0 && bOk;
    if (!bOk || std::rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}
