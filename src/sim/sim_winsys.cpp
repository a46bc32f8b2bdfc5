// SimWindowSystem: the window tree, focus, pointer, shell and screen; the
// registry is in sim_registry.cpp, Word's window layout in sim_word_windows.cpp.
#include "sim/sim_winsys.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace plovera::sim {
namespace {

constexpr const char* kNames[] = {
    "GetDesktopWindow", "GetWindow", "GetClassName", "GetWindowTextLength", "GetWindowText",
    "FindWindowEx", "GetParent", "SetParent", "GetWindowRect", "SetWindowPos",
    "SetForegroundWindow", "GetCursorPos", "ShellExecute", "ModuleFolder", "LogPixelsX",
    "LogPixelsY", "RegOpenKeyEx", "RegQueryValueEx", "RegCloseKey",
    "GetDpiForWindow", "SetWindowSubclass", "RemoveWindowSubclass", "IsIconic",
    "GetForegroundWindow", "RegNotifyChangeKeyValue", "WaitForSingleObject",
};
static_assert(std::size(kNames) == static_cast<std::size_t>(WinsysCall::count_));

// Handles look like Windows' (the desktop is 0x10010) and are spaced so that
// an off-by-one handle is not another window.
constexpr host::Hwnd kFirstHandle = 0x10010;
constexpr host::Hwnd kHandleStep = 4;

std::int32_t clamp32(std::int64_t v) noexcept {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

host::Rect offset(host::Rect r, host::Point by) noexcept {
  return {clamp32(std::int64_t{r.left} + by.x), clamp32(std::int64_t{r.top} + by.y),
          clamp32(std::int64_t{r.right} + by.x), clamp32(std::int64_t{r.bottom} + by.y)};
}

// As the Windows forms engine: 15 for a resolution Windows cannot have.
std::int32_t twips_per_pixel(std::int32_t dpi) noexcept {
  if (!host::is_readable_resolution(dpi)) return 15;
  const std::int32_t q = 1440 / dpi, twice_rest = 2 * (1440 % dpi);
  if (twice_rest > dpi || (twice_rest == dpi && q % 2 == 1)) return q + 1;
  return q;
}

}  // namespace

const std::span<const char* const> kWinsysCallNames{kNames};

SimWindowSystem::SimWindowSystem() : CallMeter(kWinsysCallNames) {
  nodes_.push_back(Node{});
  nodes_.back().cls = u"#32769";
  nodes_.back().place = {0, 0, 1920, 1080};
  nodes_.back().alive = true;
  desktop_ = kFirstHandle;
}

bool SimWindowSystem::failing(WinsysCall call) {
  return failed(enter(static_cast<std::size_t>(call)));
}

const SimWindowSystem::Node* SimWindowSystem::node(host::Hwnd h) const noexcept {
  if (h < kFirstHandle || (h - kFirstHandle) % kHandleStep != 0) return nullptr;
  const std::size_t i = (h - kFirstHandle) / kHandleStep;
  if (i >= nodes_.size() || !nodes_[i].alive) return nullptr;
  return &nodes_[i];
}

SimWindowSystem::Node* SimWindowSystem::node(host::Hwnd h) noexcept {
  return const_cast<Node*>(std::as_const(*this).node(h));
}

const SimWindowSystem::Node& SimWindowSystem::node_ref(host::Hwnd h) const {
  const Node* n = node(h);
  if (!n) throw std::out_of_range("no such simulated window");
  return *n;
}

SimWindowSystem::Node& SimWindowSystem::node_ref(host::Hwnd h) {
  return const_cast<Node&>(std::as_const(*this).node_ref(h));
}

host::Point SimWindowSystem::origin_of(host::Hwnd h) const {
  host::Point p;
  for (const Node* n = &node_ref(h); n; n = n->parent ? &node_ref(n->parent) : nullptr) {
    p.x = clamp32(std::int64_t{p.x} + n->place.left);
    p.y = clamp32(std::int64_t{p.y} + n->place.top);
  }
  return p;
}

// ---- The window tree, test side ---------------------------------------------

host::Hwnd SimWindowSystem::create_window(host::Hwnd parent, std::u16string cls,
                                          std::u16string caption, host::Rect screen) {
  if (parent == 0) parent = desktop_;
  const host::Point origin = origin_of(parent);
  const auto h = static_cast<host::Hwnd>(kFirstHandle + nodes_.size() * kHandleStep);
  Node n;
  n.parent = parent;
  n.cls = std::move(cls);
  n.caption = std::move(caption);
  n.place = offset(screen, {-origin.x, -origin.y});
  n.alive = true;
  nodes_.push_back(std::move(n));
  auto& siblings = node(parent)->children;
  siblings.insert(siblings.begin(), h);
  return h;
}

void SimWindowSystem::unlink(host::Hwnd h) {
  auto& siblings = node(node(h)->parent)->children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), h));
}

void SimWindowSystem::destroy_window(host::Hwnd h) {
  Node* n = node(h);
  if (!n || h == desktop_) return;
  const std::vector<host::Hwnd> children = n->children;
  for (host::Hwnd c : children) destroy_window(c);
  notify(h, host::WindowNotice::destroyed);
  watchers_.erase(h);
  unlink(h);
  node(h)->alive = false;
  if (foreground_ == h) foreground_ = 0;
}

bool SimWindowSystem::exists(host::Hwnd h) const noexcept { return node(h) != nullptr; }

host::Hwnd SimWindowSystem::parent(host::Hwnd h) const { return node_ref(h).parent; }

std::vector<host::Hwnd> SimWindowSystem::children(host::Hwnd h) const {
  return node_ref(h).children;
}

const std::u16string& SimWindowSystem::class_name(host::Hwnd h) const { return node_ref(h).cls; }

const std::u16string& SimWindowSystem::caption(host::Hwnd h) const { return node_ref(h).caption; }

void SimWindowSystem::set_caption(host::Hwnd h, std::u16string caption) {
  node_ref(h).caption = std::move(caption);
  notify(h, host::WindowNotice::title_changed);
}

host::Rect SimWindowSystem::rect(host::Hwnd h) const {
  const Node& n = node_ref(h);
  if (!n.parent) return n.place;
  return offset(n.place, origin_of(n.parent));
}

void SimWindowSystem::set_rect(host::Hwnd h, host::Rect screen) {
  Node& n = node_ref(h);
  const host::Point origin = n.parent ? origin_of(n.parent) : host::Point{};
  n.place = offset(screen, {-origin.x, -origin.y});
  notify(h, host::WindowNotice::laid_out);
}

int SimWindowSystem::moves(host::Hwnd h) const { return node_ref(h).moves; }

WindowPos SimWindowSystem::last_pos(host::Hwnd h) const { return node_ref(h).last_pos; }

// ---- The window tree, as the add-in sees it -------------------------------------

host::Hwnd SimWindowSystem::desktop_window() {
  return failing(WinsysCall::GetDesktopWindow) ? 0 : desktop_;
}

host::Hwnd SimWindowSystem::related_window(host::Hwnd h, host::WindowRelation relation) {
  if (failing(WinsysCall::GetWindow)) return 0;
  const Node* n = node(h);
  if (!n) return 0;
  if (relation == host::WindowRelation::first_child) return n->children.empty() ? 0 : n->children.front();
  if (!n->parent) return relation == host::WindowRelation::first_sibling ? h : 0;  // the desktop
  const auto& siblings = node(n->parent)->children;
  if (relation == host::WindowRelation::first_sibling) return siblings.front();
  if (relation == host::WindowRelation::next_sibling) {
    auto it = std::find(siblings.begin(), siblings.end(), h);
    return ++it == siblings.end() ? 0 : *it;
  }
  return 0;
}

void SimWindowSystem::window_class(host::Hwnd h, std::u16string& out) {
  const Node* n = failing(WinsysCall::GetClassName) ? nullptr : node(h);
  if (n) {
    out.assign(n->cls);
  } else {
    out.clear();
  }
}

std::int32_t SimWindowSystem::window_text_length(host::Hwnd h) {
  const Node* n = failing(WinsysCall::GetWindowTextLength) ? nullptr : node(h);
  return n ? static_cast<std::int32_t>(n->caption.size()) : 0;
}

void SimWindowSystem::window_text(host::Hwnd h, std::u16string& out) {
  const Node* n = failing(WinsysCall::GetWindowText) ? nullptr : node(h);
  if (n) {
    out.assign(n->caption);
  } else {
    out.clear();
  }
}

host::Hwnd SimWindowSystem::find_child(host::Hwnd parent, host::Hwnd child_after,
                                         const char16_t* cls, const char16_t* title) {
  if (failing(WinsysCall::FindWindowEx)) return 0;
  const Node* p = node(parent == 0 ? desktop_ : parent);
  if (!p) return 0;
  auto it = p->children.begin();
  if (child_after != 0) {
    it = std::find(p->children.begin(), p->children.end(), child_after);
    if (it == p->children.end()) return 0;
    ++it;
  }
  for (; it != p->children.end(); ++it) {
    const Node& c = *node(*it);
    if ((!cls || c.cls == cls) && (!title || c.caption == title)) return *it;
  }
  return 0;
}

void SimWindowSystem::show_message(host::Hwnd /*owner*/, const std::u16string& title,
                                   const std::u16string& text) {
  messages_.emplace_back(title, text);
}

bool SimWindowSystem::in_this_process(host::Hwnd h) {
  const Node* n = node(h);
  return n && !n->foreign;
}

void SimWindowSystem::make_foreign(host::Hwnd h) {
  if (Node* n = node(h)) {
    n->foreign = true;
    for (host::Hwnd c : n->children) make_foreign(c);
  }
}

host::Hwnd SimWindowSystem::parent_of(host::Hwnd h) {
  if (failing(WinsysCall::GetParent)) return 0;
  const Node* n = node(h);
  return n && n->parent != desktop_ ? n->parent : 0;
}

host::Hwnd SimWindowSystem::set_parent(host::Hwnd child, host::Hwnd new_parent) {
  if (failing(WinsysCall::SetParent)) return 0;
  if (new_parent == 0) new_parent = desktop_;
  if (!node(child) || !node(new_parent) || child == desktop_) return 0;
  for (host::Hwnd a = new_parent; a; a = node(a)->parent) {
    if (a == child) return 0;  // a window cannot become its own descendant
  }
  const host::Hwnd old = node(child)->parent;
  unlink(child);
  node(child)->parent = new_parent;
  auto& siblings = node(new_parent)->children;
  siblings.insert(siblings.begin(), child);
  return old;
}

bool SimWindowSystem::window_rect(host::Hwnd h, host::Rect& r) {
  if (failing(WinsysCall::GetWindowRect) || !node(h)) return false;
  r = rect(h);
  return true;
}

// Puts `h` behind `insert_after` among its siblings, or on top for HWND_TOP;
// any other handle leaves the order alone.
void SimWindowSystem::restack(host::Hwnd h, host::Hwnd insert_after) {
  auto& siblings = node(node(h)->parent)->children;
  const bool sibling =
      std::find(siblings.begin(), siblings.end(), insert_after) != siblings.end();
  if (insert_after != host::kTopOfZOrder && !sibling) return;
  unlink(h);
  auto at = insert_after == host::kTopOfZOrder
                ? siblings.begin()
                : std::find(siblings.begin(), siblings.end(), insert_after) + 1;
  siblings.insert(at, h);
}

bool SimWindowSystem::place_window(host::Hwnd h, host::Hwnd insert_after, std::int32_t x,
                                   std::int32_t y, std::int32_t cx, std::int32_t cy,
                                   std::uint32_t flags) {
  if (failing(WinsysCall::SetWindowPos)) return false;
  Node* n = node(h);
  if (!n || h == desktop_) return false;
  n->place = {x, y, clamp32(std::int64_t{x} + std::max(cx, 0)),
              clamp32(std::int64_t{y} + std::max(cy, 0))};
  ++n->moves;
  n->last_pos = {insert_after, x, y, cx, cy, flags};
  if (!(flags & host::place::keep_z_order) && insert_after != h) restack(h, insert_after);
  notify(h, host::WindowNotice::laid_out);
  return true;
}

// ---- Focus, pointer, shell, screen ----------------------------------------------

bool SimWindowSystem::bring_to_foreground(host::Hwnd h) {
  if (failing(WinsysCall::SetForegroundWindow) || !node(h)) return false;
  foreground_ = h;
  ++foreground_count_;
  return true;
}

void SimWindowSystem::bring_to_top(host::Hwnd h) {
  node_ref(h);  // an unknown handle is the test's mistake
  restack(h, host::kTopOfZOrder);
  foreground_ = h;
}

bool SimWindowSystem::cursor_pos(host::Point& p) {
  if (failing(WinsysCall::GetCursorPos)) return false;
  p = cursor_;
  return true;
}

bool SimWindowSystem::shell_execute(host::Hwnd owner, const std::u16string& verb,
                                   const std::u16string& file, const std::u16string& parameters,
                                   const std::u16string& directory, std::int32_t show) {
  if (failing(WinsysCall::ShellExecute)) return false;
  shell_calls_.push_back({owner, verb, file, parameters, directory, show});
  return true;
}

bool SimWindowSystem::copy_to_clipboard(host::Hwnd /*owner*/, const std::u16string& text) {
  if (clipboard_held_ > 0) {
    --clipboard_held_;
    return false;
  }
  clipboard_ = text;
  return true;
}

std::u16string SimWindowSystem::module_folder() {
  return failing(WinsysCall::ModuleFolder) ? std::u16string() : module_folder_;
}

std::int32_t SimWindowSystem::dpi_x() { return failing(WinsysCall::LogPixelsX) ? 0 : dpi_x_; }

std::int32_t SimWindowSystem::dpi_y() { return failing(WinsysCall::LogPixelsY) ? 0 : dpi_y_; }

std::int32_t SimWindowSystem::dpi_of_window(host::Hwnd h) {
  if (failing(WinsysCall::GetDpiForWindow)) return 0;
  const auto own = window_dpi_.find(h);
  return own != window_dpi_.end() && own->second > 0 ? own->second : dpi_y_;
}

std::int32_t SimWindowSystem::twips_per_pixel_x() const noexcept { return twips_per_pixel(dpi_x_); }

std::int32_t SimWindowSystem::twips_per_pixel_y() const noexcept { return twips_per_pixel(dpi_y_); }

// ---- Window notices -------------------------------------------------------------

void SimWindowSystem::notify(host::Hwnd h, host::WindowNotice what) noexcept {
  const auto at = watchers_.find(h);
  if (at != watchers_.end()) at->second->window_notice(h, what);
}

bool SimWindowSystem::watch_window(host::Hwnd h, host::WindowNotices& receiver) {
  if (failing(WinsysCall::SetWindowSubclass) || !node(h) || node(h)->foreign) return false;
  watchers_[h] = &receiver;
  return true;
}

void SimWindowSystem::stop_watching(host::Hwnd h) noexcept {
  enter(static_cast<std::size_t>(WinsysCall::RemoveWindowSubclass));
  watchers_.erase(h);
}

bool SimWindowSystem::minimised(host::Hwnd h) {
  if (failing(WinsysCall::IsIconic)) return false;
  const Node* n = node(h);
  return n && n->minimised;
}

bool SimWindowSystem::word_in_foreground() {
  if (failing(WinsysCall::GetForegroundWindow)) return false;
  return word_in_front_;
}

void SimWindowSystem::minimise(host::Hwnd h) {
  node_ref(h).minimised = true;
  notify(h, host::WindowNotice::minimised);
}

void SimWindowSystem::restore(host::Hwnd h) {
  node_ref(h).minimised = false;
  notify(h, host::WindowNotice::restored);
  notify(h, host::WindowNotice::laid_out);
}

void SimWindowSystem::other_program_in_front() {
  if (!std::exchange(word_in_front_, false)) return;
  const std::map<host::Hwnd, host::WindowNotices*> watchers = watchers_;
  for (const auto& [h, receiver] : watchers)
    if (node(h) && node(h)->parent == desktop_) receiver->window_notice(h, host::WindowNotice::app_deactivated);
}

void SimWindowSystem::system_look_changed() {
  const std::map<host::Hwnd, host::WindowNotices*> watchers = watchers_;
  for (const auto& [h, receiver] : watchers)
    if (node(h) && node(h)->parent == desktop_)
      receiver->window_notice(h, host::WindowNotice::system_look_changed);
}

void SimWindowSystem::word_in_front() {
  if (std::exchange(word_in_front_, true)) return;
  const std::map<host::Hwnd, host::WindowNotices*> watchers = watchers_;
  for (const auto& [h, receiver] : watchers)
    if (node(h) && node(h)->parent == desktop_) receiver->window_notice(h, host::WindowNotice::app_activated);
}

}  // namespace plovera::sim
