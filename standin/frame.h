// Word's windows, with Word's window classes: the main window "OpusApp", its
// command-bar docks "MsoCommandBarDock" (titled "MsoDockTop" and
// "MsoDockRight"), and the document area "_WwF" holding one "_WwB" view per
// document window (only the active view is shown).
//
// Whenever the main window changes size, the docks and the document area are
// laid out afresh, exactly as at creation. That undoes whatever an add-in
// moved, which its docking check is expected to notice.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace standin {

struct FrameLayout {
  static constexpr int dock_top_height = 60;
  static constexpr int dock_right_width = 24;
};

class Frame {
 public:
  struct Callbacks {
    std::function<void()> resized;  // after the fresh layout of a WM_SIZE
    std::function<void()> close_requested;
  };

  Frame(HINSTANCE instance, RECT placement, Callbacks callbacks);
  ~Frame();
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  HWND main() const { return main_; }
  HWND dock_top() const { return dock_top_; }
  HWND dock_right() const { return dock_right_; }
  HWND document_area() const { return document_area_; }

  // A view of one document window inside the document area.
  HWND add_view(const std::wstring& caption);
  void remove_view(HWND view);
  void show_only(HWND view);  // nullptr hides them all
  void set_view_caption(HWND view, const std::wstring& caption);
  void set_title(const std::wstring& title);

  // Milliseconds since the main window last saw its activation or focus
  // change (or a WM_CANCELMODE, which Wine sends on a focus loss).
  DWORD quiet_for() const { return GetTickCount() - last_focus_change_; }

  // Places the docks and the document area as Word does on a resize.
  void layout();
  void destroy();

 private:
  static LRESULT CALLBACK main_proc(HWND, UINT, WPARAM, LPARAM);
  void create_children();

  HINSTANCE instance_;
  Callbacks callbacks_;
  HWND main_ = nullptr;
  HWND dock_top_ = nullptr;
  HWND dock_right_ = nullptr;
  HWND document_area_ = nullptr;
  DWORD last_focus_change_ = 0;
};

}  // namespace standin
