// A simulated Word: the object model of host/word.h in memory, deterministic
// and inspectable, for the native tests and the benchmarks.
//
//   SimWord word;
//   word.version(u"12.0");
//   SimDocument& d = word.open_document(u"Doc1");      // window "Doc1", active
//   SimWindow& second = word.new_window(d);            // captions "Doc1:1", "Doc1:2"
//   Connect(...).AddinInstance_OnConnection(word.host_object(), 0, nullptr);
//   word.raise_NewDocument();
//   EXPECT_EQ(word.calls("Window.Caption"), 2);
//   ... let the add-in go ...
//   EXPECT_EQ(word.live_refs(), 0);
//
// Windows and documents. Word's window list holds the open windows in the
// order they were opened (Windows.Item(1) is the oldest); Documents likewise.
// Captions follow Word: a document's only window is captioned with the
// document's name, several windows are "Name:1", "Name:2", ... in creation
// order, renumbered when one closes. A closed window or document keeps its
// object, but every call on it throws host_error(status::disconnected).
// Closing a document's last window closes the document. When the active
// window closes, the most recently active of the others becomes active.
//
// Frames: the top-level "OpusApp" windows that show Word's windows, in a
// SimWindowSystem, as the stand-in Word models them (standin/README.md).
// Without frames, Window.Hwnd answers 0. single_frame(main) stands for Word
// 2003-2010 (and 2013+ with its windows kept in one frame): every window
// answers the one main window. sdi(ws) stands for Word 2013 and later
// (version 15+): every window gets a frame of its own in the window tree,
//
//   "OpusApp" frame, caption "<window caption> - Word", top-level
//     "MsoCommandBarDock" "MsoDockTop"     band across the top, 60 high
//     "MsoCommandBarDock" "MsoDockRight"   down the right side, 24 wide
//     "_WwF" document area, below the top dock, left of the right dock
//       "_WwB" the window's view, captioned like the window, fills the area
//
// created with the window (a new document or a further window on one;
// cascaded 32 pixels right and down from the active window's frame, back to
// the first frame's place where it would leave the screen) on top of the
// desktop's Z order and in the foreground; brought to the top and the
// foreground when its window is activated; destroyed with its window.
// Closing the last window leaves its frame open and empty (caption "Word",
// no view), as Word 2013 does; the next window opened takes it over.
//
// Call names (for calls, fail, on_call, the log). A call is named
// "<Interface>.<Member>" after host/word.h: "Application.Version",
// "Windows.Item", "Window.Caption", "Document.Save", "FileDialog.Show",
// "CommandBarControls.Add", "HostObject.QueryApplication"; a property with
// both a getter and a setter adds ".get" or ".let":
// "Application.ShowWindowsInTaskbar.get", "CommandBarButton.Parameter.let".
// Hooking receivers counts as "Application.advise" and
// "CommandBarButton.advise". add_ref/release are not calls. kWordCallNames
// lists them all.
//
// Every call is counted, failing or not; a call on a closed object fails
// with disconnected, an index out of range with bad_index. An injected
// failure throws host_error(code, name) and has no effect. Test-side
// functions (the lower-case ones below) are not counted and never fail.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "host/error.h"
#include "host/word.h"
#include "sim/sim_calls.h"
#include "sim/sim_winsys.h"
#include "sim/sim_word_objects.h"

namespace plovera::sim {

enum class WordCall : std::uint8_t {
  ApplicationVersion, ApplicationWindows, ApplicationActiveWindow,
  ApplicationShowWindowsInTaskbarGet, ApplicationShowWindowsInTaskbarLet,
  ApplicationWidth, ApplicationDocuments, ApplicationFileDialog, ApplicationCommandBars,
  ApplicationAdvise,
  WindowsCount, WindowsItem,
  WindowCaption, WindowActivate, WindowClose, WindowHwnd,
  DocumentsCount, DocumentsItem,
  DocumentName, DocumentPath, DocumentSaved, DocumentSave, DocumentActiveWindow,
  FileDialogInitialFileName, FileDialogShow, FileDialogExecute,
  CommandBarsItem, CommandBarsAdd,
  CommandBarDelete, CommandBarControls, CommandBarShowPopup,
  CommandBarControlsAdd,
  ButtonFaceId, ButtonCaption, ButtonTooltipText, ButtonStyle, ButtonTag,
  ButtonParameterLet, ButtonParameterGet, ButtonAdvise,
  HostObjectQueryApplication,
  WindowDocument, DocumentFullName, ApplicationLanguageSettings, LanguageSettingsLanguageID,
  ApplicationBuild,
  DocumentsOpen, ButtonVisible, ButtonEnabled, ButtonBeginGroup,
  count_
};
extern const std::span<const char* const> kWordCallNames;

// One save carried out by Word: Document.Save, or FileDialog.Execute on
// Word's active document (then `name` is the dialog's initial file name).
struct SaveRecord {
  SimDocument* document;
  std::u16string name;
  bool through_dialog;
};

class SimWord : public CallMeter {
 public:
  SimWord();
  ~SimWord();
  SimWord(const SimWord&) = delete;
  SimWord& operator=(const SimWord&) = delete;

  // ---- What the add-in is given ------------------------------------------
  // The object handed to OnConnection.
  host::Ref<host::HostObject> host_object();
  // Makes QueryApplication fail with no_interface (a host that is not Word).
  void lack_application(bool lack) noexcept { lack_application_ = lack; }
  SimApplication& application() noexcept { return *app_; }

  // ---- Word's state ------------------------------------------------------
  void version(std::u16string v) { version_ = std::move(v); }
  void width_points(std::int32_t points) noexcept { width_points_ = points; }
  bool taskbar() const noexcept { return taskbar_; }  // ShowWindowsInTaskbar, starts true
  void set_taskbar(bool on) noexcept { taskbar_ = on; }
  // The language of Office's user interface (LanguageSettings.LanguageID of
  // msoLanguageIDUI), an LCID; 1033 (English, United States) to start with.
  void ui_language(std::int32_t lcid) noexcept { ui_language_ = lcid; }

  // Opens a document with one window, appended to the window list and active.
  SimDocument& open_document(std::u16string name, std::u16string path = u"", bool saved = true);
  // A further window on the document, appended and active.
  SimWindow& new_window(SimDocument& doc);
  // Closes the window as the user would (no prompt, no Close call counted).
  void close_window(SimWindow& w);
  void close_document(SimDocument& doc);
  // Overrides a window's caption until Word captions its document's windows
  // again (a window opened or closed on it, a rename).
  void set_caption(SimWindow& w, std::u16string text);
  // The document gets a new name (as a save under another name); its windows
  // are captioned again.
  void rename_document(SimDocument& doc, std::u16string name);
  // The user types in the document's active window, as Word: the first
  // change makes it unsaved; the insertion point moves (WindowSelectionChange).
  void edit(SimDocument& doc);
  // The user saves the document (Ctrl+S on a document with a path):
  // DocumentBeforeSave, then the document is saved.
  void save(SimDocument& doc);
  // Word's own switch to the window (in SDI its frame comes to the front).
  void activate(SimWindow& w);
  // The window's calls fail with `code` until it answers again (a window
  // busy in a modal state, or a document server that refuses calls).
  void refuse(SimWindow& w, status_t code = status::fail) { w.refusal_ = code; }
  void answer(SimWindow& w) { w.refusal_ = status::ok; }
  // Word's window list no longer holds the window, though it still answers.
  void unlist_window(SimWindow& w);
  SimWindow* active_window() const noexcept { return active_; }
  const std::vector<SimWindow*>& windows() const noexcept { return windows_; }
  const std::vector<SimDocument*>& documents() const noexcept { return documents_; }

  // Window.Close asks `prompt` instead of closing at once (Word's save
  // prompt, which runs a message loop: the prompt may run timer ticks or
  // raise events). The window closes if the prompt returns true and it is
  // still open. An empty prompt restores closing at once.
  void close_prompt(std::function<bool(SimWindow&)> prompt) { close_prompt_ = std::move(prompt); }

  // ---- Frames ------------------------------------------------------------
  // Every window answers `main` as its Hwnd (Word's one main window).
  void single_frame(host::Hwnd main) noexcept { single_main_ = main; }
  // Switches the single document interface on: the windows open now get
  // their frames in `ws` (the first at `first`, the others cascaded), or an
  // empty frame at `first` stands when none is open. Call once; `ws` must
  // outlive this Word.
  void sdi(SimWindowSystem& ws, host::Rect first = {0, 0, 1000, 700});
  bool is_sdi() const noexcept { return frames_ != nullptr; }
  // The frame standing while no window is open (SDI); all 0 otherwise.
  const SimFrame& empty_frame() const noexcept { return empty_frame_; }
  // Word's own re-layout of a window's frame after it was resized to
  // width x height pixels (its top-left corner stays), as on WM_SIZE.
  void resize_frame(SimWindow& w, std::int32_t width, std::int32_t height);

  // ---- Files ---------------------------------------------------------------
  // The files on disk that Documents.Open finds, by full name. A document
  // opened with a path is a file on disk; closing it leaves the file.
  void add_file(const std::u16string& full_name) { files_.insert(full_name); }
  void delete_file(const std::u16string& full_name) { files_.erase(full_name); }
  // Word's words when Documents.Open finds no such file.
  static std::u16string missing_file_text(const std::u16string& full_name);

  // ---- Saving ------------------------------------------------------------
  // The answers of the next FileDialog.Show calls, in order; -1 (confirmed)
  // once they are used up.
  void dialog_answers(std::vector<std::int32_t> answers);
  // Every FileDialog handed out, in order.
  const std::vector<SimFileDialog*>& dialogs() const noexcept { return dialog_list_; }
  const std::vector<SaveRecord>& saves() const noexcept { return saves_; }

  // ---- Command bars ------------------------------------------------------
  // A bar that exists before the add-in runs (left from an earlier run).
  SimCommandBar& add_bar(std::u16string name, std::int32_t position = 5);
  // Live bars in the collection's order; bar(name) is the first of that name.
  const std::vector<SimCommandBar*>& bars() const noexcept { return bars_; }
  SimCommandBar* bar(const std::u16string& name) const;
  // Runs inside CommandBar.ShowPopup while the menu is open; a test chooses
  // a button there with click().
  void on_popup(std::function<void(SimCommandBar&)> chosen) { on_popup_ = std::move(chosen); }
  // Office's Click: raised to every receiver hooked to any live button with
  // the clicked button's Tag, with the clicked button as Ctrl. Returns the
  // first failing status a receiver threw, or ok.
  status_t click(SimButton& button);
  // Word exits and starts again: windows and documents close, temporary
  // buttons disappear, bars stay.
  void restart();

  // ---- Application events ------------------------------------------------
  // The user's actions above raise what Word raises for them, once Word's
  // state is what they leave: opening raises DocumentOpen; an activation
  // WindowDeactivate (of the window that was active), DocumentChange (when
  // the document changes) and WindowActivate; a close DocumentBeforeClose
  // (a document's last window) and WindowDeactivate (the active window),
  // then the next window's activation; a rename or a save DocumentBeforeSave;
  // an edit WindowSelectionChange; a frame's resize WindowSize. A caption set
  // (a macro's) raises nothing.
  // While muted, Word raises nothing (events lost or never raised).
  void mute_events(bool on) noexcept { events_muted_ = on; }
  // Deliver to every hooked receiver (one unhooked during the delivery gets
  // nothing more). Return the first failing status a receiver threw, or ok.
  status_t raise_DocumentOpen();
  status_t raise_NewDocument();
  status_t raise_WindowActivate();
  status_t raise_WindowSize();
  status_t raise_DocumentChange();
  status_t raise_WindowDeactivate();
  status_t raise_DocumentBeforeClose();
  status_t raise_DocumentBeforeSave();
  status_t raise_WindowSelectionChange();
  // Hooked receivers: application events and button clicks.
  int hooked_count() const noexcept;

  // ---- References --------------------------------------------------------
  // References currently held by others on all objects of this Word.
  std::int64_t live_refs() const noexcept { return ledger_.live; }
  // Releases of objects that had no reference: always a bug of the caller.
  std::int64_t over_releases() const noexcept { return ledger_.over_releases; }

 private:
  friend class SimWindow;
  friend class SimDocument;
  friend class SimWindows;
  friend class SimDocuments;
  friend class SimFileDialog;
  friend class SimButton;
  friend class SimControls;
  friend class SimCommandBar;
  friend class SimCommandBars;
  friend class SimApplication;
  friend class SimHostObject;
  friend class SimLanguageSettings;

  // Counts the call; throws its injected failure.
  void enter_call(WordCall call);
  const char* call_name(WordCall call) const noexcept {
    return name(static_cast<std::size_t>(call));
  }
  void caption_windows(SimDocument& doc);
  void set_window_caption(SimWindow& w, std::u16string text);
  SimFrame make_frame(host::Rect screen);
  void layout_frame(const SimFrame& f, std::int32_t width, std::int32_t height);
  void give_frame(SimWindow& w);
  void close_frame(SimWindow& w);
  void activate_next_after_close();
  bool events_muted_ = false;
  SimWindow& new_window(SimDocument& doc, const std::function<void()>& opened);
  void set_active(SimWindow& w);
  void raise_activation(SimWindow* previous, SimWindow& w);
  SimFileDialog& new_dialog(std::int32_t type);
  std::int32_t next_dialog_answer();
  void save_active_document_as(std::u16string file);
  void open_file(const std::u16string& full_name);
  SimCommandBar& create_bar(std::u16string name, std::int32_t position, bool temporary);
  void delete_bar(SimCommandBar& bar);
  SimButton& create_button(SimCommandBar& bar, std::optional<std::int32_t> before,
                           std::int32_t type, std::int32_t id, bool temporary);
  SimSubscription& hook(host::ApplicationEvents* app, host::ButtonEvents* button, SimButton* on);
  template <class Selects, class Deliver>
  status_t deliver_to(Selects selects, Deliver deliver);
  template <class Deliver>
  status_t raise(Deliver deliver);

  RefLedger ledger_;
  std::unique_ptr<SimApplication> app_;
  std::unique_ptr<SimHostObject> host_object_;
  std::unique_ptr<SimWindows> windows_object_;
  std::unique_ptr<SimDocuments> documents_object_;
  std::unique_ptr<SimCommandBars> bars_object_;
  std::unique_ptr<SimLanguageSettings> language_settings_;

  std::vector<std::unique_ptr<SimWindow>> window_store_;
  std::vector<std::unique_ptr<SimDocument>> document_store_;
  std::vector<std::unique_ptr<SimFileDialog>> dialog_store_;
  std::vector<std::unique_ptr<SimCommandBar>> bar_store_;
  std::vector<std::unique_ptr<SimButton>> button_store_;
  std::vector<std::unique_ptr<SimSubscription>> subscription_store_;

  std::vector<SimWindow*> windows_;
  std::vector<SimDocument*> documents_;
  std::vector<SimFileDialog*> dialog_list_;
  std::vector<SimCommandBar*> bars_;
  std::vector<SaveRecord> saves_;
  std::set<std::u16string> files_;
  std::map<std::int32_t, std::u16string> dialog_names_;  // InitialFileName per dialog type
  std::vector<std::int32_t> dialog_answers_;
  std::size_t next_answer_ = 0;

  SimWindow* active_ = nullptr;
  std::uint64_t activation_clock_ = 0;
  std::u16string version_ = u"12.0";
  std::int32_t width_points_ = 600;
  bool taskbar_ = true;
  std::int32_t ui_language_ = 1033;
  bool lack_application_ = false;
  host::Hwnd single_main_ = 0;
  SimWindowSystem* frames_ = nullptr;  // set in SDI
  host::Rect first_frame_;
  SimFrame empty_frame_;
  host::Hwnd newest_frame_ = 0;
  std::function<bool(SimWindow&)> close_prompt_;
  std::function<void(SimCommandBar&)> on_popup_;
};

}  // namespace plovera::sim
