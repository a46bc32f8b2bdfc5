// The add-in: its hold on Word, the receiver that starts the bar on Word's
// first event, the start-up and docking of the bar in Word's main window,
// the discovery of Word's windows, the tab model with its synchronisation,
// the bar that shows it and the popup menu.
//
// It implements the narrow interfaces the bar (BarHost) and the menu
// (CommandHost) need; they know nothing else of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/event_gate.h"
#include "commands/menu.h"
#include "host/forms.h"
#include "host/winsys.h"
#include "host/word.h"
#include "tabstrip/bar_host.h"
#include "tabstrip/sync.h"
#include "tabstrip/tab_bar.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class StartOnFirstEvent;

// The services of the platform that the add-in runs on.
struct HostServices {
  host::WindowSystem& winsys;
  host::FormEngine& forms;
};

// Word's windows that the bar docks between, found by walking the window tree.
struct WordWindows {
  host::Hwnd main_window = 0;    // Word's main window ("OpusApp")
  host::Hwnd word11_view = 0;    // below version 12: the "_WwB" window in the document area
  host::Hwnd document_area = 0;  // the document area
  host::Hwnd top_dock = 0;       // Word's top command-bar dock
  host::Hwnd right_dock = 0;     // Word's right command-bar dock
};

class Addin final : private BarHost, private CommandHost {
 public:
  explicit Addin(HostServices host);
  ~Addin();
  Addin(const Addin&) = delete;
  Addin& operator=(const Addin&) = delete;

  // Connection: Word's Application is held and its events listened to until
  // release_word, which unhooks every receiver, unloads the bar, gives Word
  // back the band it took and releases every reference.
  void connect(host::Ref<host::Application> word);
  void release_word() noexcept;
  bool connected() const noexcept { return word_ != nullptr; }
  const host::Ref<host::Application>& word_application() const noexcept { return word_; }
  // The receiver of Word's events, until the bar starts (or the add-in lets go).
  StartOnFirstEvent* start_receiver() const noexcept { return start_receiver_.get(); }
  void stop_listening();

  // Start-up: find Word's windows, build the menu, dock and show the bar.
  // Returns false when Word has no main window yet. A start-up that fails
  // or finds nothing is undone, and the next event of Word's tries again.
  bool start_bar();
  void start_or_listen_again();
  // Unloads the bar (the dispatch member "aa"); Word's next layout of its
  // windows takes the band back.
  void unload_bar() noexcept;

  // Docking: run on every tick.
  void redock_if_moved();
  // Moves Word's document area and right dock down by one band.
  void make_room();
  std::int32_t measure_dock_offset();
  std::int32_t band_height() const noexcept { return band_height_; }
  std::int32_t dock_offset() const noexcept { return dock_offset_; }

  // Window discovery. The document area's class depends on Word's version,
  // read once for the whole walk.
  void find_main_window();
  void find_document_area(host::Hwnd parent);
  const WordWindows& windows() const noexcept { return windows_; }

  // The numeric value of Application.Version.
  double word_version();

  TabModel& model() noexcept { return model_; }
  TabBar& bar() noexcept { return bar_; }
  PopupMenu& menu() noexcept { return menu_; }
  WindowSync& sync() noexcept { return sync_; }

  // BarHost and CommandHost
  host::Application& word() override;
  host::WindowSystem& window_system() override { return host_.winsys; }
  host::Hwnd main_window() override { return windows_.main_window; }
  void poll() override;
  void show_menu() override { menu_.show_menu(); }

 private:
  host::FormEngine& forms() override { return host_.forms; }
  EventGate& events() override { return events_; }
  host::Hwnd bar_window() override { return bar_.loaded() ? bar_.window() : 0; }

  host::WindowSystem& ws() { return host_.winsys; }
  void find_document_area(host::Hwnd parent, double version);
  void undo_start() noexcept;
  void remember_taskbar_option();
  void restore_taskbar_option() noexcept;
  bool bar_in_place(const host::Rect& top, const host::Rect& bar, const host::Rect& doc) const;
  void move_below_top_dock(host::Hwnd h, std::int32_t shift);
  void give_band_back() noexcept;
  void move_up_by_one_band() noexcept;
  void give_band_back_after_failed_start() noexcept;

  HostServices host_;
  host::Ref<host::Application> word_;
  std::unique_ptr<StartOnFirstEvent> start_receiver_;
  WordWindows windows_;
  std::int32_t band_height_ = 0;
  std::int32_t dock_offset_ = 0;
  // Word 2003 to 2010 can show every document in one main window, when
  // "show all windows in the taskbar" is off; the add-in keeps it off while
  // it runs and puts back what the user had.
  bool keeps_taskbar_off_ = false;
  bool taskbar_was_on_ = false;
  EventGate events_;
  TabModel model_;
  WindowSync sync_{model_};
  TabBar bar_{*this, model_};
  PopupMenu menu_{*this};
  std::u16string text_;  // scratch for window classes and Word's version
};

}  // namespace plovera
