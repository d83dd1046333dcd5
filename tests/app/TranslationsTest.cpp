// The program in the user's language: the catalogues the build makes, chosen
// by the locale's variables, and English wherever no catalogue has the text.

#include "InstallInto.h"

#include "../EnvGuard.h"
#include "../TempFolder.h"
#include "platform/CodePage.h"
#include "platform/ExePath.h"
#include "platform/Resources.h"
#include "platform/Translate.h"
#include "res/AppResources.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct Texts
{
    std::wstring strStations;   // a string table entry, also a soft key's label
    std::wstring strUnknown;   // a service's failure, with the service's name put in
    std::wstring strQuit;   // a menu item
    std::wstring strAbout;   // a dialog's caption
    std::wstring strHeading;   // a dialog's label
    std::wstring strYes;   // a message box's button, from the platform layer
};

// The program's start-up in the language the variables choose, and what it shows.
Texts StartIn(const char* pszLang, const char* pszLanguage)
{
    CEnvGuard lcAll("LC_ALL", nullptr);
    CEnvGuard lcMessages("LC_MESSAGES", nullptr);
    CEnvGuard lang("LANG", pszLang);
    CEnvGuard language("LANGUAGE", pszLanguage);
    CEnvGuard service("CIRROVAN_SERVICE_NAME", "Test Weather");
    InitTranslations();
    CAppResources::Install();
    Texts texts;
    texts.strStations = CResources::LoadString(IDS_STATIONS);
    texts.strUnknown = CResources::LoadString(IDS_FAIL_UNKNOWN_STATION);
    const MENUTEMPLATE* pMenu = CResources::FindMenu(IDR_MAINMENU);
    const MENUPOPUPTEMPLATE& preferences = pMenu->pPopups[1];
    texts.strQuit = preferences.pItems[preferences.nItems - 1].pszText;
    texts.strAbout = CResources::FindDialog(IDD_ABOUT)->pszCaption;
    texts.strHeading = CResources::FindDialog(IDD_PREFERENCES)->pItems[0].pszText;
    texts.strYes = Tr("Yes");
    return texts;
}

class TranslationsTest : public testing::Test
{
protected:
    // Later tests in this process find the program in English again.
    void TearDown() override
    {
        CExePath::Use(nullptr);
        StartIn("C.UTF-8", nullptr);
    }
};

TEST_F(TranslationsTest, TheLocaleChoosesTheCatalogueAndAnyOtherLanguageIsEnglish)
{
    const Texts english = {
        L"Stations", L"Test Weather does not know station '%s'.", L"Quit", L"About Cirrovan", L"Preferences", L"Yes"};
    const Texts german = {L"Stationen",     L"Test Weather kennt die Station \u201e%s\u201c nicht.",
                          L"Beenden",       L"\u00dcber Cirrovan",
                          L"Einstellungen", L"Ja"};
    const Texts french = {L"Stations",
                          L"Test Weather ne conna\u00eet pas la station \u00ab\u00a0%s\u00a0\u00bb.",
                          L"Quitter",
                          L"\u00c0 propos de Cirrovan",
                          L"Pr\u00e9f\u00e9rences",
                          L"Oui"};
    struct Case
    {
        const char* pszLang;
        const char* pszLanguage;
        const Texts& expected;
    } cases[] = {
        {"de_DE.UTF-8", nullptr, german},
        {"fr_FR.UTF-8", nullptr, french},
        {"en_US.UTF-8", nullptr, english},
        {"C.UTF-8", nullptr, english},
        // LANGUAGE overrides LANG, as in every other desktop program ...
        {"de_DE.UTF-8", "fr", french},
        // ... and a language without a catalogue is English, not the locale's.
        {"de_DE.UTF-8", "pt_BR:pt", english},
        // A locale the system does not have leaves the messages in English.
        {"xx_YY.UTF-8", nullptr, english},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszLang) + " LANGUAGE=" + (c.pszLanguage ? c.pszLanguage : "(unset)"));
        const Texts texts = StartIn(c.pszLang, c.pszLanguage);
        EXPECT_EQ(texts.strStations, c.expected.strStations);
        EXPECT_EQ(texts.strUnknown, c.expected.strUnknown);
        EXPECT_EQ(texts.strQuit, c.expected.strQuit);
        EXPECT_EQ(texts.strAbout, c.expected.strAbout);
        EXPECT_EQ(texts.strHeading, c.expected.strHeading);
        EXPECT_EQ(texts.strYes, c.expected.strYes);
    }
}

// The install puts the catalogues under the prefix, and the program finds
// them there from where it sits, wherever the prefix is.
TEST_F(TranslationsTest, AnInstalledProgramReadsTheCataloguesOfItsOwnPrefix)
{
    CTempFolder temp;
    const std::string prefix = temp.Path("relocated/usr");
    ASSERT_TRUE(InstallInto(prefix));
    const std::string locale = prefix + "/share/locale/";
    ASSERT_TRUE(std::filesystem::exists(locale + "de/LC_MESSAGES/cirrovan.mo"));
    ASSERT_TRUE(std::filesystem::exists(locale + "fr/LC_MESSAGES/cirrovan.mo"));

    // This prefix's German is French: what the program then says in German
    // can only have come from here, not from the build folder's catalogues.
    std::filesystem::copy_file(locale + "fr/LC_MESSAGES/cirrovan.mo", locale + "de/LC_MESSAGES/cirrovan.mo",
                               std::filesystem::copy_options::overwrite_existing);
    struct InstalledExe : IExePathSource
    {
        std::wstring m_strPath;
        std::wstring Path() const override { return m_strPath; }
    } exe;
    exe.m_strPath = CCodePage::Decode(prefix + "/bin/cirrovan");
    CExePath::Use(&exe);
    EXPECT_EQ(StartIn("de_DE.UTF-8", nullptr).strQuit, L"Quitter");
}

}   // namespace
