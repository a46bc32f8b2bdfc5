// A frame of Word's, with Word's window classes: the top-level window
// "OpusApp", its command-bar docks "MsoCommandBarDock" (titled "MsoDockTop"
// and "MsoDockRight"), and the document area "_WwF" holding "_WwB" views of
// document windows (only one is shown). Word 2003-2010 has one frame, its
// main window, with a view per document window; Word 2013 and later a frame
// per document window (see Word).
//
// Whenever the main window changes size, the docks and the document area are
// laid out afresh (at the sizes of sim/word_sizes.h, which the simulated Word
// of the native tests shares), exactly as at creation. That undoes whatever an add-in
// moved, which its docking check is expected to notice.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace standin {

class Frame {
 public:
  struct Callbacks {
    std::function<void(Frame&)> resized;          // after the fresh layout of a WM_SIZE
    std::function<void(Frame&)> close_requested;  // the user closes the window (WM_CLOSE)
    std::function<void(Frame&)> quit_requested;   // kQuitMessage arrived
    std::function<void(Frame&)> clicked_active;   // the user activated it with the pointer
  };
  // Posted by Application.Quit: Word ends once the call has returned.
  static constexpr UINT kQuitMessage = WM_APP + 20;

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
  // To the top of the Z order and into the foreground, as Word's activation does.
  void bring_to_front();
  RECT rect() const;

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
