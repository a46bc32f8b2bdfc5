// The bar's side of accessibility: WM_GETOBJECT, the events that tell
// clients what changed (NotifyWinEvent), and the default actions that the
// accessible objects ask for.
//
// Events are raised from the difference between what the bar shows and
// what was last announced, once the message that changed it is handled:
// the logic changes many properties in one operation, and clients hear of
// the result. Only changes that a client can see post that check (tabs
// shown or hidden, captions, the selected face, the order, the arrows), so
// a pointer moving over the bar or a tick that changes nothing costs
// nothing here.
#include <algorithm>

#include "base/scope_exit.h"
#include "win32/form_window.h"

namespace plovera::win32 {

using host::Element;
using host::FormEvents;
using host::Part;

namespace {


bool selected(const ElementState& face) noexcept { return face.picture == host::Picture::none; }

}  // namespace

std::vector<FormWindow::TabView> FormWindow::tabs_in_order() const {
  std::vector<TabView> tabs;
  const std::int16_t bound = elements_.index_bound();
  for (std::int16_t i = 1; i < bound; ++i) {
    const ElementState* face = elements_.find({Part::face, i});
    if (face && face->visible) tabs.push_back({i, face->incarnation});
  }
  // In reading order: from the left, or from the right in a right-to-left strip.
  std::stable_sort(tabs.begin(), tabs.end(), [this](const TabView& a, const TabView& b) {
    const float left_a = elements_.find({Part::face, a.index})->left;
    const float left_b = elements_.find({Part::face, b.index})->left;
    return right_to_left_ ? left_b < left_a : left_a < left_b;
  });
  return tabs;
}

bool FormWindow::tab_alive(std::int16_t index, std::uint32_t incarnation) const noexcept {
  const ElementState* face = elements_.find({Part::face, index});
  return index > 0 && face && face->visible && face->incarnation == incarnation;
}

RECT FormWindow::screen_rect(Element e) const noexcept {
  const ElementState* s = elements_.find(e);
  if (!s || !hwnd_) return {};
  RECT r = pixel_rect(*s);
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT FormWindow::screen_client_rect() const noexcept {
  RECT r{};
  if (!hwnd_) return r;
  GetClientRect(hwnd_, &r);
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::optional<Element> FormWindow::element_at_screen(POINT screen) const noexcept {
  if (!hwnd_) return std::nullopt;
  POINT client = screen;
  ScreenToClient(hwnd_, &client);
  return hit_test(client);
}

bool FormWindow::request_default_action(Element e, std::uint32_t incarnation) const noexcept {
  if (!hwnd_) return false;
  const WPARAM what = (static_cast<WPARAM>(e.part) << 16) | static_cast<std::uint16_t>(e.index);
  return PostMessageW(hwnd_, kDefaultActionMessage, what, static_cast<LPARAM>(incarnation)) != FALSE;
}

LRESULT FormWindow::answer_get_object(WPARAM wp, LPARAM lp) {
  if (static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT)
    return DefWindowProcW(hwnd_, WM_GETOBJECT, wp, lp);
  if (!accessible_root_) accessible_root_.Attach(new_bar_accessible(accessible_link_));
  if (!accessible_root_) return 0;
  const LRESULT answer = LresultFromObject(kIidAccessible, wp, accessible_root_.Get());
  return answer < 0 ? 0 : answer;
}

void FormWindow::disconnect_accessible() noexcept {
  accessible_link_->form = nullptr;
  accessible_root_.Reset();
}

void FormWindow::accessible_changed() noexcept {
  if (accessible_pending_ || !hwnd_) return;
  accessible_pending_ = PostMessageW(hwnd_, kAccessibleChangedMessage, 0, 0) != FALSE;
}

// The events are worked out first, and what they announce recorded, before
// any is raised: a client's in-context hook runs inside NotifyWinEvent and
// may pump messages, in which the bar changes again or is unloaded. A
// raise asked for meanwhile is not run inside the walk; it follows it.
void FormWindow::raise_accessible_events() {
  accessible_pending_ = false;
  if (raising_accessible_) {
    accessible_again_ = true;
    return;
  }
  raising_accessible_ = true;
  const std::shared_ptr<bool> alive = alive_;
  ScopeExit done([&] {
    if (*alive) raising_accessible_ = false;
  });
  do {
    accessible_again_ = false;
    if (!hwnd_) return;
    const HWND hwnd = hwnd_;
    for (const AccessibleEvent& e : accessible_events()) {
      NotifyWinEvent(e.event, hwnd, OBJID_CLIENT, e.child);
      if (!*alive || !hwnd_) return;
    }
  } while (accessible_again_);
}

// What changed since the last announcement, as events in the order clients
// expect them (tabs gone, tabs new or renamed or selected, the order, the
// arrows); the announcement is recorded as made.
std::vector<FormWindow::AccessibleEvent> FormWindow::accessible_events() {
  std::vector<AccessibleEvent> events;
  auto notify = [&events](DWORD event, LONG child) { events.push_back({event, child}); };
  const std::vector<TabView> tabs = tabs_in_order();
  std::vector<AnnouncedTab> now;
  now.reserve(tabs.size());
  for (const TabView& t : tabs) {
    const ElementState* label = elements_.find({Part::caption, t.index});
    now.push_back({t.incarnation, label ? label->caption : std::u16string(),
                   selected(*elements_.find({Part::face, t.index}))});
  }
  auto find = [](const std::vector<AnnouncedTab>& list, std::uint32_t incarnation) {
    return std::find_if(list.begin(), list.end(),
                        [&](const AnnouncedTab& t) { return t.incarnation == incarnation; });
  };
  std::vector<std::uint32_t> order_before, order_now;
  for (const AnnouncedTab& old : announced_tabs_) {
    if (find(now, old.incarnation) == now.end()) notify(EVENT_OBJECT_DESTROY, tab_child_id(old.incarnation));
    else order_before.push_back(old.incarnation);
  }
  for (const AnnouncedTab& t : now) {
    const auto old = find(announced_tabs_, t.incarnation);
    const LONG id = tab_child_id(t.incarnation);
    if (old == announced_tabs_.end()) {
      notify(EVENT_OBJECT_CREATE, id);
    } else {
      order_now.push_back(t.incarnation);
      if (old->caption != t.caption) {
        notify(EVENT_OBJECT_NAMECHANGE, id);
        notify(EVENT_OBJECT_NAMECHANGE, id + 1);  // "Close <caption>"
      }
    }
    if (t.selected && (old == announced_tabs_.end() || !old->selected)) notify(EVENT_OBJECT_SELECTION, id);
  }
  if (order_before != order_now) notify(EVENT_OBJECT_REORDER, CHILDID_SELF);
  const Part arrows[] = {Part::left_arrow, Part::right_arrow};
  for (std::size_t i = 0; i < 2; ++i) {
    const ElementState* arrow = elements_.find({arrows[i], 0});
    const bool shown = arrow && arrow->visible;
    if (shown == announced_arrows_[i]) continue;
    announced_arrows_[i] = shown;
    notify(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, i == 0 ? kLeftArrowChildId : kRightArrowChildId);
  }
  announced_tabs_ = std::move(now);
  return events;
}

// The default action of a tab, its close button or an arrow, as the user's
// click would do it: MouseDown, MouseUp and Click on the element. A held
// arrow scrolls on its timer; pressing it here scrolls one step. Nothing
// happens while the user holds a button on the bar, or when the element is
// gone or hidden since the client asked.
void FormWindow::perform_default_action(WPARAM wp, LPARAM lp) {
  const Element e{static_cast<Part>((wp >> 16) & 0xFF), static_cast<std::int16_t>(wp & 0xFFFF)};
  const auto incarnation = static_cast<std::uint32_t>(lp);
  const ElementState* s = elements_.find(e);
  if (!s || !s->visible || press_.active || drag_.active) return;
  const bool arrow = e.part == Part::left_arrow || e.part == Part::right_arrow;
  if (!arrow && !tab_alive(e.index, incarnation)) return;
  if (!deliver([e](FormEvents& ev) { ev.MouseDown(e, host::kLeftButton); })) return;
  if (arrow) {
    const host::Timer t = e.part == Part::left_arrow ? host::Timer::scroll_left : host::Timer::scroll_right;
    if (timers_[static_cast<std::size_t>(t)].enabled && !deliver([t](FormEvents& ev) { ev.TimerTick(t); }))
      return;
  }
  if (!deliver([e](FormEvents& ev) { ev.MouseUp(e, host::kLeftButton); })) return;
  deliver([e](FormEvents& ev) { ev.Click(e); });
}

}  // namespace plovera::win32
