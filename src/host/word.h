// The seam to Word's automation object model and Office's command bars.
//
// Every member the add-in calls, and nothing more. Each call may fail: the
// implementations throw host_error naming the member ("Window.Caption").
// Collections are indexed from 1. Text is UTF-16. Getters that return text
// fill a caller-owned string so that a steady-state poll reuses its buffer
// and allocates nothing.
//
// Identity: a backend must hand out the same object for the same Word window
// every time (the real backend caches its adapters by the COM identity), so
// Ref<Window> equality is object identity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/ref.h"
#include "host/winsys.h"

namespace plovera::host {

class Document;

class Window : public Object {
 public:
  virtual void Caption(std::u16string& out) = 0;
  // The document shown in the window.
  virtual Ref<host::Document> Document() = 0;
  virtual void Activate() = 0;
  // Close with SaveChanges and RouteDocument omitted: Word applies its own
  // defaults, which may ask about unsaved changes (and so run a message loop).
  virtual void Close() = 0;
  // The handle of the top-level window that shows this Word window (its
  // frame): from version 15 on, every document window has a frame of its
  // own ("OpusApp", with its own docks and document area); before, all of
  // them share Word's one main window.
  virtual host::Hwnd Hwnd() = 0;

 protected:
  ~Window() = default;
};

class Windows : public Object {
 public:
  virtual std::int32_t Count() = 0;
  virtual Ref<Window> Item(std::int32_t index) = 0;

 protected:
  ~Windows() = default;
};

class Document : public Object {
 public:
  virtual void Name(std::u16string& out) = 0;
  virtual void Path(std::u16string& out) = 0;  // empty for a never-saved document
  // Folder and name together; the name alone for a never-saved document.
  virtual void FullName(std::u16string& out) = 0;
  virtual bool Saved() = 0;
  virtual void Save() = 0;
  // The document's first window; used to make it Word's active document
  // before its save-as dialog is shown.
  virtual Ref<Window> ActiveWindow() = 0;

 protected:
  ~Document() = default;
};

class Documents : public Object {
 public:
  virtual std::int32_t Count() = 0;
  virtual Ref<Document> Item(std::int32_t index) = 0;
  // Opens the file as Word's File Open does (a document already open is
  // activated). A file that cannot be opened fails with Word's own words
  // in last_failure_text().
  virtual void Open(const std::u16string& file_name) = 0;

 protected:
  ~Documents() = default;
};

class FileDialog : public Object {
 public:
  virtual void InitialFileName(const std::u16string& name) = 0;
  virtual std::int32_t Show() = 0;  // -1 = confirmed, 0 = cancelled; runs a message loop
  virtual void Execute() = 0;        // performs the save on Word's active document

 protected:
  ~FileDialog() = default;
};

// A subscription to events. Releasing the last reference unhooks the
// receiver (Unadvise); nothing is delivered after that.
class Subscription : public Object {
 protected:
  ~Subscription() = default;
};

class CommandBarButton;

// Receiver of a command-bar button's Click. Word raises it for every receiver
// hooked to a button with the same Tag. May throw: the backend hands the
// failure back to Office as the event's result.
class ButtonEvents {
 public:
  virtual void Click(const Ref<CommandBarButton>& Ctrl, bool& CancelDefault) = 0;

 protected:
  ~ButtonEvents() = default;
};

class CommandBarButton : public Object {
 public:
  virtual void FaceId(std::int32_t v) = 0;
  virtual void Caption(const std::u16string& v) = 0;
  virtual void TooltipText(const std::u16string& v) = 0;
  virtual void Style(std::int32_t v) = 0;
  virtual void Tag(const std::u16string& v) = 0;
  virtual void Parameter(const std::u16string& v) = 0;
  virtual void Parameter(std::u16string& out) = 0;
  // Whether the popup shows the button, offers it (greyed out when not),
  // and draws a separator above it.
  virtual void Visible(bool v) = 0;
  virtual void Enabled(bool v) = 0;
  virtual void BeginGroup(bool v) = 0;
  virtual Ref<Subscription> advise(ButtonEvents& sink) = 0;

 protected:
  ~CommandBarButton() = default;
};

class CommandBarControls : public Object {
 public:
  // Add(Type, Id, Parameter, Before, Temporary) with Parameter omitted and
  // Before omitted when `before` is empty.
  virtual Ref<CommandBarButton> Add(std::int32_t type, std::int32_t id,
                                    std::optional<std::int32_t> before, bool temporary) = 0;

 protected:
  ~CommandBarControls() = default;
};

class CommandBar : public Object {
 public:
  virtual void Delete() = 0;
  virtual Ref<CommandBarControls> Controls() = 0;
  // Pops the bar up at the pointer (both coordinates omitted). Returns when
  // the menu closes; runs a message loop.
  virtual void ShowPopup() = 0;

 protected:
  ~CommandBar() = default;
};

class CommandBars : public Object {
 public:
  virtual Ref<CommandBar> Item(const std::u16string& name) = 0;
  // Add(Name, Position, MenuBar, Temporary) with MenuBar omitted. A
  // temporary bar is gone when Word next starts; it is never stored in the
  // user's template.
  virtual Ref<CommandBar> Add(const std::u16string& name, std::int32_t position,
                              bool temporary) = 0;

 protected:
  ~CommandBars() = default;
};

// Office's language settings (Application.LanguageSettings).
class LanguageSettings : public Object {
 public:
  // The language identifier (a Windows LCID such as 1031 for German) that
  // Office uses for `id`, one of the msoLanguageID values below.
  virtual std::int32_t LanguageID(std::int32_t id) = 0;

 protected:
  ~LanguageSettings() = default;
};
// MsoAppLanguageID: the language of Office's user interface.
inline constexpr std::int32_t kLanguageIdUi = 2;
// The language identifier of English (United States), Office's default.
inline constexpr std::int32_t kEnglishUnitedStates = 1033;

// Receiver of Word's application events. Handlers may throw; the backend
// hands the failure back to Word as the result of the event call. The last
// three tell of a change to come (a close, a save) or of a window losing the
// activation; a receiver that has no use for them leaves them alone.
class ApplicationEvents {
 public:
  virtual void DocumentOpen() = 0;
  virtual void NewDocument() = 0;
  virtual void WindowActivate() = 0;
  virtual void WindowSize() = 0;
  virtual void DocumentChange() = 0;
  virtual void WindowDeactivate() {}
  virtual void DocumentBeforeClose() {}
  virtual void DocumentBeforeSave() {}
  // The selection moved in a window; typing moves it, so it comes with the
  // first change the user makes to a document.
  virtual void WindowSelectionChange() {}

 protected:
  ~ApplicationEvents() = default;
};

class Application : public Object {
 public:
  virtual void Version(std::u16string& out) = 0;
  // Word's full build number ("16.0.17328.20162"), for the diagnostics.
  virtual void Build(std::u16string& out) = 0;
  virtual Ref<host::Windows> Windows() = 0;
  virtual Ref<Window> ActiveWindow() = 0;
  virtual bool ShowWindowsInTaskbar() = 0;
  virtual void ShowWindowsInTaskbar(bool v) = 0;
  virtual std::int32_t Width() = 0;  // points
  virtual Ref<host::Documents> Documents() = 0;
  virtual Ref<host::FileDialog> FileDialog(std::int32_t type) = 0;
  virtual Ref<host::CommandBars> CommandBars() = 0;
  virtual Ref<host::LanguageSettings> LanguageSettings() = 0;
  // Hooks the receiver to the application events (the connection point).
  virtual Ref<Subscription> advise(ApplicationEvents& sink) = 0;

 protected:
  ~Application() = default;
};

// The object Word hands to the add-in at connection (an automation object).
class HostObject : public Object {
 public:
  // The interface query for Word's Application interface
  // {00020970-0000-0000-C000-000000000046}; throws no_interface when missing.
  virtual Ref<Application> QueryApplication() = 0;

 protected:
  ~HostObject() = default;
};

}  // namespace plovera::host
