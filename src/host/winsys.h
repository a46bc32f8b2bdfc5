// The seam to the window system of Word's process: the window tree, window
// placement, focus, pointer, shell, registry and screen resolution.
//
// Calls that Windows reports through a result the add-in ignores (moving a
// window, the foreground, the shell) return bool and never throw; the callers
// decide. Text is UTF-16 and the implementations use the Unicode entry
// points, so captions in any script and of any length are read whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plovera::host {

// A window handle. Windows guarantees that window handles fit in 32 bits
// (they are sign-extended on 64-bit Windows); 0 means none.
using Hwnd = std::uint32_t;

// Screen rectangle in pixels.
struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Point {
  std::int32_t x = 0, y = 0;
};

// The highest resolution Windows scales a window to (1536 dpi, 1600 %).
// A resolution outside 1 to this is unreadable: whoever reads one falls back
// to the screen's, and from there to 96 dpi, so that no unit derived from it
// (twips per pixel, a picture's size) comes out as zero or absurdly large.
inline constexpr std::int32_t kHighestResolution = 1536;
inline constexpr std::int32_t kStandardResolution = 96;
constexpr bool is_readable_resolution(std::int32_t dpi) noexcept {
  return dpi > 0 && dpi <= kHighestResolution;
}

// How a window relates to another, for walking the window tree.
enum class WindowRelation : std::uint32_t { first_sibling = 0, next_sibling = 2, first_child = 5 };

// Options of place_window.
namespace place {
inline constexpr std::uint32_t keep_z_order = 0x4;   // leave the stacking order alone
inline constexpr std::uint32_t frame_changed = 0x20;  // the window recomputes its frame
}  // namespace place
// place_window's `insert_after` for "on top of its siblings".
inline constexpr Hwnd kTopOfZOrder = 0;

// Registry: keys, statuses (the values of Windows' own status codes) and
// value types.
enum class RegRoot : std::uint8_t { current_user, local_machine };
using RegKey = std::uintptr_t;  // an open key; 0 = none
namespace reg {
inline constexpr std::int32_t ok = 0;
inline constexpr std::int32_t not_found = 2;
inline constexpr std::int32_t access_denied = 5;
inline constexpr std::int32_t invalid_handle = 6;
inline constexpr std::int32_t more_data = 234;
inline constexpr std::uint32_t read_access = 0x0001;
inline constexpr std::uint32_t type_none = 0, type_string = 1, type_expandable_string = 2,
                               type_binary = 3, type_dword = 4, type_multi_string = 7;
}  // namespace reg

// What the window system tells of a watched window of Word's: laid out
// again (moved, resized, its children moved), minimised, restored, its title
// changed, destroyed; and, for a top-level one, its program becoming or
// ceasing to be the foreground program, and the look of the system changing
// (its colours, high contrast on or off, Windows' light or dark app mode),
// which Windows tells every top-level window.
enum class WindowNotice : std::uint8_t {
  laid_out, minimised, restored, title_changed, destroyed, app_activated, app_deactivated,
  system_look_changed
};

// A watch of registry keys: whether a value directly under one of them was
// written or deleted (their sub-keys are not watched), or a missing key
// appeared, since the last question. Any number of changes between two
// questions answer one "true". Destroying the watch ends it.
class RegistryWatch {
 public:
  virtual ~RegistryWatch() = default;
  // Asks without waiting; the watch goes on after a "true".
  virtual bool changed() = 0;
};

// The receiver of window notices. It is called from inside the window's own
// message handling (perhaps inside a call of the add-in's): it only records.
class WindowNotices {
 public:
  virtual void window_notice(Hwnd h, WindowNotice what) noexcept = 0;

 protected:
  ~WindowNotices() = default;
};

class WindowSystem {
 public:
  virtual Hwnd desktop_window() = 0;
  virtual Hwnd related_window(Hwnd h, WindowRelation relation) = 0;
  // Class name and caption; both leave `out` empty for a window that is gone.
  virtual void window_class(Hwnd h, std::u16string& out) = 0;
  virtual std::int32_t window_text_length(Hwnd h) = 0;
  virtual void window_text(Hwnd h, std::u16string& out) = 0;
  virtual Hwnd find_child(Hwnd parent, Hwnd child_after, const char16_t* cls,
                            const char16_t* title) = 0;
  virtual Hwnd parent_of(Hwnd h) = 0;
  // Whether the window belongs to the process the add-in runs in (Word's):
  // the add-in never touches another program's windows.
  virtual bool in_this_process(Hwnd h) = 0;
  virtual Hwnd set_parent(Hwnd child, Hwnd new_parent) = 0;
  // Leaves `r` unchanged and returns false when the window does not exist.
  virtual bool window_rect(Hwnd h, Rect& r) = 0;
  // x and y are relative to the parent's client area.
  virtual bool place_window(Hwnd h, Hwnd insert_after, std::int32_t x, std::int32_t y,
                            std::int32_t cx, std::int32_t cy, std::uint32_t flags) = 0;
  virtual bool bring_to_foreground(Hwnd h) = 0;
  virtual bool cursor_pos(Point& p) = 0;
  // The shell's verb on `file`; the result is not looked at by the add-in.
  virtual bool shell_execute(Hwnd owner, const std::u16string& verb, const std::u16string& file,
                            const std::u16string& parameters, const std::u16string& directory,
                            std::int32_t show) = 0;
  // Tells the user something, in a message box owned by `owner`; returns
  // when it is closed.
  virtual void show_message(Hwnd owner, const std::u16string& title,
                            const std::u16string& text) = 0;
  // Puts `text` on the clipboard as Unicode text, owned by `owner`; false
  // when the clipboard could not be opened (another program holds it) or
  // the text not stored.
  virtual bool copy_to_clipboard(Hwnd owner, const std::u16string& text) = 0;
  // Waits on Word's thread without running its message loop (a short retry).
  virtual void wait_ms(std::uint32_t ms) = 0;
  // The folder from which the add-in's own file was loaded.
  virtual std::u16string module_folder() = 0;
  // The screen's logical resolution (dots per inch), horizontally and vertically.
  virtual std::int32_t dpi_x() = 0;
  virtual std::int32_t dpi_y() = 0;
  // The resolution of the monitor that window `h` is on, as Windows scales
  // that window (per-monitor DPI); the screen's resolution where Windows has
  // no per-window resolution (before Windows 10) or the window is gone.
  // Read it again when the window may have moved to another monitor: Word's
  // main window is laid out anew when its resolution changes.
  // All three answer what Windows says, which may be unreadable
  // (is_readable_resolution): the caller checks.
  virtual std::int32_t dpi_of_window(Hwnd h) = 0;

  // Notices of window `h` (one of this process's) go to `receiver` until
  // stop_watching or the window's end; false when they cannot be had. One
  // receiver per window.
  virtual bool watch_window(Hwnd h, WindowNotices& receiver) = 0;
  virtual void stop_watching(Hwnd h) noexcept = 0;
  // Whether the window is minimised (false for one that is gone).
  virtual bool minimised(Hwnd h) = 0;
  // Whether the foreground window is one of Word's: of the add-in's own
  // thread, Word's user-interface thread (Windows tells that thread when
  // another one's window comes to the front).
  virtual bool word_in_foreground() = 0;

  // Registry, with Win32's status codes (0 = success).
  virtual std::int32_t open_key(RegRoot root, const std::u16string& sub_key,
                                    std::uint32_t access, RegKey& out) = 0;
  // As Windows' RegQueryValueExW: `type` and `size` (bytes) in and out; `data` may be
  // null to ask for the size. reg::more_data when `size` is too small.
  virtual std::int32_t query_value(RegKey key, const std::u16string& name,
                                       std::uint32_t& type, std::uint8_t* data,
                                       std::uint32_t& size) = 0;
  virtual std::int32_t close_key(RegKey key) = 0;
  // Watches `keys` (sub-keys of `root`); null when not one of them, nor a
  // key on its path, can be watched.
  virtual std::unique_ptr<RegistryWatch> watch_keys(RegRoot root,
                                                    const std::vector<std::u16string>& keys) = 0;

 protected:
  ~WindowSystem() = default;
};

}  // namespace plovera::host
