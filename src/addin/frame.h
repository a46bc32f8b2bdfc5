// One Word main window ("OpusApp") with a bar docked in it: the windows the
// bar docks between, the band it takes, and the bar itself.
//
// The bar occupies a band of band_height pixels directly below Word's top
// command-bar dock. Word knows nothing of the band, so the frame makes room
// by moving Word's document area and right dock down by one band. When Word
// lays out its windows again (after a resize) the geometry no longer matches,
// and redock_if_moved, run on the tick after the window system's notice (and
// on every safety-net tick), docks the bar again.
//
// Word 2003 to 2010 show every document in one main window: one frame.
// Word 2013 and later give every document window a main window of its own:
// a frame each, every bar showing the one tab model.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "host/winsys.h"
#include "host/word.h"
#include "host/word_versions.h"
#include "tabstrip/bar_host.h"
#include "tabstrip/tab_bar.h"
#include "tabstrip/tab_model.h"

namespace plovera {

// Word's windows that the bar docks between, found by walking the window tree.
struct WordWindows {
  host::Hwnd main_window = 0;    // Word's main window ("OpusApp")
  host::Hwnd legacy_document_view = 0;  // below version 12: the "_WwB" window in the document area
  host::Hwnd document_area = 0;  // the document area
  host::Hwnd top_dock = 0;       // Word's top command-bar dock
  host::Hwnd right_dock = 0;     // Word's right command-bar dock
};

class Frame;

// What a frame needs from the add-in beside the bar's services.
class FrameOwner {
 public:
  // Whether `frame`'s main window shows the window of the tab at `p`.
  virtual bool is_own_window(Frame& frame, Position p) noexcept = 0;

 protected:
  ~FrameOwner() = default;
};

class Frame final : public BarHost {
 public:
  // `addin` serves everything but the main window, which is the frame's own.
  Frame(BarHost& addin, FrameOwner& owner, TabModel& model);
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  // Docks the bar in `main_window`: finds the docks and the document area,
  // makes the bar a child of the main window, shows and places it. The
  // bar's width follows Word's Application.Width, or, where every document
  // has a main window of its own, the main window's width.
  void dock_in(host::Hwnd main_window, double version, host::DocumentWindows documents);
  // The docking check: three window rectangles when in place.
  void redock_if_moved();
  // Whether `h` is one of the Word windows the bar docks between, or the
  // bar's own window.
  bool docks_between(host::Hwnd h) noexcept {
    return h != 0 && (h == windows_.main_window || h == windows_.document_area ||
                      h == windows_.top_dock || h == windows_.right_dock ||
                      (bar_.loaded() && h == bar_.window()));
  }
  // A notice told that Word laid this frame's windows out again: the next
  // tick checks its docking.
  bool relaid = false;
  // Whether the last docking check found the main window gone (Word closed
  // it, and the bar with it).
  bool main_window_gone() const noexcept { return main_window_gone_; }
  // Whether the bar was built again since the last call (its window had been
  // destroyed from outside): its own window's tab needs selecting again.
  bool take_bar_rebuilt() noexcept { return std::exchange(bar_rebuilt_, false); }
  // Moves Word's document area and right dock down by one band.
  void make_room();
  std::int32_t measure_dock_offset();
  // Gives the band back and unloads the bar.
  void undock() noexcept;
  // Unloads the bar only, leaving the band as it is: undock gives the band
  // back before it unloads the bar, and a bar built again after its window
  // was destroyed has given it back already.
  void unload_bar() noexcept;

  // The document area among the children of Word's main window `main` (and,
  // before Word 2007, the document view among the area's children); of
  // several, the last in Z order.
  void find_document_area(host::Hwnd main, double version);
  void set_main_window(host::Hwnd h) noexcept { windows_.main_window = h; }

  const WordWindows& windows() const noexcept { return windows_; }
  std::int32_t band_height() const noexcept { return band_height_; }
  std::int32_t dock_offset() const noexcept { return dock_offset_; }
  TabBar& bar() noexcept { return bar_; }

  // BarHost: the add-in's, but for the main window.
  host::FormEngine& forms() override { return addin_.forms(); }
  host::WindowSystem& window_system() override { return addin_.window_system(); }
  host::Application& word() override { return addin_.word(); }
  host::Hwnd main_window() override { return windows_.main_window; }
  host::Hwnd main_window_of(const host::Ref<host::Window>& window) override {
    return addin_.main_window_of(window);
  }
  bool is_own_window(Position p) override { return owner_.is_own_window(*this, p); }
  void show_menu(const host::Ref<host::Window>& tab) override { addin_.show_menu(tab); }
  EventGate& events() override { return addin_.events(); }
  std::int32_t ui_language() override { return addin_.ui_language(); }
  const BarTheme& bar_theme() override { return addin_.bar_theme(); }

 private:
  host::WindowSystem& ws() { return addin_.window_system(); }
  bool bar_in_place(const host::Rect& top, const host::Rect& bar, const host::Rect& doc) const;
  std::int32_t width_in_twips();
  void move_below_top_dock(host::Hwnd h, std::int32_t shift);
  void move_up_by_one_band() noexcept;
  void give_band_back() noexcept;
  void give_band_back_after_failed_dock() noexcept;
  void rebuild_bar();
  void measure_band();
  std::int32_t resolution();

  BarHost& addin_;
  FrameOwner& owner_;
  WordWindows windows_;
  std::int32_t band_height_ = 0;
  std::int32_t dock_offset_ = 0;
  host::DocumentWindows documents_ = host::DocumentWindows::one_main_window;
  bool main_window_gone_ = false;
  bool bar_rebuilt_ = false;
  double version_ = 0;
  TabBar bar_;
};

}  // namespace plovera
