// Network drive status through netapi32, bound at run time.
#include "shell/KxNetDrive.h"

#include <lmuse.h>

namespace {

enum class State { Untried, Unavailable, Bound };

State state = State::Untried;
TKxNetApi api;
HMODULE library = nullptr;
TKxNetApiBinder binder = nullptr;

bool BindNetapi32(TKxNetApi& entries) {
  library = LoadLibraryW(L"netapi32.dll");
  if (!library) return false;
  entries.NetUseGetInfo =
      reinterpret_cast<TKxNetApi::NetUseGetInfoFn>(
          reinterpret_cast<void (*)()>(GetProcAddress(library, "NetUseGetInfo")));
  entries.NetApiBufferFree =
      reinterpret_cast<TKxNetApi::NetApiBufferFreeFn>(
          reinterpret_cast<void (*)()>(GetProcAddress(library, "NetApiBufferFree")));
  return entries.NetUseGetInfo && entries.NetApiBufferFree;
}

}  // namespace

void FreeNetApi() {
  if (library) FreeLibrary(library);
  library = nullptr;
  api = {};
  state = State::Untried;
}

void SetNetApiBinder(TKxNetApiBinder replacement) {
  FreeNetApi();
  binder = replacement;
}

bool IsNetDriveConnected(char letter) {
  if (state == State::Untried) {
    TKxNetApi entries;
    const bool bound = binder ? binder(entries) : BindNetapi32(entries);
    state = bound ? State::Bound : State::Unavailable;
    api = bound ? entries : TKxNetApi{};
  }
  if (state != State::Bound) return true;
  const wchar_t name[3] = {static_cast<wchar_t>(static_cast<unsigned char>(letter)), L':', 0};
  BYTE* buffer = nullptr;
  if (api.NetUseGetInfo(nullptr, name, 1, &buffer) != 0) {
    if (buffer) api.NetApiBufferFree(buffer);
    return false;
  }
  const bool connected = buffer && reinterpret_cast<USE_INFO_1*>(buffer)->ui1_status == USE_OK;
  if (buffer) api.NetApiBufferFree(buffer);
  return connected;
}
