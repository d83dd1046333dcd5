#include "net/LogFile.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/DataFolder.h"
#include "platform/WideFormat.h"

#include <cstdarg>
#include <string>

CLogFile::CLogFile(const wchar_t* pszName)
{
    if (!pszName)
        return;
    std::string path = CCodePage::Encode(CDataFolder::Get() + L"/" + pszName);
    // Logging is a switch the user throws by creating the file; never create it.
    FILE* pProbe = std::fopen(path.c_str(), "r");
    if (!pProbe)
        return;
    std::fclose(pProbe);
    m_pFile = std::fopen(path.c_str(), "w");
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
