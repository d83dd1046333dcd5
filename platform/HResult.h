#pragma once

#include <cstdint>

// Result codes of the platform's automation and COM-style calls: 0 is success,
// a negative value (high bit set) a failure.
typedef int32_t HRESULT;

const HRESULT S_OK = 0;
const HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
const HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
const HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
const HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline bool FAILED(HRESULT hr) { return hr < 0; }
