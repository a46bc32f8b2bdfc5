#include "system_model.h"

#include <shellapi.h>

#include <atomic>
#include <cstring>

namespace standin::system_model {
namespace {

std::atomic<bool> g_high_contrast{false};
std::atomic<int> g_dpi{0};

using SystemParametersInfoFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

SystemParametersInfoFn g_real_spi = nullptr;
ShellExecuteFn g_real_shell_execute = nullptr;
SRWLOCK g_file_manager_lock = SRWLOCK_INIT;
std::vector<std::wstring> g_file_manager_calls;

bool ends_with_explorer(const wchar_t* file) {
  if (!file) return false;
  const size_t n = std::wcslen(file);
  static constexpr wchar_t kExplorer[] = L"explorer.exe";
  const size_t k = std::size(kExplorer) - 1;
  return n >= k && _wcsicmp(file + n - k, kExplorer) == 0 && (n == k || file[n - k - 1] == L'\\');
}

// Windows' file manager is recorded, with its whole command line, rather
// than started (Wine's would open a window of its own on the display).
HINSTANCE WINAPI modelled_shell_execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                        LPCWSTR directory, INT show) {
  if (!ends_with_explorer(file))
    return g_real_shell_execute(owner, verb, file, parameters, directory, show);
  AcquireSRWLockExclusive(&g_file_manager_lock);
  g_file_manager_calls.push_back(std::wstring(L"explorer.exe ") + (parameters ? parameters : L""));
  ReleaseSRWLockExclusive(&g_file_manager_lock);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // above 32: success
}
GetProcAddressFn g_real_get_proc = nullptr;

BOOL WINAPI modelled_system_parameters_info(UINT action, UINT param, PVOID data, UINT flags) {
  if (action == SPI_GETHIGHCONTRAST && data) {
    auto* hc = static_cast<HIGHCONTRASTW*>(data);
    if (hc->cbSize < sizeof(HIGHCONTRASTW)) return FALSE;
    hc->dwFlags = HCF_AVAILABLE | (g_high_contrast ? HCF_HIGHCONTRASTON : 0);
    hc->lpszDefaultScheme = nullptr;
    return TRUE;
  }
  return g_real_spi(action, param, data, flags);
}

UINT WINAPI modelled_get_dpi_for_window(HWND hwnd) {
  if (!IsWindow(hwnd)) return 0;
  if (const int dpi = g_dpi) return static_cast<UINT>(dpi);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return static_cast<UINT>(dpi);
}

FARPROC WINAPI modelled_get_proc_address(HMODULE module, LPCSTR name) {
  if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && std::strcmp(name, "GetDpiForWindow") == 0 &&
      module == GetModuleHandleW(L"user32.dll"))
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&modelled_get_dpi_for_window));
  return g_real_get_proc(module, name);
}

void write_slot(ULONG_PTR* slot, void* value) {
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return;
  *slot = reinterpret_cast<ULONG_PTR>(value);
  VirtualProtect(slot, sizeof *slot, old, &old);
}

// Replaces the import `function` from `dll` in `module`'s import table.
bool patch_import(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return false;
  bool patched = false;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) != 0) continue;
      write_slot(reinterpret_cast<ULONG_PTR*>(&slots->u1.Function), replacement);
      patched = true;
    }
  }
  return patched;
}

// The colours of the two schemes, as Windows 10 sets them.
struct SchemeColour {
  int element;
  COLORREF white_on_black, black_on_white;
};
constexpr SchemeColour kSchemes[] = {
    {COLOR_WINDOW, RGB(0, 0, 0), RGB(255, 255, 255)},
    {COLOR_WINDOWTEXT, RGB(255, 255, 255), RGB(0, 0, 0)},
    {COLOR_BTNFACE, RGB(0, 0, 0), RGB(255, 255, 255)},
    {COLOR_BTNTEXT, RGB(255, 255, 255), RGB(0, 0, 0)},
    {COLOR_HIGHLIGHT, RGB(26, 235, 255), RGB(55, 0, 110)},
    {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0), RGB(255, 255, 255)},
    {COLOR_GRAYTEXT, RGB(63, 242, 63), RGB(96, 0, 0)},
    {COLOR_3DFACE, RGB(0, 0, 0), RGB(255, 255, 255)},
};
constexpr int kSchemeSize = static_cast<int>(sizeof kSchemes / sizeof kSchemes[0]);
COLORREF g_saved[kSchemeSize];
bool g_saved_valid = false;

}  // namespace

void set_contrast(Contrast scheme) {
  int elements[kSchemeSize];
  COLORREF colours[kSchemeSize];
  for (int i = 0; i < kSchemeSize; ++i) {
    elements[i] = kSchemes[i].element;
    if (!g_saved_valid) g_saved[i] = GetSysColor(kSchemes[i].element);
    colours[i] = scheme == Contrast::white_on_black ? kSchemes[i].white_on_black
                 : scheme == Contrast::black_on_white ? kSchemes[i].black_on_white
                                                      : g_saved[i];
  }
  g_saved_valid = scheme != Contrast::off;
  g_high_contrast = scheme != Contrast::off;
  SetSysColors(kSchemeSize, elements, colours);  // tells every top-level window
}

bool high_contrast() { return g_high_contrast; }

void set_monitor_dpi(int dpi) { g_dpi = dpi; }
int monitor_dpi() { return g_dpi; }

std::vector<std::wstring> file_manager_calls() {
  AcquireSRWLockShared(&g_file_manager_lock);
  std::vector<std::wstring> calls = g_file_manager_calls;
  ReleaseSRWLockShared(&g_file_manager_lock);
  return calls;
}

bool attach(HMODULE module) {
  if (!module) return false;
  if (!g_real_shell_execute)
    g_real_shell_execute = reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryW(L"shell32.dll"), "ShellExecuteW")));
  patch_import(module, "shell32.dll", "ShellExecuteW",
               reinterpret_cast<void*>(&modelled_shell_execute));
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (!g_real_spi)
    g_real_spi = reinterpret_cast<SystemParametersInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SystemParametersInfoW")));
  if (!g_real_get_proc)
    g_real_get_proc = reinterpret_cast<GetProcAddressFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "GetProcAddress")));
  const bool spi = patch_import(module, "user32.dll", "SystemParametersInfoW",
                                reinterpret_cast<void*>(&modelled_system_parameters_info));
  const bool proc = patch_import(module, "kernel32.dll", "GetProcAddress",
                                 reinterpret_cast<void*>(&modelled_get_proc_address));
  return spi || proc;
}

HMODULE module_of(IUnknown* object) {
  HMODULE module = nullptr;
  if (!object) return nullptr;
  const void* table = *reinterpret_cast<void* const*>(object);
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCWSTR>(table), &module);
  return module;
}

}  // namespace standin::system_model
