// Office's command bars and buttons, event subscriptions, and the events
// that the test raises through SimWord.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "host/callback_scope.h"
#include "sim/sim_word.h"

namespace plovera::sim {
namespace {

// UTF-16 to UTF-8, so that recorded property sets read as plain strings in
// test expectations. An unpaired surrogate becomes U+FFFD.
std::string to_utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

constexpr std::int32_t kPopupPosition = 5;  // msoBarPopup

}  // namespace

// ---- CommandBars and CommandBar ---------------------------------------------

SimCommandBar::SimCommandBar(SimWord& w, RefLedger& l, std::u16string name, std::int32_t position)
    : SimObject(w, l), name_(std::move(name)), position_(position), controls_(w, l, *this) {}

host::Ref<host::CommandBar> SimCommandBars::Item(const std::u16string& name) {
  word_.enter_call(WordCall::CommandBarsItem);
  SimCommandBar* found = word_.bar(name);
  if (!found) throw host_error(status::invalid_arg, word_.call_name(WordCall::CommandBarsItem));
  return host::Ref<host::CommandBar>(found);
}

host::Ref<host::CommandBar> SimCommandBars::Add(const std::u16string& name, std::int32_t position,
                                                bool temporary) {
  word_.enter_call(WordCall::CommandBarsAdd);
  return host::Ref<host::CommandBar>(&word_.create_bar(name, position, temporary));
}

void SimCommandBar::Delete() {
  word_.enter_call(WordCall::CommandBarDelete);
  if (!alive_) throw host_error(status::disconnected, word_.call_name(WordCall::CommandBarDelete));
  word_.delete_bar(*this);
}

host::Ref<host::CommandBarControls> SimCommandBar::Controls() {
  word_.enter_call(WordCall::CommandBarControls);
  if (!alive_) throw host_error(status::disconnected, word_.call_name(WordCall::CommandBarControls));
  return host::Ref<host::CommandBarControls>(&controls_);
}

void SimCommandBar::ShowPopup() {
  word_.enter_call(WordCall::CommandBarShowPopup);
  const char* name = word_.call_name(WordCall::CommandBarShowPopup);
  if (!alive_) throw host_error(status::disconnected, name);
  if (position_ != kPopupPosition) throw host_error(status::fail, name);
  ++popups_;
  if (word_.on_popup_) {
    auto chosen = word_.on_popup_;  // the callback may replace itself
    chosen(*this);
  }
}

host::Ref<host::CommandBarButton> SimControls::Add(std::int32_t type, std::int32_t id,
                                                   std::optional<std::int32_t> before,
                                                   bool temporary) {
  word_.enter_call(WordCall::CommandBarControlsAdd);
  const char* name = word_.call_name(WordCall::CommandBarControlsAdd);
  if (!bar_->alive()) throw host_error(status::disconnected, name);
  const auto count = static_cast<std::int32_t>(bar_->buttons().size());
  if (before && (*before < 1 || *before > count + 1)) throw host_error(status::invalid_arg, name);
  return host::Ref<host::CommandBarButton>(&word_.create_button(*bar_, before, type, id, temporary));
}

// ---- CommandBarButton -------------------------------------------------------

void SimButton::record(const char* name, const std::u16string& text) {
  sets_.push_back(std::string(name) + "=" + to_utf8(text));
}

void SimButton::record(const char* name, std::int32_t number) {
  sets_.push_back(std::string(name) + "=" + std::to_string(number));
}

// Every member of a button fails once its bar is gone.
void SimButton::enter(WordCall call) {
  word_.enter_call(call);
  if (!alive_) throw host_error(status::disconnected, word_.call_name(call));
}

void SimButton::FaceId(std::int32_t v) {
  enter(WordCall::ButtonFaceId);
  face_id_ = v;
  record("FaceId", v);
}

void SimButton::Caption(const std::u16string& v) {
  enter(WordCall::ButtonCaption);
  caption_ = v;
  record("Caption", v);
}

void SimButton::TooltipText(const std::u16string& v) {
  enter(WordCall::ButtonTooltipText);
  tooltip_ = v;
  record("TooltipText", v);
}

void SimButton::Style(std::int32_t v) {
  enter(WordCall::ButtonStyle);
  style_ = v;
  record("Style", v);
}

void SimButton::Tag(const std::u16string& v) {
  enter(WordCall::ButtonTag);
  tag_ = v;
  record("Tag", v);
}

void SimButton::Parameter(const std::u16string& v) {
  enter(WordCall::ButtonParameterLet);
  parameter_ = v;
  record("Parameter", v);
}

void SimButton::Parameter(std::u16string& out) {
  enter(WordCall::ButtonParameterGet);
  out.assign(parameter_);
}

void SimButton::Visible(bool v) {
  enter(WordCall::ButtonVisible);
  visible_ = v;
}

void SimButton::Enabled(bool v) {
  enter(WordCall::ButtonEnabled);
  enabled_ = v;
}

void SimButton::BeginGroup(bool v) {
  enter(WordCall::ButtonBeginGroup);
  begins_group_ = v;
}

host::Ref<host::Subscription> SimButton::advise(host::ButtonEvents& sink) {
  enter(WordCall::ButtonAdvise);
  return host::Ref<host::Subscription>(&word_.hook(nullptr, &sink, this));
}

// ---- SimWord: bars, buttons, subscriptions ----------------------------------

SimCommandBar& SimWord::create_bar(std::u16string name, std::int32_t position, bool temporary) {
  bar_store_.emplace_back(new SimCommandBar(*this, ledger_, std::move(name), position));
  bars_.push_back(bar_store_.back().get());
  bar_store_.back()->temporary_ = temporary;
  return *bar_store_.back();
}

SimCommandBar& SimWord::add_bar(std::u16string name, std::int32_t position) {
  return create_bar(std::move(name), position, false);
}

SimCommandBar* SimWord::bar(const std::u16string& name) const {
  for (SimCommandBar* b : bars_) {
    if (b->name_ == name) return b;
  }
  return nullptr;
}

void SimWord::delete_bar(SimCommandBar& bar) {
  bar.alive_ = false;
  for (SimButton* b : bar.buttons_) b->alive_ = false;
  bar.buttons_.clear();
  bars_.erase(std::remove(bars_.begin(), bars_.end(), &bar), bars_.end());
}

SimButton& SimWord::create_button(SimCommandBar& bar, std::optional<std::int32_t> before,
                                  std::int32_t type, std::int32_t id, bool temporary) {
  button_store_.emplace_back(new SimButton(*this, ledger_, bar));
  SimButton* button = button_store_.back().get();
  button->type_ = type;
  button->id_ = id;
  button->temporary_ = temporary;
  auto at = before ? bar.buttons_.begin() + (*before - 1) : bar.buttons_.end();
  bar.buttons_.insert(at, button);
  return *button;
}

SimSubscription& SimWord::hook(host::ApplicationEvents* app, host::ButtonEvents* sink,
                               SimButton* on) {
  subscription_store_.emplace_back(new SimSubscription(*this, ledger_));
  SimSubscription& s = *subscription_store_.back();
  s.app_sink_ = app;
  s.button_sink_ = sink;
  s.button_ = on;
  return s;
}

int SimWord::hooked_count() const noexcept {
  return static_cast<int>(std::count_if(subscription_store_.begin(), subscription_store_.end(),
                                        [](const auto& s) { return s->hooked_; }));
}

// Delivers to the receivers hooked when the event starts, each guarded as
// Word guards its event calls; one unhooked by an earlier receiver of the
// same event is skipped. Returns the first failure a receiver threw, or ok.
// Each delivery is a callback into the add-in, as an event sink's Invoke is
// (host/callback_scope.h).
template <class Selects, class Deliver>
status_t SimWord::deliver_to(Selects selects, Deliver deliver) {
  const host::CallbackScope scope;
  std::vector<SimSubscription*> receivers;
  for (const auto& s : subscription_store_) {
    if (s->hooked_ && selects(*s)) receivers.push_back(s.get());
  }
  status_t result = status::ok;
  for (SimSubscription* s : receivers) {
    if (!s->hooked_) continue;
    const status_t st = boundary_guard([&] { deliver(*s); });
    if (failed(st) && !failed(result)) result = st;
  }
  return result;
}

template <class Deliver>
status_t SimWord::raise(Deliver deliver) {
  if (events_muted_) return status::ok;
  return deliver_to([](const SimSubscription& s) { return s.app_sink_ != nullptr; },
                    [&](SimSubscription& s) { deliver(*s.app_sink_); });
}

status_t SimWord::raise_DocumentOpen() {
  return raise([](host::ApplicationEvents& e) { e.DocumentOpen(); });
}
status_t SimWord::raise_NewDocument() {
  return raise([](host::ApplicationEvents& e) { e.NewDocument(); });
}
status_t SimWord::raise_WindowActivate() {
  return raise([](host::ApplicationEvents& e) { e.WindowActivate(); });
}
status_t SimWord::raise_WindowSize() {
  return raise([](host::ApplicationEvents& e) { e.WindowSize(); });
}
status_t SimWord::raise_DocumentChange() {
  return raise([](host::ApplicationEvents& e) { e.DocumentChange(); });
}
status_t SimWord::raise_WindowDeactivate() {
  return raise([](host::ApplicationEvents& e) { e.WindowDeactivate(); });
}
status_t SimWord::raise_DocumentBeforeClose() {
  return raise([](host::ApplicationEvents& e) { e.DocumentBeforeClose(); });
}
status_t SimWord::raise_DocumentBeforeSave() {
  return raise([](host::ApplicationEvents& e) { e.DocumentBeforeSave(); });
}

status_t SimWord::raise_WindowSelectionChange() {
  return raise([](host::ApplicationEvents& e) { e.WindowSelectionChange(); });
}

status_t SimWord::click(SimButton& button) {
  if (!button.alive_) throw std::logic_error("click on a button that no longer exists");
  const host::Ref<host::CommandBarButton> ctrl(&button);
  return deliver_to(
      [&](const SimSubscription& s) {
        return s.button_sink_ && s.button_->alive_ && s.button_->tag_ == button.tag_;
      },
      [&](SimSubscription& s) {
        bool cancel_default = false;
        s.button_sink_->Click(ctrl, cancel_default);
      });
}

void SimWord::restart() {
  const std::vector<SimDocument*> open = documents_;
  for (SimDocument* doc : open) close_document(*doc);
  const std::vector<SimCommandBar*> bars = bars_;
  for (SimCommandBar* bar : bars)
    if (bar->temporary_) delete_bar(*bar);
  for (SimCommandBar* bar : bars_) {
    auto& list = bar->buttons_;
    for (SimButton* b : list) {
      if (b->temporary_) b->alive_ = false;
    }
    list.erase(std::remove_if(list.begin(), list.end(), [](SimButton* b) { return !b->alive_; }),
               list.end());
  }
}

}  // namespace plovera::sim
