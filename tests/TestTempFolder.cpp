// Every test program gets a temporary folder of its own, so that tests running
// side by side (ctest -j) never write over each other's files: GoogleTest's
// TempDir() reads TEST_TMPDIR each time it is asked.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class TestTempFolder
{
public:
    TestTempFolder()
    {
        // Set already: chosen by whoever runs the tests, or inherited by a death
        // test's child from its parent, which owns and removes the folder.
        if (const char* given = std::getenv("TEST_TMPDIR"); given && *given)
            return;
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/cirrovan-test-XXXXXX";
        if (mkdtemp(pattern.data())) {
            m_strPath = pattern;
            setenv("TEST_TMPDIR", m_strPath.c_str(), 1);
        }
    }
    ~TestTempFolder()
    {
        if (!m_strPath.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(m_strPath, ec);
        }
    }

private:
    std::string m_strPath;
};

// Built before main, so before GoogleTest or any test asks for the folder.
TestTempFolder s_folder;

}
