// Whether a network drive letter is connected, asked of netapi32 (NetUseGetInfo, level 1),
// which is loaded on first use and never retried when it or its entries are missing. The
// binding can be replaced so that tests can play connected, broken and missing libraries.
#pragma once

#include "shell/KxShellIntf.h"

// The two entries the test needs, in the platform's calling convention.
struct TKxNetApi {
  using NetUseGetInfoFn = DWORD(WINAPI*)(LPCWSTR server, LPCWSTR useName, DWORD level,
                                         BYTE** buffer);
  using NetApiBufferFreeFn = DWORD(WINAPI*)(void* buffer);
  NetUseGetInfoFn NetUseGetInfo = nullptr;
  NetApiBufferFreeFn NetApiBufferFree = nullptr;
};

// True when the library is unavailable; else whether NetUseGetInfo on "<letter>:" succeeds
// with the use's status USE_OK.
bool IsNetDriveConnected(char letter);

// The binder runs on first use; it fills the entries and reports whether both were found.
using TKxNetApiBinder = bool (*)(TKxNetApi& api);
// Replaces the binder (nil: the real netapi32) and forgets any earlier binding.
void SetNetApiBinder(TKxNetApiBinder binder);
// Frees the library bound by the real binder; the next use binds again.
void FreeNetApi();
