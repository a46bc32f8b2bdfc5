#include "runner.h"

#include <cwchar>
#include <memory>

#include "log.h"
#include "screenshot.h"

namespace standin {
namespace {

DocumentState state_named(const std::wstring& word) {
  if (word == L"unsaved") return DocumentState::changed;
  if (word == L"new") return DocumentState::never_saved;
  if (word == L"blank") return DocumentState::blank;
  return DocumentState::saved;
}

int number(const std::wstring& word) { return static_cast<int>(std::wcstol(word.c_str(), nullptr, 10)); }

}  // namespace

std::vector<std::wstring> expectation_words(const std::wstring& text) {
  // Inside an expectation (already one quoted word), single quotes group.
  std::wstring quoted = text;
  for (wchar_t& c : quoted)
    if (c == L'\'') c = L'"';
  std::vector<std::wstring> words;
  split_words(quoted, words);
  return words;
}

Runner::Runner(Session& session, UiBridge& bridge, Scenario scenario, std::wstring out_dir)
    : session_(session), bridge_(bridge), scenario_(std::move(scenario)), out_dir_(std::move(out_dir)) {
  add_document_steps();
  add_session_steps();
  add_addin_steps();
  add_pointer_steps();
  add_button_steps();
  add_menu_steps();
  add_word_checks();
  add_addin_checks();
  add_bar_checks();
  add_frame_steps();
  add_frame_checks();
  add_decoy_steps();
  add_robustness_steps();
  add_diagnostics_steps();
  add_access_steps();
  add_timing_steps();
  add_shell_steps();
}

Runner::~Runner() { close_decoy(); }

int Runner::run() {
  for (const Step& step : scenario_.steps) {
    log_line(L"step line " + std::to_wstring(step.line) + L": " + step.text);
    const Outcome problem = run_step(step);
    if (problem.empty()) continue;
    const std::wstring message =
        L"line " + std::to_wstring(step.line) + L": '" + step.text + L"' failed: " + problem;
    log_line(message);
    fwprintf(stderr, L"%ls\n", message.c_str());
    close_decoy();
    on_ui([this] { session_.quit(); return Outcome(); });
    return 1;
  }
  close_decoy();
  on_ui([this] { session_.quit(); return Outcome(); });
  return 0;
}

Runner::Outcome Runner::run_step(const Step& step) {
  auto handler = handlers_.find(step.kind);
  if (handler == handlers_.end()) return L"no handler for step '" + step.kind + L"'";
  return handler->second(step);
}

Runner::Outcome Runner::on_ui(const std::function<Outcome()>& work) {
  // A step that outlasts the wait (Word quitting with a thousand windows)
  // still finishes later: its outcome goes where the request keeps it, not
  // into this returned frame.
  auto outcome = std::make_shared<Outcome>();
  if (!bridge_.call([outcome, work] { *outcome = work(); }))
    return L"Word's user-interface thread did not answer";
  return *outcome;
}

Runner::Outcome Runner::poll(const std::function<Outcome()>& probe) {
  return poll_here([&] { return on_ui(probe); });
}

Runner::Outcome Runner::poll_here(const std::function<Outcome()>& probe, DWORD deadline_ms) {
  const DWORD deadline = deadline_ms ? deadline_ms : deadline_ms_;
  const DWORD started = GetTickCount();
  for (;;) {
    Outcome problem = probe();
    if (problem.empty()) return problem;
    if (GetTickCount() - started > deadline)
      return problem + L" (still so after " + std::to_wstring(deadline) + L" ms)";
    Sleep(10);
  }
}

Runner::Outcome Runner::with_word(const std::function<Outcome(Word&)>& work) {
  return on_ui([&]() -> Outcome {
    if (!session_.running()) return L"Word has quit";
    return work(session_.word());
  });
}

Runner::Outcome Runner::with_window(const Step& s, const std::function<void(Word&, WindowObj*)>& act) {
  return with_word([&](Word& word) -> Outcome {
    WindowObj* w = word.find_window(s.args[0]);
    if (!w) return L"no Word window '" + s.args[0] + L"'";
    act(word, w);
    return L"";
  });
}

void Runner::add_document_steps() {
  handlers_[L"open"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      if (word.find_document(s.args[0])) return L"a document '" + s.args[0] + L"' is open already";
      word.open(s.args[0], state_named(s.args.size() > 1 ? s.args[1] : L""));
      return L"";
    });
  };
  handlers_[L"window"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      DocumentObj* doc = word.find_document(s.args[0]);
      if (!doc) return L"no document '" + s.args[0] + L"'";
      word.activate(word.new_window(doc));
      return L"";
    });
  };
  handlers_[L"activate"] = [this](const Step& s) {
    return with_window(s, [](Word& word, WindowObj* w) { word.activate(w); });
  };
  // A macro sets a window's caption: Word raises no event for it.
  handlers_[L"macro caption"] = [this](const Step& s) {
    return with_window(s, [&](Word& word, WindowObj* w) {
      w->set_macro_caption(s.args[1]);
      word.refresh_captions();
    });
  };
  handlers_[L"edit"] = [this](const Step& s) {
    return with_window(s, [](Word& word, WindowObj* w) { word.type_in(w); });
  };
  handlers_[L"save"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      WindowObj* w = word.find_window(s.args[0]);
      if (!w) return L"no Word window '" + s.args[0] + L"'";
      if (w->document->path.empty()) return L"a document never saved needs Save As";
      word.save(w->document);
      return L"";
    });
  };
  handlers_[L"rename"] = [this](const Step& s) {
    return with_window(s, [&](Word& word, WindowObj* w) { word.save_as(w->document, s.args[1]); });
  };
  // Word's own close may show the save prompt and wait in it: the step only
  // starts it, and later steps answer the prompt.
  handlers_[L"close"] = [this](const Step& s) {
    return with_window(s, [this](Word&, WindowObj* w) {
      bridge_.post([this, caption = w->caption()] {
        if (!session_.running()) return;
        if (WindowObj* again = session_.word().find_window(caption))
          session_.word().close_window(again, SaveOption::prompt);
      });
    });
  };
}

void Runner::add_session_steps() {
  handlers_[L"start"] = [this](const Step&) {
    return with_word([this](Word&) { session_.start(true); return Outcome(); });
  };
  handlers_[L"start connect"] = [this](const Step&) {
    return with_word([this](Word&) { session_.start(false); return Outcome(); });
  };
  handlers_[L"quit"] = [this](const Step&) { return on_ui([this] { session_.quit(); return Outcome(); }); };
  handlers_[L"resize"] = [this](const Step& s) {
    return with_word([&](Word& word) { word.resize(number(s.args[0]), number(s.args[1])); return Outcome(); });
  };
  handlers_[L"taskbar"] = [this](const Step& s) {
    return with_word([&](Word& word) { word.set_show_windows_in_taskbar(s.args[0] == L"on"); return Outcome(); });
  };
  handlers_[L"event"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      return word.raise_event(s.args[0]) ? L"" : L"no active document for " + s.args[0];
    });
  };
  handlers_[L"wait"] = [](const Step& s) { Sleep(static_cast<DWORD>(number(s.args[0]))); return Outcome(); };
  handlers_[L"deadline"] = [this](const Step& s) { deadline_ms_ = static_cast<DWORD>(number(s.args[0])); return Outcome(); };
  // The main window, frame N, or the whole screen.
  handlers_[L"screenshot"] = [this](const Step& s) {
    return with_word([&](Word& word) -> Outcome {
      HWND window = GetDesktopWindow();
      if (s.args.size() < 2 || s.args[1] != L"screen") {
        Frame* frame = frame_of(word, s.frame);
        if (!frame) return L"no frame " + std::to_wstring(s.frame);
        window = frame->main();
      }
      return save_screenshot(window, out_dir_ + L"\\" + s.args[0] + L".bmp");
    });
  };
}

}  // namespace standin
