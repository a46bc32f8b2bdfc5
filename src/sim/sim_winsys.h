// A simulated window system: host/winsys.h in memory.
//
// The window tree. The desktop is the root; every window has a class, a
// caption and a place. Children are kept in Z order, first = top. A window's
// place is stored relative to its parent's client area, whose origin is the
// parent's top-left corner (windows have no frame here; the desktop's origin
// is 0,0), so moving a window moves its descendants with it, as on Windows.
// Handles are never reused; a destroyed window's handle is unknown from then
// on.
//
// The registry. Keys and value names compare case-insensitively (ASCII), as
// Windows does. A key exists when it was created or holds a value, or lies
// on the path of one that does. Values keep their Win32 type and bytes:
// strings are stored as UTF-16 with their terminating NUL.
//
// Call names are the Win32 function names: "GetWindowRect",
// "SetWindowPos", "RegQueryValueEx", ... (kWinsysCallNames); "ModuleFolder",
// "LogPixelsX" and "LogPixelsY" for the rest. Every call is counted. An
// injected failure has no effect and returns the function's failure value:
// 0 for a handle or a length, false, an empty text, host::reg::access_denied for
// the registry, 0 from LogPixelsX/Y (as a failing GetDeviceCaps). These
// functions never throw. The test-side functions are not counted.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/winsys.h"
#include "sim/sim_calls.h"

namespace plovera::sim {

enum class WinsysCall : std::uint8_t {
  GetDesktopWindow, GetWindow, GetClassName, GetWindowTextLength, GetWindowText,
  FindWindowEx, GetParent, SetParent, GetWindowRect, SetWindowPos,
  SetForegroundWindow, GetCursorPos, ShellExecute, ModuleFolder, LogPixelsX, LogPixelsY,
  RegOpenKeyEx, RegQueryValueEx, RegCloseKey, GetDpiForWindow,
  SetWindowSubclass, RemoveWindowSubclass, IsIconic, GetForegroundWindow,
  RegNotifyChangeKeyValue, WaitForSingleObject,
  count_
};
extern const std::span<const char* const> kWinsysCallNames;


struct ShellCall {
  host::Hwnd owner;
  std::u16string verb, file, parameters, directory;
  std::int32_t show;
};

// The last SetWindowPos that took effect on a window, as it was called.
struct WindowPos {
  host::Hwnd insert_after = 0;
  std::int32_t x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t flags = 0;
};

class SimWindowSystem final : public host::WindowSystem, public CallMeter {
 public:
  SimWindowSystem();
  SimWindowSystem(const SimWindowSystem&) = delete;
  SimWindowSystem& operator=(const SimWindowSystem&) = delete;

  // ---- host::WindowSystem ------------------------------------------------
  host::Hwnd desktop_window() override;
  host::Hwnd related_window(host::Hwnd h, host::WindowRelation relation) override;
  void window_class(host::Hwnd h, std::u16string& out) override;
  std::int32_t window_text_length(host::Hwnd h) override;
  void window_text(host::Hwnd h, std::u16string& out) override;
  // Direct children of `parent` (0 = the desktop) after `child_after`
  // (0 = from the top), whose class and title equal the given ones exactly;
  // a null class or title matches any.
  host::Hwnd find_child(host::Hwnd parent, host::Hwnd child_after, const char16_t* cls,
                          const char16_t* title) override;
  // 0 for a top-level window, as Windows gives for one without an owner.
  host::Hwnd parent_of(host::Hwnd h) override;
  // The window keeps its place relative to its parent's client area and
  // goes to the top of its new siblings. Returns the old parent (the desktop
  // for a top-level window), 0 when it fails.
  host::Hwnd set_parent(host::Hwnd child, host::Hwnd new_parent) override;
  bool window_rect(host::Hwnd h, host::Rect& r) override;
  // x, y relative to the parent's client area; a negative size becomes 0.
  // Without SWP_NOZORDER the window goes behind `insert_after` (HWND_TOP:
  // to the top).
  bool place_window(host::Hwnd h, host::Hwnd insert_after, std::int32_t x, std::int32_t y,
                    std::int32_t cx, std::int32_t cy, std::uint32_t flags) override;
  bool bring_to_foreground(host::Hwnd h) override;
  bool cursor_pos(host::Point& p) override;
  bool shell_execute(host::Hwnd owner, const std::u16string& verb, const std::u16string& file,
                    const std::u16string& parameters, const std::u16string& directory,
                    std::int32_t show) override;
  std::u16string module_folder() override;
  // The clipboard: refused while another program holds it.
  bool copy_to_clipboard(host::Hwnd owner, const std::u16string& text) override;
  // Waits take no time; the clock of the tests is the forms engine's.
  void wait_ms(std::uint32_t ms) override { waits_.push_back(ms); }
  std::int32_t dpi_x() override;
  bool in_this_process(host::Hwnd h) override;
  void show_message(host::Hwnd owner, const std::u16string& title,
                    const std::u16string& text) override;
  // The messages shown to the user, oldest first (title, text).
  const std::vector<std::pair<std::u16string, std::u16string>>& messages() const noexcept {
    return messages_;
  }
  std::int32_t dpi_y() override;
  // The window's own resolution (window_dpi), else the screen's (LogPixelsY);
  // 0 when the call is made to fail.
  std::int32_t dpi_of_window(host::Hwnd h) override;
  // A missing key gives host::reg::not_found and leaves `out` untouched.
  std::int32_t open_key(host::RegRoot root, const std::u16string& sub_key,
                            std::uint32_t access, host::RegKey& out) override;
  // As RegQueryValueExW: the value's type is written whenever it exists;
  // `size` receives the byte size of the data (strings with their NUL);
  // null `data` only asks for the size; a too small `size` gives
  // host::reg::more_data with the buffer untouched; a missing value gives
  // host::reg::not_found with `type`, `size` and the buffer untouched.
  // An unknown or closed key gives host::reg::invalid_handle.
  std::int32_t query_value(host::RegKey key, const std::u16string& name,
                               std::uint32_t& type, std::uint8_t* data,
                               std::uint32_t& size) override;
  std::int32_t close_key(host::RegKey key) override;
  // "RegNotifyChangeKeyValue" once per watch; its changed() is
  // "WaitForSingleObject". A watched key may be missing: it counts as
  // changed when it appears with a value.
  std::unique_ptr<host::RegistryWatch> watch_keys(host::RegRoot root,
                                                  const std::vector<std::u16string>& keys) override;
  // Watching stands for subclassing the window ("SetWindowSubclass",
  // "RemoveWindowSubclass"): one receiver per window, gone with the window.
  bool watch_window(host::Hwnd h, host::WindowNotices& receiver) override;
  void stop_watching(host::Hwnd h) noexcept override;
  bool minimised(host::Hwnd h) override;  // "IsIconic"
  bool word_in_foreground() override;  // "GetForegroundWindow"

  // ---- Window notices (test side) ----------------------------------------
  // A watched window tells its receiver, as the window system does when it
  // is moved or sized (set_rect, place_window), minimised or restored, its
  // caption set, destroyed, or its program activated or deactivated.
  bool watched(host::Hwnd h) const noexcept { return watchers_.count(h) != 0; }
  int watched_count() const noexcept { return static_cast<int>(watchers_.size()); }
  void minimise(host::Hwnd h);
  void restore(host::Hwnd h);
  // Another program comes to the front (Word's windows stay where they are),
  // or Word comes back: every watched top-level window hears of it.
  void other_program_in_front();
  void word_in_front();
  bool word_in_front_now() const noexcept { return word_in_front_; }

  // ---- The window tree (test side) ---------------------------------------
  host::Hwnd desktop() const noexcept { return desktop_; }
  // A new window at the top of its parent's children; `screen` is where it
  // lies on the screen.
  host::Hwnd create_window(host::Hwnd parent, std::u16string cls, std::u16string caption,
                           host::Rect screen);
  // Destroys the window and its descendants.
  void destroy_window(host::Hwnd h);
  bool exists(host::Hwnd h) const noexcept;
  host::Hwnd parent(host::Hwnd h) const;  // the desktop for a top-level window
  std::vector<host::Hwnd> children(host::Hwnd h) const;  // Z order, top first
  const std::u16string& class_name(host::Hwnd h) const;
  // The window (and what it holds) belongs to another process.
  void make_foreign(host::Hwnd h);
  const std::u16string& caption(host::Hwnd h) const;
  void set_caption(host::Hwnd h, std::u16string caption);
  host::Rect rect(host::Hwnd h) const;  // screen pixels
  void set_rect(host::Hwnd h, host::Rect screen);
  // SetWindowPos calls that took effect on the window, and the last one.
  int moves(host::Hwnd h) const;
  WindowPos last_pos(host::Hwnd h) const;

  // ---- Focus, pointer, shell, screen (test side) -------------------------
  host::Hwnd foreground() const noexcept { return foreground_; }
  // SetForegroundWindow calls that took effect.
  int foreground_count() const noexcept { return foreground_count_; }
  // A program's own activation of a window: to the top of its siblings and
  // into the foreground (not a SetForegroundWindow call of the add-in's).
  void bring_to_top(host::Hwnd h);
  void cursor(std::int32_t x, std::int32_t y) noexcept { cursor_ = {x, y}; }
  const std::vector<ShellCall>& shell_calls() const noexcept { return shell_calls_; }
  void module_folder(std::u16string folder) { module_folder_ = std::move(folder); }
  // The clipboard's Unicode text, and how many more attempts to open it fail
  // because another program holds it.
  const std::u16string& clipboard() const noexcept { return clipboard_; }
  void hold_clipboard(int attempts) noexcept { clipboard_held_ = attempts; }
  const std::vector<std::uint32_t>& waits() const noexcept { return waits_; }
  void log_pixels(std::int32_t x, std::int32_t y) noexcept { dpi_x_ = x, dpi_y_ = y; }
  // The resolution of the monitor window `h` is on (0: the screen's), as a
  // move to another monitor changes it.
  void window_dpi(host::Hwnd h, std::int32_t dpi) { window_dpi_[h] = dpi; }
  // 1440 / LogPixels rounded half to even: the screen's twips per pixel.
  std::int32_t twips_per_pixel_x() const noexcept;
  std::int32_t twips_per_pixel_y() const noexcept;

  // ---- The registry (test side) ------------------------------------------
  void create_key(host::RegRoot root, const std::u16string& key);
  void set_value(host::RegRoot root, const std::u16string& key, const std::u16string& name,
                 std::uint32_t type, std::vector<std::uint8_t> bytes);
  void set_string(host::RegRoot root, const std::u16string& key, const std::u16string& name,
                  const std::u16string& text, std::uint32_t type = host::reg::type_string);
  void set_multi(host::RegRoot root, const std::u16string& key, const std::u16string& name,
                 const std::vector<std::u16string>& strings);
  void set_dword(host::RegRoot root, const std::u16string& key, const std::u16string& name,
                 std::uint32_t value);
  void set_binary(host::RegRoot root, const std::u16string& key, const std::u16string& name,
                  std::vector<std::uint8_t> bytes);
  void remove_value(host::RegRoot root, const std::u16string& key, const std::u16string& name);
  // Keys opened and not yet closed.
  int open_keys() const noexcept { return static_cast<int>(open_keys_.size()); }
  // The access mask of every RegOpenKeyEx call, in order.
  const std::vector<std::uint32_t>& opened_access() const noexcept { return opened_access_; }
  // Registry watches alive.
  int registry_watches() const noexcept;
  // Windows tells every watched top-level window that the system's look
  // changed (its colours, high contrast, the app mode).
  void system_look_changed();

 private:
  struct Node {
    host::Hwnd parent = 0;
    std::vector<host::Hwnd> children;  // Z order, top first
    std::u16string cls, caption;
    host::Rect place;  // relative to the parent's client origin
    int moves = 0;
    WindowPos last_pos;
    bool alive = false;
    bool foreign = false;  // belongs to another process
    bool minimised = false;
  };
  struct Value {
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
  };
  using KeyPath = std::u16string;  // root digit + lower-cased path
  using ValueMap = std::map<std::u16string, Value>;  // lower-cased name

  bool failing(WinsysCall call);
  // The live window of a handle, or null.
  const Node* node(host::Hwnd h) const noexcept;
  Node* node(host::Hwnd h) noexcept;
  // The same for the test side: an unknown handle is the test's mistake.
  const Node& node_ref(host::Hwnd h) const;
  Node& node_ref(host::Hwnd h);
  host::Point origin_of(host::Hwnd h) const;  // screen position of h's top-left
  void unlink(host::Hwnd h);
  void restack(host::Hwnd h, host::Hwnd insert_after);
  static KeyPath key_path(host::RegRoot root, const std::u16string& key);
  bool key_exists(const KeyPath& path) const;
  const Value* find_value(const KeyPath& path, const std::u16string& name) const;

  std::vector<Node> nodes_;  // index = handle / handle_step
  host::Hwnd desktop_ = 0;
  host::Hwnd foreground_ = 0;
  int foreground_count_ = 0;
  host::Point cursor_;
  std::vector<ShellCall> shell_calls_;
  std::u16string clipboard_;
  int clipboard_held_ = 0;
  std::vector<std::uint32_t> waits_;
  std::vector<std::pair<std::u16string, std::u16string>> messages_;
  std::u16string module_folder_ = u"C:\\Program Files\\Plovera";
  std::int32_t dpi_x_ = 96, dpi_y_ = 96;
  std::map<host::Hwnd, std::int32_t> window_dpi_;
  std::map<host::Hwnd, host::WindowNotices*> watchers_;
  bool word_in_front_ = true;
  void notify(host::Hwnd h, host::WindowNotice what) noexcept;

  std::map<KeyPath, ValueMap> keys_;
  std::map<host::RegKey, KeyPath> open_keys_;
  host::RegKey next_key_ = 0x100;
  std::vector<std::uint32_t> opened_access_;
  class KeyWatch;
  struct KeyWatchState {
    std::vector<KeyPath> keys;
    bool signalled = false;
  };
  std::vector<std::weak_ptr<KeyWatchState>> key_watches_;
  void key_changed(const KeyPath& path);
};

// Word's own windows, as Word lays them out, in a SimWindowSystem:
//
//   "OpusApp" main window (top-level, caption of 14+ characters)
//     "MsoCommandBarDock" "MsoDockTop"     band across the top, `dock_height` high
//     "MsoCommandBarDock" "MsoDockLeft"    zero width (not looked for)
//     "MsoCommandBarDock" "MsoDockRight"   down the right side, `dock_width` wide
//     "MsoCommandBarDock" "MsoDockBottom"  zero height (not looked for)
//     "_WwF" document area, right below the top dock, left of the right dock
//       "_WwB" document view, caption "Document1", fills the area
//         "_WwG" the page
//
// The same tree stands for every version: version 12 and later find the
// document area as the "_WwF" window; version 11 as the parent of the last
// "_WwB" window whose caption has 2 or more characters.
struct SimWordWindows {
  static constexpr std::int32_t dock_height = 100;
  static constexpr std::int32_t dock_width = 30;

  // The main window at `screen`, at the top of the desktop's Z order.
  explicit SimWordWindows(SimWindowSystem& ws,
                          host::Rect screen = {40, 30, 1040, 730},
                          std::u16string caption = u"Document1 - Microsoft Word");

  // Word's own re-layout after its main window was resized to w x h pixels
  // (its top-left corner stays): the docks and the document area are placed
  // again, which undoes any push-down of the document area.
  void relayout(std::int32_t w, std::int32_t h);

  SimWindowSystem& ws;
  host::Hwnd main = 0, dock_top = 0, dock_left = 0, dock_right = 0, dock_bottom = 0;
  host::Hwnd doc_area = 0, view = 0, page = 0;
};

}  // namespace plovera::sim
