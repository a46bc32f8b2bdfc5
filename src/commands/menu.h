// The bar's popup menu: an Office popup command bar "tabPopup", built once
// at every start-up and shown at the pointer on a right press, and the
// commands behind its buttons. On a tab it lists that tab's commands first
// (close it, close the others, close those to its right, save it, copy its
// path, open its folder), then a separator and the bar's own entries; on
// the rest of the bar only the bar's own entries: "Reopen Closed Document",
// "Save All", "Visit our web site" (unless a policy hides it) and "About
// Plovera".
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ui_texts.h"
#include "commands/closed_documents.h"
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
  // The tabs' windows in the strip's order, left to right.
  virtual void tab_windows(std::vector<host::Ref<host::Window>>& out) = 0;
  virtual ClosedDocuments& closed_documents() = 0;
  // The language of Word's user interface (a Windows language identifier),
  // which the menu and its messages speak.
  virtual std::int32_t ui_language() = 0;

 protected:
  ~CommandHost() = default;
};

// The menu's entries, in the order it lists them.
enum class MenuItem : std::uint8_t {
  close, close_others, close_to_the_right, save, copy_full_path, open_containing_folder,
  reopen_closed, save_all, visit_web_site, about,
};
inline constexpr std::size_t kMenuItems = 10;
// The entries that act on the tab the menu was opened on.
inline constexpr bool is_tab_item(MenuItem item) noexcept { return item < MenuItem::reopen_closed; }

// The receiver of the menu's button clicks. All buttons share one Tag, and
// Office raises a custom button's click for every receiver hooked to a
// button with that Tag, so this one receiver gets every click and tells
// them apart by the button's Parameter.
class MenuCommands final : public host::ButtonEvents {
 public:
  explicit MenuCommands(CommandHost& host) noexcept : host_(host) {}
  ~MenuCommands();

  // While it holds a button, Office delivers that button's clicks here.
  const host::Ref<host::CommandBarButton>& button() const noexcept { return button_; }
  void listen_to(host::Ref<host::CommandBarButton> button);
  // The window of the tab the menu is open on (null: the bar's menu). Held
  // only while the menu is open: Office delivers the chosen command before
  // ShowPopup returns.
  void aim_at(host::Ref<host::Window> tab) noexcept { target_ = std::move(tab); }
  const host::Ref<host::Window>& target() const noexcept { return target_; }

  void on_menu_click(const host::Ref<host::CommandBarButton>& button);
  void run(MenuItem item);
  // Saves every document with unsaved changes.
  void save_all();
  // "About Plovera": a message box in the menu's language.
  void show_about();

  void Click(const host::Ref<host::CommandBarButton>& button, bool& /*cancel_default*/) override {
    on_menu_click(button);
  }

 private:
  void close_tab(const host::Ref<host::Window>& tab);
  void close_other_tabs(const host::Ref<host::Window>& tab, bool only_to_the_right);
  void save_tab(const host::Ref<host::Window>& tab);
  void copy_full_path(const host::Ref<host::Window>& tab);
  void open_containing_folder(const host::Ref<host::Window>& tab);
  void reopen_closed();
  void save_document(host::Document& d, std::u16string& name);
  void tell(Text title, const std::u16string& text) noexcept;
  void add_to_report(host::Application& word, std::int16_t index, std::u16string name,
                     std::u16string& report);

  CommandHost& host_;
  host::Ref<host::CommandBarButton> button_;
  host::Ref<host::Subscription> hook_;
  host::Ref<host::Window> target_;
  std::u16string text_;  // scratch for Word's answers
};

class PopupMenu {
 public:
  explicit PopupMenu(CommandHost& host) noexcept : host_(host) {}

  // Deletes a menu left from earlier and builds it anew, with every entry.
  void build_menu();
  // Shows the menu at the pointer, for the tab showing `tab` (null: for the
  // bar); returns when it closes.
  void show_menu(const host::Ref<host::Window>& tab = nullptr);
  // The click receiver, while the menu is built.
  MenuCommands* commands() const noexcept { return commands_.get(); }
  // Stops listening to the buttons and deletes the menu from Word.
  void release() noexcept;

 private:
  // A button with the state it was last given, so that showing the menu
  // sets only what changed.
  struct Entry {
    host::Ref<host::CommandBarButton> button;
    bool visible = true, enabled = true, begins_group = false;
  };
  void delete_menu() noexcept;
  void offer_entries(const host::Ref<host::Window>& tab);
  void offer(MenuItem item, bool visible, bool enabled, bool begins_group);

  CommandHost& host_;
  std::unique_ptr<MenuCommands> commands_;  // set once the menu is complete
  std::array<Entry, kMenuItems> entries_;
  bool built_ = false;                      // a menu was (at least partly) made in Word
};

}  // namespace plovera
