// The objects of the simulated Word: each implements one interface of
// host/word.h and counts the references handed out on it. SimWord (see
// sim_word.h) creates and owns all of them for its whole life, so a pointer
// to one stays valid and the same Word window is always the same object.
//
// Test-side accessors (lower case) read the state without counting a call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/word.h"

namespace plovera::sim {

class SimWord;
enum class WordCall : std::uint8_t;
class SimDocument;
class SimButton;
class SimCommandBar;

// A frame of Word's single document interface: its top-level window and the
// windows inside it (see SimWord's frames); all 0 when there is none.
struct SimFrame {
  host::Hwnd main = 0, dock_top = 0, dock_right = 0, doc_area = 0, view = 0;
};

// References held on every object of one SimWord, together.
struct RefLedger {
  std::int64_t live = 0;           // references currently held by others
  std::int64_t over_releases = 0;  // releases of an object nobody held: a bug
};

// The reference count of one object. Releasing the last reference does not
// destroy the object (SimWord owns it); it only calls last_release().
template <class Interface>
class SimObject : public Interface {
 public:
  SimObject(const SimObject&) = delete;
  SimObject& operator=(const SimObject&) = delete;
  virtual ~SimObject() = default;

  void add_ref() noexcept final {
    ++refs_;
    ++ledger_.live;
  }
  void release() noexcept final {
    if (refs_ == 0) {
      ++ledger_.over_releases;
      return;
    }
    --ledger_.live;
    if (--refs_ == 0) last_release();
  }
  // References currently held on this object.
  int refs() const noexcept { return refs_; }

 protected:
  explicit SimObject(SimWord& word, RefLedger& ledger) : word_(word), ledger_(ledger) {}
  virtual void last_release() noexcept {}

  SimWord& word_;

 private:
  RefLedger& ledger_;
  int refs_ = 0;
};

// A document window. After Word closed it, every call throws
// host_error(status::disconnected), as a COM proxy of a dead object would.
class SimWindow final : public SimObject<host::Window> {
 public:
  void Caption(std::u16string& out) override;
  host::Ref<host::Document> Document() override;
  void Activate() override;
  void Close() override;
  // Its frame's handle (SDI), Word's main window (single frame), else 0.
  host::Hwnd Hwnd() override;

  SimDocument& document() const noexcept { return *doc_; }
  const std::u16string& caption() const noexcept { return caption_; }
  bool is_open() const noexcept { return open_; }
  // Its own frame in SDI (all 0 otherwise, and once closed).
  const SimFrame& frame() const noexcept { return frame_; }

 private:
  friend class SimWord;
  SimWindow(SimWord& w, RefLedger& l, SimDocument& doc) : SimObject(w, l), doc_(&doc) {}

  SimDocument* doc_;
  std::u16string caption_;
  SimFrame frame_;
  bool open_ = true;
  status_t refusal_ = status::ok;  // what its calls fail with while it does not answer
  std::uint64_t last_activated_ = 0;  // Word's most-recently-used order
};

class SimDocument final : public SimObject<host::Document> {
 public:
  void Name(std::u16string& out) override;
  void Path(std::u16string& out) override;
  // The path, a backslash and the name; the name alone without a path.
  void FullName(std::u16string& out) override;
  bool Saved() override;
  void Save() override;
  host::Ref<host::Window> ActiveWindow() override;

  const std::u16string& name() const noexcept { return name_; }
  const std::u16string& path() const noexcept { return path_; }
  bool saved() const noexcept { return saved_; }
  void set_saved(bool saved) noexcept { saved_ = saved; }
  void set_path(std::u16string path) { path_ = std::move(path); }
  int save_count() const noexcept { return save_count_; }
  bool is_open() const noexcept { return open_; }
  // The document's open windows, in the order they were created.
  const std::vector<SimWindow*>& windows() const noexcept { return windows_; }

 private:
  friend class SimWord;
  SimDocument(SimWord& w, RefLedger& l) : SimObject(w, l) {}

  std::u16string name_, path_;
  bool saved_ = true;
  bool open_ = true;
  int save_count_ = 0;
  std::vector<SimWindow*> windows_;
};

class SimWindows final : public SimObject<host::Windows> {
 public:
  std::int32_t Count() override;
  host::Ref<host::Window> Item(std::int32_t index) override;

 private:
  friend class SimWord;
  using SimObject::SimObject;
};

class SimDocuments final : public SimObject<host::Documents> {
 public:
  std::int32_t Count() override;
  host::Ref<host::Document> Item(std::int32_t index) override;
  void Open(const std::u16string& file_name) override;

 private:
  friend class SimWord;
  using SimObject::SimObject;
};

// Application.FileDialog hands out a fresh object per call. As in Office,
// the settings (InitialFileName) belong to the dialog type and persist from
// one object to the next: a name set through one object is the name that a
// later object of the same type shows and saves under.
class SimFileDialog final : public SimObject<host::FileDialog> {
 public:
  void InitialFileName(const std::u16string& name) override;
  std::int32_t Show() override;
  void Execute() override;

  std::int32_t type() const noexcept { return type_; }
  // The dialog type's InitialFileName as this object last saw it (when it
  // set it, showed or executed).
  const std::u16string& initial_name() const noexcept { return initial_name_; }
  int shows() const noexcept { return shows_; }
  int executes() const noexcept { return executes_; }

 private:
  friend class SimWord;
  SimFileDialog(SimWord& w, RefLedger& l, std::int32_t type) : SimObject(w, l), type_(type) {}

  std::int32_t type_;
  std::u16string initial_name_;
  int shows_ = 0, executes_ = 0;
};

// A hooked receiver: of the application events, or of one button's Click.
// Releasing its last reference unhooks it.
class SimSubscription final : public SimObject<host::Subscription> {
 public:
  bool hooked() const noexcept { return hooked_; }

 private:
  friend class SimWord;
  using SimObject::SimObject;
  void last_release() noexcept override { hooked_ = false; }

  bool hooked_ = true;
  host::ApplicationEvents* app_sink_ = nullptr;
  host::ButtonEvents* button_sink_ = nullptr;
  SimButton* button_ = nullptr;
};

class SimButton final : public SimObject<host::CommandBarButton> {
 public:
  void FaceId(std::int32_t v) override;
  void Caption(const std::u16string& v) override;
  void TooltipText(const std::u16string& v) override;
  void Style(std::int32_t v) override;
  void Tag(const std::u16string& v) override;
  void Parameter(const std::u16string& v) override;
  void Parameter(std::u16string& out) override;
  void Visible(bool v) override;
  void Enabled(bool v) override;
  void BeginGroup(bool v) override;
  host::Ref<host::Subscription> advise(host::ButtonEvents& sink) override;
  // As last set; a button starts visible and enabled, without a separator.
  bool visible() const noexcept { return visible_; }
  bool enabled() const noexcept { return enabled_; }
  bool begins_group() const noexcept { return begins_group_; }

  // As added: CommandBarControls.Add(type, id, ..., temporary).
  std::int32_t type() const noexcept { return type_; }
  std::int32_t id() const noexcept { return id_; }
  bool temporary() const noexcept { return temporary_; }
  // The properties as last set (0 or empty until set).
  std::int32_t face_id() const noexcept { return face_id_; }
  std::int32_t style() const noexcept { return style_; }
  const std::u16string& caption() const noexcept { return caption_; }
  const std::u16string& tooltip() const noexcept { return tooltip_; }
  const std::u16string& tag() const noexcept { return tag_; }
  const std::u16string& parameter() const noexcept { return parameter_; }
  // Every property set, in order, as "Name=value" in UTF-8:
  // {"FaceId=1016", "Caption=Visit our web site", ...}.
  const std::vector<std::string>& sets() const noexcept { return sets_; }
  // False once its bar was deleted or (temporary) Word restarted.
  bool alive() const noexcept { return alive_; }
  SimCommandBar& bar() const noexcept { return *bar_; }

 private:
  friend class SimWord;
  SimButton(SimWord& w, RefLedger& l, SimCommandBar& bar) : SimObject(w, l), bar_(&bar) {}
  void enter(WordCall call);
  void record(const char* name, const std::u16string& text);
  void record(const char* name, std::int32_t number);

  SimCommandBar* bar_;
  std::int32_t type_ = 0, id_ = 0, face_id_ = 0, style_ = 0;
  bool temporary_ = false, alive_ = true;
  bool visible_ = true, enabled_ = true, begins_group_ = false;
  std::u16string caption_, tooltip_, tag_, parameter_;
  std::vector<std::string> sets_;
};

class SimControls final : public SimObject<host::CommandBarControls> {
 public:
  host::Ref<host::CommandBarButton> Add(std::int32_t type, std::int32_t id,
                                        std::optional<std::int32_t> before,
                                        bool temporary) override;

 private:
  friend class SimWord;
  friend class SimCommandBar;
  SimControls(SimWord& w, RefLedger& l, SimCommandBar& bar) : SimObject(w, l), bar_(&bar) {}
  SimCommandBar* bar_;
};

class SimCommandBar final : public SimObject<host::CommandBar> {
 public:
  void Delete() override;
  host::Ref<host::CommandBarControls> Controls() override;
  // Fails unless the bar is a popup (position 5), as Office's does.
  void ShowPopup() override;

  const std::u16string& name() const noexcept { return name_; }
  std::int32_t position() const noexcept { return position_; }
  // The bar's live buttons, in menu order.
  const std::vector<SimButton*>& buttons() const noexcept { return buttons_; }
  int popups() const noexcept { return popups_; }
  bool alive() const noexcept { return alive_; }
  bool temporary() const noexcept { return temporary_; }

 private:
  friend class SimWord;
  SimCommandBar(SimWord& w, RefLedger& l, std::u16string name, std::int32_t position);

  std::u16string name_;
  std::int32_t position_;
  bool alive_ = true;
  bool temporary_ = false;
  int popups_ = 0;
  std::vector<SimButton*> buttons_;
  SimControls controls_;
};

class SimCommandBars final : public SimObject<host::CommandBars> {
 public:
  // Fails (invalid_arg) when no live bar has this name.
  host::Ref<host::CommandBar> Item(const std::u16string& name) override;
  // A duplicate name is allowed, as in Office; Item then finds the first.
  host::Ref<host::CommandBar> Add(const std::u16string& name, std::int32_t position,
                                  bool temporary) override;

 private:
  friend class SimWord;
  using SimObject::SimObject;
};

class SimApplication final : public SimObject<host::Application> {
 public:
  void Version(std::u16string& out) override;
  void Build(std::u16string& out) override;
  host::Ref<host::Windows> Windows() override;
  // Fails when Word has no window open.
  host::Ref<host::Window> ActiveWindow() override;
  bool ShowWindowsInTaskbar() override;
  void ShowWindowsInTaskbar(bool v) override;
  std::int32_t Width() override;
  host::Ref<host::Documents> Documents() override;
  host::Ref<host::FileDialog> FileDialog(std::int32_t type) override;
  host::Ref<host::CommandBars> CommandBars() override;
  host::Ref<host::LanguageSettings> LanguageSettings() override;
  host::Ref<host::Subscription> advise(host::ApplicationEvents& sink) override;

 private:
  friend class SimWord;
  using SimObject::SimObject;
};

// Office's LanguageSettings: every language reads as the user-interface
// language set with SimWord::ui_language.
class SimLanguageSettings final : public SimObject<host::LanguageSettings> {
 public:
  std::int32_t LanguageID(std::int32_t id) override;

 private:
  friend class SimWord;
  using SimObject::SimObject;
};

class SimHostObject final : public SimObject<host::HostObject> {
 public:
  host::Ref<host::Application> QueryApplication() override;

 private:
  friend class SimWord;
  using SimObject::SimObject;
};

}  // namespace plovera::sim
