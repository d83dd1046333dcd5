#pragma once

// The debugger's output window of the platform. A Linux program has none; its
// text goes to the standard error stream, where a developer running the
// program sees it. No line break is added.
void OutputDebugStringW(const wchar_t* pszText);
