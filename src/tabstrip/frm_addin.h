// The tab-bar form frmAddIn: the tab model and every operation of the strip.
//
// The form's engine (host::Form) exists from the first use of the form until
// it is unloaded; the model lives as long as the add-in. Element helpers
// (Image1(c), Label2(c), ...) name the elements as the form does.
//
// Every call out of here can re-enter: Word's Close, ShowPopup and the save
// dialog run message loops. Event handlers therefore run one at a time: an
// event or tick that arrives while another one is still on the stack is
// skipped (see run_event).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/forms.h"
#include "host/winsys.h"
#include "host/word.h"
#include "tabstrip/tab_model.h"

namespace plovera {

class Addin;

class frmAddIn : public TabModel, public host::FormEvents {
 public:
  explicit frmAddIn(Addin& addin);
  ~frmAddIn();
  frmAddIn(const frmAddIn&) = delete;
  frmAddIn& operator=(const frmAddIn&) = delete;

  // The form: its window handle (the first use loads the form and runs its
  // load handler), showing, unloading.
  host::Hwnd hWnd();
  bool loaded() const noexcept { return form_ != nullptr; }
  host::Form& form();
  void Show();
  void Unload() noexcept;
  void enable_mouse_timer();

  // Load handler and reset.
  void Form_Load();
  void fload();
  std::u16string getregvalue(host::RegRoot root, const std::u16string& sub_key,
                             const std::u16string& value_name, std::uint32_t& value_type);

  // Creates `wins` anew, empty, with the window count back at 0.
  void create_wins();
  // Releases every Word window the model holds and empties the strip's tables.
  void release_windows() noexcept;

  // Tab creation, layout and captions.
  void addtab(const std::u16string& caption);
  void settab(std::int16_t c, std::int32_t x, const std::u16string& caption);
  void tabpos(std::int32_t c, std::int32_t x);
  void tabrename(std::int32_t c, const std::u16string& s);
  void activate_tab(std::int32_t c);

  // Document synchronisation and closing.
  void testbooks();
  void addbook(const host::Ref<host::Window>& window);
  void mclose(std::int32_t Index);
  void request_close(std::int16_t i);

  // Drag reordering.
  void movetab(std::int32_t Source, std::int32_t des);
  void formdrag(std::int16_t source, float X, float Y);

  // Pointer looks and hover.
  void mmove(std::int16_t index);
  void cmove();
  void cmmove(std::int16_t index);
  void mdown(std::int32_t index);
  void MouseM(std::int16_t index);
  void testmouse();

  // Scrolling.
  void toright();
  void toleft();
  void moveright();
  void moveleft();
  void bringintoview(std::int32_t i);
  // The scroll-arrow rules applied after the bar was re-docked.
  void arrows_after_redock();

  // Timers.
  void mouseTimer_Timer();
  void leftTimer_Timer();
  void rightTimer_Timer();

  // host::FormEvents
  void MouseDown(host::Element e, std::int16_t button) override;
  void MouseMove(host::Element e, std::int16_t button) override;
  void MouseUp(host::Element e, std::int16_t button) override;
  void Click(host::Element e) override;
  void DblClick(host::Element e) override;
  void DragDrop(host::Element target, std::int16_t source, float x, float y) override;
  void TimerTick(host::Timer t) override;

  // The five invariants of the model; returns an empty string when they hold,
  // else a description of the first one broken. For tests and debug builds.
  std::string check_invariants();

 private:
  static host::Element Image1(std::int32_t c) { return {host::Part::face, narrow(c)}; }
  static host::Element Image2(std::int32_t c) { return {host::Part::close_button, narrow(c)}; }
  static host::Element Image3(std::int32_t c) { return {host::Part::icon, narrow(c)}; }
  static host::Element Label2(std::int32_t c) { return {host::Part::caption, narrow(c)}; }
  static constexpr host::Element Ileft{host::Part::left_arrow, 0};
  static constexpr host::Element Iright{host::Part::right_arrow, 0};
  static std::int16_t narrow(std::int32_t c);

  // The right edge of a tab's face.
  float face_right(std::int32_t c);
  void ensure_elements(std::int32_t c);
  void shift_tab(std::int32_t c, float dx);
  void set_arrows_visible(bool visible);
  bool tab_in_strip(std::int32_t c);
  void drop_on_tab(std::int32_t Source, std::int32_t des, bool activate);
  void foreground_to_word();
  // Handlers run one at a time: a call into Word may run a message loop (the
  // save prompt of Close, the popup menu, the save-as dialog) in which timer
  // ticks and mouse events arrive. Those are skipped rather than run nested
  // on top of a half-finished operation.
  template <class F>
  void run_event(F&& body) {
    if (in_event_) return;
    in_event_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{in_event_};
    body();
  }

  Addin& addin_;
  std::unique_ptr<host::Form> form_;
  bool in_event_ = false;
  std::u16string caption_;  // scratch for the poll, reused so a pass allocates nothing
};

}  // namespace plovera
