#pragma once

// A fresh folder per test that stands in for the executable's folder, so every
// data file a test touches lands there. Removed with everything in it at the end.

#include "platform/CodePage.h"
#include "platform/testing/FakeExePath.h"
#include "platform/ExePath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class CTempFolder
{
public:
    CTempFolder()
    {
        char buffer[] = "/tmp/cirrovan-test-XXXXXX";
        m_path = mkdtemp(buffer) ? buffer : "";
        CFakeExePath::Set(CCodePage::Decode(m_path + "/cirrovan"));
    }
    ~CTempFolder()
    {
        CFakeExePath::Set(L"");
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path(const std::string& name) const { return m_path + "/" + name; }
    std::wstring WidePath(const std::string& name) const { return CCodePage::Decode(Path(name)); }

    void Write(const std::string& name, const std::string& content) const
    {
        std::ofstream(Path(name), std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    std::string m_path;
};

// Text of a fixture file beside the tests.
inline std::string ReadFixture(const std::string& relative)
{
    std::ifstream in(std::string(CIRROVAN_FIXTURES) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
