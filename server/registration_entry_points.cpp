// Self-registration's exports. The library does not register itself yet: both answer E_NOTIMPL,
// and a host or installer sees that nothing was written.
#include <windows.h>

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return E_NOTIMPL; }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return E_NOTIMPL; }
