// The window system of Word's process (host/winsys.h) over user32, gdi32,
// shell32 and advapi32, with the Unicode entry points.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/winsys.h"

namespace plovera::win32 {

// Window handles fit in 32 bits; on 64-bit Windows they are sign-extended
// (as LongToHandle does), so 0xFFFFxxxx values survive the round trip.
inline HWND to_hwnd(host::Hwnd h) noexcept {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(h)));
}
inline host::Hwnd from_hwnd(HWND h) noexcept {
  return static_cast<host::Hwnd>(reinterpret_cast<std::uintptr_t>(h));
}

// The full path of a loaded module's file (of any length); empty on failure.
std::u16string module_file_name(HMODULE module);

class Win32WindowSystem final : public host::WindowSystem {
 public:
  // `module` is the add-in's own DLL, whose folder module_folder answers.
  explicit Win32WindowSystem(HMODULE module) noexcept : module_(module) {}

  host::Hwnd desktop_window() override;
  host::Hwnd related_window(host::Hwnd h, host::WindowRelation relation) override;
  void window_class(host::Hwnd h, std::u16string& out) override;
  std::int32_t window_text_length(host::Hwnd h) override;
  void window_text(host::Hwnd h, std::u16string& out) override;
  host::Hwnd find_child(host::Hwnd parent, host::Hwnd child_after, const char16_t* cls,
                          const char16_t* title) override;
  host::Hwnd parent_of(host::Hwnd h) override;
  bool in_this_process(host::Hwnd h) override;
  void show_message(host::Hwnd owner, const std::u16string& title,
                    const std::u16string& text) override;
  host::Hwnd set_parent(host::Hwnd child, host::Hwnd new_parent) override;
  bool window_rect(host::Hwnd h, host::Rect& r) override;
  bool place_window(host::Hwnd h, host::Hwnd insert_after, std::int32_t x, std::int32_t y,
                    std::int32_t cx, std::int32_t cy, std::uint32_t flags) override;
  bool bring_to_foreground(host::Hwnd h) override;
  bool cursor_pos(host::Point& p) override;
  bool shell_execute(host::Hwnd owner, const std::u16string& verb, const std::u16string& file,
                    const std::u16string& parameters, const std::u16string& directory,
                    std::int32_t show) override;
  bool copy_to_clipboard(host::Hwnd owner, const std::u16string& text) override;
  void wait_ms(std::uint32_t ms) override { ::Sleep(ms); }
  std::u16string module_folder() override;
  std::int32_t dpi_x() override;
  std::int32_t dpi_y() override;
  std::int32_t dpi_of_window(host::Hwnd h) override;
  std::int32_t open_key(host::RegRoot root, const std::u16string& sub_key,
                            std::uint32_t access, host::RegKey& out) override;
  std::int32_t query_value(host::RegKey key, const std::u16string& name, std::uint32_t& type,
                               std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t close_key(host::RegKey key) override;
  // RegNotifyChangeKeyValue (registry_watch.cpp).
  std::unique_ptr<host::RegistryWatch> watch_keys(host::RegRoot root,
                                                  const std::vector<std::u16string>& keys) override;
  // Watching subclasses the window (comctl32's SetWindowSubclass); the
  // subclass goes with stop_watching or the window's WM_NCDESTROY.
  bool watch_window(host::Hwnd h, host::WindowNotices& receiver) override;
  void stop_watching(host::Hwnd h) noexcept override;
  bool minimised(host::Hwnd h) override;
  bool word_in_foreground() override;

 private:
  HMODULE module_;
};

}  // namespace plovera::win32
