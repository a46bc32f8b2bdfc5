#include "addin/addin.h"

#include "addin/start_on_first_event.h"
#include <algorithm>
#include <utility>

#include "base/failure_reporter.h"
#include "base/first_failure.h"
#include "host/diagnostics.h"
#include "host/word_versions.h"

#include "base/numbers.h"

namespace plovera {

Addin::Addin(HostServices h) : host_(h) {
  model_.add_view(tab_main_windows_);
  model_.add_view(closed_tracker_);
  model_.add_view(unsaved_);
  BarHost& host = *this;
  FrameOwner& owner = *this;
  frames_.push_back(std::make_unique<Frame>(host, owner, model_));
}

Addin::~Addin() {
  release_word();
  model_.remove_view(unsaved_);
  model_.remove_view(closed_tracker_);
  model_.remove_view(tab_main_windows_);
}

void Addin::tab_windows(std::vector<host::Ref<host::Window>>& out) {
  out.clear();
  out.reserve(static_cast<std::size_t>(model_.count()));
  for (std::int32_t p = 1; p <= model_.count(); ++p) out.push_back(model_.window_at(Position(p)));
}

host::Application& Addin::word() {
  if (!word_) throw_host_error(status::pointer, "Word's Application");
  return *word_;
}

// Word's user-interface language, English while Word does not say. Word
// changes it only at a restart, so one answer serves the connection.
std::int32_t Addin::ui_language() {
  if (!ui_language_)
    ignore_errors([&] { ui_language_ = word().LanguageSettings()->LanguageID(host::kLanguageIdUi); });
  return ui_language_.value_or(host::kEnglishUnitedStates);
}

double Addin::word_version() {
  word().Version(text_);
  return version_number(text_);
}

// The popup menu is not needed for the tabs: a menu that cannot be built now
// is built when it is first opened. Word 2013 and later have no option to
// show all windows in the taskbar, so it is neither read nor written there.
//
// Word 2013 and later name the active window's main window (Window.Hwnd),
// whatever its caption; before, it is found by its class and caption.
bool Addin::start_bar() {
  find_main_window();
  host::Hwnd main = frame().main_window();
  if (main == 0) ignore_errors([&] {
      if (host::document_windows_of(word_version()) == host::DocumentWindows::main_window_per_document)
        main = tab_main_windows_.checked_main_window(word().ActiveWindow()->Hwnd());
    });
  if (main == 0) return false;
  frame().set_main_window(main);
  model_.clear();
  const double version = word_version();
  version_ = version;
  theme_watch_.start(text_);
  if (!std::exchange(start_reported_, true)) report_start_up(main, version);
  ignore_errors([&] { menu_.build_menu(); });
  document_windows_ = host::document_windows_of(version);
  if (document_windows_ == host::DocumentWindows::one_main_window) {
    ignore_errors([&] { remember_taskbar_option(); });
    ignore_errors([&] { word().ShowWindowsInTaskbar(false); });
  }
  // The timer's hidden form is loaded before the bar's.
  ticker_.load();
  frame().dock_in(main, version, document_windows_);
  start_ticking();
  return true;
}

// The start-up line of the diagnostics, once per connection: what a report
// from someone's PC needs to be read (the add-in's and Word's versions, how
// Word shows its documents, the resolution, the interface language). Facts
// Word refuses stay empty (its refusals are reported as they happen).
void Addin::report_start_up(host::Hwnd main, double version) noexcept {
  host::Diagnostics* receiver = host::diagnostics();
  if (!receiver) return;
  ignore_errors([&] {
    std::u16string build;
    ignore_errors([&] { word().Build(build); });
    std::int32_t language = 0;
    ignore_errors([&] { language = word().LanguageSettings()->LanguageID(host::kLanguageIdUi); });
    host::Rect screen{};
    ws().window_rect(ws().desktop_window(), screen);
    receiver->note(start_up_line(
        {u"" PLOVERA_VERSION, static_cast<int>(sizeof(void*) * 8), text_, build,
         host::document_windows_of(version) == host::DocumentWindows::main_window_per_document,
         ws().dpi_of_window(main), screen.right - screen.left, screen.bottom - screen.top,
         language}));
  });
}

// A connection while an earlier one still holds Word (Word never does this,
// but a host may) starts from a clean slate.
void Addin::connect(host::Ref<host::Application> word) {
  if (word_) release_word();
  start_reported_ = false;
  // Nothing is kept unless listening succeeds: a failed connection holds
  // nothing of Word's.
  auto receiver = std::make_unique<StartOnFirstEvent>(*this);
  receiver->listen_to(word);
  word_ = std::move(word);
  start_receiver_ = std::move(receiver);
}

void Addin::stop_listening() {
  listen_again_timer_.stop();
  if (start_receiver_) start_receiver_->listen_to(nullptr);
}

void Addin::release_word() noexcept {
  if (start_receiver_) ignore_errors([&] { stop_listening(); });
  stop_ticking();
  start_receiver_.reset();
  restore_taskbar_option();
  menu_.release();
  undock_every_frame();
  model_.clear();
  sync_.release();
  word_.reset();
  ui_language_.reset();
}

// A start-up that failed leaves nothing half-made: no bar, no band taken,
// no tab, no menu, no timer; Word's next event starts again.
void Addin::start_or_listen_again() {
  bool started = false;
  try {
    started = start_bar();
  } catch (...) {
    undo_start();
    listen_again();
    throw;
  }
  if (started) return;
  stop_ticking();
  listen_again();
}

void Addin::start_soon() {
  if (failed(boundary_guard([&] { ticker_.run_every(Cadence::quick_ms); })))
    return start_or_listen_again();
  start_due_ = true;
}

// The start asked for by Word's first event. The timer keeps its quick
// period, which the start's own ticks go on with.
void Addin::start_on_tick() {
  events_.run([&] {
    start_due_ = false;
    start_or_listen_again();
  });
}

// Word's next event starts the bar again. When the receiver cannot be hooked
// to Word's events now, a timer asks again until it is.
void Addin::listen_again() noexcept {
  if (!start_receiver_ || !word_) return listen_again_timer_.stop();
  if (!failed(boundary_guard([&] { start_receiver_->listen_to(word_); })))
    return listen_again_timer_.stop();
  ignore_errors([&] { listen_again_timer_.start(); });
}

void Addin::undo_start() noexcept {
  undock_every_frame();
  model_.clear();
  sync_.release();
  menu_.release();
  restore_taskbar_option();
  frame().set_main_window(0);
}

void Addin::remember_taskbar_option() {
  taskbar_was_on_ = word().ShowWindowsInTaskbar();
}

void Addin::restore_taskbar_option() noexcept {
  if (std::exchange(taskbar_was_on_, false))
    ignore_errors([&] { word().ShowWindowsInTaskbar(true); });
}

// The bar goes and Word gets its band back at once; with no bar left the
// timer stops.
void Addin::unload_bar() noexcept { undock_every_frame(); }

void Addin::undock_every_frame() noexcept {
  stop_ticking();
  for (auto& f : frames_) {
    f->undock();
    f->stop_waiting();
  }
}

host::Hwnd Addin::main_window() {
  for (auto& f : frames_)
    if (f->bar().loaded()) return f->main_window();
  return frames_.front()->main_window();
}

host::Hwnd Addin::main_window_of(const host::Ref<host::Window>& window) {
  if (document_windows_ == host::DocumentWindows::one_main_window)
    return frames_.front()->main_window();
  const host::Hwnd h = tab_main_windows_.main_window_at(model_.position_of(window));
  return h != 0 ? h : main_window();
}

Frame* Addin::frame_in(host::Hwnd main) noexcept {
  for (auto& f : frames_)
    if (f->bar().loaded() && f->main_window() == main) return f.get();
  return nullptr;
}

Frame* Addin::frame_for(host::Hwnd main) noexcept {
  for (auto& f : frames_)
    if (f->in_use() && f->main_window() == main) return f.get();
  return nullptr;
}

// A window whose main window is unknown (Word named none usable) is shown
// in every frame, as all windows are in Word's one main window before 2013.
bool Addin::is_own_window(Frame& frame, Position p) noexcept {
  if (document_windows_ == host::DocumentWindows::one_main_window) return true;
  const host::Hwnd main = tab_main_windows_.main_window_at(p);
  return main == 0 || main == frame.main_window();
}

// Word 2013 and later: each main window that shows a document gets a frame
// with a bar that shows every tab and selects its own window's; a frame
// whose main window shows no document any more (Word closed it) loses its
// bar. Run when the tabs changed, never on an idle tick. One new bar is
// docked per tick and gets its tabs from show_more_bar_tabs, so that no tick
// holds Word up long; false while a main window still waits for its bar. A
// main window whose bar cannot be docked keeps its frame, which tries again
// after a back-off (redock_if_moved): it is not tried on every tick.
bool Addin::follow_main_windows(FirstFailure& failure) {
  const std::vector<host::Hwnd> wanted = tab_main_windows_.main_windows();
  watch_behind_ = true;
  for (auto& f : frames_) {
    if (!f->in_use()) continue;
    const bool shown = std::find(wanted.begin(), wanted.end(), f->main_window()) != wanted.end();
    host::Rect still;
    if (f->main_window_gone() ||
        (!shown && (!wanted.empty() || !ws().window_rect(f->main_window(), still))))
      retire(*f);
  }
  bool behind = false;
  bool built = false;
  for (host::Hwnd main : wanted) {
    host::Rect still;
    if (frame_for(main) || !ws().window_rect(main, still)) continue;
    if (std::exchange(built, true)) {
      behind = true;
      break;
    }
    failure.run([&] {
      idle_frame().dock_or_wait(main, version_, document_windows_, Frame::TabsAtDocking::later);
      bars_behind_ = true;  // its tabs follow in batches, from this tick on
    });
  }
  for (auto& f : frames_) {
    if (!f->bar().loaded()) continue;
    const Position own = tab_main_windows_.first_shown_in(f->main_window());
    if (own != Position() && !failure.run([&] { f->bar().select_own_window(own); }))
      behind = true;
  }
  for (std::size_t i = frames_.size(); i-- > 1;) {
    if (frames_[i]->in_use()) continue;
    retired_.push_back(std::move(frames_[i]));
    frames_.erase(frames_.begin() + static_cast<std::ptrdiff_t>(i));
  }
  // Without a bar, or a frame waiting for one, the timer stops: the next
  // document or window event of Word's starts the bar again, as at start-up.
  const bool in_use = std::any_of(frames_.begin(), frames_.end(),
                                  [](const std::unique_ptr<Frame>& f) { return f->in_use(); });
  if (!in_use && start_receiver_ && word_) {
    stop_ticking();
    model_.clear();
    listen_again();
    behind = false;
  }
  return !behind;
}

// The bars docked after the tabs were there (a main window's bar docked on
// a later tick) build the tabs they lack, at most tabs_per_tick_ of them a tick
// for all bars together, the first frames' first; a bar selects its own
// window's tab as soon as it shows it.
void Addin::show_more_bar_tabs(FirstFailure& failure) {
  if (!bars_behind_) return;
  bars_behind_ = false;
  std::int32_t budget = tabs_per_tick_;
  for (auto& f : frames_) {
    TabBar& bar = f->bar();
    if (!bar.behind()) continue;
    if (budget > 0) {
      failure.run([&] { budget -= bar.show_more_tabs(budget); });
      const Position own = tab_main_windows_.first_shown_in(f->main_window());
      if (own != Position()) failure.run([&] {
          bar.select_own_window(own);
          // The last batch aligned the strip to its new end: the own tab is
          // brought back into view, as a bar built in one go shows it.
          if (!bar.behind()) bar.bring_into_view(bar.slot_at(own));
        });
    }
    bars_behind_ = bars_behind_ || bar.behind();
  }
}

// The bar leaves the frame; the frame object outlives the tick that retires
// it (the tick may still be walking the frames).
void Addin::retire(Frame& frame) noexcept {
  frame.undock();
  frame.stop_waiting();
  frame.set_main_window(0);
  frame.relaid = false;
}

Frame& Addin::idle_frame() {
  for (auto& f : frames_)
    if (!f->in_use()) return *f;
  BarHost& host = *this;
  FrameOwner& owner = *this;
  frames_.push_back(std::make_unique<Frame>(host, owner, model_));
  return *frames_.back();
}

void Addin::redock_if_moved() {
  for (auto& f : frames_) f->redock_if_moved();
}

// The frames' docking checks and pointer-left checks: every frame's on a
// safety-net tick, else only those of frames whose windows Word laid out
// again (a notice came). The pointer-left check costs nothing without a look.
void Addin::poll_frames(FirstFailure& failure, bool all) {
  const bool relaid = std::exchange(relaid_, false);
  for (auto& f : frames_) {
    if (f->waiting()) {
      failure.run([&] { f->redock_if_moved(); });
      continue;
    }
    if (!f->bar().loaded()) continue;
    if (all || (relaid && f->relaid)) {
      f->relaid = false;
      failure.run([&] { f->redock_if_moved(); });
    }
    f->bar().hide_leftovers();
    failure.run([&] { f->bar().clear_hover_if_outside(); });
  }
}

// A change of Office's theme or of the system's look heard since the last
// tick: every bar is told once. A bar that fails to take it keeps its look
// until the next change (or its rebuilding) tells it again.
void Addin::follow_theme(bool safety_net) noexcept {
  ThemeWatch::Change change;
  if (!ignore_errors([&] { change = theme_watch_.take_change(safety_net); }) || !change.any())
    return;
  for (auto& f : frames_)
    if (f->bar().loaded())
      ignore_errors([&] { f->bar().show_theme(theme_watch_.theme(), change.system_colours); });
}

// The order is the tick's: the docking check, the pointer-left checks, then
// the synchronisation with Word's windows, then (Word 2013 and later) a bar
// for each main window that shows a document. With one frame a failing step
// ends the tick, as ever; with several, one frame's failure does not keep
// the others from their checks, nor the frames from following Word. A frame
// waiting to be docked again is looked at on every tick (it costs nothing
// until its wait is over).
void Addin::poll() {
  retired_.clear();
  follow_theme(!cadence_.quick());
  const bool all = cadence_.checks_everything();
  if (document_windows_ == host::DocumentWindows::one_main_window) {
    Frame& f = frame();
    if (all || std::exchange(relaid_, false) || f.waiting()) {
      f.relaid = false;
      f.redock_if_moved();
      if (f.take_bar_rebuilt()) watch_behind_ = true;
    }
    if (f.bar().loaded()) {
      f.bar().hide_leftovers();
      f.bar().clear_hover_if_outside();
    }
    sync_.sync_with_word(word(), true);
    return;
  }
  FirstFailure failure;
  poll_frames(failure, all);
  bool lost = false;
  for (auto& f : frames_)
    if (f->in_use()) lost = lost || f->main_window_gone() || f->take_bar_rebuilt();
  failure.run([&] { sync_.sync_with_word(word(), false); });
  if (tab_main_windows_.unread() > 0) tab_main_windows_.read_again(host_.forms.milliseconds());
  if (tab_main_windows_.take_changes() || lost || frames_behind_) {
    frames_behind_ = true;
    failure.run([&] { frames_behind_ = !follow_main_windows(failure); });
  }
  show_more_bar_tabs(failure);
  failure.rethrow();
}

// ---- The timer and what it hears ------------------------------------------

// Word's events are heard from the bar's start on; when Word refuses, the
// add-in polls every 10 ms as it did before it listened.
void Addin::start_ticking() {
  cadence_.reset();
  cadence_.deaf(failed(boundary_guard([&] { listener_.listen_to(word_.get()); })));
  watch_behind_ = true;
  watch_frames();
  ticker_.run_every(cadence_.interval_ms());
}

void Addin::stop_ticking() noexcept {
  ticker_.stop();
  ignore_errors([&] { listener_.listen_to(nullptr); });
  watch_.stop();
  theme_watch_.stop();
  cadence_.reset();
  relaid_ = false;
  start_due_ = false;
}

// A tick skipped because a handler is on the stack (a close awaiting Word's
// save prompt, the popup menu) keeps the pace quick. A tick that failed
// still sets the pace (a failed docking's retry is due at a time of its
// own) before its failure goes on to be reported. The unsaved marks are
// read after the pass, with the time the timer was set to since the last
// tick, even when the pass failed.
void Addin::tick() {
  if (start_due_) return start_on_tick();
  bool ran = false;
  const std::uint32_t elapsed = ticker_.interval_ms();
  FirstFailure failure;
  events_.run([&] {
    ran = true;
    failure.run([&] { poll(); });
    if (word_) failure.run([&] { unsaved_.tick(elapsed); });
  });
  if (ticker_.loaded()) {  // else Word let go, or the last bar went
    watch_frames();
    cadence_.ticked(!ran || any_bar_busy() || frames_behind_ || bars_behind_);
    pace();
  }
  failure.rethrow();
}

// The wait until the soonest retry that backs off: a frame waiting to be
// docked again, or main windows Word would not name. The clock is read only
// when one is pending.
std::uint32_t Addin::soonest_retry_ms() noexcept {
  std::uint32_t soonest = Cadence::no_retry;
  std::optional<std::uint32_t> now;
  auto clock = [&] { return now ? *now : *(now = host_.forms.milliseconds()); };
  for (auto& f : frames_)
    if (f->waiting()) soonest = std::min(soonest, f->retry_in(clock()));
  if (tab_main_windows_.unread() > 0)
    soonest = std::min(soonest, tab_main_windows_.retry_in(clock()));
  return soonest;
}

bool Addin::any_bar_busy() noexcept {
  for (auto& f : frames_)
    if (f->bar().busy()) return true;
  return false;
}

// Before the ticks slow down, where Word stands is asked of the window
// system (no call into Word): whether it is the foreground program, and
// whether every main window with a bar is minimised. A pending retry sets
// the latest time of the next tick.
void Addin::pace() noexcept {
  if (!ticker_.loaded()) return;
  cadence_.retry_in(soonest_retry_ms());
  if (!cadence_.quick()) {
    ignore_errors([&] { cadence_.foreground(ws().word_in_foreground()); });
    bool all_minimised = true;
    for (auto& f : frames_)
      if (f->bar().loaded() && !ws().minimised(f->main_window())) all_minimised = false;
    cadence_.all_minimised(all_minimised);
  }
  ignore_errors(
      [&] { ticker_.run_every(cadence_.interval_ms(), cadence_.retry_sets_interval()); });
}

void Addin::quicken() noexcept {
  cadence_.activity();
  pace();
}

void Addin::word_event() noexcept { quicken(); }

// Word moves its selection with every key typed: one tick within a quarter
// second reads the active document's state, while its tab shows no mark; in
// a document that shows it already, typing changes nothing and wakes nothing.
void Addin::selection_changed() noexcept {
  unsaved_.selection_changed();
  if (unsaved_.active_marked()) return;
  cadence_.soon();
  pace();
}

// Only records: the notice may come from inside a call of the add-in's
// (moving Word's document area sends one) or of Word's.
void Addin::window_notice(host::Hwnd h, host::WindowNotice what) noexcept {
  using host::WindowNotice;
  switch (what) {
    case WindowNotice::laid_out:
    case WindowNotice::restored:
    case WindowNotice::destroyed:
      for (auto& f : frames_)
        if (f->bar().loaded() && f->docks_between(h)) f->relaid = relaid_ = true;
      if (what == WindowNotice::restored) cadence_.all_minimised(false);
      if (what == WindowNotice::destroyed) {
        watch_.forget(h);
        watch_behind_ = true;
      }
      return quicken();
    case WindowNotice::minimised: return pace();
    case WindowNotice::title_changed: return quicken();
    case WindowNotice::system_look_changed:
      theme_watch_.system_look_changed();
      return quicken();
    case WindowNotice::app_activated:
      cadence_.foreground(true);
      return quicken();
    case WindowNotice::app_deactivated:
      cadence_.foreground(false);
      return pace();
  }
}

// Each docked frame's main window, document area and bar are watched (a bar
// destroyed from outside is built again on the next tick); a window
// that cannot be watched leaves the safety net at the docking check's pace.
void Addin::watch_frames() noexcept {
  if (!std::exchange(watch_behind_, false)) return;
  bool all = false;
  ignore_errors([&] {
    watch_wanted_.clear();
    for (auto& f : frames_) {
      if (!f->bar().loaded()) continue;
      watch_wanted_.push_back(f->main_window());
      watch_wanted_.push_back(f->windows().document_area);
      watch_wanted_.push_back(f->bar().window());
    }
    all = watch_.watch_only(watch_wanted_);
  });
  cadence_.blind(!all);
}

}  // namespace plovera
