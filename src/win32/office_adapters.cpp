#include "win32/office_adapters.h"

#include "win32/adapter.h"
#include "win32/dispatch.h"
#include "win32/event_sinks.h"

namespace plovera::win32 {

namespace {

class ButtonAdapter final : public Adapter<ButtonAdapter, host::CommandBarButton> {
 public:
  using Adapter::Adapter;

  void FaceId(std::int32_t v) override { put(dispatch(), face_id_, Variant::int32(v)); }
  void Caption(const std::u16string& v) override { put(dispatch(), caption_, Variant::text(v)); }
  void TooltipText(const std::u16string& v) override {
    put(dispatch(), tooltip_text_, Variant::text(v));
  }
  void Style(std::int32_t v) override { put(dispatch(), style_, Variant::int32(v)); }
  void Tag(const std::u16string& v) override { put(dispatch(), tag_, Variant::text(v)); }
  void Parameter(const std::u16string& v) override {
    put(dispatch(), parameter_, Variant::text(v));
  }
  void Parameter(std::u16string& out) override {
    as_text(get(dispatch(), parameter_), out, parameter_.label);
  }
  void Visible(bool v) override { put(dispatch(), visible_, Variant::boolean(v)); }
  void Enabled(bool v) override { put(dispatch(), enabled_, Variant::boolean(v)); }
  void BeginGroup(bool v) override { put(dispatch(), begin_group_, Variant::boolean(v)); }
  host::Ref<host::Subscription> advise(host::ButtonEvents& sink) override {
    return advise_button_events(dispatch(), sink);
  }

 private:
  static inline Member face_id_{L"FaceId", "CommandBarButton.FaceId"};
  static inline Member caption_{L"Caption", "CommandBarButton.Caption"};
  static inline Member tooltip_text_{L"TooltipText", "CommandBarButton.TooltipText"};
  static inline Member style_{L"Style", "CommandBarButton.Style"};
  static inline Member tag_{L"Tag", "CommandBarButton.Tag"};
  static inline Member parameter_{L"Parameter", "CommandBarButton.Parameter"};
  static inline Member visible_{L"Visible", "CommandBarButton.Visible"};
  static inline Member enabled_{L"Enabled", "CommandBarButton.Enabled"};
  static inline Member begin_group_{L"BeginGroup", "CommandBarButton.BeginGroup"};
};

class ControlsAdapter final : public Adapter<ControlsAdapter, host::CommandBarControls> {
 public:
  using Adapter::Adapter;

  host::Ref<host::CommandBarButton> Add(std::int32_t type, std::int32_t id,
                                        std::optional<std::int32_t> before,
                                        bool temporary) override {
    Variant added = call(dispatch(), add_,
                         {Variant::int32(type), Variant::int32(id), Variant::missing(),
                          before ? Variant::int32(*before) : Variant::missing(),
                          Variant::boolean(temporary)});
    return wrap_button(as_dispatch(std::move(added), add_.label));
  }

 private:
  static inline Member add_{L"Add", "CommandBarControls.Add"};
};

class CommandBarAdapter final : public Adapter<CommandBarAdapter, host::CommandBar> {
 public:
  using Adapter::Adapter;

  void Delete() override { call(dispatch(), delete_); }
  host::Ref<host::CommandBarControls> Controls() override {
    return wrap<ControlsAdapter>(as_dispatch(get(dispatch(), controls_), controls_.label));
  }
  void ShowPopup() override {
    call(dispatch(), show_popup_, {Variant::missing(), Variant::missing()});
  }

 private:
  static inline Member delete_{L"Delete", "CommandBar.Delete"};
  static inline Member controls_{L"Controls", "CommandBar.Controls"};
  static inline Member show_popup_{L"ShowPopup", "CommandBar.ShowPopup"};
};

class CommandBarsAdapter final : public Adapter<CommandBarsAdapter, host::CommandBars> {
 public:
  using Adapter::Adapter;

  host::Ref<host::CommandBar> Item(const std::u16string& name) override {
    return wrap<CommandBarAdapter>(
        as_dispatch(get_item(dispatch(), item_, {Variant::text(name)}), item_.label));
  }
  host::Ref<host::CommandBar> Add(const std::u16string& name, std::int32_t position,
                                  bool temporary) override {
    Variant added = call(dispatch(), add_,
                         {Variant::text(name), Variant::int32(position), Variant::missing(),
                          Variant::boolean(temporary)});
    return wrap<CommandBarAdapter>(as_dispatch(std::move(added), add_.label));
  }

 private:
  static inline Member item_{L"Item", "CommandBars.Item"};
  static inline Member add_{L"Add", "CommandBars.Add"};
};

}  // namespace

host::Ref<host::CommandBars> wrap_command_bars(ComPtr<IDispatch> object) {
  return wrap<CommandBarsAdapter>(std::move(object));
}

host::Ref<host::CommandBarButton> wrap_button(ComPtr<IDispatch> object) {
  return wrap<ButtonAdapter>(std::move(object));
}

}  // namespace plovera::win32
