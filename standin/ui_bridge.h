// How the scenario's thread gets work done on Word's user-interface thread:
// it posts a request to a hidden window there. Posted messages are
// dispatched by every message loop of that thread, including the modal loops
// of the save prompt, the file dialog and a popup menu, so steps keep running
// while Word waits in one of them.
#pragma once

#include <windows.h>

#include <functional>

namespace standin {

class UiBridge {
 public:
  // Creates the hidden window; call on the user-interface thread.
  UiBridge();
  ~UiBridge();
  UiBridge(const UiBridge&) = delete;
  UiBridge& operator=(const UiBridge&) = delete;

  // From another thread: runs `work` on the user-interface thread and waits
  // for it. False when it did not finish within `timeout_ms`.
  bool call(std::function<void()> work, DWORD timeout_ms = 10000);
  // Runs `work` on the user-interface thread, without waiting.
  void post(std::function<void()> work);

 private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
};

}  // namespace standin
