#include "store/XmlFile.h"

#include "platform/CodePage.h"
#include "store/ClassUnicode.h"
#include "store/RegularFile.h"
#include "store/XmlShape.h"

#include <tinyxml.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads the whole file, or fails past MAX_BYTES.
bool ReadAll(int fd, std::string& text)
{
    char buffer[16384];
    for (;;) {
        ssize_t nRead = read(fd, buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
            return false;
        if (nRead == 0)
            return true;
        text.append(buffer, static_cast<size_t>(nRead));
        if (text.size() > CXmlFile::MAX_BYTES)
            return false;
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

std::string CXmlFile::Prepare(const std::string& strText)
{
    std::string text = CCodePage::Repair(strText.substr(0, strText.find('\0')));
    // U+FEFF, U+FFFE and U+FFFF are white space to the library where it reads
    // UTF-8 and letters where it does not, so one text could be cut into nodes
    // in two ways; only a byte order mark at the very start keeps its meaning.
    for (size_t i = text.find('\xEF'); i != std::string::npos; i = text.find('\xEF', i + 1)) {
        bool bMark = text.compare(i, 3, "\xEF\xBB\xBF") == 0;
        if ((bMark && i > 0) || text.compare(i, 3, "\xEF\xBF\xBE") == 0 || text.compare(i, 3, "\xEF\xBF\xBF") == 0)
            text.replace(i, 3, "\xEF\xBF\xBD");
    }
    return text;
}

bool CXmlFile::Parse(TiXmlDocument& doc, const std::string& strText)
{
    doc.Clear();
    if (strText.size() > MAX_BYTES)
        return false;
    // A byte that is not UTF-8 becomes three: the cap holds for what the
    // library reads as well.
    std::string text = Prepare(strText);
    CXmlShape shape(MAX_DEPTH, MAX_ATTRIBUTES, MAX_NODES);
    if (text.size() > MAX_BYTES || !shape.Check(text))
        return false;
    // Zero bytes past the end too, so that no step of the library's could
    // leave the buffer even over a sequence the text does not hold.
    text.append(3, '\0');
    doc.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
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
    if (!bRead)
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
