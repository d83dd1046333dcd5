// The code-page converter: any bytes decode, the repair gives valid UTF-8 that
// decodes the same, and encoding the decoded text gives the repair back; any
// wide text encodes.
#include "platform/CodePage.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring wide = CCodePage::Decode(bytes);
    const std::string repaired = CCodePage::Repair(bytes);
    if (CCodePage::Repair(repaired) != repaired || CCodePage::Decode(repaired) != wide
        || CCodePage::Encode(wide) != repaired)
        __builtin_trap();

    std::wstring raw(size / sizeof(wchar_t), L'\0');
    std::memcpy(raw.data(), data, raw.size() * sizeof(wchar_t));
    const std::string encoded = CCodePage::Encode(raw);
    if (CCodePage::Repair(encoded) != encoded)
        __builtin_trap();
    return 0;
}
