#include "commands/menu.h"

#include <exception>
#include <string>
#include <utility>

#include "base/first_failure.h"
#include "base/registry_value.h"
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
constexpr std::int32_t kFileDialogSaveAs = 2;
constexpr std::int32_t kDialogConfirmed = -1;
constexpr std::int32_t kShowNormal = 1;

struct MenuEntry {
  std::int32_t face_id;
  std::u16string_view caption;
  const char16_t* parameter;
};

void describe(host::CommandBarButton& button, const MenuEntry& entry) {
  button.FaceId(entry.face_id);
  const std::u16string caption(entry.caption);
  button.Caption(caption);
  button.TooltipText(caption);
  button.Style(kStyleIconAndCaption);
  button.Tag(kTag);
  button.Parameter(entry.parameter);
}

// The document count is a 16-bit number; more documents than that is an
// overflow, as it would be for the counter.
std::int16_t checked_int16(std::int32_t n) {
  if (n > INT16_MAX || n < INT16_MIN) throw_host_error(status::overflow, "Documents.Count");
  return static_cast<std::int16_t>(n);
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

// The web-site and about buttons are added first and "Save All" inserted
// before them, so the menu lists "Save All" on top and "About Plovera" last.
// The bar and its buttons are temporary, so Word never stores them in the
// user's template; a bar left by an earlier version (which stored it) is
// deleted and rebuilt here.
void PopupMenu::build_menu() {
  commands_.reset();
  built_ = true;
  auto commands = std::make_unique<MenuCommands>(host_);
  host::Application& word = host_.word();
  delete_menu();
  host::Ref<host::CommandBar> bar = word.CommandBars()->Add(kBarName, kPositionPopup, true);
  // The captions follow Word's user-interface language.
  const Language language = language_of(host_.ui_language());

  if (!web_site_hidden(host_.window_system())) {
    host::Ref<host::CommandBarButton> web =
        bar->Controls()->Add(kControlButton, kCustomId, std::nullopt, true);
    describe(*web, {1016, ui_text(Text::visit_web_site, language), u"website"});
  }
  host::Ref<host::CommandBarButton> about =
      bar->Controls()->Add(kControlButton, kCustomId, std::nullopt, true);
  describe(*about, {487, ui_text(Text::about, language), u"about"});
  commands->listen_to(about);

  host::Ref<host::CommandBarButton> save =
      bar->Controls()->Add(kControlButton, kCustomId, 1, true);
  describe(*save, {455, ui_text(Text::save_all, language), u"SaveAll"});
  commands_ = std::move(commands);
}

void PopupMenu::delete_menu() noexcept {
  ignore_errors([&] { host_.word().CommandBars()->Item(kBarName)->Delete(); });
}

// Word takes its menu back: the receiver stops listening (it may be running
// "Save All" at this very moment, so it stays until a new menu replaces it)
// and the bar goes.
void PopupMenu::release() noexcept {
  if (commands_) commands_->listen_to(nullptr);
  if (!std::exchange(built_, false)) return;
  delete_menu();
}

// ShowPopup returns when the menu closes; a chosen command arrives through
// the click receiver meanwhile. A menu removed by the user shows nothing. A
// menu that could not be built at start-up is built now.
void PopupMenu::show_menu() {
  host_.window_system().bring_to_foreground(host_.main_window());
  if (!commands_) ignore_errors([&] { build_menu(); });
  ignore_errors([&] { host_.word().CommandBars()->Item(kBarName)->ShowPopup(); });
}

MenuCommands::~MenuCommands() = default;

// One line of the report: the document's name and Word's words on why; a
// document whose name cannot be read is named by its number in Word's list.
void MenuCommands::add_to_report(host::Application& word, std::int16_t index,
                                 std::u16string name, std::u16string& report) {
  const std::u16string why = last_failure_text();
  if (name.empty()) ignore_errors([&] { word.Documents()->Item(index)->Name(name); });
  if (name.empty()) name = format(ui_text(Text::unnamed_document, host_.ui_language()), decimal(index));
  report += u"\n" + name;
  if (!why.empty()) report += u": " + why;
}

void MenuCommands::listen_to(host::Ref<host::CommandBarButton> button) {
  hook_.reset();
  button_ = std::move(button);
  if (button_) hook_ = button_->advise(*this);
}

void MenuCommands::on_menu_click(const host::Ref<host::CommandBarButton>& button) {
  if (!button) return;
  std::u16string parameter;
  button->Parameter(parameter);
  if (parameter == u"SaveAll") {
    save_all();
  } else if (parameter == u"website") {
    host::WindowSystem& ws = host_.window_system();
    ws.shell_execute(host_.bar_window(), u"open", kWebSite, u"", ws.module_folder(), kShowNormal);
  } else if (parameter == u"about") {
    show_about();
  }
}

// The add-in's version and bitness, Word's version and build (where Word
// tells them), where the log is and whether it is on, and the web site.
void MenuCommands::show_about() {
  const Language language = language_of(host_.ui_language());
  std::u16string text = u"Plovera " PLOVERA_VERSION u" (" +
                        std::u16string(sizeof(void*) == 8 ? u"64" : u"32") + u"-bit)\n";
  std::u16string version, build;
  ignore_errors([&] { host_.word().Version(version); });
  ignore_errors([&] { host_.word().Build(build); });
  if (!version.empty()) text += u"Microsoft Word " + version;
  if (!build.empty()) text += u" (" + build + u")";
  if (!version.empty()) text += u"\n";
  if (const host::Diagnostics* d = host::diagnostics()) {
    std::u16string path;
    ignore_errors([&] { path = d->log_path(); });
    if (!path.empty()) {
      // Appended piece by piece: one string grows, no temporaries are joined.
      text.append(u"\n").append(ui_text(Text::log_file, language)).append(u": ").append(path).append(u" (");
      text.append(ui_text(d->log_enabled() ? Text::log_on : Text::log_off, language)).append(u")\n");
    }
  }
  text.append(u"\n").append(kWebSite);
  host_.window_system().show_message(host_.bar_window(), std::u16string(ui_text(Text::about, language)), text);
}

// A never-saved document gets Word's save-as dialog, pre-filled with its
// name; its window is made active first, because the dialog saves Word's
// active document. A document that fails to save does not stop the others;
// once all have been tried, the user is told which could not be saved and
// why (in Word's own words where Word gave any), and the first failure is
// handed back to Word.
void MenuCommands::save_all() {
  // Asked for anew at every step: the save-as dialog runs a message loop in
  // which Word may let go of the add-in, and after that nothing more is done.
  const auto word = [this]() -> host::Application& { return host_.word(); };
  const std::int16_t n = checked_int16(word().Documents()->Count());
  FirstFailure failure;
  std::u16string text, report;
  for (std::int16_t i = 1; i <= n; ++i) {
    std::u16string name;
    last_failure_text().clear();
    const bool saved = failure.run([&] {
      host::Ref<host::Document> d = word().Documents()->Item(i);
      if (d->Saved()) return;
      d->Path(text);
      if (!text.empty()) {
        d->Save();
        return;
      }
      d->Name(text);
      name = text;
      d->ActiveWindow()->Activate();
      word().FileDialog(kFileDialogSaveAs)->InitialFileName(text);
      if (word().FileDialog(kFileDialogSaveAs)->Show() == kDialogConfirmed)
        word().FileDialog(kFileDialogSaveAs)->Execute();
    });
    if (!saved) ignore_errors([&] { add_to_report(word(), i, name, report); });
  }
  if (!report.empty())
    ignore_errors([&] {
      const Language language = language_of(host_.ui_language());
      host_.window_system().show_message(
          host_.bar_window(), std::u16string(ui_text(Text::save_all, language)),
          std::u16string(ui_text(Text::documents_not_saved, language)) + u"\n" + report);
    });
  failure.rethrow();
}

}  // namespace plovera
