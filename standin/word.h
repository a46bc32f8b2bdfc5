// The stand-in Word: its Application object, its documents and windows, and
// the operations a user performs in Word (open, close, activate, save as,
// resize), each raising Word's application events as Word does.
//
// Frames: Word's top-level "OpusApp" windows. With one frame (Word 2003-2010,
// where the add-in keeps all windows in one main window) every document
// window is a view inside it. With the single document interface (Word 2013
// and later, version 15+) every document window has a frame of its own,
// opened with it (cascaded from the active one), brought to the front when
// it is activated and destroyed when it closes; the last one closed leaves
// its frame open and empty, and the next window opened takes it over.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <set>
#include <vector>

#include "connection.h"
#include "dispatch.h"
#include "documents.h"
#include "frame.h"

namespace standin {

class CommandBarsObj;
class FileDialogObj;

// saved: a file on disk, unchanged; changed: a file with unsaved changes;
// never_saved: a new document with changes; blank: Word's untouched new document.
enum class DocumentState { saved, changed, never_saved, blank };

// Window.Close's SaveChanges argument (WdSaveOptions).
enum class SaveOption { do_not_save = 0, save = -1, prompt = -2 };

struct WordOptions {
  std::wstring version = L"12.0";
  RECT placement{0, 0, 1000, 700};  // of the (first) frame
  std::wstring command_bar_file;    // where command bars persist between runs
  std::optional<bool> sdi;          // a frame per window; unset: from version 15 on
};

class Word final : public DispatchObject, public IConnectionPointContainer {
 public:
  Word(HINSTANCE instance, const WordOptions& options);
  ~Word() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return add_ref(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
  std::wstring describe() const override { return L"Application"; }

  // --- what a user does in Word ---
  // Saved or changed documents are files in the stand-in's documents folder,
  // or in `folder`.
  WindowObj* open(const std::wstring& name, DocumentState state);
  WindowObj* open(const std::wstring& name, DocumentState state, const std::wstring& folder);
  // Documents.Open: a document open under that full name is activated; a
  // file on disk opens (DocumentOpen); no such file fails as Word does.
  void open_file(const std::wstring& full_name);
  // The file is deleted from disk (a document open from it stays open).
  void delete_file(const std::wstring& full_name);
  WindowObj* new_window(DocumentObj* document);
  // False when the user cancelled the save prompt.
  bool close_window(WindowObj* window, SaveOption option);
  // Word's own switch to the window; `to_front` brings its frame to the
  // front (SDI), which a click on the frame has done already.
  void activate(WindowObj* window, bool to_front = true);
  void save_as(DocumentObj* document, const std::wstring& file_name);
  // The user types in the window (clicking into it first when another one
  // is active): the first change makes the document unsaved, and the moving
  // insertion point raises WindowSelectionChange, as in Word.
  void type_in(WindowObj* window);
  // The user saves the document under its name (Ctrl+S): DocumentBeforeSave,
  // then the document is saved.
  void save(DocumentObj* document);
  // Resizes Word's main window (the active window's frame).
  void resize(int width, int height);
  // Frames, numbered from 1 in the order they were opened (see frame_at).
  void resize_frame(Frame& frame, int width, int height);
  void move_frame(Frame& frame, int x, int y);
  // Side by side across the screen, in their order, each as high as the screen.
  void tile_frames();
  // Switches the frame-per-window model; false while a window is open.
  bool set_sdi(bool on);
  // The user switches Word's option that shows every window in the taskbar.
  void set_show_windows_in_taskbar(bool on) { show_in_taskbar_ = on; }
  // The language of Word's user interface (an LCID, 1033 to start with).
  // A right-to-left language (Arabic, Hebrew, Persian, Urdu) mirrors every
  // frame, as Word's own windows are with such an interface.
  void set_ui_language(long lcid);
  // Mirrors Word's frames (or not) whatever the language: Word on a
  // right-to-left Windows.
  void set_mirrored(bool on);
  bool mirrored() const { return mirrored_; }
  long ui_language() const { return ui_language_; }
  // Raises one application event by name for the active document and window.
  bool raise_event(const std::wstring& name);
  // Word is closing: windows go, objects stop answering, sinks are let go.
  void shut_down();

  // --- state for the scenario's checks ---
  const std::vector<WindowObj*>& windows() const { return windows_; }
  const std::vector<DocumentObj*>& documents() const { return documents_; }
  WindowObj* active_window() const { return active_; }
  WindowObj* find_window(const std::wstring& caption) const;
  DocumentObj* find_document(const std::wstring& name) const;
  bool show_windows_in_taskbar() const { return show_in_taskbar_; }
  size_t application_sinks() const;
  // Reads of Document.FullName since start-up, over every document.
  long full_name_reads() const { return full_name_reads_; }
  void count_full_name_read() { ++full_name_reads_; }
  double version_number() const;
  const std::wstring& version() const { return options_.version; }
  int dpi() const;
  bool sdi() const { return sdi_; }
  // Word's main window: the active window's frame, else the first frame.
  Frame& frame();
  size_t frame_count() const { return frames_.size(); }
  // Frame `number` (from 1) in the order the frames were opened; with a frame
  // per window that is the frame of Windows.Item(number). Null past the end.
  Frame* frame_at(size_t number) const;
  // The window a frame shows (SDI); null for the empty frame.
  WindowObj* window_in(const Frame& frame) const;
  CommandBarsObj& command_bars() { return *command_bars_; }

  // A caption changed or a window came or went: refresh the views and title.
  void refresh_captions();

  // Called when the main window is asked to close (WM_CLOSE, Application.Quit).
  std::function<void()> on_close_requested;

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  void* other_interface(REFIID iid) override;
  void call_more(DISPID id, const Args& args, VARIANT* result);
  void raise(DISPID id, const wchar_t* name, DocumentObj* doc, WindowObj* window);
  void raise_activation(WindowObj* window, DocumentObj* previous_document);
  void raise_deactivation(WindowObj* window);
  void forget_window(WindowObj* window);
  void show_active(bool to_front = true);
  std::unique_ptr<Frame> make_frame(const RECT& placement);
  Frame* frame_for_new_window();
  RECT cascaded_placement() const;
  void retire_frame(Frame* frame);
  void on_resized(Frame& frame);
  void on_frame_clicked(Frame& frame);
  void on_frame_close(Frame& frame);
  FileDialogObj* file_dialog(long type);

  HINSTANCE instance_;
  WordOptions options_;
  bool sdi_;
  std::vector<std::unique_ptr<Frame>> frames_;
  // Closed frames live on (without windows) until Word ends: a frame may be
  // closed from inside its own window procedure.
  std::vector<std::unique_ptr<Frame>> closed_frames_;
  std::vector<DocumentObj*> documents_;
  std::vector<WindowObj*> windows_;
  WindowObj* active_ = nullptr;
  std::vector<WindowObj*> recent_;  // most recently active last
  bool show_in_taskbar_ = true;
  long ui_language_ = 1033;
  bool mirrored_ = false;  // every frame lays out right to left
  long full_name_reads_ = 0;
  // The documents' files on disk, by lower-cased full name: those opened
  // from disk or saved, while not deleted.
  std::set<std::wstring> files_;
  std::wstring failure_text_;  // Word's words on the last failed open
  void remember_file(const DocumentObj* document);
  LanguageSettingsObj* language_settings_;
  WindowsObj* windows_obj_;
  DocumentsObj* documents_obj_;
  CommandBarsObj* command_bars_;
  std::vector<FileDialogObj*> file_dialogs_;
  std::vector<ConnectionPoint*> event_points_;
};

}  // namespace standin
