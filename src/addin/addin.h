// The add-in's module-level state and its host integration: the reference to
// Word, the application-event receiver, start-up and docking of the tab bar,
// the discovery of Word's windows, and the popup menu.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/forms.h"
#include "host/winsys.h"
#include "host/word.h"
#include "tabstrip/frm_addin.h"

namespace plovera {

class cappevents;
class buttonevent;

// The services of the platform that the add-in runs on.
struct HostServices {
  host::WindowSystem& winsys;
  host::FormEngine& forms;
};

// The product's web site, opened by "Visit our web site".
inline constexpr const char16_t* kWebSite = u"https://www.quennix.com/plovera/";

class Addin {
 public:
  explicit Addin(HostServices host);
  ~Addin();
  Addin(const Addin&) = delete;
  Addin& operator=(const Addin&) = delete;

  HostServices host;
  host::WindowSystem& ws() { return host.winsys; }
  // Word's Application; fails like a call on an empty reference when the
  // add-in is not connected.
  host::Application& app();

  host::Ref<host::Application> wordapp;
  std::unique_ptr<cappevents> appevents;
  std::unique_ptr<buttonevent> btnevents;

  host::Hwnd wordhwnd = 0;   // Word's main window ("OpusApp")
  host::Hwnd hwwb = 0;       // below version 12: the "_WwB" window in the document area
  host::Hwnd docwnd = 0;     // the document area
  host::Hwnd docktop = 0;    // Word's top command-bar dock
  host::Hwnd dockright = 0;  // Word's right command-bar dock
  std::int32_t barheight = 0;
  std::int32_t dockoffset = 0;

  plovera::frmAddIn frmAddIn;

  // Start-up and docking.
  void startbar();
  void checkdock();
  void pushdown();
  std::int32_t docoffset();

  // Window discovery.
  void findword();
  void scanwindows(host::Hwnd parent);

  // The popup menu.
  void buildmenu();
  void showmenu();

  // The numeric value of Application.Version.
  double word_version();

  // Lets go of Word at disconnection: unhooks every receiver, unloads the
  // bar, gives Word back the band it took and releases every reference.
  void release_word() noexcept;

 private:
  bool bar_in_place(const host::Rect& T, const host::Rect& B, const host::Rect& D) const;
  void move_below_top_dock(host::Hwnd h, std::int32_t shift);
  void pullup() noexcept;
  std::u16string text_;
};

}  // namespace plovera
