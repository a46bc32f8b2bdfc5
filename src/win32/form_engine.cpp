#include "win32/form_engine.h"

#include "win32/form_diagnostics.h"
#include "win32/form_query.h"
#include "win32/form_window.h"
#include "win32/images.h"

namespace plovera::win32 {

Win32FormEngine::Win32FormEngine(HINSTANCE module)
    : module_(module), images_(std::make_shared<ImageStore>()) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &FormWindow::window_proc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kBarWindowClass;
  // A second engine in the same module finds the class registered already
  // and leaves it to the first to remove.
  registered_ = RegisterClassExW(&wc) != 0;
}

Win32FormEngine::~Win32FormEngine() {
  // Fails harmlessly while a bar window still exists.
  if (registered_) UnregisterClassW(kBarWindowClass, module_);
}

std::unique_ptr<host::Form> Win32FormEngine::CreateForm(host::FormEvents& events) {
  return std::make_unique<FormWindow>(module_, kBarWindowClass, images_, events);
}

std::uint32_t bar_paint_count(HWND bar) noexcept {
  wchar_t name[64] = {};
  if (!GetClassNameW(bar, name, 64) || lstrcmpW(name, kBarWindowClass) != 0) return 0;
  if (GetWindowThreadProcessId(bar, nullptr) != GetCurrentThreadId()) return 0;
  const auto* form = reinterpret_cast<const FormWindow*>(GetWindowLongPtrW(bar, GWLP_USERDATA));
  return form ? form->paint_count() : 0;
}

}  // namespace plovera::win32
