// The commands behind the menu's buttons. Every call into Word may run a
// message loop in which Word closes windows or lets go of the add-in: the
// commands hold what they use (the tab's window, a snapshot of the strip)
// and stop, or skip a step, when Word says it is gone.
#include <algorithm>

#include "base/first_failure.h"
#include "commands/menu.h"
#include "host/error.h"

namespace plovera {
namespace {

constexpr std::int32_t kFileDialogSaveAs = 2;
constexpr std::int32_t kDialogConfirmed = -1;
constexpr std::int32_t kShowNormal = 1;
// Another program may hold the clipboard for a moment: a few tries, a
// little apart, then the copy is given up without a word.
constexpr int kClipboardTries = 5;
constexpr std::uint32_t kClipboardRetryMs = 20;

// The document count is a 16-bit number; more documents than that is an
// overflow, as it would be for the counter.
std::int16_t checked_int16(std::int32_t n) {
  if (n > INT16_MAX || n < INT16_MIN) throw_host_error(status::overflow, "Documents.Count");
  return static_cast<std::int16_t>(n);
}

// Asks Word to close the window, with its own save prompt. True when the
// window is closed, or was gone already; false when Word reports the close
// as failed (the user cancelled the prompt, or the window refused).
bool close_window(host::Window& w) noexcept {
  try {
    w.Close();
    return true;
  } catch (const host_error& e) {
    return object_gone(e.code());
  } catch (...) {
    return false;
  }
}

// Whether Word still has the window (a refusal to answer counts as yes).
bool still_open(host::Window& w, std::u16string& scratch) noexcept {
  try {
    w.Caption(scratch);
    return true;
  } catch (const host_error& e) {
    return !object_gone(e.code());
  } catch (...) {
    return true;
  }
}

}  // namespace

MenuCommands::~MenuCommands() = default;

void MenuCommands::listen_to(host::Ref<host::CommandBarButton> button) {
  hook_.reset();
  button_ = std::move(button);
  if (button_) hook_ = button_->advise(*this);
}

void MenuCommands::on_menu_click(const host::Ref<host::CommandBarButton>& button) {
  if (!button) return;
  std::u16string parameter;
  button->Parameter(parameter);
  static constexpr std::pair<const char16_t*, MenuItem> kParameters[] = {
      {u"Close", MenuItem::close},
      {u"CloseOthers", MenuItem::close_others},
      {u"CloseRight", MenuItem::close_to_the_right},
      {u"Save", MenuItem::save},
      {u"CopyPath", MenuItem::copy_full_path},
      {u"OpenFolder", MenuItem::open_containing_folder},
      {u"Reopen", MenuItem::reopen_closed},
      {u"SaveAll", MenuItem::save_all},
      {u"website", MenuItem::visit_web_site},
      {u"about", MenuItem::about},
  };
  for (const auto& [name, item] : kParameters)
    if (parameter == name) return run(item);
}

// A tab's command acts on the tab the menu was opened on, held here for the
// command's whole run; without one (the bar's menu) it does nothing.
void MenuCommands::run(MenuItem item) {
  const host::Ref<host::Window> tab = target_;
  if (is_tab_item(item) && !tab) return;
  switch (item) {
    case MenuItem::close: return close_tab(tab);
    case MenuItem::close_others: return close_other_tabs(tab, false);
    case MenuItem::close_to_the_right: return close_other_tabs(tab, true);
    case MenuItem::save: return save_tab(tab);
    case MenuItem::copy_full_path: return copy_full_path(tab);
    case MenuItem::open_containing_folder: return open_containing_folder(tab);
    case MenuItem::reopen_closed: return reopen_closed();
    case MenuItem::save_all: return save_all();
    case MenuItem::visit_web_site: {
      host::WindowSystem& ws = host_.window_system();
      ws.shell_execute(host_.bar_window(), u"open", kWebSite, u"", ws.module_folder(), kShowNormal);
      return;
    }
    case MenuItem::about: return show_about();
  }
}

// As the tab's close button: Word's own save prompt decides.
void MenuCommands::close_tab(const host::Ref<host::Window>& tab) {
  host_.window_system().bring_to_foreground(host_.main_window());
  close_window(*tab);
}

// The other tabs' windows (or those right of the tab), closed one at a
// time through Word from the right end, as the strip stood when the command
// began. A window closed meanwhile is passed over; a close Word reports as
// failed (the user cancelled its save prompt) ends the command there, and
// so does Word letting go of the add-in. A tab whose own window has gone
// meanwhile closes nothing.
void MenuCommands::close_other_tabs(const host::Ref<host::Window>& tab, bool only_to_the_right) {
  std::vector<host::Ref<host::Window>> windows;
  host_.tab_windows(windows);
  const auto at = std::find(windows.begin(), windows.end(), tab);
  if (at == windows.end() || !still_open(*tab, text_)) return;
  const auto first = only_to_the_right ? at + 1 : windows.begin();
  host_.window_system().bring_to_foreground(host_.main_window());
  for (auto w = windows.end(); w != first;) {
    --w;
    if (*w == tab) continue;
    if (!close_window(**w)) return;
    if (!ignore_errors([&] { host_.word(); })) return;  // Word let go of the add-in meanwhile
  }
}

// A document with a path is saved in place; a never-saved one gets Word's
// save-as dialog, pre-filled with its name. Its window is made active
// first, because the dialog saves Word's active document.
void MenuCommands::save_document(host::Document& d, std::u16string& name) {
  const auto word = [this]() -> host::Application& { return host_.word(); };
  d.Path(text_);
  if (!text_.empty()) return d.Save();
  d.Name(text_);
  name = text_;
  d.ActiveWindow()->Activate();
  word().FileDialog(kFileDialogSaveAs)->InitialFileName(text_);
  if (word().FileDialog(kFileDialogSaveAs)->Show() == kDialogConfirmed)
    word().FileDialog(kFileDialogSaveAs)->Execute();
}

// A failed save is told to the user in Word's own words, and handed back
// to Word as the click's result.
void MenuCommands::save_tab(const host::Ref<host::Window>& tab) {
  std::u16string name;
  last_failure_text().clear();
  try {
    save_document(*tab->Document(), name);
  } catch (...) {
    std::u16string why = last_failure_text();
    if (name.empty()) ignore_errors([&] { tab->Caption(name); });
    if (!name.empty()) why = name + (why.empty() ? u"" : u": " + why);
    if (!why.empty()) tell(Text::save_document, why);
    throw;
  }
}

// The full path as Unicode text, unchanged whatever its length or script.
void MenuCommands::copy_full_path(const host::Ref<host::Window>& tab) {
  host::Ref<host::Document> d = tab->Document();
  d->Path(text_);
  if (text_.empty()) return;
  std::u16string full;
  d->FullName(full);
  host::WindowSystem& ws = host_.window_system();
  for (int attempt = 0; attempt < kClipboardTries; ++attempt) {
    if (attempt > 0) ws.wait_ms(kClipboardRetryMs);
    if (ws.copy_to_clipboard(host_.bar_window(), full)) return;
  }
}

// Windows' file manager, with the document selected in its folder.
void MenuCommands::open_containing_folder(const host::Ref<host::Window>& tab) {
  host::Ref<host::Document> d = tab->Document();
  d->Path(text_);
  if (text_.empty()) return;
  std::u16string full;
  d->FullName(full);
  host_.window_system().shell_execute(host_.bar_window(), u"open", u"explorer.exe",
                                      u"/select,\"" + full + u"\"", u"", kShowNormal);
}

// The most recently closed document opens again and leaves the list; one
// that Word cannot open (the file is gone) leaves it too, and the user reads
// Word's words on why.
void MenuCommands::reopen_closed() {
  ClosedDocuments& closed = host_.closed_documents();
  const std::u16string name = closed.most_recent();
  if (name.empty()) return;
  last_failure_text().clear();
  const bool opened = ignore_errors([&] { host_.word().Documents()->Open(name); });
  closed.forget(name);
  if (!opened && !last_failure_text().empty()) tell(Text::reopen_closed_document, last_failure_text());
}

void MenuCommands::tell(Text title, const std::u16string& text) noexcept {
  ignore_errors([&] {
    const std::u16string caption(ui_text(title, host_.ui_language()));
    host_.window_system().show_message(host_.bar_window(), caption, text);
  });
}

// One line of the report: the document's name and Word's words on why; a
// document whose name cannot be read is named by its number in Word's list.
void MenuCommands::add_to_report(host::Application& word, std::int16_t index,
                                 std::u16string name, std::u16string& report) {
  const std::u16string why = last_failure_text();
  if (name.empty()) ignore_errors([&] { word.Documents()->Item(index)->Name(name); });
  if (name.empty())
    name = format(ui_text(Text::unnamed_document, host_.ui_language()), decimal(index));
  report += u"\n" + name;
  if (!why.empty()) report += u": " + why;
}

// Every document with unsaved changes is saved (see save_document). A
// document that fails to save does not stop the others; once all have been
// tried, the user is told which could not be saved and why (in Word's own
// words where Word gave any), and the first failure is handed back to Word.
void MenuCommands::save_all() {
  // Asked for anew at every step: the save-as dialog runs a message loop in
  // which Word may let go of the add-in, and after that nothing more is done.
  const auto word = [this]() -> host::Application& { return host_.word(); };
  const std::int16_t n = checked_int16(word().Documents()->Count());
  FirstFailure failure;
  std::u16string report;
  for (std::int16_t i = 1; i <= n; ++i) {
    std::u16string name;
    last_failure_text().clear();
    const bool saved = failure.run([&] {
      host::Ref<host::Document> d = word().Documents()->Item(i);
      if (d->Saved()) return;
      save_document(*d, name);
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
      text.append(u"\n").append(ui_text(Text::log_file, language)).append(u": ").append(path);
      text.append(u" (")
          .append(ui_text(d->log_enabled() ? Text::log_on : Text::log_off, language))
          .append(u")\n");
    }
  }
  text.append(u"\n").append(kWebSite);
  host_.window_system().show_message(host_.bar_window(),
                                     std::u16string(ui_text(Text::about, language)), text);
}

}  // namespace plovera
