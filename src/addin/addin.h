// The add-in: its hold on Word, the receiver that starts the bar on Word's
// first event, the start-up, the discovery of Word's main window, the tab
// model with its synchronisation, the frames (Word's main windows) whose
// bars show the model, the one timer that runs every tick at the pace of
// what Word and the window system tell, and the popup menu.
//
// It implements the narrow interfaces the bar (BarHost) and the menu
// (CommandHost) need; they know nothing else of it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/cadence.h"
#include "addin/closed_tracker.h"
#include "addin/frame.h"
#include "addin/listen_again.h"
#include "addin/tab_main_windows.h"
#include "addin/theme_watch.h"
#include "addin/ticker.h"
#include "addin/window_watch.h"
#include "addin/word_listener.h"
#include "base/event_gate.h"
#include "base/first_failure.h"
#include "commands/menu.h"
#include "host/forms.h"
#include "host/winsys.h"
#include "host/word.h"
#include "host/word_versions.h"
#include "tabstrip/bar_host.h"
#include "tabstrip/sync.h"
#include "tabstrip/tab_bar.h"
#include "tabstrip/tab_model.h"
#include "tabstrip/unsaved_watch.h"

namespace plovera {

class StartOnFirstEvent;

// The services of the platform that the add-in runs on.
struct HostServices {
  host::WindowSystem& winsys;
  host::FormEngine& forms;
};

// How many tabs the bars that lag behind the model build in one tick, all
// together: a bar docked late (a main window per document) catches up over
// several ticks, so that no tick holds Word up long however many tabs and
// main windows there are.
inline constexpr std::int32_t kTabsPerTick = 25;

class Addin final : private BarHost,
                    private CommandHost,
                    private FrameOwner,
                    private Ticker::Receiver,
                    private WordListener::Receiver,
                    private host::WindowNotices {
 public:
  explicit Addin(HostServices host);
  ~Addin();
  Addin(const Addin&) = delete;
  Addin& operator=(const Addin&) = delete;

  // Connection: Word's Application is held and its events listened to until
  // release_word, which unhooks every receiver, stops the timer and the
  // window watch, unloads the bar, gives Word back the band it took and
  // releases every reference.
  void connect(host::Ref<host::Application> word);
  void release_word() noexcept;
  bool connected() const noexcept { return word_ != nullptr; }
  const host::Ref<host::Application>& word_application_for_testing() const noexcept {
    return word_;
  }
  // The receiver of Word's events, until the bar starts (or the add-in lets go).
  StartOnFirstEvent* start_receiver_for_testing() const noexcept { return start_receiver_.get(); }
  void stop_listening();

  // Start-up: find Word's windows, build the menu, dock and show the bar.
  // Returns false when Word has no main window yet. A start-up that fails
  // or finds nothing is undone, and the next event of Word's tries again.
  bool start_bar();
  void start_or_listen_again();
  // Word's first event asks for the start: it runs on the add-in's next
  // tick, after the event has returned to Word, so that no event of Word's
  // holds Word up with the bar's building. Where the timer cannot be
  // started the bar starts at once, inside the event, as it can.
  void start_soon();
  bool start_due() const noexcept { return start_due_; }
  // Hooks the receiver to Word's events again, so that Word's next event
  // starts the bar; while Word refuses the hook, a timer asks once a second.
  void listen_again() noexcept;
  bool asks_to_listen_again_for_testing() const noexcept { return listen_again_timer_.running(); }
  // Unloads every frame's bar (the dispatch member "aa") and gives Word the
  // band back at once.
  void unload_bar() noexcept;

  // The frame of Word's main window found at start-up, with its bar.
  Frame& frame() noexcept { return *frames_.front(); }
  // Every frame, the start-up's first; a frame whose bar is not loaded is
  // idle. Where every document has a main window of its own, each main
  // window that shows a document gets a frame with a bar.
  const std::vector<std::unique_ptr<Frame>>& frames() const noexcept { return frames_; }
  // The frame docked in `main`, or null.
  Frame* frame_in(host::Hwnd main) noexcept;
  // The frame docked in `main` or waiting to be, or null.
  Frame* frame_for(host::Hwnd main) noexcept;
  // Docking of every frame: run on every safety-net tick, and on the quick
  // tick after a notice of Word laying out a frame's windows.
  void redock_if_moved();
  // The first frame's band and dock offset, read by the unit tests.
  std::int32_t band_height_for_testing() const noexcept { return frames_.front()->band_height(); }
  std::int32_t dock_offset_for_testing() const noexcept { return frames_.front()->dock_offset(); }

  // Window discovery: the front-most main window of Word's, and the document
  // area inside a window (the class depends on Word's version, read once).
  void find_main_window();
  void find_document_area(host::Hwnd parent) { frame().find_document_area(parent, word_version()); }
  // How Word shows its documents, decided at start-up from its version.
  host::DocumentWindows document_windows() const noexcept { return document_windows_; }
  const WordWindows& windows() const noexcept { return frames_.front()->windows(); }

  // The numeric value of Application.Version.
  double word_version();

  TabModel& model() noexcept { return model_; }
  TabBar& bar() noexcept { return frame().bar(); }
  PopupMenu& menu() noexcept { return menu_; }
  WindowSync& sync() noexcept { return sync_; }

  // One tick: the docking checks, the pointer-left checks, the
  // synchronisation with Word's windows and (a main window per document)
  // the frames following Word's main windows. Run by the add-in's timer,
  // behind the event gate; public for tests and tools.
  void poll();
  // The add-in's timer, its pace, and what it listens to.
  const Ticker& ticker() const noexcept { return ticker_; }
  const Cadence& cadence() const noexcept { return cadence_; }
  bool hears_word() const noexcept { return listener_.listening(); }
  // The tabs the lagging bars build per tick (kTabsPerTick); tests make the
  // batches small to reach every order of changes and catching up.
  void set_tabs_per_tick_for_testing(std::int32_t n) noexcept { tabs_per_tick_ = n; }
  const WindowWatch& window_watch() const noexcept { return watch_; }

  // BarHost and CommandHost
  host::Application& word() override;
  host::WindowSystem& window_system() override { return host_.winsys; }
  host::Hwnd main_window() override;
  host::Hwnd main_window_of(const host::Ref<host::Window>& window) override;
  void show_menu(const host::Ref<host::Window>& tab) override { menu_.show_menu(tab); }
  ClosedDocuments& closed_documents() override { return closed_; }
  std::int32_t ui_language() override;
  const BarTheme& bar_theme() override { return theme_watch_.theme(); }
  const ThemeWatch& theme_watch() const noexcept { return theme_watch_; }

 private:
  host::FormEngine& forms() override { return host_.forms; }
  // Every handler of a bar's asks for the gate first: input on a bar quickens
  // the ticks.
  EventGate& events() override {
    quicken();
    return events_;
  }
  host::Hwnd bar_window() override { return bar().loaded() ? bar().window() : 0; }
  void tab_windows(std::vector<host::Ref<host::Window>>& out) override;

  host::WindowSystem& ws() { return host_.winsys; }
  void undo_start() noexcept;
  bool is_own_window(Frame& frame, Position p) noexcept override;
  // The timer, Word's events and the window system's notices.
  void tick() override;
  void start_on_tick();
  void word_event() noexcept override;
  void selection_changed() noexcept override;
  void save_announced() noexcept override { unsaved_.save_announced(); }
  void window_notice(host::Hwnd h, host::WindowNotice what) noexcept override;
  void start_ticking();
  void stop_ticking() noexcept;
  void quicken() noexcept;
  void pace() noexcept;
  void watch_frames() noexcept;
  bool any_bar_busy() noexcept;
  void poll_frames(FirstFailure& failure, bool all);
  void follow_theme(bool safety_net) noexcept;
  bool is_own_window(Position) override { return true; }
  bool follow_main_windows(FirstFailure& failure);
  void show_more_bar_tabs(FirstFailure& failure);
  std::uint32_t soonest_retry_ms() noexcept;
  void retire(Frame& frame) noexcept;
  Frame& idle_frame();
  void undock_every_frame() noexcept;
  void report_start_up(host::Hwnd main, double version) noexcept;
  void remember_taskbar_option();
  void restore_taskbar_option() noexcept;

  HostServices host_;
  host::Ref<host::Application> word_;
  std::unique_ptr<StartOnFirstEvent> start_receiver_;
  // Word 2003 to 2010 can show every document in one main window, when
  // "show all windows in the taskbar" is off; the add-in keeps it off while
  // it runs and puts back what the user had. From Word 2013 on every
  // document window is a main window of its own.
  host::DocumentWindows document_windows_ = host::DocumentWindows::one_main_window;
  bool taskbar_was_on_ = false;
  EventGate events_;
  TabModel model_;
  WindowSync sync_{model_};
  // A view of the model: first to hear.
  TabMainWindows tab_main_windows_{model_, host_.winsys, document_windows_};
  ClosedDocuments closed_;
  ClosedTracker closed_tracker_{model_, closed_};  // a view of the model: second to hear
  UnsavedWatch unsaved_{model_};                   // a view of the model: third to hear
  std::vector<std::unique_ptr<Frame>> frames_;  // never empty: the first is the start-up's
  std::vector<std::unique_ptr<Frame>> retired_;  // undocked, deleted on the next poll
  bool frames_behind_ = false;  // the frames do not follow Word's main windows yet
  bool bars_behind_ = false;    // a bar does not show every tab yet
  std::int32_t tabs_per_tick_ = kTabsPerTick;
  double version_ = 0;
  ThemeWatch theme_watch_{host_.winsys};
  Ticker ticker_{*this, host_.forms};
  Cadence cadence_;
  WordListener listener_{*this};
  WindowWatch watch_{host_.winsys, *this};
  std::vector<host::Hwnd> watch_wanted_;  // scratch of watch_frames
  bool watch_behind_ = false;  // the frames' windows changed since they were watched
  bool relaid_ = false;        // a notice told of Word laying out a frame's windows
  bool start_reported_ = false;  // the start-up line of this connection was written
  bool start_due_ = false;       // Word's first event asked for the start
  std::optional<std::int32_t> ui_language_;  // Word's, read once per connection
  PopupMenu menu_{*this};
  ListenAgainTimer listen_again_timer_{*this, host_.forms};
  std::u16string text_;  // scratch for window classes and Word's version
};

}  // namespace plovera
