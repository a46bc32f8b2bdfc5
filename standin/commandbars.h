// Office's command bars as Word offers them: the collection, bars, their
// control collections and buttons, with the button's Click raised through a
// connection point. Office raises a custom button's Click for every receiver
// hooked to any button with the same Tag, which is how one receiver hears
// every entry of a menu.
//
// Bars and their non-temporary buttons persist between runs in a file (Word
// keeps them in its template); temporary buttons do not, so the next start
// finds a leftover bar without them.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

#include "connection.h"
#include "dispatch.h"

namespace standin {

class CommandBarObj;
class CommandBarsObj;

struct ButtonValues {
  long type = 1;
  long id = 1;
  long face_id = 0;
  long style = 0;
  std::wstring caption, tooltip, tag, parameter;
  bool temporary = false;
  bool visible = true;
  bool enabled = true;
  bool begin_group = false;
};

class CommandBarButtonObj final : public DispatchObject, public IConnectionPointContainer {
 public:
  CommandBarButtonObj(CommandBarsObj& bars, CommandBarObj* bar, ButtonValues values);
  ~CommandBarButtonObj() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return add_ref(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
  std::wstring describe() const override { return L"CommandBarButton " + values.caption; }

  ButtonValues values;
  ConnectionPoint& clicks() { return *clicks_; }
  // The button is removed from its bar: calls fail and its receivers are let go.
  void remove();

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  void* other_interface(REFIID iid) override;
  bool call_text(DISPID id, const Args& args, VARIANT* result);
  CommandBarsObj& bars_;
  CommandBarObj* bar_;
  ConnectionPoint* clicks_;
};

class CommandBarControlsObj final : public DispatchObject {
 public:
  explicit CommandBarControlsObj(CommandBarObj& bar);
  std::wstring describe() const override;

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  CommandBarObj& bar_;
};

class CommandBarObj final : public DispatchObject {
 public:
  CommandBarObj(CommandBarsObj& bars, std::wstring name, long position, bool temporary,
                bool built_in);
  std::wstring describe() const override { return L"CommandBar " + name; }

  std::wstring name;
  long position;
  bool temporary;
  bool built_in;
  std::vector<CommandBarButtonObj*> controls;
  CommandBarButtonObj* add(ButtonValues values, long before);
  void remove_control(CommandBarButtonObj* button);
  void remove();

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  void show_popup(const Args& args);
  CommandBarsObj& bars_;
  CommandBarControlsObj* controls_obj_;
};

class CommandBarsObj final : public DispatchObject {
 public:
  // `owner` gives the window that owns popup menus (Word's main window).
  CommandBarsObj(std::function<HWND()> owner, std::wstring file);
  std::wstring describe() const override { return L"CommandBars"; }

  std::vector<CommandBarObj*> bars;
  CommandBarObj* find(const std::wstring& name) const;
  // Raises Click for `button` on every button sharing its Tag.
  void click(CommandBarButtonObj* button);
  size_t button_sinks() const;
  HWND owner() const { return owner_(); }
  void save() const;
  void load();
  void close_all();

 private:
  void call(DISPID id, const Args& args, VARIANT* result) override;
  CommandBarObj* add_bar(const Args& args);
  std::function<HWND()> owner_;
  std::wstring file_;
};

}  // namespace standin
