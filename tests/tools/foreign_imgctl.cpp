// A library named imgctl.dll that is not ours: loading it leaves a file
// "foreign-loaded.txt" beside it, so a test can tell that it was loaded.
#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    wchar_t* slash = n ? wcsrchr(path, L'\\') : nullptr;
    if (slash) {
      wcscpy(slash + 1, L"foreign-loaded.txt");
      HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    }
  }
  return TRUE;
}

extern "C" __declspec(dllexport) int __stdcall ImgctlVersion() { return 1; }
