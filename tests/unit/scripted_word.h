// The tab model's tests on their own: a scripted list of Word's windows
// (only what the synchronisation asks: the window list, the active window,
// captions, the taskbar option) and a view that mirrors the model the way a
// bar does, with no form, no bar and no add-in.
#pragma once

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/error.h"
#include "host/word.h"
#include "tabstrip/tab_model.h"

namespace plovera::testing {

// Counts its references as a COM object does; the tests own the object.
template <class Interface>
class Counted : public Interface {
 public:
  void add_ref() noexcept override { ++refs_; }
  void release() noexcept override { --refs_; }
  int refs() const noexcept { return refs_; }

 private:
  int refs_ = 0;
};

[[noreturn]] inline void not_scripted(const char* member) {
  throw_host_error(status::unexpected, member);
}

class ScriptedWindow final : public Counted<host::Window> {
 public:
  explicit ScriptedWindow(std::u16string caption) : caption(std::move(caption)) {}

  std::u16string caption;
  status_t caption_fails = status::ok;  // every Caption call fails with this while set
  int caption_calls = 0;

  void Caption(std::u16string& out) override {
    ++caption_calls;
    if (failed(caption_fails)) throw_host_error(caption_fails, "Window.Caption");
    out = caption;
  }
  host::Ref<host::Document> Document() override { not_scripted("Window.Document"); }
  void Activate() override { not_scripted("Window.Activate"); }
  void Close() override { not_scripted("Window.Close"); }
  host::Hwnd Hwnd() override { not_scripted("Window.Hwnd"); }
};

// Word's Windows collection: the windows Word lists now, in Word's order.
class ScriptedWindowList final : public Counted<host::Windows> {
 public:
  std::vector<ScriptedWindow*> listed;
  status_t count_fails = status::ok;

  std::int32_t Count() override {
    if (failed(count_fails)) throw_host_error(count_fails, "Windows.Count");
    return static_cast<std::int32_t>(listed.size());
  }
  host::Ref<host::Window> Item(std::int32_t index) override {
    if (index < 1 || index > Count()) throw_host_error(status::bad_index, "Windows.Item");
    return host::Ref<host::Window>(listed[static_cast<std::size_t>(index - 1)]);
  }
};

class ScriptedWord final : public Counted<host::Application> {
 public:
  // A window opens at the end of Word's list and becomes the active one.
  ScriptedWindow& open(const std::u16string& caption) {
    ScriptedWindow& w = windows_.emplace_back(caption);
    list.listed.push_back(&w);
    active = &w;
    return w;
  }
  // Word closes the window: it leaves the list, and calls on it report the
  // object disconnected.
  void close(ScriptedWindow& w) {
    w.caption_fails = status::disconnected;
    forget(w);
  }
  // The window leaves Word's list without saying so on its own calls.
  void forget(ScriptedWindow& w) {
    list.listed.erase(std::remove(list.listed.begin(), list.listed.end(), &w), list.listed.end());
    if (active == &w) active = list.listed.empty() ? nullptr : list.listed.back();
  }

  ScriptedWindowList list;
  ScriptedWindow* active = nullptr;
  status_t active_fails = status::ok;
  bool taskbar_option = false;
  int taskbar_writes = 0;

  host::Ref<host::Windows> Windows() override { return host::Ref<host::Windows>(&list); }
  host::Ref<host::Window> ActiveWindow() override {
    if (failed(active_fails)) throw_host_error(active_fails, "Application.ActiveWindow");
    return host::Ref<host::Window>(active);
  }
  bool ShowWindowsInTaskbar() override { return taskbar_option; }
  void ShowWindowsInTaskbar(bool v) override {
    ++taskbar_writes;
    taskbar_option = v;
  }
  void Version(std::u16string&) override { not_scripted("Application.Version"); }
  void Build(std::u16string&) override { not_scripted("Application.Build"); }
  std::int32_t Width() override { not_scripted("Application.Width"); }
  host::Ref<host::Documents> Documents() override { not_scripted("Application.Documents"); }
  host::Ref<host::FileDialog> FileDialog(std::int32_t) override {
    not_scripted("Application.FileDialog");
  }
  host::Ref<host::CommandBars> CommandBars() override { not_scripted("Application.CommandBars"); }
  host::Ref<host::LanguageSettings> LanguageSettings() override {
    not_scripted("Application.LanguageSettings");
  }
  host::Ref<host::Subscription> advise(host::ApplicationEvents&) override {
    not_scripted("Application.advise");
  }

 private:
  std::deque<ScriptedWindow> windows_;  // every window ever opened, at a fixed address
};

// A view that keeps what a bar would show: the captions in its own order
// and the selected window. It can be told to fail, as a bar whose element
// calls fail does.
class MirrorView final : public TabView {
 public:
  explicit MirrorView(TabModel& model) : model_(model) { model_.add_view(*this); }
  ~MirrorView() { model_.remove_view(*this); }
  MirrorView(const MirrorView&) = delete;
  MirrorView& operator=(const MirrorView&) = delete;

  std::vector<std::u16string> shown;     // captions, left to right
  const host::Window* selected = nullptr;  // the window whose tab looks selected
  int prepare_failures = 0;              // how many coming prepare_tab calls fail
  int appended_failures = 0;             // how many coming tab_appended calls fail
  int appends_in_go = 0, removals_in_go = 0;  // open brackets
  int removal_goes = 0;                  // removal brackets opened so far
  bool appended_inside_removals = false;

  void prepare_tab(const std::u16string& caption) override {
    if (prepare_failures > 0) {
      --prepare_failures;
      throw_host_error(status::fail, "prepare_tab");
    }
    prepared_ = caption;
  }
  void tab_appended(Position p) override {
    if (removals_in_go > 0) appended_inside_removals = true;
    shown.push_back(prepared_);
    if (p.value != static_cast<std::int32_t>(shown.size()))
      throw std::logic_error("appended at a place other than the end");
    if (appended_failures > 0) {
      --appended_failures;
      throw_host_error(status::fail, "tab_appended");
    }
  }
  void tab_removed(Position p, std::int32_t count_before) override {
    if (count_before != static_cast<std::int32_t>(shown.size()))
      throw std::logic_error("count_before is not the count before");
    shown.erase(shown.begin() + (p.value - 1));
  }
  void tab_moved(Position from, Position to) override {
    const auto first = shown.begin();
    if (to < from)
      std::rotate(first + (to.value - 1), first + (from.value - 1), first + from.value);
    else
      std::rotate(first + (from.value - 1), first + from.value, first + to.value);
  }
  void caption_changed(Position p, const std::u16string& caption) override {
    shown[static_cast<std::size_t>(p.value - 1)] = caption;
  }
  void tab_activated(Position p) override { selected = model_.window_at(p).get(); }
  void tabs_cleared() noexcept override {
    shown.clear();
    selected = nullptr;
  }
  void appends_began() override { ++appends_in_go; }
  void appends_ended() override { --appends_in_go; }
  void removals_began() override {
    ++removals_in_go;
    ++removal_goes;
  }
  void removals_ended() override { --removals_in_go; }

  // The strip as the view shows it: captions, "*" after the selected tab's.
  std::string strip() const {
    std::string s;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      if (i > 0) s += ' ';
      for (char16_t c : shown[i]) s += static_cast<char>(c);
      const std::int32_t p = static_cast<std::int32_t>(i) + 1;
      if (selected && p <= model_.count() && model_.window_at(Position(p)).get() == selected)
        s += '*';
    }
    return s;
  }

 private:
  TabModel& model_;
  std::u16string prepared_;
};

}  // namespace plovera::testing
