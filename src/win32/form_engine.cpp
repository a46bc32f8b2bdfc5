#include "win32/form_engine.h"

#include "win32/bar_instruments.h"
#include "win32/form_window.h"
#include "win32/images.h"

namespace plovera::win32 {

namespace {
// Engines of this module alive now. The window class is registered by the
// first and removed with the last: an engine may outlive a newer one (the
// add-in's state of an earlier connection waits until its callbacks have
// returned), so the class belongs to none of them alone.
int g_engines = 0;
}  // namespace

Win32FormEngine::Win32FormEngine(HINSTANCE module)
    : module_(module), images_(std::make_shared<ImageStore>()) {
  if (g_engines++ > 0) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &FormWindow::window_proc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kBarWindowClass;
  RegisterClassExW(&wc);
}

Win32FormEngine::~Win32FormEngine() {
  if (--g_engines == 0) UnregisterClassW(kBarWindowClass, module_);
}

std::unique_ptr<host::Form> Win32FormEngine::CreateForm(host::FormEvents& events) {
  return std::make_unique<host::FormHandle>(
      std::make_shared<FormWindow>(module_, kBarWindowClass, images_, events));
}

}  // namespace plovera::win32
