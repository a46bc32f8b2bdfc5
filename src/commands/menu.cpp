#include "commands/menu.h"

#include <algorithm>
#include <utility>

#include "base/registry_value.h"
#include "base/scope_exit.h"
#include "base/ui_texts.h"
#include "host/error.h"

namespace plovera {
namespace {

constexpr const char16_t* kBarName = u"tabPopup";
constexpr const char16_t* kPolicyKey = u"Software\\Policies\\Quennix\\Plovera";
constexpr std::int32_t kPositionPopup = 5;
constexpr std::int32_t kControlButton = 1;
constexpr std::int32_t kCustomId = 1;
constexpr std::int32_t kStyleIconAndCaption = 3;
constexpr const char16_t* kTag = u"marrowick";

// Each entry's picture (an Office FaceId), its caption and the Parameter
// that tells the receiver which entry was chosen.
struct EntryLook {
  std::int32_t face_id;
  Text caption;
  const char16_t* parameter;
};

constexpr std::array<EntryLook, kMenuItems> kLooks{{
    {1088, Text::close_document, u"Close"},
    {1088, Text::close_other_documents, u"CloseOthers"},
    {1088, Text::close_documents_after, u"CloseRight"},
    {3, Text::save_document, u"Save"},
    {19, Text::copy_full_path, u"CopyPath"},
    {23, Text::open_containing_folder, u"OpenFolder"},
    {128, Text::reopen_closed_document, u"Reopen"},
    {455, Text::save_all, u"SaveAll"},
    {1016, Text::visit_web_site, u"website"},
    {487, Text::about, u"about"},
}};

constexpr std::size_t index_of(MenuItem item) { return static_cast<std::size_t>(item); }

void describe(host::CommandBarButton& button, const EntryLook& look, Language language) {
  const std::u16string caption(ui_text(look.caption, language));
  button.FaceId(look.face_id);
  button.Caption(caption);
  button.TooltipText(caption);
  button.Style(kStyleIconAndCaption);
  button.Tag(kTag);
  button.Parameter(look.parameter);
}

// An administrator's policy that hides "Visit our web site" (a DWORD other
// than 0; a value of another type hides nothing).
bool web_site_hidden(host::WindowSystem& ws) {
  std::uint32_t type = host::reg::type_none;
  const std::u16string value =
      read_registry_value(ws, host::RegRoot::local_machine, kPolicyKey, u"HideWebSite", type);
  return type == host::reg::type_dword && value != u"0";
}

}  // namespace

// The web-site and about buttons are added first and every other entry
// inserted before them in order, so the menu lists them in MenuItem order
// (a policy may leave the web site out). The bar and its
// buttons are temporary, so Word never stores them in the user's template;
// a bar left by an earlier version (which stored it) is deleted and rebuilt
// here. The tab's entries start hidden: the bar's own menu is the first
// state the menu is shown in.
void PopupMenu::build_menu() {
  commands_.reset();
  entries_ = {};
  built_ = true;
  host::Application& word = host_.word();
  delete_menu();
  host::Ref<host::CommandBar> bar = word.CommandBars()->Add(kBarName, kPositionPopup, true);
  // The captions follow Word's user-interface language.
  const Language language = language_of(host_.ui_language());
  auto commands = std::make_unique<MenuCommands>(host_);

  host::Ref<host::CommandBarControls> controls = bar->Controls();
  const std::size_t web = index_of(MenuItem::visit_web_site), about = index_of(MenuItem::about);
  for (std::size_t i : {web, about}) {
    if (i == web && web_site_hidden(host_.window_system())) continue;
    entries_[i].button = controls->Add(kControlButton, kCustomId, std::nullopt, true);
    describe(*entries_[i].button, kLooks[i], language);
  }
  commands->listen_to(entries_[about].button);
  for (std::size_t i = 0; i < web; ++i) {
    entries_[i].button =
        controls->Add(kControlButton, kCustomId, static_cast<std::int32_t>(i) + 1, true);
    describe(*entries_[i].button, kLooks[i], language);
    if (!is_tab_item(static_cast<MenuItem>(i))) continue;
    entries_[i].button->Visible(false);
    entries_[i].visible = false;
  }
  commands_ = std::move(commands);
}

void PopupMenu::delete_menu() noexcept {
  ignore_errors([&] { host_.word().CommandBars()->Item(kBarName)->Delete(); });
}

// Word takes its menu back: the receiver stops listening (it may be running
// a command at this very moment, so it stays until a new menu replaces it)
// and the bar goes.
void PopupMenu::release() noexcept {
  if (commands_) {
    commands_->listen_to(nullptr);
    commands_->aim_at(nullptr);
  }
  entries_ = {};
  if (!std::exchange(built_, false)) return;
  delete_menu();
}

// Sets what differs from the button's last state. The button is held here
// for the calls: Word may take the menu back during any of them.
void PopupMenu::offer(MenuItem item, bool visible, bool enabled, bool begins_group) {
  Entry& e = entries_[index_of(item)];
  const host::Ref<host::CommandBarButton> button = e.button;
  if (!button) return;
  if (e.visible != visible) button->Visible(visible);
  if (e.enabled != enabled) button->Enabled(enabled);
  if (e.begins_group != begins_group) button->BeginGroup(begins_group);
  if (e.button != button) return;  // the menu was let go of meanwhile
  e.visible = visible, e.enabled = enabled, e.begins_group = begins_group;
}

// The tab's entries show on a tab's menu only, greyed out where they cannot
// apply: the path entries for a document without a path (never saved, or
// Word does not say), "Close Documents to the Right" on the last tab,
// "Close Other Documents" on the only one.
void PopupMenu::offer_entries(const host::Ref<host::Window>& tab) {
  std::vector<host::Ref<host::Window>> windows;
  if (tab) host_.tab_windows(windows);
  const auto at = std::find(windows.begin(), windows.end(), tab);
  const bool on_tab = at != windows.end();
  std::u16string path;
  if (on_tab) ignore_errors([&] { tab->Document()->Path(path); });
  const bool has_path = !path.empty();
  const bool others = windows.size() > 1, right = on_tab && at + 1 != windows.end();
  const auto tab_entry = [&](MenuItem item, bool enabled) { offer(item, on_tab, enabled, false); };
  tab_entry(MenuItem::close, true);
  tab_entry(MenuItem::close_others, others);
  tab_entry(MenuItem::close_to_the_right, right);
  tab_entry(MenuItem::save, true);
  tab_entry(MenuItem::copy_full_path, has_path);
  tab_entry(MenuItem::open_containing_folder, has_path);
  offer(MenuItem::reopen_closed, true, !host_.closed_documents().empty(), on_tab);
}

// ShowPopup returns when the menu closes; a chosen command arrives through
// the click receiver meanwhile. A menu removed by the user shows nothing. A
// menu that could not be built at start-up is built now.
void PopupMenu::show_menu(const host::Ref<host::Window>& tab) {
  host_.window_system().bring_to_foreground(host_.main_window());
  if (!commands_) ignore_errors([&] { build_menu(); });
  if (commands_) {
    ignore_errors([&] { offer_entries(tab); });
    if (commands_) commands_->aim_at(tab);
  }
  ScopeExit let_go([this] {
    if (commands_) commands_->aim_at(nullptr);
  });
  ignore_errors([&] { host_.word().CommandBars()->Item(kBarName)->ShowPopup(); });
}

}  // namespace plovera
