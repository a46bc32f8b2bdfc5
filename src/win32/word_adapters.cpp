#include "win32/word_adapters.h"

#include "host/error.h"
#include "win32/adapter.h"
#include "win32/dispatch.h"
#include "win32/event_sinks.h"
#include "win32/guids.h"
#include "win32/office_adapters.h"

namespace plovera::win32 {

namespace {

class WindowAdapter final : public Adapter<WindowAdapter, host::Window> {
 public:
  using Adapter::Adapter;

  void Caption(std::u16string& out) override {
    as_text(get(dispatch(), caption_), out, caption_.label);
  }
  host::Ref<host::Document> Document() override;
  void Activate() override { call(dispatch(), activate_); }
  void Close() override { call(dispatch(), close_, {Variant::missing(), Variant::missing()}); }
  // A Long: a handle's low 32 bits, which is all of it (see window_system.h).
  host::Hwnd Hwnd() override {
    const std::int32_t handle = as_int32(get(dispatch(), hwnd_), hwnd_.label);
    return static_cast<host::Hwnd>(static_cast<std::uint32_t>(handle));
  }

 private:
  static inline Member caption_{L"Caption", "Window.Caption"};
  static inline Member document_{L"Document", "Window.Document"};
  static inline Member activate_{L"Activate", "Window.Activate"};
  static inline Member close_{L"Close", "Window.Close"};
  static inline Member hwnd_{L"Hwnd", "Window.Hwnd"};
};

class WindowsAdapter final : public Adapter<WindowsAdapter, host::Windows> {
 public:
  using Adapter::Adapter;

  std::int32_t Count() override { return as_int32(get(dispatch(), count_), count_.label); }
  host::Ref<host::Window> Item(std::int32_t index) override {
    return wrap_window(as_dispatch(get_item(dispatch(), item_, {Variant::int32(index)}), item_.label));
  }

 private:
  static inline Member count_{L"Count", "Windows.Count"};
  static inline Member item_{L"Item", "Windows.Item"};
};

class DocumentAdapter final : public Adapter<DocumentAdapter, host::Document> {
 public:
  using Adapter::Adapter;

  void Name(std::u16string& out) override { as_text(get(dispatch(), name_), out, name_.label); }
  void Path(std::u16string& out) override { as_text(get(dispatch(), path_), out, path_.label); }
  void FullName(std::u16string& out) override {
    as_text(get(dispatch(), full_name_), out, full_name_.label);
  }
  bool Saved() override { return as_bool(get(dispatch(), saved_), saved_.label); }
  void Save() override { call(dispatch(), save_); }
  host::Ref<host::Window> ActiveWindow() override {
    return wrap_window(as_dispatch(get(dispatch(), active_window_), active_window_.label));
  }

 private:
  static inline Member name_{L"Name", "Document.Name"};
  static inline Member path_{L"Path", "Document.Path"};
  static inline Member full_name_{L"FullName", "Document.FullName"};
  static inline Member saved_{L"Saved", "Document.Saved"};
  static inline Member save_{L"Save", "Document.Save"};
  static inline Member active_window_{L"ActiveWindow", "Document.ActiveWindow"};
};

host::Ref<host::Document> WindowAdapter::Document() {
  return wrap<DocumentAdapter>(as_dispatch(get(dispatch(), document_), document_.label));
}

// Office's LanguageSettings; LanguageID is a property with an argument.
class LanguageSettingsAdapter final : public Adapter<LanguageSettingsAdapter, host::LanguageSettings> {
 public:
  using Adapter::Adapter;

  std::int32_t LanguageID(std::int32_t id) override {
    return as_int32(get_item(dispatch(), language_id_, {Variant::int32(id)}), language_id_.label);
  }

 private:
  static inline Member language_id_{L"LanguageID", "LanguageSettings.LanguageID"};
};

class DocumentsAdapter final : public Adapter<DocumentsAdapter, host::Documents> {
 public:
  using Adapter::Adapter;

  std::int32_t Count() override { return as_int32(get(dispatch(), count_), count_.label); }
  host::Ref<host::Document> Item(std::int32_t index) override {
    return wrap<DocumentAdapter>(
        as_dispatch(get_item(dispatch(), item_, {Variant::int32(index)}), item_.label));
  }
  // Open(FileName) with every other argument omitted; the document Word
  // returns is let go of at once.
  void Open(const std::u16string& file_name) override {
    call(dispatch(), open_, {Variant::text(file_name)});
  }

 private:
  static inline Member count_{L"Count", "Documents.Count"};
  static inline Member item_{L"Item", "Documents.Item"};
  static inline Member open_{L"Open", "Documents.Open"};
};

class FileDialogAdapter final : public Adapter<FileDialogAdapter, host::FileDialog> {
 public:
  using Adapter::Adapter;

  void InitialFileName(const std::u16string& name) override {
    put(dispatch(), initial_file_name_, Variant::text(name));
  }
  std::int32_t Show() override { return as_int32(call(dispatch(), show_), show_.label); }
  void Execute() override { call(dispatch(), execute_); }

 private:
  static inline Member initial_file_name_{L"InitialFileName", "FileDialog.InitialFileName"};
  static inline Member show_{L"Show", "FileDialog.Show"};
  static inline Member execute_{L"Execute", "FileDialog.Execute"};
};

class ApplicationAdapter final : public Adapter<ApplicationAdapter, host::Application> {
 public:
  using Adapter::Adapter;

  void Version(std::u16string& out) override {
    as_text(get(dispatch(), version_), out, version_.label);
  }
  void Build(std::u16string& out) override { as_text(get(dispatch(), build_), out, build_.label); }
  host::Ref<host::Windows> Windows() override {
    return wrap<WindowsAdapter>(as_dispatch(get(dispatch(), windows_), windows_.label));
  }
  host::Ref<host::Window> ActiveWindow() override {
    return wrap_window(as_dispatch(get(dispatch(), active_window_), active_window_.label));
  }
  bool ShowWindowsInTaskbar() override {
    return as_bool(get(dispatch(), taskbar_), taskbar_.label);
  }
  void ShowWindowsInTaskbar(bool v) override { put(dispatch(), taskbar_, Variant::boolean(v)); }
  std::int32_t Width() override { return as_int32(get(dispatch(), width_), width_.label); }
  host::Ref<host::Documents> Documents() override {
    return wrap<DocumentsAdapter>(as_dispatch(get(dispatch(), documents_), documents_.label));
  }
  host::Ref<host::FileDialog> FileDialog(std::int32_t type) override {
    return wrap<FileDialogAdapter>(
        as_dispatch(get_item(dispatch(), file_dialog_, {Variant::int32(type)}), file_dialog_.label));
  }
  host::Ref<host::CommandBars> CommandBars() override {
    return wrap_command_bars(as_dispatch(get(dispatch(), command_bars_), command_bars_.label));
  }
  host::Ref<host::LanguageSettings> LanguageSettings() override {
    return wrap<LanguageSettingsAdapter>(
        as_dispatch(get(dispatch(), language_settings_), language_settings_.label));
  }
  host::Ref<host::Subscription> advise(host::ApplicationEvents& sink) override {
    return advise_application_events(dispatch(), sink);
  }

 private:
  static inline Member version_{L"Version", "Application.Version"};
  static inline Member build_{L"Build", "Application.Build"};
  static inline Member windows_{L"Windows", "Application.Windows"};
  static inline Member active_window_{L"ActiveWindow", "Application.ActiveWindow"};
  static inline Member taskbar_{L"ShowWindowsInTaskbar", "Application.ShowWindowsInTaskbar"};
  static inline Member width_{L"Width", "Application.Width"};
  static inline Member documents_{L"Documents", "Application.Documents"};
  static inline Member file_dialog_{L"FileDialog", "Application.FileDialog"};
  static inline Member command_bars_{L"CommandBars", "Application.CommandBars"};
  static inline Member language_settings_{L"LanguageSettings", "Application.LanguageSettings"};
};

class HostObjectAdapter final : public Adapter<HostObjectAdapter, host::HostObject> {
 public:
  using Adapter::Adapter;

  host::Ref<host::Application> QueryApplication() override {
    ComPtr<IDispatch> application;
    check(query(dispatch(), IID_WordApplication, application), "Application.QueryInterface");
    return wrap_application(std::move(application));
  }
};

class OpaqueAdapter final : public Adapter<OpaqueAdapter, host::Object> {
 public:
  using Adapter::Adapter;
};

}  // namespace

host::Ref<host::HostObject> wrap_host_object(ComPtr<IDispatch> object) {
  if (!object) throw_host_error(status::pointer, "OnConnection.Application");
  return wrap<HostObjectAdapter>(std::move(object));
}

host::Ref<host::Object> wrap_opaque(ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  return wrap<OpaqueAdapter>(std::move(object));
}

host::Ref<host::Application> wrap_application(ComPtr<IDispatch> object) {
  return wrap<ApplicationAdapter>(std::move(object));
}

host::Ref<host::Window> wrap_window(ComPtr<IDispatch> object) {
  return wrap<WindowAdapter>(std::move(object));
}

}  // namespace plovera::win32
