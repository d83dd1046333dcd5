#include "net/DownloadFile.h"

#include "platform/CodePage.h"
#include "store/RegularFile.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Large enough that a forecast goes to the disk in one or two writes.
const size_t WRITE_BUFFER_BYTES = 64 * 1024;

} // namespace

CDownloadFile::CDownloadFile(const std::wstring& strTarget) : m_strTarget(strTarget)
{
}

CDownloadFile::~CDownloadFile()
{
    Discard();
}

bool CDownloadFile::Create()
{
    Discard();
    // The usual mode, as every other file of the program; this runs on the
    // download's worker, so the umask must stay as it is.
    std::string temp;
    int fd = CRegularFile::CreateBeside(CCodePage::Encode(m_strTarget), temp);
    if (fd < 0)
        return false;
    m_pFile = fdopen(fd, "wb");
    if (!m_pFile) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    m_buffer.resize(WRITE_BUFFER_BYTES);
    setvbuf(m_pFile, m_buffer.data(), _IOFBF, m_buffer.size());
    m_strTemp = CCodePage::Decode(temp);
    m_bWriteFailed = false;
    return true;
}

bool CDownloadFile::Write(const void* pData, size_t nSize)
{
    if (!m_pFile || std::fwrite(pData, 1, nSize, m_pFile) != nSize)
        m_bWriteFailed = true;
    return !m_bWriteFailed;
}

bool CDownloadFile::Flush()
{
    if (!m_pFile || std::fflush(m_pFile) != 0)
        m_bWriteFailed = true;
    return !m_bWriteFailed;
}

bool CDownloadFile::Commit()
{
    if (!Flush() || fsync(fileno(m_pFile)) != 0) {
        Discard();
        return false;
    }
    bool bClosed = std::fclose(m_pFile) == 0;
    m_pFile = nullptr;
    std::string temp = CCodePage::Encode(m_strTemp);
    const std::string target = CCodePage::Encode(m_strTarget);
    if (!bClosed || std::rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        m_strTemp.clear();
        return false;
    }
    m_strTemp.clear();
    // The rename lives in the folder: flushed too, as a save's is. Should the
    // flush fail, the new file is in place all the same, and the store reads it.
    CRegularFile::FlushFolder(target);
    return true;
}

void CDownloadFile::Discard()
{
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
    if (!m_strTemp.empty()) {
        unlink(CCodePage::Encode(m_strTemp).c_str());
        m_strTemp.clear();
    }
}
