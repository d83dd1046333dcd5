#include "log/LogFile.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/DataFolder.h"
#include "platform/WideFormat.h"
#include "store/RegularFile.h"

#include <cstdarg>
#include <fcntl.h>
#include <string>
#include <unistd.h>

CLogFile::CLogFile(const wchar_t* pszName)
{
    if (!pszName)
        return;
    std::string path = CCodePage::Encode(CDataFolder::Get() + L"/" + pszName);
    // Logging is a switch the user throws by creating the file; never create
    // it. Only a regular file counts: a pipe named so would block the start.
    int fd = CRegularFile::Open(path, O_RDONLY);
    if (fd < 0)
        return;
    close(fd);
    fd = CRegularFile::Open(path, O_WRONLY | O_TRUNC);
    if (fd < 0)
        return;
    m_pFile = fdopen(fd, "w");
    if (!m_pFile)
        close(fd);
}

CLogFile::~CLogFile()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

void CLogFile::Printf(const wchar_t* pszFormat, ...)
{
    if (!m_pFile)
        return;
    SYSTEMTIME st = CClock::GetSystemTime();
    std::fprintf(m_pFile, "[%02d:%02d:%02d] ", st.wHour, st.wMinute, st.wSecond);
    va_list args;
    va_start(args, pszFormat);
    std::string text = CCodePage::Encode(CWideFormat::FormatV(pszFormat, args));
    va_end(args);
    std::fwrite(text.data(), 1, text.size(), m_pFile);
    std::fflush(m_pFile);
}
