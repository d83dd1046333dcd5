// The date parser: the first byte picks the flags, the rest is the text as the
// feed's bytes become wide text. Whatever it accepts is a date in range.
#include "platform/CodePage.h"
#include "platform/VarDate.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const unsigned long dwFlags = data[0] & 3;
    const unsigned long lcid = data[0] & 4 ? LOCALE_EN_US : LOCALE_USER_DEFAULT;
    std::wstring text = CCodePage::Decode(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    double dDate = 0;
    HRESULT hr = VarDateFromStr(text.c_str(), lcid, dwFlags, &dDate);
    if (hr == S_OK) {
        // 1 January 100 to 31 December 9999.
        if (!(dDate > -657435.0 && dDate < 2958466.0))
            __builtin_trap();
        SYSTEMTIME st;
        VariantTimeToSystemTime(dDate, &st);
    }
    return 0;
}
