// The Win32 forms engine: the tab bar as one window whose elements are drawn
// items, not child windows.
#pragma once

#include <windows.h>

#include <memory>

#include "win32/form_seam.h"

namespace plovera::win32 {

class ImageStore;

class Win32FormEngine final : public host::FormEngine {
 public:
  // Forms get a window class registered in `module` (the add-in's DLL).
  explicit Win32FormEngine(HINSTANCE module);
  ~Win32FormEngine();
  std::unique_ptr<host::Form> CreateForm(host::FormEvents& events) override;
  // GetTickCount: the clock WM_TIMER counts by, and on every Windows version.
  std::uint32_t milliseconds() noexcept override { return GetTickCount(); }

 private:
  HINSTANCE module_;
  // The pictures, drawn once per engine and shared with its forms.
  std::shared_ptr<ImageStore> images_;
};

}  // namespace plovera::win32
