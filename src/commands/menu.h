// The bar's popup menu: an Office popup command bar "tabPopup" with "Save
// All", "Visit our web site" (unless a policy hides it) and "About Plovera",
// rebuilt at every start-up and shown at the
// pointer on a right press, and the commands behind its buttons.
#pragma once

#include <memory>

#include <cstdint>

#include "host/diagnostics.h"
#include "host/word.h"
#include "host/winsys.h"

namespace plovera {

// The product's web site, opened by "Visit our web site".
inline constexpr const char16_t* kWebSite = u"https://www.quennix.com/plovera/";

// What the menu needs from the add-in that hosts it.
class CommandHost {
 public:
  // Word's Application; fails like a call on an empty reference when the
  // add-in is not connected.
  virtual host::Application& word() = 0;
  virtual host::WindowSystem& window_system() = 0;
  // The Word main window that gets the foreground before the menu shows.
  virtual host::Hwnd main_window() = 0;
  // The bar's window (the owner of the web page), or 0 without a bar.
  virtual host::Hwnd bar_window() = 0;
  // The language of Word's user interface (a Windows language identifier),
  // which the menu and its messages speak.
  virtual std::int32_t ui_language() = 0;

 protected:
  ~CommandHost() = default;
};

// The receiver of the menu's button clicks. Both buttons share one Tag, and
// Office raises a custom button's click for every receiver hooked to a
// button with that Tag, so this one receiver gets both clicks and tells them
// apart by the button's Parameter.
class MenuCommands final : public host::ButtonEvents {
 public:
  explicit MenuCommands(CommandHost& host) noexcept : host_(host) {}
  ~MenuCommands();

  // While it holds a button, Office delivers that button's clicks here.
  const host::Ref<host::CommandBarButton>& button() const noexcept { return button_; }
  void listen_to(host::Ref<host::CommandBarButton> button);

  void on_menu_click(const host::Ref<host::CommandBarButton>& button);
  // Saves every document with unsaved changes.
  void save_all();
  // "About Plovera": a message box in the menu's language (an LCID).
  void show_about();

  void Click(const host::Ref<host::CommandBarButton>& button, bool& /*cancel_default*/) override {
    on_menu_click(button);
  }

 private:
  void add_to_report(host::Application& word, std::int16_t index, std::u16string name,
                     std::u16string& report);

  CommandHost& host_;
  host::Ref<host::CommandBarButton> button_;
  host::Ref<host::Subscription> hook_;
};

class PopupMenu {
 public:
  explicit PopupMenu(CommandHost& host) noexcept : host_(host) {}

  // Deletes a menu left from earlier and builds it anew.
  void build_menu();
  // Shows the menu at the pointer; returns when it closes.
  void show_menu();
  // The click receiver, while the menu is built.
  MenuCommands* commands() const noexcept { return commands_.get(); }
  // Stops listening to the buttons and deletes the menu from Word.
  void release() noexcept;

 private:
  void delete_menu() noexcept;

  CommandHost& host_;
  std::unique_ptr<MenuCommands> commands_;  // set once the menu is complete
  bool built_ = false;                      // a menu was (at least partly) made in Word
};

}  // namespace plovera
