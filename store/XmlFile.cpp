#include "store/XmlFile.h"

#include "platform/CodePage.h"
#include "store/ClassUnicode.h"
#include "store/RegularFile.h"
#include "store/XmlShape.h"

#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Reads the whole file, or fails past MAX_BYTES. The text is read where it
// will be parsed, with room for the zero bytes that Parse appends, so that the
// file's bytes are never copied on the way to the library.
bool ReadAll(int fd, std::string& text)
{
    struct stat st;
    size_t nExpected = fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    nExpected = std::min(nExpected, CXmlFile::MAX_BYTES);
    text.reserve(nExpected + 4);
    // One byte more than the file holds, for the read that finds its end.
    text.resize(nExpected + 1);
    size_t nSize = 0;
    for (;;) {
        if (nSize == text.size())
            text.resize(std::min(std::max(2 * nSize, size_t(16384)), CXmlFile::MAX_BYTES + 1));
        ssize_t nRead = read(fd, &text[nSize], text.size() - nSize);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
            return false;
        if (nRead == 0)
            break;
        nSize += static_cast<size_t>(nRead);
        if (nSize > CXmlFile::MAX_BYTES)
            return false;
    }
    text.resize(nSize);
    return true;
}

const uint64_t ONES = 0x0101010101010101;
const uint64_t HIGH_BITS = 0x8080808080808080;

bool HasZeroByte(uint64_t v)
{
    return ((v - ONES) & ~v & HIGH_BITS) != 0;
}

// Whether the eight bytes are all ASCII other than NUL and CR, which
// preparing keeps as they are: most texts are such bytes throughout.
bool ArePlain(uint64_t v)
{
    return (v & HIGH_BITS) == 0 && !HasZeroByte(v) && !HasZeroByte(v ^ (ONES * '\r'));
}

// What Prepare does, in one pass over the text and where the text lies: the
// result is never longer than the text unless a byte that is not UTF-8 (one
// byte, written as three) outgrows the room left behind; only then does the
// rest go to a new buffer.
void PrepareInPlace(std::string& text)
{
    const size_t n = text.size();
    const char* src = text.data();
    char* dst = &text[0];
    std::string grown;
    size_t i = 0;
    size_t o = 0;
    while (i < n) {
        uint64_t v;
        if (n - i >= sizeof v) {
            std::memcpy(&v, src + i, sizeof v);
            if (ArePlain(v)) {
                std::memcpy(dst + o, &v, sizeof v);
                i += sizeof v;
                o += sizeof v;
                continue;
            }
        }
        const char c = src[i];
        if (c == '\0')
            break;
        if (c == '\r') {
            dst[o++] = '\n';
            i += i + 1 < n && src[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x80) {
            dst[o++] = c;
            ++i;
            continue;
        }
        char32_t ch;
        const size_t nLength = CCodePage::Next(src + i, n - i, ch);
        // U+FEFF, U+FFFE and U+FFFF are white space to the library where it
        // reads UTF-8 and letters where it does not, so one text could be cut
        // into nodes in two ways; only a byte order mark at the very start
        // keeps its meaning.
        const bool bReplace = ch == 0xFFFD || ch == 0xFFFE || ch == 0xFFFF || (ch == 0xFEFF && o > 0);
        if (!bReplace) {
            std::memmove(dst + o, src + i, nLength);
            o += nLength;
        } else {
            if (grown.empty() && o + 3 > i + nLength) {
                // Each byte left becomes at most three.
                grown.resize(o + 3 * (n - i));
                std::memcpy(&grown[0], dst, o);
                dst = &grown[0];
            }
            std::memcpy(dst + o, "\xEF\xBF\xBD", 3);
            o += 3;
        }
        i += nLength;
    }
    if (grown.empty()) {
        text.resize(o);
    } else {
        grown.resize(o);
        text.swap(grown);
    }
}

// A rename lives in the folder, so the folder is flushed as well: otherwise a
// power cut can bring back the old file, or none. A folder that cannot be
// opened or a file system that cannot flush folders leaves the new file in
// place all the same; only a failed flush counts as failure.
bool FlushFolder(const std::string& target)
{
    size_t nSlash = target.rfind('/');
    std::string folder = nSlash == std::string::npos ? "." : nSlash == 0 ? "/" : target.substr(0, nSlash);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    bool bOk = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return bOk;
}

} // namespace

std::string CXmlFile::Prepare(std::string strText)
{
    PrepareInPlace(strText);
    return strText;
}

bool CXmlFile::Parse(TiXmlDocument& doc, std::string strText)
{
    doc.Clear();
    if (strText.size() > MAX_BYTES)
        return false;
    PrepareInPlace(strText);
    // A byte that is not UTF-8 becomes three: the cap holds for what the
    // library reads as well.
    CXmlShape shape(MAX_DEPTH, MAX_ATTRIBUTES, MAX_NODES);
    if (strText.size() > MAX_BYTES || !shape.Check(strText))
        return false;
    // Zero bytes past the end too, so that no step of the library's could
    // leave the buffer even over a sequence the text does not hold.
    strText.append(3, '\0');
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
    int fd = CRegularFile::Open(conv.ToAnsi(strPath), O_RDONLY);
    if (fd < 0)
        return false;
    std::string text;
    bool bRead = ReadAll(fd, text);
    close(fd);
    return bRead && Parse(doc, std::move(text));
}

bool CXmlFile::Save(const TiXmlDocument& doc, const std::wstring& strPath)
{
    ClassUnicode conv;
    const std::string target = conv.ToAnsi(strPath);
    std::string temp;
    int fd = CRegularFile::CreateBeside(target, temp);
    if (fd < 0)
        return false;
    // Rewriting a file in place keeps its permissions; so does replacing it.
    struct stat st;
    if (stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        fchmod(fd, st.st_mode & 0777);
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
    return FlushFolder(target);
}
